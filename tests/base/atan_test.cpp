// The game's arctangent against MPFR's correctly rounded one, bit for bit:
// the exact cases, the edges of every range the method treats differently,
// a random sample over every binade, and the careful path on its own.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "base/atan.h"
#include "support/same_bits.h"

namespace vorn {
namespace {

class AtanOracle : public ::testing::Test {
 protected:
  void SetUp() override { mpfr_init2(v_, 53); }
  void TearDown() override { mpfr_clear(v_); }

  double want(double x) {
    mpfr_set_d(v_, x, MPFR_RNDN);
    const int t = mpfr_atan(v_, v_, MPFR_RNDN);
    mpfr_subnormalize(v_, t, MPFR_RNDN);
    return mpfr_get_d(v_, MPFR_RNDN);
  }

  // Counts mismatches and reports the first few.
  template <typename F>
  int64_t mismatches(const std::vector<double>& xs, F f) {
    int64_t bad = 0;
    for (double x : xs) {
      const double got = f(x);
      const double w = want(x);
      if (!vorn_test::same_bits(got, w) && ++bad <= 5)
        ADD_FAILURE() << std::hexfloat << "atan(" << x << ") = " << got << ", correctly rounded " << w;
    }
    return bad;
  }

  mpfr_t v_;
};

uint64_t next_random(uint64_t& s) {
  s = s * 6364136223846793005ull + 1442695040888963407ull;
  return s;
}

// Random mantissas in every binade from 2^-30 to 2^60, both signs.
std::vector<double> sample(int64_t per_binade, uint64_t seed) {
  std::vector<double> xs;
  for (int e = -30; e < 60; ++e) {
    for (int64_t n = 0; n < per_binade; ++n) {
      const uint64_t m = next_random(seed);
      const double x = std::ldexp(1.0 + static_cast<double>(m >> 12) * 0x1p-52, e);
      xs.push_back((m >> 5) & 1 ? -x : x);
    }
  }
  return xs;
}

// A few doubles on each side of x.
void around(std::vector<double>& xs, double x, int steps) {
  double up = x, down = x;
  xs.push_back(x);
  for (int k = 0; k < steps; ++k) {
    up = std::nextafter(up, HUGE_VAL);
    down = std::nextafter(down, -HUGE_VAL);
    xs.push_back(up);
    xs.push_back(down);
  }
}

TEST_F(AtanOracle, SpecialValuesAndRangeEdges) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isnan(atan_cr(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_TRUE(std::signbit(atan_cr(-0.0)));
  EXPECT_FALSE(std::signbit(atan_cr(0.0)));
  EXPECT_EQ(atan_cr(inf), 0x1.921fb54442d18p0);
  EXPECT_EQ(atan_cr(-inf), -0x1.921fb54442d18p0);
  EXPECT_EQ(atan_cr(1.0), 0x1.921fb54442d18p-1);

  std::vector<double> xs;
  const double dmin = std::numeric_limits<double>::denorm_min();
  const double nmin = std::numeric_limits<double>::min();
  for (double x : {dmin, 3 * dmin, nmin / 2, std::nextafter(nmin, 0.0), nmin, 1e-300, 1e-100,
                   std::numeric_limits<double>::max(), 1e300, 1e100})
    xs.push_back(x);
  around(xs, 1.0, 2000);
  around(xs, 0x1p-27, 50);  // where the result becomes x itself
  around(xs, 0x1p55, 50);   // where it becomes pi/2
  around(xs, 0x1p54, 50);
  for (int i = 0; i <= 128; ++i) {
    around(xs, i / 128.0, 20);  // the points and the midways between them
    if (i > 0) around(xs, 128.0 / i, 20);
  }
  const size_t n = xs.size();
  for (size_t k = 0; k < n; ++k) xs.push_back(-xs[k]);
  EXPECT_EQ(mismatches(xs, atan_cr), 0);
}

TEST_F(AtanOracle, RandomSampleOverEveryBinade) {
  const std::vector<double> xs = sample(1200, 12);  // 108,000 arguments
  EXPECT_EQ(mismatches(xs, atan_cr), 0);
}

TEST_F(AtanOracle, CarefulPathAloneIsCorrectlyRounded) {
  std::vector<double> xs = sample(60, 99);
  for (double& x : xs) x = std::fabs(x);
  std::erase_if(xs, [](double x) { return x < 0x1p-27 || x > 0x1p55; });
  around(xs, 1.0, 20);
  EXPECT_EQ(mismatches(xs, atan_detail::atan_careful), 0);
}

}  // namespace
}  // namespace vorn
