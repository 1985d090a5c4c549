// Fuzz target of the configuration text: the record parser with blanks kept
// and dropped and several separators, every number reader on the raw input,
// and the configuration loader applied to the tunables. It checks the
// parser's line limits and numeric fields, the readers against the standard
// library where both must agree, and that the settings reached print and
// load back exactly.
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

void check_records(std::string_view text, bool keep_blanks, char separator) {
  const vorn::preca records = vorn::parse_records(text.data(), text.size(), keep_blanks, separator);
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
      require(same_bits(r.rval, has_real_mark ? vorn::str_to_real(r.text) : double(r.ival)),
              "rval is the real reading, or ival without '.' or 'e'");
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

std::vector<double> tunable_values() {
  std::vector<double> out;
  for (const vorn::tunable& t : vorn::tunable_table()) {
    switch (t.kind) {
      case vorn::tunable_kind::flag: out.push_back(*t.flag_ptr ? 1.0 : 0.0); break;
      case vorn::tunable_kind::integer: out.push_back(*t.int_ptr); break;
      case vorn::tunable_kind::real: out.push_back(*t.real_ptr); break;
    }
  }
  return out;
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
    const std::vector<double> values = tunable_values();
    vorn::apply_config_text(vorn::format_config());
    require(same_values(tunable_values(), values), "the printed defaults load back exactly");
    return values;
  }();
  vorn::reset_tunables();
  vorn::apply_config_text(text);
  const std::vector<double> applied = tunable_values();
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
  require(same_values(tunable_values(), applied), "printed settings load back exactly");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The game's own reading ('=', blanks dropped) every time; one of the
  // parser's other settings, chosen by the input's length, besides. Every
  // setting is still reached by many inputs, at a third of the cost.
  check_records(text, false, '=');
  constexpr std::pair<bool, char> others[] = {{true, '='}, {false, ' '}, {true, ' '}, {false, ';'}, {true, ';'}};
  const auto [keep_blanks, separator] = others[size % std::size(others)];
  check_records(text, keep_blanks, separator);
  check_number_readers(text);
  check_config(text);
  return 0;
}
