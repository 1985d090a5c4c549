// The memory budget of the world's records: every growth of the four arrays
// is checked against the budget (platform/memory.h) and against what an
// int32 index can name, and requests that could never fit are refused
// before anything is built.
#pragma once

#include <cstdint>

namespace vorn {

// Settings that ask for more memory than there is: before a burst of `count`
// particles, or before `count` enemy darts are built, throws std::bad_alloc
// when even the records they need at the least would outgrow the memory
// budget or the int32 indices, so an impossible request is refused at once
// rather than after filling the memory. An array that has to move counts
// twice while it does (its old records and the new ones); the particle
// pool's growth step by step is counted so. The darts' records are then
// reserved in one go.
void check_particle_room(int64_t count);
void reserve_enemy_room(int64_t count);

// Throws std::bad_alloc unless `more` bytes fit in the budget beside the records.
void expect_room(uint64_t more);
// Throws std::bad_alloc unless an array of `have` records can take `more`:
// records are referred to by int32 index, so no array grows past INT32_MAX.
void expect_indices(uint64_t have, uint64_t more);
// Bytes of `count` records of `size` bytes, saturated.
uint64_t bytes_of(uint64_t count, uint64_t size);

}  // namespace vorn
