// The game's one random generator. Every random draw goes through it, in
// the order the game rules state, so a game replays exactly.
#pragma once

#include <cstdint>

namespace vorn {

uint32_t random_seed();
void set_random_seed(uint32_t seed);

// A random integer in [0, n): floor(seed * n / 2^32) on the next seed.
// n <= 0 gives 0 (after advancing the seed).
int32_t Random(int32_t n);

// A uniform real in [0, 1): the next seed / 2^32.
double random_real();

}  // namespace vorn
