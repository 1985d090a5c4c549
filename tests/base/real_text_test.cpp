// The C-library conversions of reals against the C++ library's: the same
// text for every double written, the same value, end and error for every
// text read. The browser build has only the former.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/real_text.h"
#include "support/same_bits.h"

namespace vorn {
namespace {

double from_bits(uint64_t b) {
  double x;
  std::memcpy(&x, &b, sizeof x);
  return x;
}

uint64_t bits(double x) {
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

std::string shortest(double x, bool portable_one) {
  char buf[64];
  const auto r = portable_one ? portable::real_to_chars(buf, buf + sizeof buf, x)
                              : std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

// Doubles of every kind: random bit patterns (all exponents, subnormals),
// whole numbers, short decimals, powers of ten and of two, the extremes.
std::vector<double> sample_doubles() {
  std::vector<double> xs = {0.0, -0.0, DBL_MIN, DBL_MAX, DBL_TRUE_MIN, -DBL_TRUE_MIN, DBL_EPSILON, 0.1, 0.05,
                            1e+11, 1e+06, 123456.0, 1234567.0, 1e-05, 0.0001, 1e21, 1e22, 9007199254740993.0,
                            -172.5, 2.2250738585072009e-308};
  std::mt19937_64 gen(2024);
  for (int i = 0; i < 10000; ++i) {
    const double x = from_bits(gen());
    if (std::isfinite(x)) xs.push_back(x);
  }
  for (int i = 0; i < 2000; ++i) {
    xs.push_back(static_cast<double>(static_cast<int64_t>(gen() >> (gen() % 64))));
    xs.push_back(static_cast<double>(gen() % 100000) / 1000.0);
  }
  for (int e = -325; e <= 309; ++e) {
    xs.push_back(std::pow(10.0, e));
    xs.push_back(std::ldexp(1.0, e * 3));
  }
  return xs;
}

TEST(RealText, ShortestTextIsTheLibrarys) {
  for (const double x : sample_doubles()) {
    ASSERT_EQ(shortest(x, true), shortest(x, false)) << "bits " << std::hex << bits(x);
    ASSERT_EQ(shortest(-x, true), shortest(-x, false)) << "bits " << std::hex << bits(-x);
  }
  for (const double x : {HUGE_VAL, -HUGE_VAL, std::nan(""), -std::nan("")}) EXPECT_EQ(shortest(x, true), shortest(x, false));
  char small[3];
  EXPECT_EQ(portable::real_to_chars(small, small + sizeof small, 0.125).ec, std::errc::value_too_large);
}

TEST(RealText, FixedTextIsTheLibrarys) {
  std::mt19937_64 gen(7);
  for (const double x : sample_doubles()) {
    const int decimals = static_cast<int>(gen() % 5);
    if (std::fabs(x) > 1e30) continue;  // past this the text only grows; the buffer is the caller's
    char a[400], b[400];
    const auto ra = portable::real_to_chars_fixed(a, a + sizeof a, x, decimals);
    const auto rb = std::to_chars(b, b + sizeof b, x, std::chars_format::fixed, decimals);
    ASSERT_EQ(std::string(a, ra.ptr), std::string(b, rb.ptr)) << x << " with " << decimals;
  }
}

TEST(RealText, ReadingMatchesTheLibrary) {
  std::vector<std::string> texts = {"1e-310", "1e-400", "1e400", "2.5e-324", "2.4e-324", "-1e-400", "0e999999",
                                    "1e-999999", "inf", "-INF", "Infinity", "infin", "nan", "-nan", "nan(123)",
                                    "nan(", "1e", "1.", "-.5", ".5", ".", "-", "+1", " 1", "0x10", "1e+", "1e-5x",
                                    "00012.50e+01", "1.7976931348623157e308", "1.7976931348623159e308",
                                    "4.9406564584124654e-324", "", "e5", "12abc", "-0", "0.000"};
  for (const double x : sample_doubles()) texts.push_back(shortest(x, false));
  for (const std::string& t : texts) {
    double a = 42.0, b = 42.0;
    const auto ra = portable::real_from_chars(t.data(), t.data() + t.size(), a);
    const auto rb = std::from_chars(t.data(), t.data() + t.size(), b);
    ASSERT_EQ(ra.ec, rb.ec) << '"' << t << '"';
    ASSERT_EQ(ra.ptr - t.data(), rb.ptr - t.data()) << '"' << t << '"';
    ASSERT_TRUE(vorn_test::same_bits(a, b)) << '"' << t << '"';
  }
}

TEST(RealText, HexadecimalDigitsReadAsTheLibraryReadsThem) {
  const std::vector<std::string> texts = {"0", "1F", "fffffffffffff", "20000000000001", "20000000000003",
                                         "1fffffffffffff8", std::string(256, 'f'), std::string(300, 'F'), "g", "",
                                         "ABCdefx"};
  for (const std::string& t : texts) {
    double a = 42.0, b = 42.0;
    const auto ra = portable::real_from_hex_chars(t.data(), t.data() + t.size(), a);
    const auto rb = std::from_chars(t.data(), t.data() + t.size(), b, std::chars_format::hex);
    ASSERT_EQ(ra.ec, rb.ec) << t;
    ASSERT_EQ(ra.ptr - t.data(), rb.ptr - t.data()) << t;
    ASSERT_EQ(bits(a), bits(b)) << t;
  }
}

}  // namespace
}  // namespace vorn
