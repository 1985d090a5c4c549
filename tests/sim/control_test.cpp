// The control laws: the enemies' turning kicks and firing decision, their
// steering forces, and the player's turning, thrust and fire flag.
#include <cmath>

#include "game_fixture.h"
#include "plain_steering.h"

namespace vorn {
namespace {

using Control = GameTest;

// The player's diamond centred at `player`, a bare station record and one
// dart (ship 2) centred at the origin with its nose up at (0, -28).
void scene(vec2 player) {
  make_player(grey, player.x, player.y);
  add_ship();
  make_enemy(grey, 0, 0);
}

int32_t dart(size_t entry) { return ships[2].nodes[entry]; }

void expect_vel(int32_t node, vec2 v) {
  EXPECT_DOUBLE_EQ(nodes[node].vel.x, v.x) << "node " << node;
  EXPECT_DOUBLE_EQ(nodes[node].vel.y, v.y) << "node " << node;
}

TEST_F(Control, EnemyKickGrowsWithTheErrorNotItsSign) {
  scene(vec(0, -100));  // dead ahead: e = 0, no kick at all
  control_step(0.01);
  for (const int32_t k : ships[2].nodes) expect_vel(k, vec(0, 0));

  clear_world();
  scene(vec(0, 200));  // dead astern: |e| = 180, the full gain
  control_step(0.01);
  const vec2 q = norm(sub(nodes[dart(1)].pos, ships[0].pos));
  const double kick = ai_turn_p * 0.01;
  expect_vel(dart(0), scale(q, -kick));
  expect_vel(dart(1), scale(q, -kick));
  expect_vel(dart(2), scale(q, kick));
  expect_vel(dart(3), scale(q, kick));
  expect_vel(dart(4), vec(0, 0));

  // In between the kick is in proportion to |e|; it needs only the player's
  // centre, so losing a side node changes nothing for the darts.
  for (const int32_t lost : {-1, 1, 3}) {
    clear_world();
    scene(vec(150, 100));
    if (lost >= 0) kill_node(lost);
    control_step(0.01);
    SCOPED_TRACE(lost);
    const vec2 dir = norm(sub(nodes[dart(1)].pos, ships[0].pos));
    const double e = bearing(vec(-150, -100)) - 180;
    expect_vel(dart(2), scale(dir, std::fabs(e) * ai_turn_p / 180 * 0.01));
  }
}

TEST_F(Control, EnemyFiresOnlyCloseAndFacing) {
  const double rad = 3.14159265358979323846 / 180;
  const struct {
    vec2 player;
    bool fires;
  } cases[] = {{vec(0, -119), true},
               {vec(0, -121), false},
               {vec(100 * std::sin(29 * rad), -100 * std::cos(29 * rad)), true},
               {vec(-100 * std::sin(31 * rad), -100 * std::cos(31 * rad)), false}};
  for (const auto& c : cases) {
    clear_world();
    scene(c.player);
    control_step(0.01);
    EXPECT_EQ(ships[2].firing, c.fires) << c.player.x << ", " << c.player.y;
  }
}

TEST_F(Control, EnemyWithoutNoseNeitherTurnsNorFires) {
  scene(vec(0, 110));
  kill_node(dart(4));
  ships[2].firing = true;
  control_step(0.01);
  EXPECT_FALSE(ships[2].firing);
  for (const int32_t k : ships[2].nodes) expect_vel(k, vec(0, 0));

  ships[2].nodes.resize(3);  // too short to name a nose: the same, no overrun
  ships[2].firing = true;
  control_step(0.01);
  EXPECT_FALSE(ships[2].firing);
  vec2 F;
  ai_ds_repulse = 0;
  ships[2].pos = vec(0, 60);
  enemy_node_forces(dart(0), F);  // no back-off without a nose: pulled on
  EXPECT_DOUBLE_EQ(F.y, 250);
}

TEST_F(Control, EnemySteeringForces) {
  scene(vec(0, 0));
  ai_ds_repulse = 0;
  ships[1].pos = vec(-700, -500);
  // The pull is the same 250 at any distance; closer than the ram distance a
  // dart with a nose backs off instead.
  const struct {
    double x;
    bool nose;
    double fx;
  } cases[] = {{500, true, -250}, {150, true, -250}, {50, true, 400}, {50, false, -250}};
  for (const auto& c : cases) {
    nodes[dart(4)].alive = c.nose;
    ships[2].pos = vec(c.x, 0);
    vec2 F;
    enemy_node_forces(dart(0), F);
    EXPECT_DOUBLE_EQ(F.x, c.fx) << c.x;
    EXPECT_EQ(F.y, 0.0);
  }

  // Inside the station's radius: pushed out with ai_ds_repulse / e^2, slowed
  // to 0.9 of the speed at once, then the drag; a wrecked dart still repels
  // from its last centre.
  reset_tunables();
  ai_attract = 0;
  ships[1].pos = vec(0, 0);
  ships[1].radius = 130;
  ships[2].pos = vec(100, 0);
  make_enemy(grey, 100, 30);
  for (const int32_t k : ships[3].nodes) kill_node(k);
  nodes[dart(0)].vel = vec(10, 0);
  vec2 F;
  enemy_node_forces(dart(0), F);
  EXPECT_DOUBLE_EQ(nodes[dart(0)].vel.x, 9);
  EXPECT_DOUBLE_EQ(F.x, ai_ds_repulse / 1e4 - 9);
  EXPECT_DOUBLE_EQ(F.y, -ai_repulse / (900 + eps));

  // A dart exactly on the player's and the station's centre has no
  // direction to go: those terms add nothing rather than NaN.
  ships[0].pos = ships[1].pos = ships[2].pos = vec(0, 0);
  F = vec(0, 0);
  enemy_node_forces(dart(0), F);
  EXPECT_TRUE(std::isfinite(F.x) && std::isfinite(F.y));
}

TEST_F(Control, PlayerSteersThrustsAndFiresWhileNoseAndTailLive) {
  make_player(grey, 0, 0);
  keys_held.forward = true;
  keys_held.fire = true;
  mouse_x = 400;  // straight above the screen centre, where the nose points
  mouse_y = 100;
  control_step(0.01);
  expect_vel(0, vec(0, -plr_thrust * 0.01));  // the tail pushed towards the nose
  expect_vel(2, vec(0, 0));
  EXPECT_TRUE(ships[0].firing);

  make_player(grey, 0, 0);
  keys_held.reverse = true;  // both keys cancel
  control_step(0.01);
  expect_vel(0, vec(0, 0));

  // Pointer to the right (e = 90): the nose swings clockwise onto it, also
  // when node 3 is gone and the lateral axis is taken from node 1.
  keys_held = held_controls{};
  mouse_x = 600;
  mouse_y = 300;
  for (const bool lost_side : {false, true}) {
    make_player(grey, 0, 0);
    if (lost_side) kill_node(3);
    control_step(0.01);
    expect_vel(2, vec(90 * plr_turn_p / 180 * 0.01, 0));
    expect_vel(0, vec(-90 * plr_turn_p / 180 * 0.01, 0));
  }

  // Without its nose or its tail the ship can neither steer nor thrust.
  keys_held = held_controls{true, false, true};
  for (const int32_t lost : {0, 2}) {
    make_player(grey, 0, 0);
    kill_node(lost);
    control_step(0.01);  // restart_timer is 0: the wreck waits
    SCOPED_TRACE(lost);
    for (int32_t k = 0; k < 4; ++k) expect_vel(k, vec(0, 0));
    // The gun is the nose: it fires while the nose lives.
    EXPECT_EQ(ships[0].firing, lost != 2);
  }
}

}  // namespace
}  // namespace vorn
