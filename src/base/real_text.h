// Reals as text exactly as std::to_chars and std::from_chars give them
// (shortest round trip, fixed decimals, reading without a locale), also with
// a C++ library that lacks them for floating point, as the browser build's
// does. Demos, settings and the HUD write and read reals only through these.
#pragma once

#include <charconv>

namespace vorn {

// The shortest text that reads back as x, plain or scientific, whichever is
// shorter (plain on a tie): std::to_chars(first, last, x). 32 characters
// always suffice.
std::to_chars_result real_to_chars(char* first, char* last, double x);

// x with `decimals` digits after the point: std::to_chars(first, last, x,
// std::chars_format::fixed, decimals).
std::to_chars_result real_to_chars_fixed(char* first, char* last, double x, int decimals);

// Reads the longest real at `first` in the general format ('-' but no '+',
// no blanks, no hexadecimal; inf and nan): std::from_chars(first, last, out).
// A value too large or too small for a double is out of range and leaves
// `out` alone.
std::from_chars_result real_from_chars(const char* first, const char* last, double& out);

// Reads hexadecimal digits (no "0x") as the nearest double:
// std::from_chars(first, last, out, std::chars_format::hex).
std::from_chars_result real_from_hex_chars(const char* first, const char* last, double& out);

// The same four built on the C library's conversions (correctly rounded,
// read in the C locale, the only one a browser build has). Used where the
// C++ library lacks the others, and compared with them by the tests.
namespace portable {
std::to_chars_result real_to_chars(char* first, char* last, double x);
std::to_chars_result real_to_chars_fixed(char* first, char* last, double x, int decimals);
std::from_chars_result real_from_chars(const char* first, const char* last, double& out);
std::from_chars_result real_from_hex_chars(const char* first, const char* last, double& out);
}  // namespace portable

}  // namespace vorn
