// Binary floating point with a 64-bit significand, every operation rounded
// to nearest, ties to even: the arithmetic of the x87 extended format that
// colour mixing was first written in, now the same bits on every machine.
// Exponents are unbounded here; the game's values never come near the
// extended format's limits.
#pragma once

#include <cstdint>

namespace vorn {

struct extended {
  bool negative = false;
  int32_t exponent = 0;       // the value is significand * 2^exponent
  uint64_t significand = 0;  // its top bit set, or 0 for zero
};

extended to_extended(float v);                 // exact (v finite)
extended quotient(uint32_t a, uint32_t d);     // a / d, rounded (d > 0)
extended sum(extended x, extended y);          // x + y, rounded
extended product(extended x, extended y);      // x * y, rounded
inline extended negated(extended x) { return {!x.negative, x.exponent, x.significand}; }

// x rounded to the nearest float, ties to even, subnormals and overflow to
// infinity as a float conversion does.
float to_float(extended x);

}  // namespace vorn
