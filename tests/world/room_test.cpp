// Settings that ask for more memory than there is: the particle pool and the
// enemy darts are refused with std::bad_alloc before anything is built, and
// the pool's growth is checked step by step.
#include <cstdint>
#include <new>
#include <vector>

#include "platform/memory.h"
#include "world/room.h"
#include "world_fixture.h"

namespace vorn {
namespace {

class Room : public WorldTest {
 protected:
  // The budget counts what the arrays hold, so they start with no capacity.
  void SetUp() override {
    WorldTest::SetUp();
    std::vector<partrec>().swap(particles);
    std::vector<noderec>().swap(nodes);
    std::vector<linkrec>().swap(links);
    std::vector<shprec>().swap(ships);
  }
  void TearDown() override {
    set_memory_budget(0);
    WorldTest::TearDown();
  }
};

TEST_F(Room, RequestsBeyondTheBudgetAreRefusedWithNothingBuilt) {
  set_memory_budget(1 << 20);
  EXPECT_NO_THROW(check_particle_room(1000));
  EXPECT_THROW(check_particle_room(1 << 20), std::bad_alloc);
  EXPECT_THROW(reserve_enemy_room(1 << 20), std::bad_alloc);
  EXPECT_TRUE(nodes.empty() && links.empty() && ships.empty());

  // Growth is checked at every step: the step that would pass the budget
  // throws and leaves the pool as it was.
  size_t before = 0;
  bool refused = false;
  for (int32_t i = 0; i < (1 << 20) && !refused; ++i) {
    before = particles.size();
    try {
      add_particle(blue, 0, 0, 0, 0, 1.0);
    } catch (const std::bad_alloc&) {
      refused = true;
    }
  }
  ASSERT_TRUE(refused);
  EXPECT_EQ(particles.size(), before);
  EXPECT_LE(particles.capacity() * sizeof(partrec), size_t{1} << 20);

  // A respawn whose burst cannot fit spends no life and builds no ship.
  clear_world();
  lives = 2;
  spawn_particles = 1 << 20;
  EXPECT_THROW(respawn(), std::bad_alloc);
  EXPECT_EQ(lives, 2);
  EXPECT_TRUE(nodes.empty());
}

TEST_F(Room, GrowthCountsTheOldAndTheNewRecordsWhileTheArrayMoves) {
  // A burst of 1000 grows the pool 1, 3, ..., 511, 1023: the last step holds
  // 511 + 1023 records at once, though 1023 are kept.
  const uint64_t peak = (511 + 1023) * sizeof(partrec);
  set_memory_budget(peak - 1);
  EXPECT_THROW(check_particle_room(1000), std::bad_alloc);
  set_memory_budget(peak);
  EXPECT_NO_THROW(check_particle_room(1000));
  for (int i = 0; i < 1000; ++i) add_particle(blue, 0, 0, 0, 0, 1.0);
  EXPECT_EQ(particles.capacity(), 1023u);

  // Darts: the node, link and ship arrays move once, from their records so
  // far to the whole count.
  nodes.resize(100);
  const uint64_t held = 100 * sizeof(noderec) + particles.capacity() * sizeof(partrec);
  const uint64_t moved = 600 * sizeof(noderec) + 800 * sizeof(linkrec) + 100 * sizeof(shprec);
  set_memory_budget(held + moved);
  EXPECT_THROW(reserve_enemy_room(100), std::bad_alloc);  // the nodes' lists too
  set_memory_budget(held + moved + 100 * (5 * sizeof(int32_t) + 16));
  EXPECT_NO_THROW(reserve_enemy_room(100));
  EXPECT_GE(nodes.capacity(), 600u);
}

TEST_F(Room, CountsTooLargeToRepresentAreRefusedToo) {
  // Byte counts beyond 64 bits saturate instead of wrapping to something small.
  EXPECT_THROW(check_particle_room(INT64_MAX), std::bad_alloc);
  EXPECT_THROW(reserve_enemy_room(INT64_MAX), std::bad_alloc);
  EXPECT_NO_THROW(check_particle_room(INT32_MIN));
  EXPECT_NO_THROW(reserve_enemy_room(0));
  EXPECT_GT(memory_budget(), uint64_t{1} << 20);

  // However much memory there were: records past an int32 index cannot be named.
  set_memory_budget(UINT64_MAX);
  EXPECT_NO_THROW(check_particle_room(INT32_MAX));
  EXPECT_THROW(check_particle_room(int64_t{INT32_MAX} + 1), std::bad_alloc);
  EXPECT_THROW(reserve_enemy_room(INT32_MAX / 5 + 1), std::bad_alloc);
  EXPECT_TRUE(nodes.empty() && nodes.capacity() == 0);
}

}  // namespace
}  // namespace vorn
