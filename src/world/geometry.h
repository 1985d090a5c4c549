// The wrapped world: a torus twice the screen's size, centred on the origin.
// Shortest differences across the seam, the edge rule, and the mapping of a
// world point to a screen pixel through the camera shift.
#pragma once

#include <cmath>
#include <cstdint>

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

// The shortest a - b across the wrap (ties keep the plain difference).
// Inline: it sits in the innermost loops of the physics.
inline vec2 wrap_diff(vec2 a, vec2 b) {
  return vec2{wrap_axis(a.x - b.x, world_w), wrap_axis(a.y - b.y, world_h)};
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
