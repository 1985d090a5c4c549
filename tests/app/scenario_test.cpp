// Whole games played headless through the real event handler and per-frame
// procedure with fixed frame times, judged by what a player would see.
#include <gtest/gtest.h>

#include <vector>

#include "app/window.h"
#include "gfx/font.h"
#include "sim/session.h"
#include "tools/scenarios.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {
namespace {

int intact_links_from(size_t first) {
  int n = 0;
  for (size_t i = first; i < links.size(); ++i) n += links[i].alive && !links[i].burning;
  return n;
}

class ScenarioTest : public testing::Test {
 protected:
  void TearDown() override {
    reset_session();
    reset_window_state();
    reset_font();
  }
  static const scenario& named(const char* name) {
    const scenario* s = find_scenario(name);
    EXPECT_NE(s, nullptr) << name;
    return *s;
  }
};

TEST_F(ScenarioTest, RammingTheStationBreaksItsLinks) {
  run_scenario(named("ram_station"));
  // 772 station links are intact after the build; impacts break some.
  const size_t station_first = 6;
  int station_intact = 0;
  for (size_t i = station_first; i < station_first + 798; ++i) station_intact += links[i].alive && !links[i].burning;
  EXPECT_LT(station_intact, 772);
  EXPECT_LT(lives, 2);  // the ship was wrecked on the way at least once
}

TEST_F(ScenarioTest, TheBeamCutsEnemyDartsApart) {
  run_scenario(named("shoot_enemy"));
  int broken = 0;
  for (size_t k = 2; k < ships.size(); ++k) broken += ships[k].nalive <= 3;
  EXPECT_GE(broken, 1);
  EXPECT_FALSE(game_over);
}

TEST_F(ScenarioTest, AWreckWithNoLifeLeftEndsTheGame) {
  run_scenario(named("wrecked_to_game_over"));
  EXPECT_TRUE(game_over);
  EXPECT_EQ(lives, 0);
  EXPECT_FALSE(victory);
}

TEST_F(ScenarioTest, TheBeamOnTheCoreWinsAndEnterLeaves) {
  const int64_t frames = run_scenario(named("victory"));
  EXPECT_TRUE(victory);
  EXPECT_FALSE(game_over);
  // Victory breaks every station and enemy link; the player's stay whole.
  EXPECT_EQ(intact_links_from(6), 0);
  EXPECT_EQ(intact_links_from(0), 6);
  // Enter after victory ends the program, before the scripted frames ran out.
  EXPECT_TRUE(exit_requested);
  EXPECT_LT(frames, named("victory").frames);
}

// Frames longer than dt_max are simulated as dt_max: the world ends the same
// whether the frames took 0.05 s or 0.5 s.
TEST_F(ScenarioTest, LongFramesAreClampedToDtMax) {
  auto world_after = [](double dt) {
    reset_session();
    const scenario s{"idle", "", 30, dt, [](scenario_player&) {}};
    EXPECT_EQ(run_scenario(s), 30);
    std::vector<double> out;
    for (const noderec& n : nodes) out.insert(out.end(), {n.pos.x, n.pos.y, n.vel.x, n.vel.y});
    return out;
  };
  const std::vector<double> at_limit = world_after(0.05);
  EXPECT_EQ(world_after(0.5), at_limit);
  EXPECT_NE(world_after(0.025), at_limit);
}

}  // namespace
}  // namespace vorn
