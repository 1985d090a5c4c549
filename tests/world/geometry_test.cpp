// The wrapped world: shortest differences across the seam, the edge rule,
// the pixel mapping and the camera shift.
#include <cmath>
#include <limits>
#include <utility>

#include "base/rounding.h"
#include "support/same_bits.h"
#include "world_fixture.h"

namespace vorn {
namespace {

using Geometry = WorldTest;

void expect_vec(vec2 v, double x, double y) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
}

void expect_pixel(ipoint_t p, int32_t x, int32_t y) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
}

// For the two-lane forms against their one-axis rules: the same bits,
// NaNs and signed zeros included.
using vorn_test::same_bits;
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST_F(Geometry, WrapDiff) {
  expect_vec(wrap_diff(vec(790, 0), vec(-790, 0)), -20, 0);
  expect_vec(wrap_diff(vec(-790, 0), vec(790, 0)), 20, 0);
  // Exactly half the world stays the plain difference.
  expect_vec(wrap_diff(vec(800, 0), vec(0, 0)), 800, 0);
  expect_vec(wrap_diff(vec(0, 0), vec(800, 0)), -800, 0);
  expect_vec(wrap_diff(vec(0, 600), vec(0, 0)), 0, 600);
  expect_vec(wrap_diff(vec(0, 590), vec(0, -590)), 0, -20);
  expect_vec(wrap_diff(vec(3, -4), vec(1, 1)), 2, -5);

  // Both axes at once must be wrap_axis on each, bit for bit: ties, points
  // beyond the world, signed zeros, infinities, NaNs, and a world of size 0.
  const double odd[] = {0, -0.0, 800, -800, 600, -600, 799.999, 1600, -2400, 5000, 1e300, inf, -inf, nan, 3.25};
  for (const auto& [w, h] : {std::pair{1600, 1200}, {0, 0}, {7, 1}}) {
    world_w = w;
    world_h = h;
    for (const double ax : odd)
      for (const double bx : odd)
        for (const double by : {0.0, -600.0, nan, 1e-300}) {
          const vec2 a = vec(ax, -bx), b = vec(bx, by);
          const vec2 d = wrap_diff(a, b);
          ASSERT_TRUE(same_bits(d.x, wrap_axis(a.x - b.x, w)) && same_bits(d.y, wrap_axis(a.y - b.y, h)))
              << w << "x" << h << " " << ax << "," << -bx << " - " << bx << "," << by;
        }
  }
}

TEST_F(Geometry, WrapPos) {
  EXPECT_EQ(wrap_pos(800.5, 1600), -800.0);
  EXPECT_EQ(wrap_pos(-800.5, 1600), 800.0);
  EXPECT_EQ(wrap_pos(800, 1600), 800.0);
  EXPECT_EQ(wrap_pos(-800, 1600), -800.0);
  EXPECT_EQ(wrap_pos(1e9, 1600), -800.0);
  EXPECT_EQ(wrap_pos(12.25, 1600), 12.25);
  EXPECT_EQ(wrap_pos(600.5, 1201), -600.0);  // the half is truncated

  // A move is wrap_pos on each axis of p + v * dt, bit for bit: over the
  // edges, exactly onto them, from beyond the world, with signed zeros,
  // infinities and NaNs, in worlds of sizes 0, 1 and odd.
  const double odd[] = {0, -0.0, 799.5, -799.5, 800, -800, 600, -600.25, 1e300, -1e300, inf, -inf, nan, 3.25};
  for (const auto& [w, h] : {std::pair{1600, 1200}, {0, 1}, {7, 1201}}) {
    world_w = w;
    world_h = h;
    for (const double px : odd)
      for (const double vx : odd)
        for (const double dt : {0.0, 1.0 / 480, 1.0, -2.0}) {
          const vec2 p = vec(px, -vx), v = vec(vx, px);
          const vec2 m = move_wrapped(p, v, dt);
          ASSERT_TRUE(same_bits(m.x, wrap_pos(p.x + v.x * dt, w)) && same_bits(m.y, wrap_pos(p.y + v.y * dt, h)))
              << w << "x" << h << " " << px << "," << -vx << " by " << vx << "," << px << " * " << dt;
        }
  }
}

TEST_F(Geometry, ToScreen) {
  expect_pixel(to_screen(vec(0, 0)), 400, 300);
  expect_pixel(to_screen(vec(-500, 0)), 1500, 300);
  expect_pixel(to_screen(vec(2.5, 0)), 402, 300);
  expect_pixel(to_screen(vec(3.5, -0.5)), 404, 300);
  expect_pixel(to_screen(vec(0, 1000)), 400, 100);
  expect_pixel(to_screen(vec(1200, 900)), 1600, 1200);  // the far edges are kept
  cam_dx = -200;
  cam_dy = 100;
  expect_pixel(to_screen(vec(200, -100)), 400, 300);

  expect_pixel(to_screen(vec(nan, 0)), off_screen_pixel, off_screen_pixel);
  expect_pixel(to_screen(vec(0, -inf)), off_screen_pixel, off_screen_pixel);
  expect_pixel(to_screen(vec(1e12, 0)), off_screen_pixel, off_screen_pixel);
  // An extreme shift cannot overflow the integer sum.
  cam_dx = std::numeric_limits<int32_t>::max();
  expect_pixel(to_screen(vec(0, 0)), off_screen_pixel, off_screen_pixel);
}

TEST_F(Geometry, CameraShift) {
  set_camera_shift(vec(800.4, -600.4));
  EXPECT_EQ(cam_dx, 800);
  EXPECT_EQ(cam_dy, -600);
  set_camera_shift(vec(800.6, -600.6));
  EXPECT_EQ(cam_dx, -799);
  EXPECT_EQ(cam_dy, 599);
  set_camera_shift(vec(2.5, 3.5));
  EXPECT_EQ(cam_dx, 2);
  EXPECT_EQ(cam_dy, 4);
  // Exactly half the world either way is kept as it is.
  set_camera_shift(vec(-800, 600));
  EXPECT_EQ(cam_dx, -800);
  EXPECT_EQ(cam_dy, 600);
  set_camera_shift(vec(800, -600));
  EXPECT_EQ(cam_dx, 800);
  EXPECT_EQ(cam_dy, -600);
  set_camera_shift(vec(std::nan(""), 0));
  EXPECT_EQ(cam_dx, 0);
}

}  // namespace
}  // namespace vorn
