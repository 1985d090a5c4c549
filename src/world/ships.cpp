// The player's diamond and the enemy darts built from nodes and links,
// respawning the player with its spark burst, and the victory shattering.
#include "world/ships.h"

#include "base/rng.h"
#include "config/tunables.h"
#include "world/room.h"
#include "world/world.h"

namespace vorn {

int32_t lives = 3;
bool game_over = false;
bool victory = false;
int32_t player_links = 0;
bool cam_glide = false;

namespace {

constexpr double small_ship_radius = 20.0;

// Every intact link touching one of the ship's nodes starts burning; the
// scan bound is taken afresh for each node.
void burn_ship(const shprec& ship) {
  for (const int32_t node : ship.nodes) {
    const int32_t count = static_cast<int32_t>(links.size());
    for (int32_t j = 0; j < count; ++j) {
      const linkrec& l = links[j];
      if (l.alive && !l.burning && (l.a == node || l.b == node)) burn_link(j);
    }
  }
}

}  // namespace

void make_player(color_t color, double x, double y) {
  cam_glide = true;
  // The player always owns node slots 0-3 and link slots 0-5; longer arrays
  // keep everything built after them.
  if (nodes.size() < 4) nodes.resize(4);
  if (links.size() < 6) links.resize(6);
  set_node(0, false, color, x, y + 20, 0, 0);
  set_node(1, false, color, x + 10, y, 0, 0);
  set_node(2, false, red, x, y - 20, 0, 0);
  set_node(3, false, color, x - 10, y, 0, 0);
  // Four sides, then the long and the short diagonal: three links per node.
  set_link(0, 0, 1, color);
  set_link(1, 1, 2, color);
  set_link(2, 2, 3, color);
  set_link(3, 3, 0, color);
  set_link(4, 0, 2, color);
  set_link(5, 1, 3, color);
  if (ships.empty()) ships.resize(1);
  shprec& ship = ships[0];
  ship.alive = true;
  ship.nodes.assign({0, 1, 2, 3});
  for (const int32_t n : ship.nodes) nodes[n].ship = 0;
  ship.radius = small_ship_radius;
  ship.pos = vec(x, y);
  player_links = 6;
}

void make_enemy(color_t color, double x, double y) {
  const int32_t tl = add_node(false, color, x - 5, y - 20, 0, 0);
  const int32_t tr = add_node(false, color, x + 5, y - 20, 0, 0);
  const int32_t br = add_node(false, color, x + 5, y + 20, 0, 0);
  const int32_t bl = add_node(false, color, x - 5, y + 20, 0, 0);
  const int32_t nose = add_node(false, red, x, y - 28, 0, 0);
  // A 10 x 40 body braced by both diagonals, the nose tied to the top corners.
  add_link(tl, tr, color);
  add_link(tr, br, color);
  add_link(br, bl, color);
  add_link(bl, tl, color);
  add_link(tl, br, color);
  add_link(tr, bl, color);
  add_link(tl, nose, color);
  add_link(tr, nose, color);
  const int32_t s = add_ship();
  shprec& ship = ships[s];
  ship.nodes.assign({tl, tr, br, bl, nose});
  for (const int32_t n : ship.nodes) nodes[n].ship = s;
  ship.radius = small_ship_radius;
  ship.pos = vec(x, y);
}

void respawn() {
  // lives - 1 < 0 exactly when lives < 1; written this way it cannot overflow.
  if (lives < 1) {
    lives = 0;
    game_over = true;
    return;
  }
  // A burst that cannot fit is refused before the life is spent.
  check_particle_room(spawn_particles);
  lives -= 1;
  make_player(grey, spawn_x, spawn_y);
  // A 20 x 20 cloud of sparks flying out at up to 50 units per second per
  // axis, coloured between blue and green. The draws go r1, r2, r3, r4, t.
  for (int32_t i = 0; i < spawn_particles; ++i) {
    const int32_t r1 = Random(20);
    const int32_t r2 = Random(20);
    const int32_t r3 = Random(100);
    const int32_t r4 = Random(100);
    const double t = random_real();
    add_particle(blend(blue, green, static_cast<float>(t)), spawn_x + r1 - 10, spawn_y + r2 - 10,
                 r3 - 50, r4 - 50, 1.0);
  }
}

void break_all() {
  victory = true;
  for (size_t s = 1; s < ships.size(); ++s) burn_ship(ships[s]);
}

void reset_ship_state() {
  lives = 3;
  game_over = false;
  victory = false;
  player_links = 0;
  cam_glide = false;
}

}  // namespace vorn
