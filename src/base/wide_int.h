// Integers of 128 bits kept as two 64-bit halves, on every machine (32-bit
// ones too): the full product of two 64-bit values, and exact division of
// such a product plus a third value, for clipping with extreme coordinates.
#pragma once

#include <cstdint>

namespace vorn {

// A 128-bit magnitude: hi * 2^64 + lo.
struct wide_uint {
  uint64_t hi;
  uint64_t lo;
};

// a * b in full.
wide_uint multiply_wide(uint64_t a, uint64_t b);

// floor((a * b + c) / d) for d > 0, exact, when the quotient fits in
// int64. Magnitudes of a, b and c stay below 2^62.
int64_t floor_mul_add_div(int64_t a, int64_t b, int64_t c, int64_t d);

// ceil((a * b + c) / d), likewise.
inline int64_t ceil_mul_add_div(int64_t a, int64_t b, int64_t c, int64_t d) {
  return -floor_mul_add_div(-a, b, -c, d);
}

}  // namespace vorn
