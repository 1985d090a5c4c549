// The bits of a double (or a float) as an integer, for comparing reals bit
// for bit, for checksums and for taking a real apart (std::bit_cast, which not every C++ library has yet).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace vorn {

inline uint64_t double_bits(double x) {
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

// The bits, with every NaN as the one quiet NaN: which sign and payload a
// NaN carries depends on the order in which the compiler has the machine
// combine operands (x86 keeps the first operand's), and nothing in the game
// can tell NaNs apart. The checksum and the tests' comparisons of computed
// reals see reals so.
inline uint64_t canonical_bits(double x) { return std::isnan(x) ? uint64_t{0x7FF8000000000000} : double_bits(x); }

inline uint32_t float_bits(float x) {
  uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

}  // namespace vorn
