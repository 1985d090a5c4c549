// The collision and weapon pass of a substep: the impact test, then every
// beam in turn (the player's, the enemies', the station's guns). A beam is a
// ray from its gun node that stops at the nearest intact link it crosses,
// pushing that link along the beam and heating it.
#include "sim/beams.h"

#include <vector>

#include "base/color.h"
#include "base/rng.h"
#include "config/tunables.h"
#include "sim/impacts.h"
#include "sim/lookup.h"
#include "world/geometry.h"
#include "world/happenings.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {

double hit_particle_timer = 0.0;
near_links beam_work;

namespace {

// An enemy's gun is the fifth entry of its node list (its nose).
constexpr size_t enemy_gun_entry = 4;
// Radius of the station's core that the player's beam must reach.
constexpr double core_radius = 10.0;

// A beam from P0 towards E, cut back to the nearest crossing so far (dE is
// wrap_diff(P0, E)), against link i with its ends at offsets d1 and d2 from
// P0 (both within range). The beam's length is recomputed for every
// candidate, so only a crossing strictly nearer than the best so far
// replaces it (a tie keeps the lower index).
inline void try_link(vec2 P0, vec2& E, vec2& dE, int32_t& best, int32_t i, vec2 d1, vec2 d2) {
  vec2 X;
  if (!seg_cross(P0, sub(P0, dE), sub(P0, d1), sub(P0, d2), X)) return;
  const vec2 Xn = sub(P0, wrap_diff(P0, X));
  if (len2(dE) > len2(sub(Xn, P0))) {
    E = X;
    dE = wrap_diff(P0, E);
    best = i;
  }
}

// One beam from P0 towards E against the links [first, end): E is cut back
// to the nearest crossing and the link crossed there is returned, or -1.
int32_t nearest_hit(vec2 P0, vec2& E, int32_t first, int32_t end, double R) {
  const double R2 = R * R;
  int32_t best = -1;
  const int32_t last = link_range_end(end);
  vec2 dE = wrap_diff(P0, E);
  for (int32_t i = first < 0 ? 0 : first; i < last; ++i) {
    const linkrec& l = links[i];
    if (!link_intact(l)) continue;
    const vec2 d1 = wrap_diff(P0, nodes[l.a].pos);
    const vec2 d2 = wrap_diff(P0, nodes[l.b].pos);
    if (len2(d1) < R2 && len2(d2) < R2) try_link(P0, E, dE, best, i, d1, d2);
  }
  return best;
}

// The same over links found near P0 (find_near_links): the beam is tried
// against exactly the links the walk above would try, in its order.
int32_t nearest_hit(vec2 P0, vec2& E, const near_links& near) {
  int32_t best = -1;
  vec2 dE = wrap_diff(P0, E);
  for (int32_t j = 0; j < near.count; ++j) {
    const int32_t i = near.found[j];
    const linkrec& l = links[i];
    try_link(P0, E, dE, best, i, near.offset[l.a], near.offset[l.b]);
  }
  return best;
}

// The hit link's two ends are pushed by f along the beam, away from the gun,
// and it gains h per second of heat. At most one spark per hit_particle_dt
// across all beams; draws: x speed, y speed, colour.
void hit_effect(int32_t best, vec2 E, vec2 P0, double f, double h, double dt, color_t c1) {
  heat_link(best, norm(wrap_diff(P0, E)), -f, h * dt);
  if (hit_particle_timer < 0) {
    const vec2 v = nodes[links[best].a].vel;
    const double vx = Random(100) + v.x - 50;
    const double vy = Random(100) + v.y - 50;
    const double r = random_real();
    add_particle(blend(c1, red, static_cast<float>(r)), E.x, E.y, vx, vy, 1.0);
    hit_particle_timer = hit_particle_dt;
  }
}

// The player's beam from the nose (node 2), pointing away from the ship's
// centre, against every link that is not the player's.
void player_beam(double dt, double R) {
  shprec& player = ships[0];
  const vec2 P0 = nodes[2].pos;
  const vec2 dir = norm(wrap_diff(player.pos, P0));
  player.aim = sub(P0, scale(dir, plr_beam_length));
  // The beam scans every link but the player's, and no node moves meanwhile.
  find_near_links(P0, R * R, player_links, link_count(), beam_work);
  const int32_t best = nearest_hit(P0, player.aim, beam_work);
  if (best >= 0) hit_effect(best, player.aim, P0, plr_gun_force, plr_gun_heat, dt, orange);
  if (best >= 0) note_player_hit(best);
}

// Victory once the player's beam, as cut back by its hit, reaches the
// station's core; true when it did (the rest of the pass is then skipped).
bool victory_test(double R) {
  if (victory || ships.size() < 2) return false;
  const vec2 P0 = nodes[2].pos;
  const vec2 dc = wrap_diff(P0, ships[1].pos);
  if (!(len2(dc) < R * R)) return false;
  const vec2 dE = wrap_diff(P0, ships[0].aim);
  vec2 X;
  if (!ray_circle(P0, sub(P0, dE), sub(P0, dc), X, core_radius)) return false;
  const vec2 Xn = sub(P0, wrap_diff(P0, X));
  if (!(len2(dE) > len2(sub(Xn, P0)))) return false;
  break_all();
  return true;
}

// Enemy nose guns against the player's links. A ship with fewer than five
// node entries, or whose gun entry names no node, has no gun and does not
// fire.
void enemy_beams(double dt, double R) {
  for (size_t k = 2; k < ships.size(); ++k) {
    shprec& ship = ships[k];
    if (!ship.firing || ship.nodes.size() <= enemy_gun_entry) continue;
    const int32_t gun = ship.nodes[enemy_gun_entry];
    if (!valid_node(gun)) continue;
    const vec2 P0 = nodes[gun].pos;
    const vec2 dir = norm(wrap_diff(ship.pos, P0));
    ship.aim = sub(P0, scale(dir, ai_beam_length));
    const int32_t best = nearest_hit(P0, ship.aim, 0, player_links, R);
    if (best >= 0) hit_effect(best, ship.aim, P0, ai_gun_force, ai_gun_heat, dt, blue);
  }
}

// The station's guns, each aimed straight at the player's centre. Only the
// guns that have both an aim slot and a fire flag are served, so gun lists
// of unequal lengths are never read past their ends.
void station_guns(double dt, double R) {
  shprec& station = ships[1];
  if (!station.firing) return;
  size_t count = station.guns.size();
  if (station.gun_aim.size() < count) count = station.gun_aim.size();
  if (station.gun_fire.size() < count) count = station.gun_fire.size();
  for (size_t g = 0; g < count; ++g) {
    station.gun_fire[g] = false;
    const int32_t gun = station.guns[g];
    if (!node_alive(gun)) continue;
    const vec2 P0 = nodes[gun].pos;
    const vec2 dir = norm(wrap_diff(P0, ships[0].pos));
    station.gun_aim[g] = sub(P0, scale(dir, plr_beam_length - 5));
    const int32_t best = nearest_hit(P0, station.gun_aim[g], 0, player_links, R);
    if (best >= 0) {
      station.gun_fire[g] = true;
      hit_effect(best, station.gun_aim[g], P0, ds_gun_force, ds_gun_heat, dt, blue);
    }
  }
}

}  // namespace

void collision_and_weapon_pass(double dt) {
  const double R = contact_range();
  hit_particle_timer -= dt;
  impact_test(dt, R);
  // The player's beam needs the player's ship record and its nose slot.
  if (!ships.empty() && ships[0].firing && valid_node(2)) {
    player_beam(dt, R);
    if (victory_test(R)) return;
  }
  enemy_beams(dt, R);
  if (ships.size() >= 2) station_guns(dt, R);
}

void reset_beam_state() {
  hit_particle_timer = 0.0;
  clear_near_links(beam_work);
}

}  // namespace vorn
