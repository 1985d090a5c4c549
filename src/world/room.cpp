// The memory budget of the world's records: the room checks before bursts
// of particles and before the enemy darts are built, and the checks that
// every growth of an array goes through.
#include "world/room.h"

#include <new>

#include "platform/memory.h"
#include "world/world.h"

namespace vorn {

namespace {

// Bytes held by the four record arrays.
uint64_t record_bytes() {
  return uint64_t{nodes.capacity()} * sizeof(noderec) + uint64_t{links.capacity()} * sizeof(linkrec) +
         uint64_t{ships.capacity()} * sizeof(shprec) + uint64_t{particles.capacity()} * sizeof(partrec);
}

// Records are referred to by int32 index, so no array grows past this.
constexpr uint64_t max_records = INT32_MAX;

// Each dart: five nodes, eight links, a ship and its five-entry node list
// (allocated apart, with the allocator's overhead).
constexpr uint64_t enemy_nodes = 5;
constexpr uint64_t enemy_links = 8;
constexpr uint64_t enemy_list_bytes = 5 * sizeof(int32_t) + 16;

}  // namespace

void expect_room(uint64_t more) {
  const uint64_t budget = memory_budget();
  const uint64_t held = record_bytes();
  if (held > budget || more > budget - held) throw std::bad_alloc();
}

void expect_indices(uint64_t have, uint64_t more) {
  if (have > max_records || more > max_records - have) throw std::bad_alloc();
}

uint64_t bytes_of(uint64_t count, uint64_t size) {
  return count > UINT64_MAX / size ? UINT64_MAX : count * size;
}

void check_particle_room(int64_t count) {
  if (count <= 0) return;
  // At best every slot from the first free one up, and the pool's spare
  // capacity, takes part of the burst; the rest needs new records.
  const uint64_t reusable = particles.capacity() - particle_search_start();
  const uint64_t n = static_cast<uint64_t>(count);
  expect_indices(particle_search_start(), n);
  if (n > reusable) expect_room(bytes_of(n - reusable, sizeof(partrec)));
}

void reserve_enemy_room(int64_t count) {
  if (count <= 0) return;
  const uint64_t n = static_cast<uint64_t>(count);
  const uint64_t per_enemy =
      enemy_nodes * sizeof(noderec) + enemy_links * sizeof(linkrec) + sizeof(shprec) + enemy_list_bytes;
  expect_indices(nodes.size(), bytes_of(n, enemy_nodes));
  expect_indices(links.size(), bytes_of(n, enemy_links));
  expect_indices(ships.size(), n);
  expect_room(bytes_of(n, per_enemy));
  nodes.reserve(nodes.size() + enemy_nodes * n);
  links.reserve(links.size() + enemy_links * n);
  ships.reserve(ships.size() + n);
}

}  // namespace vorn
