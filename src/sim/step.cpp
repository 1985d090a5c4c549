// The physics of one frame: the substep split, the phases of a substep in
// their fixed order (each walks its array by ascending index and updates in
// place, so later records see what happened to earlier ones), the camera and
// the engine trail.
#include "sim/step.h"

#include "base/color.h"
#include "base/rng.h"
#include "base/stop_request.h"
#include "config/tunables.h"
#include "sim/beams.h"
#include "sim/control.h"
#include "sim/link_phase.h"
#include "sim/lookup.h"
#include "world/geometry.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {

double restart_timer = 0.0;
vec2 camera;
bool paused = false;

namespace {

// Below this distance the camera stops gliding and snaps onto its target.
constexpr double camera_snap_distance = 5.0;
// The glide closes the gap exponentially at this rate per second.
constexpr double camera_glide_rate = 10.0;

void advance_restart_timer(double dt) { restart_timer -= dt; }

// Forces gathered so far (impacts, beams), the enemies' steering, the anchor
// spring of locked nodes, then velocities; the force sums start afresh.
void node_phase(double dt) {
  // Only a node of an enemy ship that exists gets the steering; a ship
  // index past the ship array (a node built outside the builders) is
  // treated as belonging to no ship. It goes into the force sums first.
  steer_enemy_nodes();
  for (noderec& n : nodes) {
    if (!n.alive) continue;
    vec2 F = n.force;
    // A station node that has lost links comes loose for good.
    if (n.nlinks <= 2) n.locked = false;
    if (n.locked) {
      // |F| = locked_repulse * dt * s^2: grows with the square of the
      // displacement from the anchor.
      const vec2 d = sub(n.pos, n.anchor);
      const double s = len(d);
      F = add(F, scale(d, -locked_repulse * dt * s));
    }
    n.vel = add(n.vel, scale(F, dt));
    if (n.locked) n.vel = sub(n.vel, scale(n.vel, dt));
    n.force = vec(0, 0);
  }
}

void position_phase(double dt) {
  for (noderec& n : nodes) {
    if (n.alive) n.pos = move_wrapped(n.pos, n.vel, dt);
  }
}

// A node that no intact link holds any more vanishes, even while its broken
// links are still burning out.
void orphan_phase() {
  for (noderec& n : nodes) {
    if (n.alive && n.nlinks == 0) n.alive = false;
  }
}

// Only the span of the pool that may hold alive particles is walked: after
// a burst has faded, the few sparks left sit in its lowest slots.
void particle_phase(double dt) {
  const size_t count = particle_span();
  for (size_t i = 0; i < count; ++i) {
    partrec& p = particles[i];
    if (!p.alive) continue;
    p.pos = move_wrapped(p.pos, p.vel, dt);
    p.life -= dt;
    if (p.life < 0) kill_particle(static_cast<int32_t>(i));
  }
  trim_particle_span();
}

// An enemy down to three nodes falls apart: every intact link of its nodes
// starts burning, node by node in list order. A node's nlinks counts the
// intact links touching it (kept so by every link operation), so a node
// whose count is 0 has none to break and its scan is skipped; a wrecked
// dart's nodes all stand at 0, and it comes here again every substep.
void break_up(const shprec& ship) {
  const int32_t count = link_count();
  for (const int32_t k : ship.nodes) {
    if (valid_node(k) && nodes[k].nlinks == 0) continue;
    for (int32_t j = 0; j < count; ++j) {
      const linkrec& l = links[j];
      if (link_intact(l) && (l.a == k || l.b == k)) burn_link(j);
    }
  }
}

// A ship's alive entries (entries naming no node count as dead) and the
// sum of their positions, each taken at its image nearest to the first
// alive one, so a ship straddling the seam gets a centre next to its nodes.
struct alive_entries {
  int32_t count = 0;
  vec2 sum;
};

// The count and the sum stay in locals: accumulated in the returned record,
// each addition would wait for the store of the one before.
alive_entries gather_alive(const shprec& ship) {
  int32_t count = 0;
  vec2 p0;
  vec2 sum;
  for (const int32_t k : ship.nodes) {
    if (!node_alive(k)) continue;
    const vec2 q = nodes[k].pos;
    if (count++ == 0) {
      p0 = q;
      sum = q;
    } else {
      sum = add(sum, sub(p0, wrap_diff(p0, q)));
    }
  }
  return alive_entries{count, sum};
}

// Every ship's alive count, then its break-up or its centre: the mean of
// the alive entries, not wrapped back into the world.
void ship_phase() {
  const int32_t count = static_cast<int32_t>(ships.size());
  for (int32_t k = 0; k < count; ++k) {
    shprec& ship = ships[k];
    const alive_entries alive = gather_alive(ship);
    ship.nalive = alive.count;
    if (k >= 2 && ship.nalive <= 3) {
      break_up(ship);
      if (give_up_frame()) return;
    } else if (ship.nalive > 0) {
      ship.pos = vec(alive.sum.x / ship.nalive, alive.sum.y / ship.nalive);
    }
  }
}

// Once no enemy ship has an alive node (or there are none), the station's
// guns wake up; only a game reset puts them back to sleep.
void station_activation() {
  if (ships.size() < 2) return;
  for (size_t k = 2; k < ships.size(); ++k) {
    if (ships[k].nalive != 0) return;
  }
  ships[1].firing = true;
}

}  // namespace

int32_t substep_count(double dt) {
  if (dt < dt_alpha) return 1;
  if (dt < dt_beta) return 2;
  if (dt < dt_gamma) return 4;
  return 8;
}

void run_substeps(double dt) {
  const int32_t n = substep_count(dt);
  const double h = dt / n;
  // A stop asked for meanwhile abandons the frame between two substeps.
  for (int32_t i = 0; i < n && !give_up_frame(); ++i) substep(h);
}

void substep(double dt) {
  advance_restart_timer(dt);
  collision_and_weapon_pass(dt);
  node_phase(dt);
  link_phase(dt);
  position_phase(dt);
  orphan_phase();
  particle_phase(dt);
  ship_phase();
  station_activation();
}

void camera_step(double dt) {
  // Without a player ship record there is nothing to follow: the camera
  // holds still.
  const vec2 target = ships.empty() ? camera : scale(ships[0].pos, -1.0);
  const vec2 d = sub(camera, target);
  if (len(d) >= camera_snap_distance && cam_glide) {
    camera = add(camera, scale(d, -camera_glide_rate * dt));
  } else {
    camera = target;
    cam_glide = false;
  }
  set_camera_shift(camera);
}

void engine_trail() {
  if (!node_alive(0)) return;
  const int32_t count = Random(5) + 1;
  for (int32_t i = 0; i < count; ++i) {
    const double r1 = random_real();
    const double r2 = random_real();
    // Read afresh each time: add_particle grows only the particle pool.
    const vec2 p = nodes[0].pos;
    add_particle(orange, p.x + (4 * r1 - 2), p.y + (4 * r2 - 2), 0, 0, 1.0);
  }
}

void reset_step_state() {
  reset_link_phase();
  restart_timer = 0.0;
  camera = vec(0, 0);
  paused = false;
}

}  // namespace vorn
