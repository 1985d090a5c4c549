// The number readers of the configuration records.
#include "config/numread.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "base/real_text.h"

namespace vorn {

namespace {

bool is_blank(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Largest magnitude kept while reading: one more than -INT32_MIN, so every
// int32 still reads exactly and anything beyond stays beyond.
constexpr int64_t magnitude_cap = int64_t{1} << 31;

// The valid real at the start of s, as offsets into s: where the mantissa's
// digits begin and end, where its '.' is (npos if none), where the whole
// prefix ends, and the exponent's value (clamped far beyond the double range).
struct real_prefix {
  std::size_t digits_begin = 0;
  std::size_t point = std::string_view::npos;
  std::size_t mantissa_end = 0;
  std::size_t end = 0;
  int64_t exponent = 0;
  bool valid = false;
};

real_prefix scan_real(std::string_view s) {
  real_prefix p;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  p.digits_begin = i;
  std::size_t mantissa_digits = 0;
  while (i < s.size() && is_digit(s[i])) ++i, ++mantissa_digits;
  if (i < s.size() && s[i] == '.') {
    p.point = i++;
    while (i < s.size() && is_digit(s[i])) ++i, ++mantissa_digits;
  }
  if (mantissa_digits == 0) return p;
  p.valid = true;
  p.mantissa_end = p.end = i;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    bool negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) negative = s[j++] == '-';
    if (j < s.size() && is_digit(s[j])) {
      int64_t e = 0;
      while (j < s.size() && is_digit(s[j])) {
        if (e < 100000000) e = e * 10 + (s[j] - '0');
        ++j;
      }
      p.exponent = negative ? -e : e;
      p.end = j;
    }
  }
  return p;
}

// Decimal order of magnitude of the mantissa's first non-zero digit, plus
// the exponent: d.ddd x 10^result. Only asked for a mantissa that overflowed
// or underflowed, which is never all zeros, so a non-zero digit exists.
int64_t decimal_magnitude(std::string_view s, const real_prefix& p) {
  const std::size_t int_end = p.point == std::string_view::npos ? p.mantissa_end : p.point;
  for (std::size_t i = p.digits_begin; i < int_end; ++i)
    if (s[i] != '0') return static_cast<int64_t>(int_end - i - 1) + p.exponent;
  int64_t place = -1;
  for (std::size_t i = int_end + 1; i + 1 < p.mantissa_end && s[i] == '0'; ++i) --place;
  return place + p.exponent;
}

bool is_space_or_tab(char c) { return c == ' ' || c == '\t'; }

template <std::size_t N>
std::array<double, N> read_components(std::string_view text) {
  std::array<double, N> out{};
  std::size_t pos = 0;
  for (std::size_t k = 0; k < N; ++k) {
    while (pos < text.size() && is_space_or_tab(text[pos])) ++pos;
    if (pos >= text.size()) break;
    std::size_t end = text.find_first_of(", \t", pos);
    if (end == std::string_view::npos) end = text.size();
    out[k] = str_to_real(text.substr(pos, end - pos));
    // One separator: a comma with blanks around it, or a run of blanks.
    pos = end;
    while (pos < text.size() && is_space_or_tab(text[pos])) ++pos;
    if (pos < text.size() && text[pos] == ',') ++pos;
  }
  return out;
}

}  // namespace

int32_t str_to_int(std::string_view text) {
  const std::string_view s = trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int base = 10;
  if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  int64_t magnitude = 0;
  bool any_digit = false;
  for (; i < s.size(); ++i) {
    const int d = base == 16 ? hex_value(s[i]) : (is_digit(s[i]) ? s[i] - '0' : -1);
    if (d < 0) break;
    any_digit = true;
    magnitude = std::min(magnitude * base + d, magnitude_cap);
  }
  const bool complete = any_digit && i == s.size();
  if (complete && negative) return static_cast<int32_t>(-magnitude);  // >= -2^31: fits
  return static_cast<int32_t>(std::min<int64_t>(magnitude, std::numeric_limits<int32_t>::max()));
}

double str_to_real(std::string_view text) {
  const std::string_view s = trim(text);
  const real_prefix p = scan_real(s);
  if (!p.valid) return 0.0;
  // from_chars takes no leading '+'; it reads the rest of the grammar
  // exactly and ignores the locale.
  const std::size_t begin = s[0] == '+' ? 1 : 0;
  double value = 0.0;
  const auto [ptr, ec] = real_from_chars(s.data() + begin, s.data() + p.end, value);
  if (ec == std::errc::result_out_of_range) {
    const bool negative = s[0] == '-';
    if (decimal_magnitude(s, p) >= 0) return negative ? -DBL_MAX : DBL_MAX;
    return negative ? -0.0 : 0.0;
  }
  if (ec != std::errc{} || ptr != s.data() + p.end) return 0.0;
  return value;
}

bool read_integer_literal(std::string_view text, double& value) {
  const std::string_view s = trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const bool hex = i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X');
  if (hex) i += 2;
  const std::size_t digits = i;
  while (i < s.size() && (hex ? hex_value(s[i]) >= 0 : is_digit(s[i]))) ++i;
  if (i == digits || i != s.size()) return false;
  // from_chars rounds a string of digits to the nearest double exactly; in
  // the hexadecimal format it takes the digits without their "0x".
  double magnitude = 0.0;
  const std::from_chars_result read = hex ? real_from_hex_chars(s.data() + digits, s.data() + i, magnitude)
                                          : real_from_chars(s.data() + digits, s.data() + i, magnitude);
  if (read.ec == std::errc::result_out_of_range) magnitude = DBL_MAX;
  value = magnitude == 0.0 ? 0.0 : negative ? -magnitude : magnitude;
  return true;
}

std::array<double, 2> str_to_pair(std::string_view text) { return read_components<2>(text); }
std::array<double, 3> str_to_triple(std::string_view text) { return read_components<3>(text); }
std::array<double, 4> str_to_quad(std::string_view text) { return read_components<4>(text); }
std::array<double, 5> str_to_quint(std::string_view text) { return read_components<5>(text); }

}  // namespace vorn
