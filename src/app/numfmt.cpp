// Number writers, independent of the C locale.
#include "app/numfmt.h"

#include <charconv>
#include <cmath>

#include "base/real_text.h"
#include "base/rounding.h"
#include "base/vec2.h"

namespace vorn {

std::string int_to_str(int32_t n) { return std::to_string(n); }

std::string short_real(double x) {
  if (!std::isfinite(x)) return std::isnan(x) ? "nan" : (x > 0 ? "inf" : "-inf");
  // The number of decimals: each further decimal digit of the fraction that
  // is not (within eps) the last one counts.
  double f = std::fabs(x) - std::floor(std::fabs(x));
  int d = 0;
  for (int i = 1; i <= 3; ++i) {
    f *= 10;
    if (f >= 1) d = i;
    if (std::fabs(f - round_even(f)) < eps) break;
    f -= std::floor(f);
  }
  // Fixed notation that ignores the locale.
  char buf[400];
  const auto res = real_to_chars_fixed(buf, buf + sizeof buf, x, d);
  std::string s(buf, res.ptr);
  // to_chars writes the sign bit, so -0.0 comes out "-0": it is no negative
  // number and loses the '-'. A negative that rounds to zero keeps it.
  if (x == 0 && s[0] == '-') s.erase(0, 1);
  return s;
}

}  // namespace vorn
