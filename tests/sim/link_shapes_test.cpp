// The link shapes in every instruction set the processor has must be the
// bits of the one-at-a-time shapes, for ends that take every branch.
#include "sim/link_shapes.h"

#include <limits>
#include <vector>

#include "game_fixture.h"
#include "sim/isa.h"
#include "support/same_bits.h"

namespace vorn {
namespace {

class LinkShapes : public GameTest {
 protected:
  void TearDown() override {
    reset_isa();
    GameTest::TearDown();
  }
};

// Ends (as b, with a at the origin) that take every branch of the shape:
// exactly half the world apart (a tie keeps the plain difference), beyond
// half (wrapped), one or both components zero, shorter than eps, ordinary,
// huge, not a number.
std::vector<vec2> awkward_ends() {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  return {{800, 0},  {-800, 0},    {0, 600},   {0, -600},     {0, 0},      {3e-6, 0},   {1e-3, -2e-3},
          {-0.0, 0}, {799.75, 599.5}, {-801, 601}, {-123.25, 77.5}, {1e300, 1}, {inf, 2}, {nan, 5}, {7, 3}};
}

struct columns {
  explicit columns(size_t n) : v(link_columns * n), n(n) {}
  std::vector<double> v;
  size_t n;
  link_ends ends() { return view_link_columns(v.data(), n).ends; }
  link_shape_rows shapes() { return view_link_columns(v.data(), n).shapes; }
};

TEST_F(LinkShapes, EveryKernelGivesTheBitsOfTheScalarShapes) {
  const std::vector<vec2> awkward = awkward_ends();
  // The awkward ends, then ordinary ones, an odd count so that every
  // kernel's tail runs too.
  const size_t n = awkward.size() + 300 + 1;
  columns in(n);
  const link_ends e = in.ends();
  for (size_t i = 0; i < n; ++i) {
    const vec2 b = i < awkward.size() ? awkward[i] : vec2{1600 * random_real() - 800, 1200 * random_real() - 600};
    const vec2 a = i < awkward.size() ? vec2{} : vec2{1600 * random_real() - 800, 1200 * random_real() - 600};
    e.ax[i] = a.x;
    e.ay[i] = a.y;
    e.bx[i] = b.x;
    e.by[i] = b.y;
    e.rest[i] = 40 * random_real();
  }
  columns want = in;
  link_shapes_w1.shapes(want.ends(), n, want.shapes());
  for (size_t i = 0; i < awkward.size(); ++i) {
    // Spot checks of the reference itself: half the world apart stays.
    if (awkward[i].x == 800 && awkward[i].y == 0) {
      EXPECT_EQ(want.shapes().ux[i], -1.0);
    }
    if (awkward[i].x == 0 && awkward[i].y == 0) {
      EXPECT_EQ(want.shapes().m[i], eps);
    }
  }
  for (const isa_level isa : built_isas()) {
    if (!select_isa(isa)) continue;
    for (const size_t count : {n, size_t{3}, size_t{0}}) {
      columns got = in;
      active_link_shape_kernels->shapes(got.ends(), count, got.shapes());
      for (size_t k = 0; k < 4 * n; ++k) {
        const size_t column = 5 * n + k;
        const double expected = k % n < count ? want.v[column] : in.v[column];
        ASSERT_TRUE(vorn_test::same_bits(got.v[column], expected))
            << isa_name(isa) << " count " << count << " column " << k / n << " entry " << k % n;
      }
    }
  }
}

}  // namespace
}  // namespace vorn
