// The beams: the nearest crossing takes the hit, the shared spark limit,
// victory at the station's core, the station guns' aim, the heat balance of
// a held beam, and ships or gun lists too short for their role.
#include <cmath>

#include "game_fixture.h"
#include "sim/session.h"

namespace vorn {
namespace {

using Beams = GameTest;

// The player's diamond at the origin, firing: its beam runs straight up
// from the nose at (0, -20) to (0, -270).
void firing_player() {
  make_player(grey, 0, 0);
  ships[0].firing = true;
}

// A station record (ship 1) with no body, its centre at c.
void bare_station(vec2 c) {
  const int32_t s = add_ship();
  ships[s].pos = c;
}

TEST_F(Beams, NearestCrossingTakesTheHit) {
  firing_player();
  const int32_t behind = free_link(vec(-10, -150), vec(10, -150));
  const int32_t front = free_link(vec(-10, -100), vec(10, -100));
  const int32_t twin = free_link(vec(-10, -100), vec(10, -100));  // a tie: the lower index keeps it
  collision_and_weapon_pass(0.01);
  EXPECT_DOUBLE_EQ(links[front].temp, plr_gun_heat * 0.01);
  EXPECT_NEAR(ships[0].aim.y, -100.0, 1e-9);  // the beam stops at the hit
  for (int32_t k : {links[front].a, links[front].b}) {
    EXPECT_EQ(nodes[k].force.x, 0.0);
    EXPECT_DOUBLE_EQ(nodes[k].force.y, -plr_gun_force);  // away from the gun
  }
  for (const int32_t j : {behind, twin}) {
    EXPECT_EQ(links[j].temp, 0.0) << j;
    EXPECT_EQ(nodes[links[j].a].force.y, 0.0) << j;
  }
}

TEST_F(Beams, TheScratchKeepsItsRoomAndTheSessionResetEmptiesIt) {
  firing_player();
  free_link(vec(-10, -100), vec(10, -100));
  collision_and_weapon_pass(0.01);
  ASSERT_EQ(beam_work.offset.size(), nodes.size());
  const vec2* room = beam_work.offset.data();
  collision_and_weapon_pass(0.01);
  EXPECT_EQ(beam_work.offset.data(), room);  // the same world: no new allocation
  const size_t capacity = beam_work.offset.capacity();
  reset_session();
  EXPECT_TRUE(beam_work.offset.empty());
  EXPECT_EQ(beam_work.offset.capacity(), capacity);
  EXPECT_EQ(hit_particle_timer, 0.0);
}

TEST_F(Beams, OneSparkPerIntervalAcrossAllBeams) {
  firing_player();
  bare_station(vec(600, -500));
  const int32_t target = free_link(vec(-10, -100), vec(10, -100));
  make_enemy(grey, 3, 100);  // ship 2, its beam up through the player's side
  ships[2].firing = true;

  collision_and_weapon_pass(0.004);
  EXPECT_GT(links[target].temp, 0.0);
  EXPECT_DOUBLE_EQ(links[0].temp, ai_gun_heat * 0.004);  // the enemy hit too
  EXPECT_EQ(alive_particles(), 1);
  for (int32_t pass = 1; pass < 25; ++pass) collision_and_weapon_pass(0.004);
  // One spark at once, then one every third pass of 4 ms against 10 ms.
  EXPECT_EQ(alive_particles(), 9);
  // A timer that reaches exactly 0 waits one more pass.
  hit_particle_timer = 0.004;
  const int32_t before = alive_particles();
  collision_and_weapon_pass(0.004);
  EXPECT_EQ(alive_particles(), before);
}

TEST_F(Beams, ReachingTheCoreWinsAndEndsThePass) {
  firing_player();
  bare_station(vec(0, -150));
  make_enemy(grey, 3, 100);
  ships[2].firing = true;
  const int32_t blocker = free_link(vec(-10, -100), vec(10, -100));

  collision_and_weapon_pass(0.01);  // the blocker stops the beam short
  EXPECT_FALSE(victory);
  EXPECT_GT(links[0].temp, 0.0);

  burn_link(blocker);
  links[0].temp = 0;
  collision_and_weapon_pass(0.01);
  EXPECT_TRUE(victory);
  EXPECT_EQ(links[0].temp, 0.0);  // the enemy's beam did not act
  EXPECT_TRUE(links[6].burning);  // the enemy's links break

  collision_and_weapon_pass(0.01);  // victory stands; the beams run again
  EXPECT_GT(links[0].temp, 0.0);
}

TEST_F(Beams, StationGunsAimAtThePlayersCentre) {
  make_player(grey, 0, 0);
  bare_station(vec(600, -500));
  const int32_t live_gun = add_node(false, grey, 100, -100, 0, 0);
  const int32_t dead_gun = add_node(false, grey, 150, 50, 0, 0);
  kill_node(dead_gun);
  shprec& station = ships[1];
  station.guns = {live_gun, dead_gun};
  station.gun_aim = {vec(0, 0), vec(7, 7)};
  station.gun_fire = {false, true};
  station.firing = true;

  collision_and_weapon_pass(0.01);
  EXPECT_TRUE(station.gun_fire[0]);
  // Along y = -x onto the nose-side link (10, 0)-(0, -20).
  EXPECT_NEAR(station.gun_aim[0].x, 20.0 / 3, 1e-9);
  EXPECT_NEAR(station.gun_aim[0].y, -20.0 / 3, 1e-9);
  EXPECT_DOUBLE_EQ(links[1].temp, ds_gun_heat * 0.01);
  EXPECT_FALSE(station.gun_fire[1]);  // a dead gun neither aims nor fires
  EXPECT_EQ(station.gun_aim[1].x, 7.0);
}

TEST_F(Beams, HeldBeamBreaksALinkAfterAboutASecond) {
  firing_player();
  const int32_t target = free_link(vec(-10, -100), vec(10, -100));
  const double dt = 1.0 / 480;
  int32_t n = 0;
  for (; !links[target].burning && n < 1000; ++n) substep(dt);
  EXPECT_GE(n * dt, 0.99);
  EXPECT_LE(n * dt, 1.05);
}

TEST_F(Beams, ShortOrStaleListsAreNeverReadPastTheirEnds) {
  make_player(grey, 0, 0);
  bare_station(vec(0, 60));
  const int32_t gun_link = free_link(vec(0, 80), vec(10, 80));
  ships[1].guns = {links[gun_link].a};  // a gun with neither aim nor fire slot
  ships[1].firing = true;
  const int32_t wreck = add_ship();  // an "enemy" of three nodes
  ships[wreck].nodes = {links[gun_link].a, links[gun_link].b, 0};
  ships[wreck].firing = true;
  collision_and_weapon_pass(0.01);
  for (int32_t j = 0; j < 6; ++j) EXPECT_EQ(links[j].temp, 0.0) << j;

  // A world emptied under a stale player: no nose slot, gun entry past the
  // node array, player_links past the link array.
  clear_world();
  free_link(vec(0, 0), vec(0, 10));
  for (int32_t s = 0; s < 3; ++s) add_ship();
  ships[0].firing = true;
  ships[2].nodes = {0, 1, 0, 1, 99};
  ships[2].firing = true;
  collision_and_weapon_pass(0.01);
  substep(0.01);
  EXPECT_EQ(links[0].temp, 0.0);
}

}  // namespace
}  // namespace vorn
