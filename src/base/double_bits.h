// The bits of a double (or a float) as an integer, for comparing reals bit
// for bit, for checksums and for taking a real apart (std::bit_cast, which not every C++ library has yet).
#pragma once

#include <cstdint>
#include <cstring>

namespace vorn {

inline uint64_t double_bits(double x) {
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

inline uint32_t float_bits(float x) {
  uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

}  // namespace vorn
