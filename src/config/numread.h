// The number readers of the configuration records: integers (decimal or
// 0x-hexadecimal), reals with '.' as the decimal separator in every locale,
// and the readers of two to five comma- or blank-separated components.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vorn {

// Every reader first trims blanks and control characters (bytes up to ' ')
// from both ends and never raises or reports an error.

// Optional '+' or '-', then decimal digits, or hexadecimal digits after "0x"
// or "0X". A complete integer reads with its sign ("-40" -> -40). When a
// character that cannot continue the number is met, the result is the
// magnitude read so far, without the sign ("12.7" -> 12, "-3.5" -> 3,
// "0x1g" -> 1). Text without digits reads 0. Values beyond the int32 range
// saturate: a complete integer to INT32_MIN or INT32_MAX by its sign, a
// broken one's magnitude to INT32_MAX.
int32_t str_to_int(std::string_view text);

// Optional sign, digits, optional '.' and digits, optional exponent ('e' or
// 'E', optional sign, digits); the mantissa needs a digit on at least one
// side of the '.' (".5" and "5." are read). Text that is not a complete real
// reads its longest valid prefix ("1.5x" -> 1.5, "2e" and "2e+" -> 2.0,
// "0x10" -> 0.0); text without such a prefix ("", "-", ".", "inf", "nan")
// reads 0.0. The result is the nearest double, so it is always finite:
// magnitudes beyond the double range saturate to +-DBL_MAX, and magnitudes
// too small for the smallest denormal become a zero of the text's sign.
double str_to_real(std::string_view text);

// A complete integer literal: optional '+' or '-', then decimal digits, or
// hexadecimal digits after "0x" or "0X", and nothing else. For one, `value`
// gets its exact value rounded to the nearest double (ties to even; zero
// has no sign; beyond the double range +-DBL_MAX) and the result is true;
// for any other text the result is false and `value` is left alone.
// ("100000000000" -> 1e11 where str_to_int saturates; "0x1e" -> 30.0.)
bool read_integer_literal(std::string_view text, double& value);

// Component readers. Components are separated by a comma (blanks around it
// belong to the separator) or by a run of spaces and tabs, so "1,2,3",
// "1 2 3" and "1, 2 ,3" all read 1, 2, 3, and "1,,3" reads 1, 0, 3. Each
// component is read by str_to_real; a component beyond the end of the text
// reads 0.
std::array<double, 2> str_to_pair(std::string_view text);
std::array<double, 3> str_to_triple(std::string_view text);
std::array<double, 4> str_to_quad(std::string_view text);
std::array<double, 5> str_to_quint(std::string_view text);

}  // namespace vorn
