// The one rule by which a real becomes an integer in Vorn: to nearest, ties
// to even (the default IEEE rounding mode). Pixel conversions also guard
// against values that are not finite or lie absurdly far away.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

// Every double operation rounds to a double, on every machine: no wider
// intermediates (32-bit x86 must be built with -msse2 -mfpmath=sse).
static_assert(FLT_EVAL_METHOD == 0, "doubles must be computed as doubles (on 32-bit x86: -msse2 -mfpmath=sse)");

namespace vorn {

// Nearest integer as a double, ties to even (2.5 -> 2, 3.5 -> 4).
inline double round_even(double x) { return std::nearbyint(x); }

// Nearest int32, ties to even. NaN gives 0; values beyond the int32 range
// give the nearest limit, so the conversion is never undefined behaviour.
int32_t round_int(double x);

// Pixel coordinates never need more than this magnitude: screens are a few
// thousand pixels wide and the world twice that.
constexpr int32_t pixel_limit = 1 << 20;

// Where a coordinate that is not finite, or beyond +-pixel_limit, lands: far
// to the left of / above every screen, so nothing is drawn there and the
// drawing primitives, which clip to their image, do bounded work.
constexpr int32_t off_screen_pixel = -pixel_limit;

// Nearest int32 for a pixel coordinate, ties to even; off_screen_pixel for a
// value that is not finite or beyond +-pixel_limit.
int32_t round_pixel(double x);

}  // namespace vorn
