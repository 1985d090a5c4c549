// Prints the reference table of every configuration key (type, default and
// meaning), generated from the key table: in Markdown for the README (which
// embeds it between two marker lines), or with --roff for the manual page.
#include <cstdio>
#include <cstring>
#include <string>

#include "config/print_config.h"
#include "config/tunables.h"

namespace {

const char* kind_word(vorn::tunable_kind k) {
  switch (k) {
    case vorn::tunable_kind::flag: return "flag";
    case vorn::tunable_kind::integer: return "int";
    case vorn::tunable_kind::real: return "real";
  }
  return "";
}

// Text safe inside a roff paragraph: backslashes and hyphens escaped, and a
// line never starting with a control character.
std::string roff_text(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c == '\\') out += "\\e";
    else if (c == '-') out += "\\-";
    else out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

// One tagged paragraph per key: the key in bold, its type and default, then
// its meaning.
std::string config_reference_roff() {
  vorn::reset_tunables();
  std::string out;
  for (const vorn::tunable& t : vorn::tunable_table()) {
    out += ".TP\n.BR ";
    out += roff_text(t.key);
    out += " \" (";
    out += kind_word(t.kind);
    out += ", default ";
    out += roff_text(vorn::format_tunable(t));
    out += ")\"\n";
    out += roff_text(t.meaning);
    out += "\n";
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--roff") == 0) {
    std::fputs(config_reference_roff().c_str(), stdout);
    return 0;
  }
  if (argc != 1) {
    std::fputs("usage: configdoc [--roff]\n", stderr);
    return 2;
  }
  std::fputs(vorn::config_reference_markdown().c_str(), stdout);
  return 0;
}
