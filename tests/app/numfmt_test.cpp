// The caption's and the HUD's number writers.
#include "app/numfmt.h"

#include <gtest/gtest.h>

#include "support/comma_locale.h"

namespace vorn {
namespace {

TEST(ShortReal, UsesAsManyDecimalsAsTheFractionNeeds) {
  EXPECT_EQ(short_real(12.0), "12");
  EXPECT_EQ(short_real(0.5), "0.5");
  EXPECT_EQ(short_real(0.1), "0.1");  // 0.1 * 10 is exactly 1
  EXPECT_EQ(short_real(0.016), "0.016");
  EXPECT_EQ(short_real(12.345678), "12.346");
  EXPECT_EQ(short_real(0.0004), "0");
  EXPECT_EQ(short_real(7.5), "7.5");
  EXPECT_EQ(short_real(30.0), "30");
  EXPECT_EQ(short_real(-2.25), "-2.25");
  EXPECT_EQ(short_real(1.1), "1.1");  // 1.1 is not exact in binary: the eps test stops it
}

TEST(ShortReal, KeepsTheSignOfANegativeThatRoundsToZero) {
  EXPECT_EQ(short_real(-0.0004), "-0");
  EXPECT_EQ(short_real(-0.0), "0");  // not a negative number
  EXPECT_EQ(short_real(0.0), "0");
  EXPECT_EQ(short_real(-0.5), "-0.5");
}

TEST(ShortReal, IgnoresADecimalCommaLocale) {
  if (!vorn_test::use_comma_locale()) GTEST_SKIP() << "no decimal-comma locale available";
  EXPECT_EQ(short_real(12.345678), "12.346");
  EXPECT_EQ(short_real(0.5), "0.5");
  vorn_test::restore_c_locale();
}

TEST(IntToStr, WritesPlainDecimal) {
  EXPECT_EQ(int_to_str(0), "0");
  EXPECT_EQ(int_to_str(-40), "-40");
  EXPECT_EQ(int_to_str(2147483647), "2147483647");
  EXPECT_EQ(int_to_str(-2147483647 - 1), "-2147483648");
}

}  // namespace
}  // namespace vorn
