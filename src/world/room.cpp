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

namespace {

// Throws std::bad_alloc unless `held` and `more` bytes fit in the budget together.
void expect_fits(uint64_t held, uint64_t more) {
  const uint64_t budget = memory_budget();
  if (held > budget || more > budget - held) throw std::bad_alloc();
}

}  // namespace

void expect_room(uint64_t more) { expect_fits(record_bytes(), more); }

void expect_indices(uint64_t have, uint64_t more) {
  if (have > max_records || more > max_records - have) throw std::bad_alloc();
}

uint64_t bytes_of(uint64_t count, uint64_t size) {
  return count > UINT64_MAX / size ? UINT64_MAX : count * size;
}

void check_particle_room(int64_t count) {
  if (count <= 0) return;
  const uint64_t n = static_cast<uint64_t>(count);
  const uint64_t start = particle_search_start();
  expect_indices(start, n);
  // At best every slot from the first free one up takes part of the burst,
  // so the pool must reach start + n slots. It grows n -> 2n + 1 (using its
  // spare capacity first), and each growth holds the old records and the
  // new ones at once.
  const uint64_t others = record_bytes() - bytes_of(particles.capacity(), sizeof(partrec));
  uint64_t size = particles.size();
  uint64_t capacity = particles.capacity();
  while (size < start + n) {
    size = 2 * size + 1;
    if (size <= capacity) continue;
    expect_fits(others, bytes_of(capacity + size, sizeof(partrec)));
    capacity = size;
  }
}

void reserve_enemy_room(int64_t count) {
  if (count <= 0) return;
  const uint64_t n = static_cast<uint64_t>(count);
  expect_indices(nodes.size(), bytes_of(n, enemy_nodes));
  expect_indices(links.size(), bytes_of(n, enemy_links));
  expect_indices(ships.size(), n);
  // An array that has to move holds its old records and the new ones at once.
  const auto moved = [](uint64_t size, uint64_t capacity, uint64_t more, uint64_t record) {
    return size + more > capacity ? bytes_of(size + more, record) : 0;
  };
  const uint64_t more = moved(nodes.size(), nodes.capacity(), enemy_nodes * n, sizeof(noderec)) +
                        moved(links.size(), links.capacity(), enemy_links * n, sizeof(linkrec)) +
                        moved(ships.size(), ships.capacity(), n, sizeof(shprec)) + bytes_of(n, enemy_list_bytes);
  expect_room(more);
  nodes.reserve(nodes.size() + enemy_nodes * n);
  links.reserve(links.size() + enemy_links * n);
  ships.reserve(ships.size() + n);
}

}  // namespace vorn
