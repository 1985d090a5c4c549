// The wrapped world's size, the edge rule, the shortest difference across the
// seam and the mapping of world points to pixels through the camera shift.
#include "world/geometry.h"

#include <cmath>

#include "base/rounding.h"
#include "base/view.h"

namespace vorn {

int32_t world_w = 0;
int32_t world_h = 0;
int32_t cam_dx = 0;
int32_t cam_dy = 0;

namespace {

// One pixel coordinate before wrapping, or false when the raw value is not
// finite or beyond +-pixel_limit. The integer part is summed exactly (in
// 64 bits, then as a double) before the world coordinate is added.
bool raw_pixel(int32_t half_screen, int32_t cam, double p, int32_t& out) {
  const double v = static_cast<double>(int64_t{half_screen} + cam) + p;
  if (!std::isfinite(v) || v > pixel_limit || v < -pixel_limit) return false;
  out = static_cast<int32_t>(round_even(v));
  return true;
}

}  // namespace

ipoint_t to_screen(vec2 p) {
  ipoint_t s;
  if (!raw_pixel(screen_w / 2, cam_dx, p.x, s.x) || !raw_pixel(screen_h / 2, cam_dy, p.y, s.y)) {
    return ipoint(off_screen_pixel, off_screen_pixel);
  }
  if (s.x > world_w) s.x -= world_w;
  if (s.y > world_h) s.y -= world_h;
  if (s.x < 0) s.x += world_w;
  if (s.y < 0) s.y += world_h;
  return s;
}

void set_camera_shift(vec2 camera) {
  cam_dx = round_int(camera.x);
  cam_dy = round_int(camera.y);
  if (cam_dx > world_w / 2) cam_dx -= world_w;
  if (cam_dy > world_h / 2) cam_dy -= world_h;
  if (cam_dx < -world_w / 2) cam_dx += world_w;
  if (cam_dy < -world_h / 2) cam_dy += world_h;
}

void reset_geometry() {
  world_w = world_h = 0;
  cam_dx = cam_dy = 0;
}

}  // namespace vorn
