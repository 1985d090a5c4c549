// Edge cases of the vector helpers: exact bearings, zero-length vectors and
// the borders of the intersection tests.
#include <gtest/gtest.h>

#include "base/vec2.h"

namespace vorn {
namespace {

TEST(Vec2, Bearings) {
  EXPECT_EQ(bearing(0, 0, 0, 0), 0.0);
  EXPECT_EQ(bearing(0, -5, 0, 0), 0.0);
  EXPECT_EQ(bearing(5, 0, 0, 0), 90.0);
  EXPECT_EQ(bearing(0, 5, 0, 0), 180.0);
  EXPECT_EQ(bearing(-5, 0, 0, 0), 270.0);
  EXPECT_DOUBLE_EQ(bearing(5, -5, 0, 0), 45.0);
  EXPECT_DOUBLE_EQ(bearing(5, 5, 0, 0), 135.0);
  EXPECT_DOUBLE_EQ(bearing(-5, 5, 0, 0), 225.0);
  EXPECT_DOUBLE_EQ(bearing(vec(-5, -5)), 315.0);
}

TEST(Vec2, NormAndSmallHelpers) {
  EXPECT_EQ(norm(vec(0, 0)).x, 0.0);
  EXPECT_DOUBLE_EQ(norm(vec(3, 4)).x, 0.6);
  EXPECT_DOUBLE_EQ(norm(vec(3, 4)).y, 0.8);
  EXPECT_EQ(norm(vec(eps / 2, 0)).x, eps / 2);
  EXPECT_EQ(sign(0), 1);
  EXPECT_EQ(sign(-0.1), -1);
  EXPECT_TRUE(in_rect(1, 2, 1, 2, 5, 6));
  EXPECT_TRUE(in_rect(5, 6, 1, 2, 5, 6));
  EXPECT_FALSE(in_rect(6, 6, 1, 2, 5, 6));
}

TEST(Vec2, RayCircle) {
  vec2 out{9, 9};
  EXPECT_TRUE(ray_circle(vec(-10, 0), vec(-5, 0), vec(0, 0), out, 2));
  EXPECT_DOUBLE_EQ(out.x, -2.0);
  EXPECT_TRUE(ray_circle(vec(0, 0), vec(1, 0), vec(0, 0), out, 2));  // from inside
  EXPECT_DOUBLE_EQ(out.x, 2.0);
  out = vec(9, 9);
  EXPECT_FALSE(ray_circle(vec(1, 1), vec(1, 1), vec(0, 0), out, 2));
  EXPECT_EQ(out.x, 9.0);
  EXPECT_FALSE(ray_circle(vec(10, 0), vec(20, 0), vec(0, 0), out, 2));  // behind
}

TEST(Vec2, SegCross) {
  vec2 out;
  EXPECT_TRUE(seg_cross(vec(0, 0), vec(2, 2), vec(0, 2), vec(2, 0), out));
  EXPECT_DOUBLE_EQ(out.x, 1.0);
  EXPECT_DOUBLE_EQ(out.y, 1.0);
  EXPECT_FALSE(seg_cross(vec(0, 0), vec(2, 0), vec(0, 0), vec(0, 2), out));  // meet at p1
  EXPECT_EQ(out.x, 0.0);
  EXPECT_TRUE(seg_cross(vec(0, 0), vec(4, 0), vec(2, 0), vec(6, 0), out));  // collinear
  EXPECT_EQ(out.x, 2.0);
  EXPECT_FALSE(seg_cross(vec(0, 0), vec(4, 0), vec(0, 1), vec(4, 1), out));  // parallel
}

}  // namespace
}  // namespace vorn
