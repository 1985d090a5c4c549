// Edge cases of the vector helpers: exact bearings, zero-length vectors and
// the borders of the intersection tests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "base/vec2.h"
#include "support/same_bits.h"

namespace vorn {
namespace {

using vorn_test::same_bits;

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

// The crossing test as the rule reads: both quotients taken, then compared.
bool plain_seg_cross(vec2 p1, vec2 p2, vec2 q1, vec2 q2, vec2& out) {
  const double den = (q2.y - q1.y) * (p2.x - p1.x) - (q2.x - q1.x) * (p2.y - p1.y);
  const double na = (q2.x - q1.x) * (p1.y - q1.y) - (q2.y - q1.y) * (p1.x - q1.x);
  const double nb = (p2.x - p1.x) * (p1.y - q1.y) - (p2.y - p1.y) * (p1.x - q1.x);
  if (std::fabs(na) < eps && std::fabs(nb) < eps && std::fabs(den) < eps) {
    out = mid(p1, p2);
    return true;
  }
  if (std::fabs(den) < eps) {
    out = vec2{0, 0};
    return false;
  }
  const double ua = na / den;
  const double ub = nb / den;
  if (ua < eps || ua > 1 + eps || ub < eps || ub > 1 + eps) {
    out = vec2{0, 0};
    return false;
  }
  out = vec2{p1.x + ua * (p2.x - p1.x), p1.y + ua * (p2.y - p1.y)};
  return true;
}

// The test that skips the divisions for segments that clearly miss gives
// the plain answer and the same bits: segments near each other, far apart,
// touching at their ends, tiny and huge, and with infinite or NaN corners.
TEST(Vec2, SegCrossAgreesWithThePlainTest) {
  std::mt19937_64 gen(7);
  const double specials[] = {0.0, -0.0, 1.0, 2.0, -1.0, 1e-6, 3e-3, 1e300, -1e300,
                             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(), 5e-324};
  std::uniform_real_distribution<double> near(-2.0, 2.0);
  std::uniform_int_distribution<int> pick(0, 12);
  std::uniform_int_distribution<int> kind(0, 9);
  int64_t crossings = 0;
  for (int n = 0; n < 400000; ++n) {
    double c[8];
    for (double& v : c) {
      const int k = kind(gen);
      v = k == 0 ? specials[pick(gen)] : k == 1 ? std::round(near(gen)) : near(gen) * (k == 2 ? 1e-3 : 1.0);
    }
    const vec2 p1{c[0], c[1]}, p2{c[2], c[3]}, q1{c[4], c[5]}, q2{c[6], c[7]};
    vec2 want{9, 9}, got{9, 9};
    const bool w = plain_seg_cross(p1, p2, q1, q2, want);
    ASSERT_EQ(seg_cross(p1, p2, q1, q2, got), w) << n;
    ASSERT_TRUE(same_bits(got, want)) << n;
    crossings += w;
  }
  EXPECT_GT(crossings, 10000);  // the sample holds crossings as well as misses
}

}  // namespace
}  // namespace vorn
