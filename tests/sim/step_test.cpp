// The physics step: the substep split, the link spring and its overheating,
// the edge rule, orphans, enemy break-up, the station switch, the camera and
// the engine trail.
#include <cmath>

#include "game_fixture.h"

namespace vorn {
namespace {

using StepPhases = GameTest;
using StepCamera = GameTest;

bool link_touches(const linkrec& l, int32_t first, int32_t last) {
  return (l.a >= first && l.a <= last) || (l.b >= first && l.b <= last);
}

TEST_F(StepPhases, SubstepSplitAtTheThresholds) {
  EXPECT_EQ(substep_count(std::nextafter(dt_alpha, 0.0)), 1);
  EXPECT_EQ(substep_count(dt_alpha), 2);
  EXPECT_EQ(substep_count(dt_beta), 4);
  EXPECT_EQ(substep_count(dt_gamma), 8);
  EXPECT_EQ(substep_count(dt_max), 8);
  EXPECT_EQ(substep_count(1.0), 8);

  run_substeps(dt_max);  // eight substeps that together take the whole frame
  EXPECT_NEAR(restart_timer, -dt_max, 1e-15);
}

TEST_F(StepPhases, LinkSpringRemovesExtensionHalfAtEachEnd) {
  // k = 1 at dt_alpha; shorter substeps do not stiffen the spring past that.
  for (const double dt : {dt_alpha, dt_alpha / 2}) {
    clear_world();
    const int32_t stretched = free_link(vec(0, 0), vec(10, 0));
    const int32_t at_rest = free_link(vec(100, 100), vec(110, 100));
    nodes[links[stretched].b].pos = vec(12, 0);  // 2 units too long
    substep(dt);
    EXPECT_DOUBLE_EQ(nodes[links[stretched].a].vel.x, 1.0) << dt;
    EXPECT_DOUBLE_EQ(nodes[links[stretched].b].vel.x, -1.0) << dt;
    EXPECT_EQ(nodes[links[at_rest].a].vel.x, 0.0);
    EXPECT_EQ(nodes[links[at_rest].b].vel.x, 0.0);
  }
}

TEST_F(StepPhases, OverheatedLinkBreaksAndCoolsOnce) {
  // A link at exactly blow_temp is not above it and holds, before the first
  // hot link as well as after it (the phase takes the links before the
  // first hot one in a pass of their own).
  const int32_t at_limit = free_link(vec(50, 0), vec(60, 0));
  const int32_t i = free_link(vec(0, 0), vec(10, 0));
  const int32_t after_hot = free_link(vec(100, 0), vec(110, 0));
  links[at_limit].temp = blow_temp;
  links[i].temp = blow_temp + 50;
  links[after_hot].temp = blow_temp;
  substep(0.01);
  EXPECT_FALSE(links[at_limit].burning);
  EXPECT_FALSE(links[after_hot].burning);
  EXPECT_TRUE(links[i].burning);
  EXPECT_DOUBLE_EQ(links[i].temp, blow_temp + 50 - temp_decline * 0.01);

  const double temp = links[i].temp;
  substep(0.01);
  EXPECT_EQ(links[i].temp, temp);
  EXPECT_DOUBLE_EQ(links[i].burn_left, def_burndt - 0.01);  // counts from the next pass
}

TEST_F(StepPhases, EdgeRuleDropsTheOvershoot) {
  const int32_t i = free_link(vec(799.5, 0), vec(789.5, 0));
  nodes[links[i].a].vel = vec(1000, 0);
  nodes[links[i].b].vel = vec(1000, 0);
  add_particle(white, -799.5, 599.5, -1000, 1000, 1.0);

  substep(0.001);
  EXPECT_EQ(nodes[links[i].a].pos.x, -800.0);
  EXPECT_DOUBLE_EQ(nodes[links[i].b].pos.x, 790.5);
  EXPECT_EQ(particles[0].pos.x, 800.0);
  EXPECT_EQ(particles[0].pos.y, -600.0);
}

TEST_F(StepPhases, EnemyDownToThreeNodesFallsApartAndTheStationWakes) {
  make_player(grey, 0, 300);
  substep(0.001);  // no station yet: nothing to wake
  const int32_t station = add_ship();
  ships[station].pos = vec(600, -500);
  make_enemy(grey, 0, -200);  // ship 2, nodes 4-8, the nose last
  kill_node(8);
  kill_node(6);

  substep(0.001);
  for (const linkrec& l : links) {
    EXPECT_FALSE(link_touches(l, 4, 8) && l.alive && !l.burning);
  }
  EXPECT_TRUE(nodes[4].alive);  // still alive until the next orphan phase

  substep(0.001);
  for (int32_t k : {4, 5, 7}) EXPECT_FALSE(nodes[k].alive) << k;
  EXPECT_TRUE(links[6].burning);  // the broken links burn on
  EXPECT_TRUE(ships[1].firing);    // no enemy left
  for (int32_t j = 0; j < 6; ++j) EXPECT_FALSE(links[j].burning) << j;
}

TEST_F(StepCamera, GlidesThenSnaps) {
  add_ship();
  ships[0].pos = vec(100, 0);
  cam_glide = true;
  camera_step(0.01);
  EXPECT_DOUBLE_EQ(camera.x, -10.0);
  EXPECT_EQ(cam_dx, -10);
  int32_t steps = 1;
  for (; cam_glide && steps < 1000; ++steps) camera_step(0.01);
  EXPECT_GT(steps, 20);
  EXPECT_EQ(camera.x, -100.0);
  EXPECT_EQ(cam_dx, -100);

  // Exactly the snap distance away still glides.
  ships[0].pos = vec(105, 0);
  cam_glide = true;
  camera_step(0.01);
  EXPECT_TRUE(cam_glide);
  EXPECT_DOUBLE_EQ(camera.x, -100.5);
  cam_glide = false;

  // Without a glide the camera jumps, and its shift wraps across the seam.
  ships[0].pos = vec(-800.6, 0);
  camera_step(0.01);
  EXPECT_EQ(camera.x, 800.6);
  EXPECT_EQ(cam_dx, -799);
}

TEST_F(StepCamera, EngineTrailAtTheTailEvenWhilePaused) {
  make_player(grey, 0, 0);
  paused = true;
  engine_trail();
  const int32_t n = alive_particles();
  EXPECT_GE(n, 1);
  EXPECT_LE(n, 5);
  for (const partrec& p : particles) {
    if (!p.alive) continue;
    EXPECT_LE(std::fabs(p.pos.x - nodes[0].pos.x), 2.0);
    EXPECT_LE(std::fabs(p.pos.y - nodes[0].pos.y), 2.0);
    EXPECT_EQ(p.color, orange);
  }

  kill_node(0);
  engine_trail();
  EXPECT_EQ(alive_particles(), n);
  clear_world();
  engine_trail();  // no node 0 at all
  EXPECT_TRUE(particles.empty());
}

}  // namespace
}  // namespace vorn
