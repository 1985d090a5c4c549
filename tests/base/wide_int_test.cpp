// Wide products and exact floor and ceiling divisions of them, against
// values worked out by hand and, where the compiler has 128-bit integers,
// against those.
#include "base/wide_int.h"

#include <gtest/gtest.h>

#include "base/rng.h"

namespace vorn {
namespace {

TEST(WideInt, ProductsAndDivisionsAreExact) {
  const wide_uint p = multiply_wide(0xFFFFFFFFFFFFFFFFull, 0xFFFFFFFFFFFFFFFFull);
  EXPECT_EQ(p.hi, 0xFFFFFFFFFFFFFFFEull);
  EXPECT_EQ(p.lo, 1u);
  // Fits 64 bits: rounding towards minus infinity either side of zero.
  EXPECT_EQ(floor_mul_add_div(7, 3, 1, 4), 5);
  EXPECT_EQ(floor_mul_add_div(-7, 3, 0, 4), -6);
  EXPECT_EQ(ceil_mul_add_div(-7, 3, 0, 4), -5);
  EXPECT_EQ(ceil_mul_add_div(7, 3, 0, 3), 7);
  // Products of 65 bits (2^33 * 2^32 and the like), as line clipping meets
  // them, with the remainder just below, at and above a multiple.
  const int64_t two_l = int64_t{1} << 33;
  EXPECT_EQ(floor_mul_add_div(two_l, (int64_t{1} << 32) - 1, -(two_l / 2), two_l), (int64_t{1} << 32) - 2);
  EXPECT_EQ(floor_mul_add_div(two_l, int64_t{1} << 32, 0, two_l), int64_t{1} << 32);
  EXPECT_EQ(floor_mul_add_div(-two_l, int64_t{1} << 32, -1, two_l), -(int64_t{1} << 32) - 1);
  EXPECT_EQ(ceil_mul_add_div(two_l, int64_t{1} << 32, 1, two_l), (int64_t{1} << 32) + 1);
  EXPECT_EQ(floor_mul_add_div(int64_t{3} << 40, int64_t{5} << 40, 7, int64_t{15} << 30), (int64_t{1} << 50) + 0);
#if defined(__SIZEOF_INT128__)
  __extension__ typedef __int128 oracle;
  set_random_seed(7);
  for (int32_t i = 0; i < 100000; ++i) {
    auto draw = [](int32_t bits) {
      const int64_t v = (int64_t{Random(1 << 30)} << 32 | static_cast<uint32_t>(Random(1 << 30)) << 2) >> (62 - bits);
      return Random(2) == 0 ? v : -v;
    };
    const int64_t a = draw(1 + Random(40));
    const int64_t b = draw(1 + Random(40));
    const int64_t c = draw(1 + Random(60));
    const int64_t d = 1 + (draw(1 + Random(40)) & ((int64_t{1} << 40) - 1));
    const oracle n = oracle(a) * b + c;
    const oracle q = n / d - (n % d != 0 && n < 0 ? 1 : 0);
    if (q > INT64_MAX || q < INT64_MIN) continue;
    ASSERT_EQ(floor_mul_add_div(a, b, c, d), static_cast<int64_t>(q)) << a << " " << b << " " << c << " " << d;
  }
#endif
}

}  // namespace
}  // namespace vorn
