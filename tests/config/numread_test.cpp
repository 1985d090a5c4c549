// The number readers: signs, hexadecimal, exponents, broken numbers and
// values beyond the int32 and double ranges.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "config/numread.h"

namespace vorn {
namespace {

TEST(StrToInt, CompleteBrokenAndOutOfRange) {
  const std::pair<const char*, int32_t> cases[] = {
      {"-40", -40}, {"+17", 17}, {" \t42\r ", 42}, {"0x1F", 31}, {"-0X10", -16},
      {"", 0}, {"-", 0}, {"0x", 0}, {"abc", 0},
      // broken: the magnitude read so far, without the sign
      {"12.7", 12}, {"-3.5", 3}, {"1e2", 1}, {"0x1g", 1}, {"1 2", 1},
      // beyond int32: saturated
      {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"2147483648", INT32_MAX},
      {"-99999999999999999999", INT32_MIN}, {"0xFFFFFFFFFFFF", INT32_MAX},
      {"-2147483648.5", INT32_MAX}};
  for (const auto& [text, want] : cases) EXPECT_EQ(str_to_int(text), want) << text;
}

TEST(StrToReal, GrammarPrefixesAndRange) {
  const std::pair<const char*, double> cases[] = {
      {"-172.5", -172.5}, {"+2.5", 2.5}, {"1e2", 100.0}, {"1E-2", 0.01}, {"2.5e+3", 2500.0},
      {" 7.25\t", 7.25}, {".5", 0.5}, {"5.", 5.0}, {"4.9e-324", 4.9406564584124654e-324},
      // incomplete: the longest valid prefix, or 0
      {"1.5x", 1.5}, {"1.5.3", 1.5}, {"2e", 2.0}, {"2e+", 2.0}, {"3,5", 3.0}, {"0x10", 0.0},
      {"", 0.0}, {"-", 0.0}, {".", 0.0}, {"e5", 0.0}, {"inf", 0.0}, {"nan", 0.0},
      // beyond the double range: the nearest finite value
      {"1e400", DBL_MAX}, {"-123.4e99999999999999", -DBL_MAX}, {"0.000001e-320", 0.0},
      {"0e99999", 0.0}, {"1e99999999999999999999999", DBL_MAX}, {"1e-99999999999999999999999", 0.0}};
  for (const auto& [text, want] : cases) EXPECT_EQ(str_to_real(text), want) << text;
  EXPECT_TRUE(std::signbit(str_to_real("-0.0")));
  EXPECT_TRUE(std::signbit(str_to_real("-1e-400")));
}

TEST(ReadIntegerLiteral, ExactValuesOfWholeLiteralsOnly) {
  const std::pair<const char*, double> whole[] = {
      {"100000000000", 1e11}, {" -42\t", -42.0}, {"+7", 7.0}, {"0x1e", 30.0}, {"-0XfF", -255.0},
      {"9007199254740993", 9007199254740992.0},  // ties to even
      {"0x20000000000001", 9007199254740992.0},
      {"-0", 0.0}, {"0x0", 0.0},
      {"0x1" "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000", DBL_MAX}};
  for (const auto& [text, want] : whole) {
    double v = -1.0;
    EXPECT_TRUE(read_integer_literal(text, v)) << text;
    EXPECT_EQ(v, want) << text;
    EXPECT_FALSE(std::signbit(v) && want == 0.0) << text;
  }
  for (const char* not_one : {"", "-", "0x", "1.5", "1e5", "12x", "0x1g", "1 2", "--1", "x1"}) {
    double v = -1.0;
    EXPECT_FALSE(read_integer_literal(not_one, v)) << not_one;
    EXPECT_EQ(v, -1.0) << not_one;
  }
}

TEST(ComponentReaders, CommasBlanksAndMissingComponents) {
  EXPECT_EQ(str_to_triple("1   2\t3"), (std::array<double, 3>{1, 2, 3}));
  EXPECT_EQ(str_to_triple(" 1 , -2 ,3"), (std::array<double, 3>{1, -2, 3}));
  EXPECT_EQ(str_to_triple("1,,3"), (std::array<double, 3>{1, 0, 3}));
  EXPECT_EQ(str_to_quad("1.5,2"), (std::array<double, 4>{1.5, 2, 0, 0}));
  EXPECT_EQ(str_to_quint("1,2,3,4,5,6"), (std::array<double, 5>{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace vorn
