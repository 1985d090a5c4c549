// Each operation works out its exact result in a 128-bit window (with the
// bits shifted out below it folded into its lowest bit, which cannot change
// a rounding made 64 bits further up), then rounds once.
#include "base/extended.h"

#include <bit>
#include <cmath>
#include <utility>

#include "base/double_bits.h"
#include "base/wide_int.h"

namespace vorn {

namespace {

constexpr uint64_t top_bit = uint64_t{1} << 63;

// The nonzero value w * 2^exponent rounded to 64 bits.
extended round_window(bool negative, wide_uint w, int32_t exponent) {
  const int32_t shift = w.hi != 0 ? std::countl_zero(w.hi) : 64 + std::countl_zero(w.lo);
  if (shift >= 64) {
    w = {w.lo << (shift - 64), 0};
  } else if (shift > 0) {
    w = {(w.hi << shift) | (w.lo >> (64 - shift)), w.lo << shift};
  }
  exponent -= shift;
  uint64_t s = w.hi;
  if (w.lo > top_bit || (w.lo == top_bit && (s & 1) != 0)) {
    if (++s == 0) {
      s = top_bit;
      exponent += 1;
    }
  }
  return {negative, exponent + 64, s};
}

// v >> n over 128 bits, with every bit shifted out folded into the lowest.
wide_uint shift_right_sticky(uint64_t v, int32_t n) {
  if (n == 0) return {v, 0};
  if (n < 64) return {v >> n, v << (64 - n)};
  if (n == 64) return {0, v};
  if (n < 128) return {0, (v >> (n - 64)) | ((v << (128 - n)) != 0 ? 1 : 0)};
  return {0, 1};
}

bool magnitude_less(extended x, extended y) {
  if (y.significand == 0) return false;
  if (x.significand == 0) return true;
  return x.exponent != y.exponent ? x.exponent < y.exponent : x.significand < y.significand;
}

}  // namespace

extended to_extended(float v) {
  const uint32_t bits = float_bits(v);
  const bool negative = (bits >> 31) != 0;
  const int32_t field = static_cast<int32_t>((bits >> 23) & 0xFF);
  uint64_t m = bits & 0x7FFFFF;
  int32_t exponent = -149;  // subnormals: m * 2^-149
  if (field != 0) {
    m |= 0x800000;
    exponent = field - 150;
  }
  if (m == 0) return {negative, 0, 0};
  const int32_t shift = std::countl_zero(m);
  return {negative, exponent - shift, m << shift};
}

extended quotient(uint32_t a, uint32_t d) {
  if (a == 0) return {};
  // Long division one bit at a time, after scaling the remainder r and the
  // divisor so that divisor <= r < 2 divisor (both stay below 2^34): a / d
  // then lies in [2^exponent, 2^(exponent + 1)).
  uint64_t r = a;
  uint64_t divisor = d;
  int32_t exponent = 0;
  for (; r < divisor; --exponent) r <<= 1;
  for (; r >= 2 * divisor; ++exponent) divisor <<= 1;
  uint64_t q = 0;
  for (int32_t i = 0; i < 64; ++i) {
    q <<= 1;
    if (r >= divisor) {
      r -= divisor;
      q |= 1;
    }
    r <<= 1;
  }
  // r is now twice the remainder: against the divisor it tells whether the
  // rest is above, at or below half the last place.
  if (r > divisor || (r == divisor && (q & 1) != 0)) {
    if (++q == 0) {
      q = top_bit;
      exponent += 1;
    }
  }
  return {false, exponent - 63, q};
}

extended sum(extended x, extended y) {
  if (magnitude_less(x, y)) std::swap(x, y);
  if (y.significand == 0) return x.significand == 0 ? extended{x.negative && y.negative, 0, 0} : x;
  const int64_t gap = int64_t{x.exponent} - y.exponent;
  const wide_uint small = shift_right_sticky(y.significand, gap > 128 ? 128 : static_cast<int32_t>(gap));
  // The window holds x.significand * 2^64 (its low half zero) in units of
  // 2^(x.exponent - 64).
  if (x.negative == y.negative) {
    const uint64_t hi = x.significand + small.hi;
    if (hi < x.significand) {
      // The sum needs 129 bits: one more shift right, the lost bit folded in.
      return round_window(x.negative, {(hi >> 1) | top_bit, (small.lo >> 1) | (hi << 63) | (small.lo & 1)},
                          x.exponent - 63);
    }
    return round_window(x.negative, {hi, small.lo}, x.exponent - 64);
  }
  const uint64_t lo = 0 - small.lo;
  const uint64_t hi = x.significand - small.hi - (small.lo != 0 ? 1 : 0);
  if (hi == 0 && lo == 0) return {};  // exact cancellation gives +0
  return round_window(x.negative, {hi, lo}, x.exponent - 64);
}

extended product(extended x, extended y) {
  const bool negative = x.negative != y.negative;
  if (x.significand == 0 || y.significand == 0) return {negative, 0, 0};
  return round_window(negative, multiply_wide(x.significand, y.significand), x.exponent + y.exponent);
}

float to_float(extended x) {
  if (x.significand == 0) return x.negative ? -0.0f : 0.0f;
  // x lies in [2^top, 2^(top + 1)); a float keeps 24 bits down to 2^-149.
  const int64_t top = int64_t{x.exponent} + 63;
  int64_t drop = 40;
  if (top < -126) drop += -126 - top;
  uint64_t kept = 0;
  bool up = false;
  if (drop <= 63) {
    kept = x.significand >> drop;
    const uint64_t rest = x.significand & ((uint64_t{1} << drop) - 1);
    const uint64_t half = uint64_t{1} << (drop - 1);
    up = rest > half || (rest == half && (kept & 1) != 0);
  } else if (drop == 64) {
    up = x.significand > top_bit;  // above half the least subnormal
  }
  if (up) ++kept;
  const float magnitude = std::ldexp(static_cast<float>(kept), static_cast<int>(x.exponent + drop));
  return x.negative ? -magnitude : magnitude;
}

}  // namespace vorn
