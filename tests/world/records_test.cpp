// The world records: the burn cascade, killing nodes, heating links and the
// particle pool's reuse and growth (a large burst still takes the lowest
// free slots).
#include "world_fixture.h"

namespace vorn {
namespace {

using Records = WorldTest;

// The player's diamond built from the plain record operations.
void diamond() {
  EXPECT_EQ(add_node(false, grey, 0, 20, 0, 0), 0);
  EXPECT_EQ(add_node(false, grey, 10, 0, 0, 0), 1);
  EXPECT_EQ(add_node(false, red, 0, -20, 0, 0), 2);
  EXPECT_EQ(add_node(false, grey, -10, 0, 0, 0), 3);
  const int32_t pairs[6][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {1, 3}};
  for (const auto& p : pairs) add_link(p[0], p[1], grey);
}

TEST_F(Records, BurnCascadeOnTheDiamond) {
  diamond();
  EXPECT_EQ(links[4].rest, 40.0);
  EXPECT_EQ(links[0].burn_left, -1.0);
  nodes[0].pos = vec(1, 21);  // the frozen ends are the positions at the break
  burn_link(0);
  EXPECT_EQ(nodes[0].nlinks, 2);
  EXPECT_EQ(nodes[1].nlinks, 2);
  EXPECT_TRUE(links[0].alive && links[0].burning);
  EXPECT_EQ(links[0].burn_left, def_burndt);
  EXPECT_EQ(links[0].color, red);
  EXPECT_EQ(links[0].end_a.x, 1.0);
  EXPECT_EQ(links[0].end_b.x, 10.0);
  EXPECT_FALSE(links[3].burning);
  links[0].burn_left = 0.25;
  burn_link(0);  // a burning link is broken already: nothing changes
  EXPECT_EQ(links[0].burn_left, 0.25);
  EXPECT_EQ(nodes[0].nlinks, 2);
  EXPECT_EQ(nodes[1].nlinks, 2);

  // Node 0 is left holding only (3,0), which breaks with it.
  burn_link(4);
  EXPECT_TRUE(links[3].burning);
  EXPECT_EQ(nodes[0].nlinks, 0);
  EXPECT_EQ(nodes[1].nlinks, 2);
  EXPECT_EQ(nodes[2].nlinks, 2);
  EXPECT_EQ(nodes[3].nlinks, 2);
  EXPECT_TRUE(nodes[0].alive);  // orphans are removed by the simulation
  expect_counts_consistent();
}

TEST_F(Records, CascadeRunsThroughBothEndsAndSkipsDeadSlots) {
  // Slot 0 is zero-filled: dead, joining node 0 to itself; breaking it
  // counts nothing down.
  links.resize(1);
  add_node(false, grey, 0, 0, 0, 0);
  burn_link(0);
  EXPECT_FALSE(links[0].alive || links[0].burning);
  EXPECT_EQ(nodes[0].nlinks, 0);

  // A triangle: breaking one side leaves both its ends on one link; end a's
  // cascade takes the other two sides and end b then has nothing left.
  add_node(false, grey, 10, 0, 0, 0);
  add_node(false, grey, 0, 10, 0, 0);
  add_link(0, 1, grey);
  add_link(0, 2, grey);
  add_link(1, 2, grey);
  burn_link(1);
  for (size_t j = 1; j < links.size(); ++j) EXPECT_TRUE(links[j].burning) << j;
  for (const noderec& n : nodes) EXPECT_EQ(n.nlinks, 0);
}

TEST_F(Records, KillNodeAndDropLink) {
  diamond();
  burn_link(0);
  burn_link(4);  // node 0's three links now burn
  kill_node(0);
  EXPECT_FALSE(nodes[0].alive);
  for (int32_t j : {0, 3, 4}) EXPECT_FALSE(links[j].alive) << j;
  for (int32_t j : {1, 2, 5}) EXPECT_TRUE(links[j].alive && !links[j].burning) << j;
  EXPECT_EQ(nodes[1].nlinks, 2);
  EXPECT_EQ(nodes[3].nlinks, 2);

  // Killing a node with intact links counts its neighbours down.
  kill_node(2);
  EXPECT_EQ(nodes[1].nlinks, 0);  // (1,3) went with the cascade
  EXPECT_EQ(nodes[3].nlinks, 0);
  EXPECT_FALSE(links[1].alive);
  EXPECT_TRUE(links[5].alive && links[5].burning);
  drop_link(5);
  EXPECT_FALSE(links[5].alive);
  expect_counts_consistent();
}

TEST_F(Records, HeatLinkPushesBothEnds) {
  diamond();
  heat_link(4, vec(1, -2), 3, 0.5);
  heat_link(4, vec(1, 0), 1, 0.25);
  EXPECT_EQ(nodes[0].force.x, 4.0);
  EXPECT_EQ(nodes[2].force.y, -6.0);
  EXPECT_EQ(nodes[1].force.x, 0.0);
  EXPECT_EQ(links[4].temp, 0.75);
}

TEST_F(Records, ShipsAndParticles) {
  EXPECT_EQ(add_ship(), 0);
  EXPECT_EQ(add_ship(), 1);
  EXPECT_TRUE(ships[1].alive);
  EXPECT_TRUE(ships[1].nodes.empty());
  EXPECT_EQ(ships[1].radius, 0.0);

  const size_t sizes[] = {1, 3, 3, 7, 7, 7, 7, 15};
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(add_particle(blue, i, 0, 1, 2, 1.0), i);
    EXPECT_EQ(particles.size(), sizes[i]);
  }
  EXPECT_FALSE(particles[8].alive);
  EXPECT_EQ(particles[14].life, 0.0);
  EXPECT_EQ(particles[7].pos.x, 7.0);

  clear_world();
  EXPECT_TRUE(particles.empty() && nodes.empty() && links.empty() && ships.empty());
}

TEST_F(Records, ABurstTakesTheLowestFreeSlotsInOrder) {
  for (int32_t i = 0; i < 100000; ++i) ASSERT_EQ(add_particle(blue, i, 0, 0, 0, 1.0), i);
  EXPECT_EQ(particles.size(), 131071u);
  kill_particle(70000);
  kill_particle(3);
  kill_particle(99999);
  EXPECT_EQ(add_particle(blue, 0, 0, 0, 0, 1.0), 3);
  EXPECT_EQ(add_particle(blue, 0, 0, 0, 0, 1.0), 70000);
  EXPECT_EQ(add_particle(blue, 0, 0, 0, 0, 1.0), 99999);
  EXPECT_EQ(add_particle(blue, 0, 0, 0, 0, 1.0), 100000);
  clear_world();
  EXPECT_EQ(add_particle(blue, 0, 0, 0, 0, 1.0), 0);
}

// Walks over the pool stop at particle_span(): it must never fall below an
// alive particle, and trimming brings it down to the highest alive one.
TEST_F(Records, TheParticleSpanCoversEveryAliveParticle) {
  for (int32_t i = 0; i < 20; ++i) add_particle(blue, i, 0, 0, 0, 1.0);
  EXPECT_EQ(particle_span(), 20u);
  for (const int32_t i : {19, 18, 12, 4}) kill_particle(i);
  EXPECT_EQ(particle_span(), 20u);  // an upper bound until trimmed
  trim_particle_span();
  EXPECT_EQ(particle_span(), 18u);
  EXPECT_EQ(add_particle(blue, 0, 0, 0, 0, 1.0), 4);  // below the span: it stays
  EXPECT_EQ(particle_span(), 18u);
  for (int32_t i = 0; i < 18; ++i) kill_particle(i);
  trim_particle_span();
  EXPECT_EQ(particle_span(), 0u);
  EXPECT_EQ(add_particle(blue, 0, 0, 0, 0, 1.0), 0);
  EXPECT_EQ(particle_span(), 1u);
  // A pool emptied behind the records' back still bounds the span.
  std::vector<partrec>().swap(particles);
  EXPECT_EQ(particle_span(), 0u);
  trim_particle_span();
  clear_world();
  EXPECT_EQ(particle_span(), 0u);
}

}  // namespace
}  // namespace vorn
