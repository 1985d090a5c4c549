// Colour mixing.
#include "base/color.h"

#include <cmath>

#include "base/rounding.h"

namespace vorn {

namespace {

uint32_t blend_channel(uint32_t a, uint32_t b, float t) {
  // Computed in extended precision, then stored as a 32-bit float.
  const long double tl = t;
  const float v0 = static_cast<float>((a / 255.0L) * tl + (1.0L - tl) * (b / 255.0L));
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
