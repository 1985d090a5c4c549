// The exact product as a sign and a 128-bit magnitude, divided bit by bit;
// products that fit in 64 bits (every on-screen line) take the machine's
// own division.
#include "base/wide_int.h"

namespace vorn {

namespace {

uint64_t abs_u64(int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }

wide_uint add(wide_uint x, uint64_t y) {
  const uint64_t lo = x.lo + y;
  return {x.hi + (lo < y ? 1 : 0), lo};
}

bool less(wide_uint x, uint64_t y) { return x.hi == 0 && x.lo < y; }

// x - y for x >= y.
wide_uint subtract(wide_uint x, uint64_t y) { return {x.hi - (x.lo < y ? 1 : 0), x.lo - y}; }

// y - x for x <= y (x fits 64 bits then).
uint64_t subtract_from(uint64_t y, wide_uint x) { return y - x.lo; }

// x / d and x % d for 0 < d < 2^63 when the quotient fits 64 bits (x.hi <
// d), one bit at a time; the remainder stays below d < 2^63, so shifting it
// left never loses a bit.
uint64_t divide(wide_uint x, uint64_t d, uint64_t& remainder) {
  uint64_t r = x.hi;
  uint64_t q = 0;
  for (int32_t bit = 63; bit >= 0; --bit) {
    r = (r << 1) | ((x.lo >> bit) & 1);
    q <<= 1;
    if (r >= d) {
      r -= d;
      q |= 1;
    }
  }
  remainder = r;
  return q;
}

int64_t floor_div(int64_t n, int64_t d) {
  const int64_t q = n / d;
  return q * d != n && n < 0 ? q - 1 : q;
}

}  // namespace

// From four 32 x 32 -> 64-bit products.
wide_uint multiply_wide(uint64_t a, uint64_t b) {
  const uint64_t a0 = a & 0xFFFFFFFFu;
  const uint64_t a1 = a >> 32;
  const uint64_t b0 = b & 0xFFFFFFFFu;
  const uint64_t b1 = b >> 32;
  const uint64_t p00 = a0 * b0;
  const uint64_t p01 = a0 * b1;
  const uint64_t p10 = a1 * b0;
  // At most 3 (2^32 - 1) < 2^34: no carry is lost.
  const uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  return {a1 * b1 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & 0xFFFFFFFFu)};
}

int64_t floor_mul_add_div(int64_t a, int64_t b, int64_t c, int64_t d) {
  int64_t product = 0;
  int64_t sum = 0;
  if (!__builtin_mul_overflow(a, b, &product) && !__builtin_add_overflow(product, c, &sum)) return floor_div(sum, d);
  // sign * value = a * b + c, value as a 128-bit magnitude.
  const bool product_negative = (a < 0) != (b < 0);
  wide_uint value = multiply_wide(abs_u64(a), abs_u64(b));
  bool negative = product_negative;
  const uint64_t c_abs = abs_u64(c);
  if ((c < 0) == product_negative) {
    value = add(value, c_abs);
  } else if (less(value, c_abs)) {
    value = {0, subtract_from(c_abs, value)};
    negative = !product_negative;
  } else {
    value = subtract(value, c_abs);
  }
  uint64_t remainder = 0;
  const uint64_t q = divide(value, static_cast<uint64_t>(d), remainder);
  // -(q + 1) when the division is not exact; unsigned, so that no step of
  // it overflows.
  return static_cast<int64_t>(negative ? 0 - q - (remainder != 0 ? 1 : 0) : q);
}

}  // namespace vorn
