// Computed reals compared bit for bit as the game's checksum sees them: the
// same bits (so +0 and -0 differ), or both not a number, whatever sign and
// payload each NaN carries, since those depend on the operand order the
// compiler picks and differ between builds of the same code.
#pragma once

#include <cmath>

#include "base/double_bits.h"
#include "base/vec2.h"

namespace vorn_test {

inline bool same_bits(double a, double b) { return vorn::canonical_bits(a) == vorn::canonical_bits(b); }

inline bool same_bits(float a, float b) {
  return std::isnan(a) ? std::isnan(b) : !std::isnan(b) && vorn::float_bits(a) == vorn::float_bits(b);
}

inline bool same_bits(vorn::vec2 a, vorn::vec2 b) { return same_bits(a.x, b.x) && same_bits(a.y, b.y); }

}  // namespace vorn_test
