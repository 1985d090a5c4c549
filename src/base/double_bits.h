// The 64 bits of a double as an integer, for comparing reals bit for bit
// and for checksums (std::bit_cast, which not every C++ library has yet).
#pragma once

#include <cstdint>
#include <cstring>

namespace vorn {

inline uint64_t double_bits(double x) {
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

}  // namespace vorn
