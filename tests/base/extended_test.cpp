// The extended-precision arithmetic against the machine's own x87 extended
// format where it has one, and colour mixing, which rests on it, against a
// digest of its results worked out on x86-64: every machine must mix every
// colour to the same bits.
#include "base/extended.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include "base/color.h"
#include "base/rng.h"
#include "support/same_bits.h"

namespace vorn {
namespace {

// Factors that reach every path: the ends and the middle, ties of the
// product's rounding, tiny and subnormal ones, huge ones, and over-range
// ones whose terms cancel.
std::vector<float> awkward_factors() {
  std::vector<float> f = {0.5f, 0.25f, 1.0f / 3, 0.1f, 0.9f, 0.999999f, 1e-7f, 0x1p-25f, 0x1p-40f, 1e-30f,
                          FLT_MIN, FLT_TRUE_MIN, 2.5f, 1.0000001f, 1e10f, 3e38f, -0.5f, -2.5f, -3e38f, 255.0f};
  // Exact ties: with a = 0 and b = 51 the mix is (1 - t) / 5, which is
  // halfway between two floats for t = (2^27 - 5 M) 2^-27, M odd of 25 bits.
  for (uint32_t m = 23488103; m < 26843545; m += 335442 * 2) f.push_back(std::ldexp(float((1u << 27) - 5 * m), -27));
  f.push_back(0x1p-25f);  // 1 - t halfway between floats (a = 0, b = 255)
  // Factors near x / 255 and their neighbours.
  for (uint32_t k = 1; k < 255; k += 7) {
    const float v = static_cast<float>(k) / 255.0f;
    f.push_back(v);
    f.push_back(std::nextafter(v, 2.0f));
    f.push_back(std::nextafter(v, -1.0f));
  }
  return f;
}

// A mix's channel, and a digest of many.
uint64_t digest_of_mixes() {
  uint64_t h = 0xcbf29ce484222325ull;
  auto feed = [&h](uint32_t v) {
    for (int32_t i = 0; i < 4; ++i, v >>= 8) {
      h ^= v & 0xFF;
      h *= 0x100000001b3ull;
    }
  };
  const std::vector<float> factors = awkward_factors();
  for (const float t : factors) {
    for (uint32_t a = 0; a < 256; a += 5) {
      for (uint32_t b = 0; b < 256; b += 3) feed(blend(a << 16 | b, b << 16 | a, t));
    }
  }
  set_random_seed(12345);
  for (int32_t i = 0; i < 200000; ++i) {
    const float t = static_cast<float>(random_real());
    const color_t c1 = static_cast<color_t>(Random(1 << 24));
    const color_t c2 = static_cast<color_t>(Random(1 << 24));
    feed(blend(c1, c2, t));
  }
  return h;
}

TEST(Blend, MixesTheSameColoursOnEveryMachine) {
  // Worked out on x86-64, where the mix was first computed in the x87
  // extended format.
  EXPECT_EQ(digest_of_mixes(), 0x5cd08004d622dc3dull);
}

#if defined(__i386__) || defined(__x86_64__)
static_assert(std::numeric_limits<long double>::digits == 64, "x87 extended precision");

bool same(extended e, long double want) {
  const long double got = std::ldexp(static_cast<long double>(e.significand), e.exponent);
  return (e.negative ? -got : got) == want;
}

TEST(Extended, EveryOperationRoundsAsTheX87Does) {
  const std::vector<float> factors = awkward_factors();
  for (uint32_t a = 0; a < 256; ++a) {
    ASSERT_TRUE(same(quotient(a, 255), a / 255.0L)) << a;
    ASSERT_TRUE(same(quotient(a * 977 + 1, 3 * a + 7), (a * 977 + 1) / static_cast<long double>(3 * a + 7))) << a;
  }
  set_random_seed(99);
  std::vector<float> ts = factors;
  for (int32_t i = 0; i < 20000; ++i) {
    const double scale = std::ldexp(1.0, static_cast<int>(Random(80)) - 60);
    ts.push_back(static_cast<float>((random_real() * 2 - 1) * scale));
  }
  for (const float t : ts) {
    const extended te = to_extended(t);
    ASSERT_TRUE(same(te, t)) << t;
    for (uint32_t a : {0u, 1u, 51u, 128u, 200u, 254u, 255u}) {
      const long double q = a / 255.0L;
      const extended qe = quotient(a, 255);
      ASSERT_TRUE(same(product(qe, te), q * t)) << a << " " << t;
      ASSERT_TRUE(same(sum(quotient(1, 1), negated(te)), 1.0L - t)) << t;
      const long double s = q * t + (1.0L - t) * (1 - q);
      const extended se = sum(product(qe, te), product(sum(quotient(1, 1), negated(te)), sum(quotient(1, 1), negated(qe))));
      ASSERT_TRUE(same(se, s)) << a << " " << t;
      ASSERT_TRUE(vorn_test::same_bits(to_float(se), static_cast<float>(s))) << a << " " << t;
    }
  }
  // Conversions to float at the edges: subnormal results, the least
  // subnormal's half (a tie to zero), overflow.
  for (const long double v : {0x1p-149L, 0x1.8p-149L, 0x1p-150L, 0x1.0000001p-150L, 0x1.fffffep127L, 0x1.ffffffp127L,
                              0x1.fffffe8p127L, 0x1.5555555555555556p-130L}) {
    int exponent = 0;
    const long double m = std::frexp(v, &exponent);
    const extended x{false, exponent - 64, static_cast<uint64_t>(std::ldexp(m, 64))};
    EXPECT_TRUE(vorn_test::same_bits(to_float(x), static_cast<float>(v))) << static_cast<double>(v);
  }
}

TEST(Blend, MatchesTheX87ExtendedMix) {
  // The mix as it was first written, in the x87 extended format.
  auto reference = [](uint32_t a, uint32_t b, float t) {
    const long double tl = t;
    return static_cast<float>((a / 255.0L) * tl + (1.0L - tl) * (b / 255.0L));
  };
  const std::vector<float> factors = awkward_factors();
  for (const float t : factors) {
    for (uint32_t a = 0; a < 256; ++a) {
      for (uint32_t b = 0; b < 256; b += b % 51 == 0 ? 1 : 5) {
        const color_t got = blend(a, b, t);
        const float v0 = reference(a, b, t);
        const float v = v0 > 1.0f ? 1.0f : v0;
        const double r = std::nearbyint(static_cast<double>(v) * 255.0);
        double n = r >= 0 && r < 256.0 ? r : std::fmod(r, 256.0);
        if (n < 0) n += 256.0;
        if (std::isnan(n)) continue;
        ASSERT_EQ(got & 0xFF, static_cast<uint32_t>(n)) << a << " " << b << " " << t;
      }
    }
  }
}
#endif

}  // namespace
}  // namespace vorn
