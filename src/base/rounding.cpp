// Rounding helpers shared by the simulation and the drawing code.
#include "base/rounding.h"

namespace vorn {

int32_t round_int(double x) {
  if (std::isnan(x)) return 0;
  const double r = round_even(x);
  if (r >= 2147483647.0) return INT32_MAX;
  if (r <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(r);
}

int32_t round_pixel(double x) {
  if (!std::isfinite(x) || x > pixel_limit || x < -pixel_limit) return off_screen_pixel;
  return static_cast<int32_t>(round_even(x));
}

}  // namespace vorn
