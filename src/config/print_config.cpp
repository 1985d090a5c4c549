// Printing the settings in effect and the key reference.
#include "config/print_config.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "base/file_write.h"

#include "base/real_text.h"

namespace vorn {

namespace {

const char* kind_name(tunable_kind k) {
  switch (k) {
    case tunable_kind::flag: return "flag";
    case tunable_kind::integer: return "int";
    case tunable_kind::real: return "real";
  }
  return "";
}

std::string format_int(int32_t n) {
  char buf[16];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
  return std::string(buf, ec == std::errc{} ? end : buf);
}

std::string format_value(tunable_kind kind, double value) {
  switch (kind) {
    case tunable_kind::flag: return value != 0.0 ? "1" : "0";
    case tunable_kind::integer: return format_int(static_cast<int32_t>(value));
    case tunable_kind::real: return format_real(value);
  }
  return "";
}

// Markdown cells cannot hold a bare '|'.
std::string escape_cell(const char* s) {
  std::string out;
  for (; *s; ++s) {
    if (*s == '|') out.push_back('\\');
    out.push_back(*s);
  }
  return out;
}

// Text for a roff line: backslashes doubled, '-' as a real hyphen-minus, and
// a line never opening with '.' or '\'' (it would read as a request).
std::string escape_roff(const std::string& s) {
  std::string out = s.empty() || (s[0] != '.' && s[0] != '\'') ? "" : "\\&";
  for (const char c : s) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::string format_real(double x) {
  if (std::isnan(x)) return "nan";
  // The shortest round-trip form is plain decimal ("150", "0.1", "-0") or
  // scientific with a signed exponent ("1e+22", "5e-324"); only the plain
  // integral form lacks the '.' or 'e' the parser needs to take it as a
  // real, and appending ".0" keeps the value.
  char buf[64];
  const auto [end, ec] = real_to_chars(buf, buf + sizeof buf, x);
  std::string s(buf, ec == std::errc{} ? end : buf);
  if (std::isinf(x)) return s;
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

std::string format_tunable(const tunable& t) {
  switch (t.kind) {
    case tunable_kind::flag: return *t.flag_ptr ? "1" : "0";
    case tunable_kind::integer: return format_int(*t.int_ptr);
    case tunable_kind::real: return format_real(*t.real_ptr);
  }
  return "";
}

std::string format_config() {
  std::string out;
  for (const tunable& t : tunable_table()) {
    out += t.key;
    out += '=';
    out += format_tunable(t);
    out += '\n';
  }
  return out;
}

int write_config_file(const std::string& path) {
  const std::string text = format_config();
  return replace_file(path, [&](std::FILE* f) { return std::fwrite(text.data(), 1, text.size(), f) == text.size(); });
}

std::string config_reference_markdown() {
  std::string out = "| Key | Type | Default | Meaning |\n|---|---|---|---|\n";
  for (const tunable& t : tunable_table()) {
    out += "| `";
    out += t.key;
    out += "` | ";
    out += kind_name(t.kind);
    out += " | ";
    out += format_value(t.kind, t.default_value);
    out += " | ";
    out += escape_cell(t.meaning);
    out += " |\n";
  }
  return out;
}

std::string config_reference_roff() {
  std::string out;
  for (const tunable& t : tunable_table()) {
    out += ".TP\n.BR " + escape_roff(t.key) + " \" (" + kind_name(t.kind) + ", default " +
           escape_roff(format_value(t.kind, t.default_value)) + ")\"\n" + escape_roff(t.meaning) + "\n";
  }
  return out;
}

}  // namespace vorn
