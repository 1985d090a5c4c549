// Colour mixing.
#include "base/color.h"

#include <cmath>

#include "base/extended.h"
#include "base/rounding.h"

namespace vorn {

namespace {

// (a / 255) * t + (1 - t) * (b / 255) with every operation rounded to a
// 64-bit significand, then rounded to a float: the mix as it was first
// defined (in x87 extended precision), the same bits on every machine.
float mix_extended(uint32_t a, uint32_t b, float t) {
  const extended te = to_extended(t);
  const extended one = quotient(1, 1);
  return to_float(sum(product(quotient(a, 255), te), product(sum(one, negated(te)), quotient(b, 255))));
}

// The same, usually from doubles. Every operation errs by at most half a
// last place u of its result (u = 2^-53 for doubles, 2^-64 extended), so
// with x and y the two products each computation lies within 4.1 u (|x| +
// |y|) of the exact value, cancelling or not (at most three roundings
// reach a product, one more the sum); 2^-49 (|x| + |y|) covers both. When the double result is farther than that from every
// point where rounding to a float changes its mind, the exact value, the
// double and the extended result all round to the same float. Otherwise
// (near a tie, or far outside the usual range) the extended arithmetic
// decides.
float mix(uint32_t a, uint32_t b, float t) {
  const double x = (a / 255.0) * t;
  const double y = (1.0 - t) * (b / 255.0);
  // Both products exactly zero (a zero factor in each) in any arithmetic;
  // the sign of the zero makes no difference to the channel.
  if (x == 0 && y == 0) return 0.0f;
  const double s = x + y;
  const double bound = (std::fabs(x) + std::fabs(y)) * 0x1p-49;
  const double size = std::fabs(s);
  if (size >= 0x1p-125 && size < 0x1p127) {
    const float f = static_cast<float>(s);
    const double below = (static_cast<double>(f) + std::nextafter(f, -HUGE_VALF)) / 2;
    const double above = (static_cast<double>(f) + std::nextafter(f, HUGE_VALF)) / 2;
    if (s - below > bound && above - s > bound) return f;
  }
  return mix_extended(a, b, t);
}

uint32_t blend_channel(uint32_t a, uint32_t b, float t) {
  const float v0 = mix(a, b, t);
  const float v = v0 > 1.0f ? 1.0f : v0;
  // The low byte of the rounded value: a negative v wraps modulo 256.
  // fmod is exact, so this holds for every magnitude a float can have; the
  // usual value, already in [0, 256), is its own remainder.
  const double r = round_even(static_cast<double>(v) * 255.0);
  double n = r >= 0 && r < 256.0 ? r : std::fmod(r, 256.0);
  if (n < 0) n += 256.0;
  return static_cast<uint32_t>(n);
}

}  // namespace

color_t blend(color_t c1, color_t c2, float t) {
  if (!std::isfinite(t)) t = 0.0f;  // a mix factor that is not a number mixes nothing in
  // At the endpoints one colour passes unchanged: with t = 0 (either sign)
  // a channel is float(b / 255), within 2^-24 of it, so times 255 it is
  // within 2^-16 of b and rounds back to b; t = 1 likewise gives a. Cold
  // links are drawn at t = 0 every frame.
  if (t == 0.0f) return 0xFF000000u | c2;
  if (t == 1.0f) return 0xFF000000u | c1;
  const uint32_t r = blend_channel((c1 >> 16) & 0xFF, (c2 >> 16) & 0xFF, t);
  const uint32_t g = blend_channel((c1 >> 8) & 0xFF, (c2 >> 8) & 0xFF, t);
  const uint32_t b = blend_channel(c1 & 0xFF, c2 & 0xFF, t);
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

}  // namespace vorn
