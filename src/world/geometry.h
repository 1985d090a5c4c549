// The wrapped world: a torus twice the screen's size, centred on the origin.
// Shortest differences across the seam, the edge rule, and the mapping of a
// world point to a screen pixel through the camera shift.
#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/vec2.h"

namespace vorn {

extern int32_t world_w;
extern int32_t world_h;
extern int32_t cam_dx;  // camera shift in pixels, kept in [-(world_w div 2), world_w div 2]
extern int32_t cam_dy;

// Keeps one coordinate inside [-(extent div 2), extent div 2]: beyond an
// edge it lands exactly on the opposite edge.
inline double wrap_pos(double coordinate, int32_t extent) {
  const double half = extent / 2;
  if (coordinate > half) coordinate = -half;
  if (coordinate < -half) coordinate = half;
  return coordinate;
}

// One correction suffices because both points lie inside the world; on a
// tie (exactly half the extent) the plain difference stays.
inline double wrap_axis(double d, double extent) {
  if (std::fabs(d - extent) < std::fabs(d)) return d - extent;
  if (std::fabs(d + extent) < std::fabs(d)) return d + extent;
  return d;
}

#if defined(__SSE2__)
// Per lane: `set` where the mask is all ones, `clear` where it is zero.
inline __m128d select_lanes(__m128d mask, __m128d set, __m128d clear) {
  return _mm_or_pd(_mm_and_pd(mask, set), _mm_andnot_pd(mask, clear));
}
#endif

// The shortest a - b across the wrap (ties keep the plain difference):
// wrap_axis on both axes at once, in the two lanes of an SSE2 register
// (which every x86-64 has). Each lane does wrap_axis's operations, and the
// selections keep its order: d - extent wins over d + extent, and a NaN
// keeps d. Inline and without branches: it sits in the innermost loops of
// the physics.
inline vec2 wrap_diff(vec2 a, vec2 b) {
#if defined(__SSE2__)
  const __m128d d = _mm_sub_pd(_mm_loadu_pd(&a.x), _mm_loadu_pd(&b.x));
  const __m128d extent = _mm_set_pd(static_cast<double>(world_h), static_cast<double>(world_w));
  const __m128d sign = _mm_set1_pd(-0.0);
  const __m128d ad = _mm_andnot_pd(sign, d);
  const __m128d below = _mm_sub_pd(d, extent);
  const __m128d above = _mm_add_pd(d, extent);
  const __m128d use_below = _mm_cmplt_pd(_mm_andnot_pd(sign, below), ad);
  const __m128d use_above = _mm_cmplt_pd(_mm_andnot_pd(sign, above), ad);
  const __m128d r = select_lanes(use_below, below, select_lanes(use_above, above, d));
  vec2 out;
  _mm_storeu_pd(&out.x, r);
  return out;
#else
  return vec2{wrap_axis(a.x - b.x, world_w), wrap_axis(a.y - b.y, world_h)};
#endif
}

// p moved by v * dt and kept in the world by wrap_pos on each axis: across
// an edge it lands exactly on the opposite edge. Both axes in the two lanes
// of an SSE2 register, each lane doing wrap_pos's operations in its order
// (the test against the half first, then against minus the half, which may
// see the first one's result); without branches, for the walks over every
// node and spark of every substep.
inline vec2 move_wrapped(vec2 p, vec2 v, double dt) {
#if defined(__SSE2__)
  const __m128d q = _mm_add_pd(_mm_loadu_pd(&p.x), _mm_mul_pd(_mm_loadu_pd(&v.x), _mm_set1_pd(dt)));
  const __m128d half = _mm_set_pd(static_cast<double>(world_h / 2), static_cast<double>(world_w / 2));
  const __m128d minus_half = _mm_xor_pd(half, _mm_set1_pd(-0.0));
  const __m128d over = select_lanes(_mm_cmpgt_pd(q, half), minus_half, q);
  const __m128d r = select_lanes(_mm_cmplt_pd(over, minus_half), half, over);
  vec2 out;
  _mm_storeu_pd(&out.x, r);
  return out;
#else
  return vec2{wrap_pos(p.x + v.x * dt, world_w), wrap_pos(p.y + v.y * dt, world_h)};
#endif
}

// The pixel of world point p on the world-sized canvas, in [0, world_w] x
// [0, world_h]; only [0, W-1] x [0, H-1] is on screen. A point that is not
// finite, or absurdly far away, maps to (off_screen_pixel, off_screen_pixel).
ipoint_t to_screen(vec2 p);

// World size and camera shift back to their program-start values (0).
void reset_geometry();

// Sets cam_dx, cam_dy from a camera position: rounded, then wrapped once.
void set_camera_shift(vec2 camera);

}  // namespace vorn
