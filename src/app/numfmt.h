// The number writers of the caption and the HUD.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// Plain decimal, '-' for negatives.
std::string int_to_str(int32_t n);

// A real with 0 to 3 decimals, as many as its fraction needs: 12.0 -> "12",
// 0.5 -> "0.5", 12.345678 -> "12.346". Always '.' as separator; '-' for
// negatives, also those that round to zero (-0.0004 -> "-0"), but not for
// -0.0 ("0").
std::string short_real(double x);

}  // namespace vorn
