// Settings and input at their extremes: a reset that asks for more memory
// than there is is refused before it builds, and a pointer anywhere in the
// int32 range steers the player like one far out in the same direction.
#include <cstdint>
#include <new>
#include <vector>

#include "game_fixture.h"
#include "platform/memory.h"

namespace vorn {
namespace {

using Extremes = GameTest;

TEST_F(Extremes, ResetRefusesCountsBeyondTheMemory) {
  set_memory_budget(64 << 20);
  for (int32_t* count : {&enemy_count, &spawn_particles, &impact_particles}) {
    reset_tunables();
    *count = INT32_MAX;
    EXPECT_THROW(game_reset(false), std::bad_alloc);
    *count = -5;
    EXPECT_NO_THROW(game_reset(false));
  }
  set_memory_budget(0);
}

TEST_F(Extremes, PointerAtTheInt32LimitsSteersLikeOneFarOut) {
  auto kicks = [](int32_t x, int32_t y) {
    clear_world();
    make_player(grey, 200, 200);
    mouse_x = x;
    mouse_y = y;
    control_step(0.01);
    std::vector<double> v;
    for (int k = 0; k < 4; ++k) v.insert(v.end(), {nodes[k].vel.x, nodes[k].vel.y});
    return v;
  };
  EXPECT_EQ(kicks(INT32_MIN, 300), kicks(-1000000, 300));
  EXPECT_EQ(kicks(INT32_MAX, 300), kicks(1000000, 300));
  EXPECT_EQ(kicks(400, INT32_MIN), kicks(400, -1000000));
  EXPECT_EQ(kicks(400, INT32_MAX), kicks(400, 1000000));
}

}  // namespace
}  // namespace vorn
