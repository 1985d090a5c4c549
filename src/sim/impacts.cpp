// Link-to-link impacts: one randomly drawn player link per substep, tested
// for crossing against every intact link of the other ships within range.
// An impact reverses the approach along the normal, heats both links, sprays
// sparks, restarts the respawn delay and makes the camera glide.
#include "sim/impacts.h"

#include "base/color.h"
#include "base/rng.h"
#include "base/view.h"
#include "config/tunables.h"
#include "sim/lookup.h"
#include "sim/step.h"
#include "world/geometry.h"
#include "world/happenings.h"
#include "world/room.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {

near_links impact_work;

namespace {

// The sparks of one impact at X, flying out at up to 50 units per second per
// axis around the relative velocity. Draws: x speed, y speed, colour.
void impact_spray(vec2 X, vec2 rel) {
  check_particle_room(impact_particles);
  for (int32_t k = 0; k < impact_particles; ++k) {
    const double vx = Random(100) + rel.x - 50;
    const double vy = Random(100) + rel.y - 50;
    const double r = random_real();
    add_particle(blend(orange, red, static_cast<float>(r)), X.x, X.y, vx, vy, 1.0);
  }
}

// Player link p has crossed link i at X; M is the midpoint of link i's image
// near the player link. The force c / dt on each end, applied for one
// substep by the node phase, is a speed change of c along n: each end of p
// gains c, each end of i loses c, so their approach along n is reversed.
void impact(int32_t p, int32_t i, vec2 X, vec2 M, double dt) {
  const vec2 n = norm(wrap_diff(ships[0].pos, M));
  const vec2 vp = mid(nodes[links[p].a].vel, nodes[links[p].b].vel);
  const vec2 vi = mid(nodes[links[i].a].vel, nodes[links[i].b].vel);
  const vec2 rel = sub(vi, vp);
  const double s = len(rel);
  const vec2 u = norm(rel);
  const double c = dot(u, n) * s;
  heat_link(p, n, c / dt, impact_reaction);
  heat_link(i, n, -c / dt, impact_reaction);
  impact_spray(X, rel);
  note_impact(X, impact_reaction);
  restart_timer = def_restart_dt;
  cam_glide = true;
}

}  // namespace

double contact_range() { return static_cast<double>(imin(screen_w, screen_h) / 2); }

void impact_test(double dt, double range) {
  if (player_links <= 0) return;
  const int32_t p = Random(player_links);
  // A stale player_links larger than the link array (a world emptied
  // without a new player) names no link: nothing to test. Without a player
  // ship record there is no centre for the normal either.
  if (p >= link_count() || ships.empty()) return;
  if (!link_intact(links[p])) return;
  const vec2 P0 = nodes[links[p].a].pos;
  const vec2 Bp = nodes[links[p].b].pos;
  const double R2 = range * range;
  const vec2 dp = wrap_diff(P0, Bp);
  // Impacts push and heat but neither move a node nor break a link.
  near_links& near = impact_work;
  find_near_links(P0, R2, player_links, link_count(), near);
  for (int32_t j = 0; j < near.count; ++j) {
    const int32_t i = near.found[j];
    const vec2 d1 = near.offset[links[i].a];
    const vec2 d2 = near.offset[links[i].b];
    // Images of both links next to P0, so links across the seam meet.
    const vec2 Q = sub(P0, dp);
    const vec2 A = sub(P0, d1);
    const vec2 B = sub(P0, d2);
    vec2 X;
    if (seg_cross(P0, Q, A, B, X)) impact(p, i, X, mid(A, B), dt);
  }
}

void reset_impact_state() { clear_near_links(impact_work); }

}  // namespace vorn
