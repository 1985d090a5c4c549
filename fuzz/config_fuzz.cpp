// Fuzz target of the configuration text: the record parser with blanks kept
// and dropped and several separators, every number reader on the raw input,
// and the configuration loader applied to the tunables. It checks the
// parser's line limits and numeric fields, that text handed over in pieces
// or behind a byte-order mark parses the same, the readers against the
// standard library where both must agree (integer literals against the
// hardware's conversion), and that the settings reached print and load back
// exactly.
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/load_config.h"
#include "config/numread.h"
#include "config/print_config.h"
#include "config/records.h"
#include "config/tunables.h"
#include "fuzz_check.h"

namespace {

using vorn::fuzz::require;

bool same_bits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

bool starts_number(const std::string& s) {
  return !s.empty() && (s[0] == '+' || s[0] == '-' || (s[0] >= '0' && s[0] <= '9'));
}

template <std::size_t N>
bool all_zero(const std::array<double, N>& a) {
  for (double v : a)
    if (!same_bits(v, 0.0)) return false;
  return true;
}

vorn::preca check_records(std::string_view text, bool keep_blanks, char separator) {
  vorn::preca records = vorn::parse_records(text.data(), text.size(), keep_blanks, separator);
  // Every stored line holds at least 2 characters and came from at least
  // one of the input's bytes.
  require(records.size() <= text.size() / 2, "no more records than the text has lines");
  for (const vorn::parserectyp& r : records) {
    require(r.line.size() >= 2, "lines of 0 or 1 characters are skipped");
    require(r.key.size() <= vorn::max_line_length && r.text.size() <= vorn::max_line_length &&
                r.line.size() <= vorn::max_line_length,
            "keys, values and lines stay within the line limit");
    require(r.line.find_first_of("\r\n") == std::string::npos, "lines hold no CR or LF");
    require(r.key.size() + r.text.size() < r.line.size() || r.line.find(separator) == std::string::npos,
            "key and value are parts of the line around its separator");
    require(r.key.find('{') == std::string::npos && r.text.find('{') == std::string::npos,
            "a block opening is never collected");
    if (separator != ' ')
      require(r.key.find(separator) == std::string::npos, "the key ends at the separator");
    if (!keep_blanks) {
      require(r.key.find_first_of(" \t") == std::string::npos &&
                  r.text.find_first_of(" \t") == std::string::npos,
              "without kept blanks, keys and values hold none");
    }
    require(r.text.find(';') == std::string::npos, "a value ends at a ';' comment");
    if (starts_number(r.text)) {
      require(r.ival == vorn::str_to_int(r.text), "ival is the integer reading of the value");
      require(r.bval == (r.ival > 0), "bval is ival > 0");
      const bool has_real_mark = r.text.find_first_of(".e") != std::string::npos;
      double literal = 0.0;
      const bool is_literal = vorn::read_integer_literal(r.text, literal);
      require(same_bits(r.rval, is_literal      ? literal
                                : has_real_mark ? vorn::str_to_real(r.text)
                                                : double(r.ival)),
              "rval is an integer literal's value, else the real reading, or ival without '.' or 'e'");
      // Component separators: every ',' and every kept space.
      std::size_t separators = 0;
      for (const char c : r.text) separators += c == ',' || c == ' ';
      require(separators >= 1 ? r.pair == vorn::str_to_pair(r.text) : all_zero(r.pair), "pair reading");
      require(separators >= 2 ? r.triple == vorn::str_to_triple(r.text) : all_zero(r.triple),
              "triple reading");
      require(separators >= 3 ? r.quad == vorn::str_to_quad(r.text) : all_zero(r.quad), "quad reading");
      require(separators >= 4 ? r.quint == vorn::str_to_quint(r.text) : all_zero(r.quint),
              "quint reading");
    } else {
      require(r.ival == 0 && !r.bval && same_bits(r.rval, 0.0) && all_zero(r.pair) &&
                  all_zero(r.triple) && all_zero(r.quad) && all_zero(r.quint),
              "a value not starting with a sign or digit leaves the numbers zero");
    }
  }
  return records;
}

bool same_records(const vorn::preca& a, const vorn::preca& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].line != b[i].line || a[i].key != b[i].key || !same_bits(a[i].rval, b[i].rval)) return false;
  return true;
}

// A text handed over in pieces parses like the whole, and behind a
// byte-order mark like itself (unless it starts with a mark of its own,
// which is then part of its first line). `whole` is the text's records.
void check_pieces(std::string_view text, const vorn::preca& whole, std::size_t cut) {
  if (!text.starts_with("\xEF\xBB\xBF")) {
    const std::string marked = "\xEF\xBB\xBF" + std::string(text);
    require(same_records(whole, vorn::parse_records(marked.data(), marked.size(), false, '=')),
            "a byte-order mark changes no record");
  }
  vorn::preca pieces;
  vorn::record_stream s;
  const vorn::record_sink keep = [&](const vorn::parserectyp& r) { pieces.push_back(r); };
  for (std::size_t at = 0; at < text.size(); at += cut) {
    // A mark comes whole in the first piece.
    const std::size_t n = at == 0 ? std::max<std::size_t>(cut, 3) : cut;
    vorn::feed_records(s, text.substr(at, n), keep);
    at += n - cut;
  }
  vorn::end_records(s, keep);
  require(same_records(whole, pieces), "a text in pieces parses like the whole");
}

// An integer literal that fits 64 bits: its sign and magnitude.
bool small_literal(std::string_view s, uint64_t& magnitude, bool& negative) {
  negative = !s.empty() && s[0] == '-';
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
  const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  if (hex) s.remove_prefix(2);
  if (s.empty() || s.size() > (hex ? 16u : 19u)) return false;
  magnitude = 0;
  for (const char c : s) {
    const int d = c >= '0' && c <= '9' ? c - '0' : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(d);
  }
  return true;
}

void check_number_readers(std::string_view text) {
  std::string_view trimmed = text;
  while (!trimmed.empty() && static_cast<unsigned char>(trimmed.front()) <= ' ') trimmed.remove_prefix(1);
  while (!trimmed.empty() && static_cast<unsigned char>(trimmed.back()) <= ' ') trimmed.remove_suffix(1);

  const int32_t i = vorn::str_to_int(text);
  const double r = vorn::str_to_real(text);
  require(std::isfinite(r), "str_to_real is always finite");
  require(i == vorn::str_to_int(" \t" + std::string(text) + "\r\n"), "str_to_int trims blanks");
  require(same_bits(r, vorn::str_to_real("\x01 " + std::string(text) + " ")), "str_to_real trims blanks");

  // Where the standard library reads the whole trimmed text as a decimal
  // integer resp. a finite real, the readers give the same value.
  const std::string_view unsigned_part =
      !trimmed.empty() && trimmed[0] == '+' && trimmed.size() > 1 && trimmed[1] != '-' ? trimmed.substr(1)
                                                                                      : trimmed;
  int64_t wide = 0;
  const auto [iend, iec] = std::from_chars(unsigned_part.data(), unsigned_part.data() + unsigned_part.size(), wide);
  if (iec == std::errc{} && iend == unsigned_part.data() + unsigned_part.size() && wide >= INT32_MIN &&
      wide <= INT32_MAX)
    require(i == wide, "str_to_int reads a decimal int32 exactly");
  double exact = 0.0;
  const auto [rend, rec] = std::from_chars(unsigned_part.data(), unsigned_part.data() + unsigned_part.size(), exact);
  if (rec == std::errc{} && rend == unsigned_part.data() + unsigned_part.size() && std::isfinite(exact))
    require(same_bits(r, exact), "str_to_real reads a complete real exactly");

  // The printed form of every value read reads back to the same double, and
  // an int32 printed in decimal reads back to itself.
  require(same_bits(vorn::str_to_real(vorn::format_real(r)), r), "a printed real reads back exactly");
  require(vorn::str_to_int(std::to_string(i)) == i, "a printed integer reads back exactly");

  // An integer literal reads as its exact value, rounded to the nearest
  // double (the hardware's conversion of the integer is the reference), and
  // a real key given it takes that value, however far beyond int32 it is.
  uint64_t magnitude = 0;
  bool negative = false;
  if (small_literal(trimmed, magnitude, negative)) {
    const double exact = magnitude == 0 ? 0.0 : negative ? -double(magnitude) : double(magnitude);
    double read = 1.5;
    require(vorn::read_integer_literal(text, read) && same_bits(read, exact),
            "an integer literal reads as its exact value");
    vorn::reset_tunables();
    vorn::apply_config_text("ai_ds_repulse=" + std::string(trimmed));
    require(same_bits(vorn::ai_ds_repulse, exact), "a real key takes an integer literal's exact value");
  }

  // The component readers read the same components, however many are asked for.
  const auto pair = vorn::str_to_pair(text);
  const auto triple = vorn::str_to_triple(text);
  const auto quad = vorn::str_to_quad(text);
  const auto quint = vorn::str_to_quint(text);
  for (std::size_t k = 0; k < 5; ++k) {
    require(std::isfinite(quint[k]), "components are finite");
    require(k >= 4 || same_bits(quad[k], quint[k]), "quad is the start of quint");
    require(k >= 3 || same_bits(triple[k], quint[k]), "triple is the start of quint");
    require(k >= 2 || same_bits(pair[k], quint[k]), "pair is the start of quint");
  }
}

bool same_values(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if (!same_bits(a[k], b[k])) return false;
  return true;
}

// The settings reached print and load back exactly. The whole printout of
// the defaults is checked once; after that only the lines of the settings
// that differ from their defaults are printed and loaded onto the defaults,
// which is the same check at a fraction of the cost.
void check_config(std::string_view text) {
  static const std::vector<double> defaults = [] {
    vorn::reset_tunables();
    const std::vector<double> values = vorn::save_tunables();
    vorn::apply_config_text(vorn::format_config());
    require(same_values(vorn::save_tunables(), values), "the printed defaults load back exactly");
    return values;
  }();
  vorn::reset_tunables();
  vorn::apply_config_text(text);
  const std::vector<double> applied = vorn::save_tunables();
  for (double v : applied) require(std::isfinite(v), "every tunable stays finite");
  if (same_values(applied, defaults)) return;

  std::string printed;
  const auto& table = vorn::tunable_table();
  for (std::size_t k = 0; k < table.size(); ++k) {
    if (same_bits(applied[k], defaults[k])) continue;
    printed += table[k].key;
    printed += '=';
    printed += vorn::format_tunable(table[k]);
    printed += '\n';
  }
  vorn::reset_tunables();
  vorn::apply_config_text(printed);
  require(same_values(vorn::save_tunables(), applied), "printed settings load back exactly");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The game's own reading ('=', blanks dropped) every time; one of the
  // parser's other settings, chosen by the input's length, besides. Every
  // setting is still reached by many inputs, at a third of the cost.
  const vorn::preca records = check_records(text, false, '=');
  constexpr std::pair<bool, char> others[] = {{true, '='}, {false, ' '}, {true, ' '}, {false, ';'}, {true, ';'}};
  const auto [keep_blanks, separator] = others[size % std::size(others)];
  check_records(text, keep_blanks, separator);
  check_pieces(text, records, size % 11 + 1);
  check_number_readers(text);
  check_config(text);
  return 0;
}
