// The game's life cycle: what a reset builds, the fixed ship roles even with
// no life to start with, the wreck rule, the background grid and the
// elapsed time.
#include <vector>

#include "base/rules_version.h"
#include "gfx/background.h"
#include "game_fixture.h"

namespace vorn {
namespace {

using Rules = GameTest;

std::vector<vec2> enemy_centres() {
  std::vector<vec2> c;
  for (size_t k = 2; k < ships.size(); ++k) c.push_back(ships[k].pos);
  return c;
}

TEST_F(Rules, ResetBuildsTheSameGameEveryTime) {
  game_reset(false);
  EXPECT_EQ(world_w, 1600);
  EXPECT_EQ(lives, 2);  // the HUD's "Lives 2": the first ship is in play
  EXPECT_EQ(player_links, 6);
  ASSERT_EQ(ships.size(), 7u);
  EXPECT_EQ(ships[1].guns.size(), 34u);
  EXPECT_FALSE(ships[1].firing);

  const std::vector<vec2> first = enemy_centres();
  Random(1000);
  game_clock.current = 12.5;
  game_clock.last_frame = 13.0;
  victory = true;  // a game lost after it was won
  game_over = true;
  game_reset(true);
  EXPECT_FALSE(victory);
  EXPECT_FALSE(game_over);
  EXPECT_EQ(lives, 2);
  EXPECT_EQ(game_clock.start, 13.0);
  const std::vector<vec2> second = enemy_centres();
  ASSERT_EQ(second.size(), first.size());
  for (size_t k = 0; k < first.size(); ++k) EXPECT_EQ(dist2(second[k], first[k]), 0.0);

  enemy_count = -3;
  game_reset(true);
  EXPECT_EQ(ships.size(), 2u);
}

TEST_F(Rules, NoLivesKeepsTheShipRolesAndEndsTheGameAtOnce) {
  def_lives = 0;
  game_reset(false);
  EXPECT_TRUE(game_over);
  EXPECT_EQ(lives, 0);
  EXPECT_EQ(player_links, 0);
  ASSERT_EQ(ships.size(), 2u + enemy_count);
  EXPECT_FALSE(ships[0].alive);
  for (int32_t k = 0; k < 4; ++k) EXPECT_FALSE(nodes[k].alive);
  for (int32_t j = 0; j < 6; ++j) EXPECT_FALSE(links[j].alive);
  EXPECT_EQ(ships[1].guns.size(), 34u);
  EXPECT_EQ(nodes[4].ship, 1);

  restart_timer = -1;  // the game goes on around the missing player
  for (int32_t f = 0; f < 5; ++f) {
    control_step(0.02);
    run_substeps(0.02);
  }
  EXPECT_TRUE(game_over);
  EXPECT_FALSE(ships[0].firing);
}

TEST_F(Rules, WreckRule) {
  restart_timer = -0.01;
  const struct {
    std::vector<int32_t> gone_links;
    int32_t dead_node;
    bool wreck;
  } cases[] = {
      {{0, 1}, -1, false}, {{0, 2}, -1, true}, {{1, 3}, -1, true}, {{4, 5}, -1, true},
      {{4}, -1, false},    {{}, 1, false},     {{}, 0, true},      {{}, 2, true},
      {{0, 1, 2, 3, 4, 5}, 0, true},  // several tests hit, one life spent
  };
  for (const auto& c : cases) {
    make_player(grey, 0, 0);
    lives = 5;
    for (const int32_t j : c.gone_links) links[j].alive = false;
    if (c.dead_node >= 0) nodes[c.dead_node].alive = false;
    respawn_rule();
    SCOPED_TRACE(c.dead_node);
    EXPECT_EQ(lives, c.wreck ? 4 : 5) << c.gone_links.size();
  }

  make_player(grey, 0, 0);  // burning links still hold the ship together
  lives = 5;
  burn_link(0);
  burn_link(2);
  respawn_rule();
  EXPECT_EQ(lives, 5);

  make_player(grey, 0, 0);  // a wreck waits until restart_timer < 0
  links[0].alive = links[2].alive = false;
  restart_timer = 0;
  respawn_rule();
  EXPECT_EQ(lives, 5);
  restart_timer = -1e-9;
  respawn_rule();
  EXPECT_EQ(lives, 4);
  EXPECT_TRUE(links[0].alive);
}

TEST_F(Rules, BackgroundGrid) {
  game_reset(false);
  ASSERT_NE(background, nullptr);
  ASSERT_EQ(background->width, 800);
  ASSERT_EQ(background->height, 600);
  const color_t grid = 0xFFDCDCFF;
  const color_t soft = 0xFFEDEDFF;
  auto px = [](int32_t x, int32_t y) { return background->pixels[x + 800 * y]; };

  // Away from the line ends: rows over columns, each grid line with its soft
  // line to the left or below.
  int32_t wrong = 0;
  for (int32_t y = 1; y < 599; ++y) {
    for (int32_t x = 1; x < 799; ++x) {
      color_t want = white;
      if (x % 16 == 0) want = grid;
      if (x % 16 == 15) want = soft;
      if (y % 15 == 1) want = soft;
      if (y % 15 == 0) want = grid;
      wrong += px(x, y) != want;
    }
  }
  EXPECT_EQ(wrong, 0);
  int32_t columns = 0, rows = 0;
  for (int32_t x = 0; x < 800; ++x) columns += px(x, 7) == grid;
  for (int32_t y = 0; y < 600; ++y) rows += px(7, y) == grid;
  EXPECT_EQ(columns, 50);
  EXPECT_EQ(rows, 40);

  // The soft line at x = -1 lands in the last column one row up. The rows'
  // half-intensity ends then mix into it: grid into soft gives
  // round(0.5 * 237 + 0.5 * 220) = 228 (a tie, to even).
  for (int32_t y = 0; y <= 597; ++y) {
    EXPECT_EQ(px(799, y), y % 15 == 0 ? 0xFFE4E4FFu : soft) << y;
  }
  EXPECT_EQ(px(799, 598), 0xFFF6F6FFu);  // half soft into white: 246
  EXPECT_EQ(px(799, 599), white);

  // Built once: restarts keep the picture, a new screen size replaces it.
  const typspr* first = background;
  background->pixels[0] = black;
  game_reset(true);
  game_reset(false);
  EXPECT_EQ(background, first);
  EXPECT_EQ(background->pixels[0], black);
  screen_w = 640;
  game_reset(true);
  EXPECT_EQ(background->width, 640);
  EXPECT_EQ(world_w, 1600);  // the world keeps the size of the first start
}

// Paused frames of any length, faster than 1 ms or slower than dt_max, leave
// the elapsed time where it was; it runs on once the pause ends, and stays
// frozen after the game ended whatever the pause does. Then a game that
// ended at 5 s, 11 s on the Game Over screen, and Enter: the new game's
// elapsed time counts from the restart (demos of the first rules generation
// count on from the end of the previous game instead).
TEST_F(Rules, ElapsedTimeHoldsWhilePausedAndRestartsWithTheGame) {
  update_game_clock(10.0);
  game_clock.start = 4.0;
  const double shown = game_clock.current - game_clock.start;
  for (double t : {10.00001, 10.00002, 10.5, 13.0}) hold_game_clock(update_game_clock(t));
  EXPECT_DOUBLE_EQ(game_clock.current - game_clock.start, shown);
  update_game_clock(14.0);  // playing again
  EXPECT_DOUBLE_EQ(game_clock.current - game_clock.start, shown + 1.0);
  game_over = true;
  hold_game_clock(update_game_clock(20.0));
  EXPECT_DOUBLE_EQ(game_clock.current - game_clock.start, shown + 1.0);

  for (const int version : {2, 1}) {
    SCOPED_TRACE(version);
    vorn_test::start_clean_game();
    rules_version = version;
    game_reset(false);
    update_game_clock(5.0);
    game_over = true;
    for (double t = 5.0; t <= 16.0; t += 0.5) update_game_clock(t);
    EXPECT_EQ(game_clock.current - game_clock.start, 5.0);  // frozen while over
    game_reset(true);
    update_game_clock(16.25);
    EXPECT_EQ(game_clock.current - game_clock.start, version >= 2 ? 0.25 : 11.25);
    update_game_clock(17.0);
    EXPECT_EQ(game_clock.current - game_clock.start, version >= 2 ? 1.0 : 12.0);
  }
  reset_rules_state();
  EXPECT_EQ(rules_version, newest_rules_version);
}

}  // namespace
}  // namespace vorn
