// Settings and input at their extremes: a reset that asks for more memory
// than there is is refused before it builds, and a pointer anywhere in the
// int32 range steers the player like one far out in the same direction.
#include <cstdint>
#include <new>

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
  const int32_t far_out[][2] = {{INT32_MIN, 300}, {INT32_MAX, 300}, {400, INT32_MIN}, {400, INT32_MAX}};
  const int32_t same_way[][2] = {{-1000000, 300}, {1000000, 300}, {400, -1000000}, {400, 1000000}};
  for (int c = 0; c < 4; ++c) {
    vec2 vel[2][4];
    for (int run = 0; run < 2; ++run) {
      clear_world();
      make_player(grey, 200, 200);
      mouse_x = run == 0 ? far_out[c][0] : same_way[c][0];
      mouse_y = run == 0 ? far_out[c][1] : same_way[c][1];
      control_step(0.01);
      for (int k = 0; k < 4; ++k) vel[run][k] = nodes[k].vel;
    }
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(vel[0][k].x, vel[1][k].x) << "case " << c << " node " << k;
      EXPECT_EQ(vel[0][k].y, vel[1][k].y) << "case " << c << " node " << k;
    }
  }
}

}  // namespace
}  // namespace vorn
