// How much memory the machine can give the game: settings that ask for more
// (huge counts of sparks or enemies) are refused before anything is built.
#pragma once

#include <cstdint>

namespace vorn {

// What the world's records may hold: half of the smaller of the machine's
// physical memory, what the process's pointers can address (2^31 - 1 bytes
// on 32-bit machines), and the process's address space and data limits, in
// bytes. Swap is not counted: a world that lives in swap does not play.
uint64_t memory_budget();

// Replaces the machine's figure by `bytes` (tests); 0 puts it back.
void set_memory_budget(uint64_t bytes);

}  // namespace vorn
