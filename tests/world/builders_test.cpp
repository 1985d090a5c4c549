// The ship builders: the player's diamond rebuilt in its fixed slots, the
// enemy dart, respawn with its spark burst, and the victory shattering.
#include <cmath>

#include "world/station.h"
#include "world_fixture.h"

namespace vorn {
namespace {

using Builders = WorldTest;

TEST_F(Builders, PlayerAndEnemyShapes) {
  make_player(grey, 100, 50);
  make_enemy(grey, 0, 0);
  ASSERT_EQ(nodes.size(), 9u);
  ASSERT_EQ(links.size(), 14u);
  EXPECT_EQ(nodes[2].pos.y, 30.0);  // the red nose points up
  EXPECT_EQ(nodes[2].color, red);
  EXPECT_EQ(links[0].rest, std::sqrt(500.0));
  EXPECT_EQ(links[5].rest, 20.0);
  for (int32_t k = 0; k < 4; ++k) EXPECT_EQ(nodes[k].nlinks, 3);
  EXPECT_EQ(ships[0].nodes, (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(player_links, 6);
  EXPECT_TRUE(cam_glide);

  EXPECT_EQ(ships[1].nodes, (std::vector<int32_t>{4, 5, 6, 7, 8}));
  EXPECT_EQ(nodes[8].pos.y, -28.0);
  EXPECT_EQ(links[12].b, 8);
  EXPECT_NEAR(links[12].rest, 9.43398, 1e-5);  // (TL, nose): sqrt(25 + 64)
  EXPECT_EQ(nodes[8].nlinks, 2);
  EXPECT_EQ(nodes[7].ship, 1);
  EXPECT_EQ(ships[1].radius, 20.0);
}

TEST_F(Builders, RebuildTouchesOnlyThePlayersSlots) {
  make_player(grey, 0, 0);
  make_station(grey, ds_xpos, ds_ypos);
  make_enemy(grey, -300, -400);
  burn_link(0);
  burn_link(4);
  drop_link(3);
  kill_node(2);
  const std::vector<noderec> other_nodes(nodes.begin() + 4, nodes.end());
  const std::vector<linkrec> other_links(links.begin() + 6, links.end());
  const size_t ship_count = ships.size();

  make_player(grey, 200, 200);
  ASSERT_EQ(nodes.size(), other_nodes.size() + 4);
  ASSERT_EQ(links.size(), other_links.size() + 6);
  EXPECT_EQ(ships.size(), ship_count);
  for (size_t k = 0; k < other_nodes.size(); ++k) {
    EXPECT_EQ(nodes[k + 4].nlinks, other_nodes[k].nlinks);
    EXPECT_EQ(nodes[k + 4].alive, other_nodes[k].alive);
  }
  for (size_t j = 0; j < other_links.size(); ++j) {
    EXPECT_EQ(links[j + 6].a, other_links[j].a);
    EXPECT_EQ(links[j + 6].alive, other_links[j].alive);
  }
  for (int32_t k = 0; k < 4; ++k) {
    EXPECT_TRUE(nodes[k].alive);
    EXPECT_EQ(nodes[k].nlinks, 3);
  }
  for (int32_t j = 0; j < 6; ++j) EXPECT_TRUE(links[j].alive && !links[j].burning);
  expect_counts_consistent();
}

TEST_F(Builders, RespawnBuildsTheShipAndItsBurst) {
  lives = 1;
  spawn_particles = 2;
  respawn();
  EXPECT_EQ(lives, 0);
  EXPECT_FALSE(game_over);
  EXPECT_EQ(nodes[2].pos.y, 180.0);
  ASSERT_EQ(particles.size(), 3u);
  // From seed 0, the first five draws are Random(20) = 0, 0, Random(100) =
  // 86, 20, then 1172187917 / 2^32; the next five 13, 6, 16, 37 and
  // 1828254910 / 2^32.
  const partrec& p = particles[0];
  EXPECT_EQ(p.pos.x, 190.0);
  EXPECT_EQ(p.pos.y, 190.0);
  EXPECT_EQ(p.vel.x, 36.0);
  EXPECT_EQ(p.vel.y, -30.0);
  EXPECT_EQ(p.life, 1.0);
  EXPECT_EQ(p.color, 0xFF00B946u);
  EXPECT_EQ(particles[1].pos.x, 203.0);
  EXPECT_EQ(particles[1].vel.y, -13.0);
  EXPECT_EQ(particles[1].color, 0xFF00926Du);
  EXPECT_FALSE(particles[2].alive);
  EXPECT_EQ(random_seed(), 1828254910u);

  respawn();  // the last life is spent: the wreck stays, no draw is made
  EXPECT_TRUE(game_over);
  EXPECT_EQ(lives, 0);
  EXPECT_EQ(nodes.size(), 4u);
  EXPECT_EQ(particles.size(), 3u);
  EXPECT_EQ(random_seed(), 1828254910u);
}

TEST_F(Builders, BreakAllSparesThePlayer) {
  make_player(grey, 200, 200);
  make_station(grey, ds_xpos, ds_ypos);
  make_enemy(grey, -300, -400);
  break_all();
  EXPECT_TRUE(victory);
  for (size_t j = 0; j < links.size(); ++j) {
    if (j < 6) {
      EXPECT_FALSE(links[j].burning) << j;
    } else {
      EXPECT_TRUE(links[j].burning || !links[j].alive) << j;
    }
  }
  expect_counts_consistent();
}

}  // namespace
}  // namespace vorn
