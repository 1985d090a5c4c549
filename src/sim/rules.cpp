// The game's life cycle: the reset that builds a new game (player, station,
// enemies placed from seed 0), the respawn rule for a wrecked player, and the
// game clock.
#include "sim/rules.h"

#include "base/rng.h"
#include "base/rules_version.h"
#include "base/view.h"
#include "config/tunables.h"
#include "gfx/background.h"
#include "sim/step.h"
#include "world/geometry.h"
#include "world/ships.h"
#include "world/room.h"
#include "world/station.h"
#include "world/world.h"

namespace vorn {

game_clock_t game_clock;

namespace {

// The player's fixed slots.
constexpr size_t player_ship_slots = 1;
constexpr size_t player_node_slots = 4;
constexpr size_t player_link_slots = 6;

// Ship roles are fixed by index (0 player, 1 station, 2 and up enemies).
// When no player could be built (no life to start with) its slots are still
// taken, zero-filled: a player with no alive node and no alive link, owning
// no links, so that the station is ship 1 and the wreck rule sees a wreck.
void reserve_player_slots() {
  if (ships.size() < player_ship_slots) ships.resize(player_ship_slots);
  if (nodes.size() < player_node_slots) nodes.resize(player_node_slots);
  if (links.size() < player_link_slots) links.resize(player_link_slots);
}

bool node_gone(int32_t k) {
  return k < 0 || static_cast<size_t>(k) >= nodes.size() || !nodes[k].alive;
}

bool link_gone(int32_t j) {
  return j < 0 || static_cast<size_t>(j) >= links.size() || !links[j].alive;
}

// The player's diamond: node 0 tail, 2 nose; links 0-3 the sides in order
// round the diamond, 4 and 5 the diagonals. A burning link still counts.
bool wreck_by_nose_or_tail() { return node_gone(0) || node_gone(2); }
bool wreck_by_diagonals() { return link_gone(4) && link_gone(5); }
bool wreck_by_opposite_sides_a() { return link_gone(0) && link_gone(2); }
bool wreck_by_opposite_sides_b() { return link_gone(1) && link_gone(3); }

void respawn_if_quiet() {
  if (restart_timer < 0) respawn();
}

}  // namespace

void game_reset(bool restart) {
  // The grid picture is built at the first start; a restart reuses it
  // unless the screen has changed size meanwhile.
  ensure_background(screen_w, screen_h);
  // The world's size is fixed by the first start.
  if (!restart) {
    world_w = 2 * screen_w;
    world_h = 2 * screen_h;
  }
  clear_world();
  // A game whose first collision could not show its sparks is refused
  // before it starts, not at that collision.
  check_particle_room(impact_particles);
  // The clock stood still from the end of the previous game; the new one
  // counts from the latest frame. (Demos of the first rules generation
  // count on from that end.)
  if (restart && rules_version >= 2) game_clock.current = game_clock.last_frame;
  game_clock.start = game_clock.current;
  lives = def_lives;
  game_over = false;
  // A restart follows game over, which may have come after a victory: the
  // new game starts playable.
  victory = false;
  player_links = 0;
  respawn();
  reserve_player_slots();
  make_station(grey, ds_xpos, ds_ypos);
  ships[1].firing = false;
  set_random_seed(0);
  // A count of 0 or less builds no enemy.
  reserve_enemy_room(enemy_count);
  for (int32_t i = 0; i < enemy_count; ++i) {
    const double r1 = random_real();
    const double r2 = random_real();
    make_enemy(grey, ds_xpos - 100 + 50 * r1, ds_ypos - 200 + 50 * r2);
  }
}

void respawn_rule() {
  if (wreck_by_nose_or_tail()) respawn_if_quiet();
  if (wreck_by_diagonals()) respawn_if_quiet();
  if (wreck_by_opposite_sides_a()) respawn_if_quiet();
  if (wreck_by_opposite_sides_b()) respawn_if_quiet();
}

double update_game_clock(double t) {
  const double passed = t - game_clock.last_frame;
  game_clock.last_frame = t;
  if (!game_over && !victory) game_clock.current = t;
  return passed;
}

void hold_game_clock(double passed) {
  if (!game_over && !victory) game_clock.start += passed;
}

void reset_rules_state() {
  game_clock = game_clock_t{};
  reset_rules_version();
  release_background();
}

}  // namespace vorn
