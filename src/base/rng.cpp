// The game's linear congruential generator: seed := seed * 134775813 + 1
// modulo 2^32, starting from 0 at program start.
#include "base/rng.h"

namespace vorn {

namespace {
uint32_t seed = 0;

// Unsigned 32-bit arithmetic wraps, which is exactly the modulo 2^32 step.
uint32_t next_seed() {
  seed = seed * 134775813u + 1u;
  return seed;
}
}  // namespace

uint32_t random_seed() { return seed; }

void set_random_seed(uint32_t s) { seed = s; }

int32_t Random(int32_t n) {
  const uint64_t s = next_seed();
  if (n <= 0) return 0;
  // s < 2^32, so s * n < 2^63 and the high word is below n.
  return static_cast<int32_t>((s * static_cast<uint64_t>(n)) >> 32);
}

double random_real() {
  // Dividing by a power of two is exact.
  return static_cast<double>(next_seed()) / 4294967296.0;
}

}  // namespace vorn
