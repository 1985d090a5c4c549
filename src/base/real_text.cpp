// Reals as text: the C++ library's conversions where it has them, otherwise
// the C library's, shaped to give exactly the same text and values.
#include "base/real_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vorn {

namespace portable {

namespace {

std::to_chars_result put(char* first, char* last, const char* text, size_t n) {
  if (static_cast<size_t>(last - first) < n) return {last, std::errc::value_too_large};
  std::memcpy(first, text, n);
  return {first + n, std::errc{}};
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Case-insensitive match of `word` at p; returns the end or nullptr.
const char* match_word(const char* p, const char* last, const char* word) {
  for (; *word != '\0'; ++p, ++word) {
    if (p == last || (*p | 0x20) != *word) return nullptr;
  }
  return p;
}

// The end of the longest prefix of [p, last) that the general format reads
// (after the sign), or nullptr when there is none. `number` tells a decimal
// number from inf and nan, `nonzero` whether its digits hold anything but zeros.
const char* scan_general(const char* p, const char* last, bool& number, bool& nonzero) {
  number = false;
  nonzero = false;
  if (const char* e = match_word(p, last, "inf")) {
    const char* longer = match_word(e, last, "inity");
    return longer != nullptr ? longer : e;
  }
  if (const char* e = match_word(p, last, "nan")) {
    if (e == last || *e != '(') return e;
    const char* q = e + 1;
    while (q != last && (is_digit(*q) || ((*q | 0x20) >= 'a' && (*q | 0x20) <= 'z') || *q == '_')) ++q;
    return q != last && *q == ')' ? q + 1 : e;
  }
  const auto digits = [&](const char* q) {
    for (; q != last && is_digit(*q); ++q) {
      number = true;
      nonzero = nonzero || *q != '0';
    }
    return q;
  };
  p = digits(p);
  if (p != last && *p == '.') p = digits(p + 1);
  if (!number) return nullptr;
  if (p != last && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    if (q != last && (*q == '+' || *q == '-')) ++q;
    if (q != last && is_digit(*q)) {
      while (q != last && is_digit(*q)) ++q;
      p = q;
    }
  }
  return p;
}

// Whether the decimal 0.d1d2...dn x 10^(exponent + 1) reads back as |x|.
bool reads_back(const char* digits, int count, int exponent, double x) {
  char text[40];
  int n = 0;
  for (int i = 0; i < count; ++i) {
    text[n++] = digits[i];
    if (i == 0) text[n++] = '.';
  }
  std::snprintf(text + n, sizeof text - n, "e%d", exponent);
  return std::strtod(text, nullptr) == std::fabs(x);
}

// Moves the digits one unit of their last place up (step +1) or down (-1),
// keeping their count, and keeps the move when that decimal reads back.
bool neighbour(char* digits, int count, int& exponent, int step, double x) {
  char moved[20];
  std::memcpy(moved, digits, static_cast<size_t>(count));
  int e = exponent;
  int i = count - 1;
  if (step > 0) {
    while (i >= 0 && moved[i] == '9') moved[i--] = '0';
    if (i < 0) {  // 9.99 up to 10.0: one more place before the point
      moved[0] = '1';
      ++e;
    } else {
      ++moved[i];
    }
  } else {
    while (i >= 0 && moved[i] == '0') moved[i--] = '9';
    if (i < 0) return false;
    --moved[i];
    if (moved[0] == '0') {  // 1.00 down to 0.999: one place fewer before it
      std::memmove(moved, moved + 1, static_cast<size_t>(count - 1));
      moved[count - 1] = '9';
      --e;
    }
  }
  if (moved[0] == '0' || !reads_back(moved, count, e, x)) return false;
  std::memcpy(digits, moved, static_cast<size_t>(count));
  exponent = e;
  return true;
}

std::to_chars_result put_special(char* first, char* last, double x) {
  if (std::isnan(x)) return std::signbit(x) ? put(first, last, "-nan", 4) : put(first, last, "nan", 3);
  return x < 0 ? put(first, last, "-inf", 4) : put(first, last, "inf", 3);
}

}  // namespace

std::to_chars_result real_to_chars(char* first, char* last, double x) {
  if (!std::isfinite(x)) return put_special(first, last, x);
  if (x == 0) return std::signbit(x) ? put(first, last, "-0", 2) : put(first, last, "0", 1);
  // The fewest significant digits that read back as x. For each count,
  // printf gives the closest decimal; at a power of two the doubles below
  // lie twice as close, so that one may fall outside x's rounding interval
  // while its neighbour on the other side lies inside. The closest that
  // reads back wins, as in the C++ library.
  const bool negative = std::signbit(x);
  char digits[20];
  int count = 0, exponent = 0;
  for (count = 1; count <= 17; ++count) {
    char sci[40];
    std::snprintf(sci, sizeof sci, "%.*e", count - 1, std::fabs(x));
    int n = 0;
    for (const char* p = sci; *p != 'e'; ++p) {
      if (*p != '.') digits[n++] = *p;
    }
    exponent = std::atoi(std::strchr(sci, 'e') + 1);
    if (reads_back(digits, count, exponent, x)) break;
    if (neighbour(digits, count, exponent, +1, x) || neighbour(digits, count, exponent, -1, x)) break;
  }
  const int whole = exponent + 1;  // digits before the point in plain form
  char exponent_text[16];
  std::snprintf(exponent_text, sizeof exponent_text, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  // Scientific: d[.ddd] and the exponent as printf writes it (a sign and at
  // least two digits). Plain: the digits with the point placed, or the whole
  // number.
  const int scientific_size = negative + 1 + (count > 1 ? count : 0) + static_cast<int>(std::strlen(exponent_text));
  const int plain_size = negative + (whole <= 0 ? 2 - whole + count : whole >= count ? whole : count + 1);
  char text[400];
  char* t = text;
  if (negative) *t++ = '-';
  if (plain_size <= scientific_size) {
    if (whole <= 0) {
      *t++ = '0';
      *t++ = '.';
      for (int i = 0; i < -whole; ++i) *t++ = '0';
      for (int i = 0; i < count; ++i) *t++ = digits[i];
    } else if (whole >= count) {
      // A whole number is written out exactly, every digit of the double's
      // value, not the shortest digits padded with zeros.
      t += std::snprintf(t, sizeof text - (t - text), "%.0f", std::fabs(x));
    } else {
      for (int i = 0; i < count; ++i) {
        if (i == whole) *t++ = '.';
        *t++ = digits[i];
      }
    }
  } else {
    *t++ = digits[0];
    if (count > 1) *t++ = '.';
    for (int i = 1; i < count; ++i) *t++ = digits[i];
    for (const char* e = exponent_text; *e != '\0'; ++e) *t++ = *e;
  }
  return put(first, last, text, static_cast<size_t>(t - text));
}

std::to_chars_result real_to_chars_fixed(char* first, char* last, double x, int decimals) {
  if (!std::isfinite(x)) return put_special(first, last, x);
  char text[400];
  const int n = std::snprintf(text, sizeof text, "%.*f", decimals, x);
  if (n < 0 || n >= static_cast<int>(sizeof text)) return {last, std::errc::value_too_large};
  return put(first, last, text, static_cast<size_t>(n));
}

std::from_chars_result real_from_chars(const char* first, const char* last, double& out) {
  const char* p = first != last && *first == '-' ? first + 1 : first;
  bool number = false, nonzero = false;
  const char* end = scan_general(p, last, number, nonzero);
  if (end == nullptr) return {first, std::errc::invalid_argument};
  const std::string text(first, end);
  const double value = std::strtod(text.c_str(), nullptr);
  // Out of range: a number beyond the largest double, or one that is not
  // zero yet rounds to zero (subnormal results are in range).
  if (number && (std::isinf(value) || (value == 0 && nonzero))) return {end, std::errc::result_out_of_range};
  out = value;
  return {end, std::errc{}};
}

std::from_chars_result real_from_hex_chars(const char* first, const char* last, double& out) {
  const char* end = first;
  while (end != last && (is_digit(*end) || ((*end | 0x20) >= 'a' && (*end | 0x20) <= 'f'))) ++end;
  if (end == first) return {first, std::errc::invalid_argument};
  const std::string text = "0x" + std::string(first, end);
  const double value = std::strtod(text.c_str(), nullptr);
  if (std::isinf(value)) return {end, std::errc::result_out_of_range};
  out = value;
  return {end, std::errc{}};
}

}  // namespace portable

#if defined(__cpp_lib_to_chars)

std::to_chars_result real_to_chars(char* first, char* last, double x) { return std::to_chars(first, last, x); }

std::to_chars_result real_to_chars_fixed(char* first, char* last, double x, int decimals) {
  return std::to_chars(first, last, x, std::chars_format::fixed, decimals);
}

std::from_chars_result real_from_chars(const char* first, const char* last, double& out) {
  return std::from_chars(first, last, out);
}

std::from_chars_result real_from_hex_chars(const char* first, const char* last, double& out) {
  return std::from_chars(first, last, out, std::chars_format::hex);
}

#else

std::to_chars_result real_to_chars(char* first, char* last, double x) {
  return portable::real_to_chars(first, last, x);
}

std::to_chars_result real_to_chars_fixed(char* first, char* last, double x, int decimals) {
  return portable::real_to_chars_fixed(first, last, x, decimals);
}

std::from_chars_result real_from_chars(const char* first, const char* last, double& out) {
  return portable::real_from_chars(first, last, out);
}

std::from_chars_result real_from_hex_chars(const char* first, const char* last, double& out) {
  return portable::real_from_hex_chars(first, last, out);
}

#endif

}  // namespace vorn
