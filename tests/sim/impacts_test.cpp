// Link-to-link impacts: the speed exchange along the normal, the range cull,
// burning links, and the respawn delay.
#include "sim/impacts.h"

#include "game_fixture.h"
#include "sim/session.h"

namespace vorn {
namespace {

using Impacts = GameTest;

// A one-link player ship (ship 0, link 0) with its centre placed by hand, so
// the random draw can only pick link 0.
void stick_player(vec2 a, vec2 b, vec2 centre) {
  const int32_t s = add_ship();
  add_node(false, grey, a.x, a.y, 0, 0);
  add_node(false, grey, b.x, b.y, 0, 0);
  add_link(0, 1, grey);
  ships[s].nodes = {0, 1};
  ships[s].pos = centre;
  player_links = 1;
}

bool impacted(int32_t target) { return links[target].temp > 0; }

TEST_F(Impacts, ApproachIsReversedAlongTheNormal) {
  stick_player(vec(0, 0), vec(0, 10), vec(-20, 5));
  const int32_t target = free_link(vec(-5, 5), vec(5, 5));
  nodes[0].vel = nodes[1].vel = vec(100, 0);  // flying right into the target
  restart_timer = -5;

  substep(0.001);
  for (int32_t k : {0, 1}) EXPECT_NEAR(nodes[k].vel.x, 0.0, 1e-9) << k;  // n = (-1, 0)
  for (int32_t k : {2, 3}) EXPECT_NEAR(nodes[k].vel.x, 100.0, 1e-9) << k;
  // Both links take impact_reaction of heat and break in the same substep.
  EXPECT_TRUE(links[0].burning);
  EXPECT_TRUE(links[target].burning);
  EXPECT_EQ(alive_particles(), impact_particles);
  EXPECT_EQ(restart_timer, def_restart_dt);
  EXPECT_TRUE(cam_glide);
}

TEST_F(Impacts, OnlyLinksWithBothEndsInRangeAreTested) {
  stick_player(vec(0, 0), vec(0, 400), vec(-20, 200));
  const double R = contact_range();
  ASSERT_EQ(R, 300.0);
  const int32_t far = free_link(vec(-5, 350), vec(5, 350));
  const int32_t half_out = free_link(vec(-5, 250), vec(250, 250));
  const int32_t near = free_link(vec(-5, 280), vec(5, 280));
  impact_test(0.001, R);
  EXPECT_FALSE(impacted(far));
  EXPECT_FALSE(impacted(half_out));
  EXPECT_TRUE(impacted(near));
  EXPECT_EQ(links[0].temp, impact_reaction);  // one impact for the player link
}

TEST_F(Impacts, BurningLinksAreNeitherSampledNorHit) {
  stick_player(vec(0, 0), vec(0, 10), vec(-20, 5));
  const int32_t target = free_link(vec(-5, 5), vec(5, 5));
  burn_link(target);
  impact_test(0.001, contact_range());
  EXPECT_EQ(links[0].temp, 0.0);

  clear_world();
  stick_player(vec(0, 0), vec(0, 10), vec(-20, 5));
  const int32_t fresh = free_link(vec(-5, 5), vec(5, 5));
  burn_link(0);
  const uint32_t seed = random_seed();
  Random(1);
  const uint32_t after_one_draw = random_seed();
  set_random_seed(seed);
  impact_test(0.001, contact_range());
  EXPECT_FALSE(impacted(fresh));
  EXPECT_EQ(restart_timer, 0.0);
  EXPECT_EQ(random_seed(), after_one_draw);  // the draw comes before the skip

  player_links = 0;  // no player link: no draw at all
  impact_test(0.001, contact_range());
  EXPECT_EQ(random_seed(), after_one_draw);
}

TEST_F(Impacts, TheScratchKeepsItsRoomAndTheSessionResetEmptiesIt) {
  stick_player(vec(0, 0), vec(0, 10), vec(-20, 5));
  free_link(vec(-5, 5), vec(5, 5));
  impact_test(0.001, contact_range());
  ASSERT_EQ(impact_work.offset.size(), nodes.size());
  const vec2* room = impact_work.offset.data();
  impact_test(0.001, contact_range());
  EXPECT_EQ(impact_work.offset.data(), room);  // the same world: no new allocation
  const size_t capacity = impact_work.offset.capacity();
  reset_session();
  EXPECT_TRUE(impact_work.offset.empty());
  EXPECT_EQ(impact_work.offset.capacity(), capacity);
}

}  // namespace
}  // namespace vorn
