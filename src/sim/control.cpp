// The control laws: proportional-derivative turning of the enemy darts and
// of the player's diamond by velocity kicks on chosen nodes, the player's
// thrust and fire flag, and the steering forces on every enemy node.
#include "sim/control.h"

#include <cmath>

#include "app/window.h"
#include "config/tunables.h"
#include "sim/rules.h"
#include "world/geometry.h"
#include "world/world.h"

namespace vorn {

held_controls keys_held;
int32_t mouse_x = 0;
int32_t mouse_y = 0;

namespace {

// Entries of an enemy's `nodes` list: front corners, rear corners, nose.
constexpr size_t front_left = 0;
constexpr size_t front_right = 1;
constexpr size_t rear_right = 2;
constexpr size_t rear_left = 3;
constexpr size_t enemy_nose = 4;

// The player's node slots.
constexpr int32_t player_tail = 0;
constexpr int32_t player_side_a = 1;
constexpr int32_t player_nose = 2;
constexpr int32_t player_side_b = 3;

bool node_alive(int32_t k) {
  return k >= 0 && static_cast<size_t>(k) < nodes.size() && nodes[k].alive;
}

// A difference of bearings brought into [-180, 180].
double angle_error(double a, double b) {
  double e = a - b;
  if (e > 180) e -= 360;
  if (e < -180) e += 360;
  return e;
}

// n turned by 90 degrees: the lateral axis of a ship whose long axis is n.
vec2 perpendicular(vec2 n) { return vec2{n.y, -n.x}; }

void kick(int32_t node, vec2 dir, double s) {
  noderec& n = nodes[node];
  n.vel = add(n.vel, scale(dir, s));
}

// F += dir * (strength / denominator). A denominator of exactly 0 comes only
// from two centres at the very same point (or a zero distance scale); the
// direction is then undefined and the term adds nothing instead of turning
// the forces into infinities and NaNs.
void push(vec2& F, vec2 dir, double strength, double denominator) {
  if (denominator == 0) return;
  F = add(F, scale(dir, strength / denominator));
}

bool enemy_nose_alive(const shprec& ship) {
  return ship.nodes.size() > enemy_nose && node_alive(ship.nodes[enemy_nose]);
}

void steer_enemy(shprec& ship, double dt) {
  // A dart without a working nose (or a list too short to have one) neither
  // turns nor fires.
  if (!enemy_nose_alive(ship)) {
    ship.firing = false;
    return;
  }
  const vec2 c0 = ships[0].pos;
  const noderec& nose = nodes[ship.nodes[enemy_nose]];
  const vec2 a = wrap_diff(ship.pos, c0);       // player to enemy
  const vec2 b = wrap_diff(ship.pos, nose.pos);  // nose to centre: backward axis
  const double e = angle_error(bearing(a), bearing(b));
  const vec2 p = perpendicular(norm(b));
  const int32_t fl = ship.nodes[front_left];
  const int32_t fr = ship.nodes[front_right];
  const int32_t rr = ship.nodes[rear_right];
  const int32_t rl = ship.nodes[rear_left];
  // Rear minus front lateral speed: how fast the dart is turning.
  const double w = ai_turn_d * (dot(nodes[rr].vel, p) - dot(nodes[fl].vel, p));
  const double P = std::fabs(e) * ai_turn_p / 180;
  // The kick direction runs from the player's centre to the dart's front
  // right corner. It needs nothing of the player but its centre, which keeps
  // its last value while the player has no alive node, so the same direction
  // serves whether or not the player's side nodes are alive: a dart keeps
  // turning onto a damaged or wrecked player exactly as onto a whole one.
  const vec2 q = norm(wrap_diff(nodes[fr].pos, c0));
  kick(rr, q, P * dt);
  kick(rl, q, P * dt);
  kick(fl, q, -P * dt);
  kick(fr, q, -P * dt);
  kick(rr, q, -w * dt);
  kick(rl, q, -w * dt);
  kick(fl, q, w * dt);
  kick(fr, q, w * dt);
  ship.firing = len2(a) < ai_firing_dist * ai_firing_dist && std::fabs(e) < ai_firing_ang;
}

void steer_player(double dt) {
  // Without a nose or a tail the ship can neither turn nor thrust.
  if (!node_alive(player_tail) || !node_alive(player_nose)) return;
  const ipoint_t centre = ipoint(screen_w / 2, screen_h / 2);
  const ipoint_t nose_px = to_screen(nodes[player_nose].pos);
  // In doubles: a pointer anywhere in the int32 range (a demo can hold any)
  // is exact there, where the int32 difference could overflow.
  const vec2 m = vec(double(mouse_x) - centre.x, double(mouse_y) - centre.y);
  const vec2 s = vec(double(nose_px.x) - centre.x, double(nose_px.y) - centre.y);
  // How far, seen from the screen centre, the pointer lies clockwise of the nose.
  const double e = angle_error(bearing(m), bearing(s));
  const vec2 p = perpendicular(norm(wrap_diff(nodes[player_tail].pos, nodes[player_nose].pos)));
  const double w = plr_turn_d * (dot(nodes[player_nose].vel, p) - dot(nodes[player_tail].vel, p));
  const double P = std::fabs(e) * plr_turn_p / 180;

  const vec2 c0 = ships[0].pos;
  // Either way q points from the node-3 side to the node-1 side.
  const vec2 q = node_alive(player_side_b) ? norm(wrap_diff(c0, nodes[player_side_b].pos))
                                           : norm(wrap_diff(nodes[player_side_a].pos, c0));
  const double sense = e > 0 ? 1.0 : -1.0;
  kick(player_nose, q, sense * P * dt);
  kick(player_tail, q, -sense * P * dt);
  kick(player_nose, q, -w * dt);
  kick(player_tail, q, w * dt);

  const vec2 t = norm(wrap_diff(nodes[player_tail].pos, nodes[player_nose].pos));
  if (keys_held.forward) kick(player_tail, t, -plr_thrust * dt);
  if (keys_held.reverse) kick(player_tail, t, plr_thrust * dt);
}

}  // namespace

void control_step(double dt) {
  for (size_t k = 2; k < ships.size(); ++k) steer_enemy(ships[k], dt);
  // The player's records (ship 0, nodes 0-3) exist from the first reset on.
  const bool have_player = !ships.empty() && nodes.size() >= 4;
  if (have_player) steer_player(dt);
  respawn_rule();
  if (!ships.empty()) ships[0].firing = keys_held.fire && node_alive(player_nose);
}

void enemy_node_forces(int32_t node, vec2& F) {
  noderec& n = nodes[node];
  const int32_t k = n.ship;
  if (k < 2 || static_cast<size_t>(k) >= ships.size()) return;
  const shprec& ship = ships[k];
  const vec2 ck = ship.pos;

  vec2 r = wrap_diff(ck, ships[0].pos);
  const double d2 = std::fmin(len2(r), ai_distance * ai_distance);
  if (d2 < ai_ram_distance * ai_ram_distance && enemy_nose_alive(ship)) {
    push(F, norm(r), ai_attract / 10, d2);  // too close: back off
  } else {
    push(F, norm(r), -ai_attract, ai_distance * ai_distance);  // constant pull
  }

  const shprec& station = ships[1];
  r = wrap_diff(ck, station.pos);
  const double e2 = len2(r);
  push(F, norm(r), ai_ds_repulse, e2);
  if (e2 < station.radius * station.radius) n.vel = scale(n.vel, 0.9);

  for (size_t m = 2; m < ships.size(); ++m) {
    if (m == static_cast<size_t>(k)) continue;
    r = wrap_diff(ck, ships[m].pos);
    push(F, norm(r), ai_repulse, len2(r) + eps);
  }
  F = sub(F, n.vel);  // drag
}

void reset_control_state() {
  keys_held = held_controls{};
  mouse_x = 0;
  mouse_y = 0;
}

}  // namespace vorn
