// The control laws: proportional-derivative turning of the enemy darts and
// of the player's diamond by velocity kicks on chosen nodes, the player's
// thrust and fire flag, and the steering forces on every enemy node.
#include "sim/control.h"

#include <cmath>
#include <vector>

#include "base/double_bits.h"
#include "base/stop_request.h"
#include "base/view.h"
#include "config/tunables.h"
#include "sim/lookup.h"
#include "sim/rules.h"
#include "sim/separation.h"
#include "world/geometry.h"
#include "world/world.h"

namespace vorn {

held_controls keys_held;
steering_scratch steering_work;
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

// The force dir * (strength / denominator), or none (false). A denominator
// of exactly 0 comes only from two centres at the very same point (or a zero
// distance scale); the direction is then undefined and the term adds
// nothing instead of turning the forces into infinities and NaNs.
bool push_term(vec2 dir, double strength, double denominator, vec2& term) {
  if (denominator == 0) return false;
  term = scale(dir, strength / denominator);
  return true;
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

// A node that the node phase steers as part of an enemy ship.
bool steered(const noderec& n) {
  return n.alive && n.ship >= 2 && static_cast<size_t>(n.ship) < ships.size();
}

bool same_bits(vec2 a, vec2 b) {
  return double_bits(a.x) == double_bits(b.x) && double_bits(a.y) == double_bits(b.y);
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

ship_steering steering_of(const shprec& ship) {
  ship_steering s;
  const vec2 ck = ship.pos;
  vec2 r = wrap_diff(ck, ships[0].pos);
  const double d2 = std::fmin(len2(r), ai_distance * ai_distance);
  if (d2 < ai_ram_distance * ai_ram_distance && enemy_nose_alive(ship)) {
    s.has_pull = push_term(norm(r), ai_attract / 10, d2, s.pull);  // too close: back off
  } else {
    s.has_pull = push_term(norm(r), -ai_attract, ai_distance * ai_distance, s.pull);  // constant pull
  }
  const shprec& station = ships[1];
  r = wrap_diff(ck, station.pos);
  const double e2 = len2(r);
  s.has_repulse = push_term(norm(r), ai_ds_repulse, e2, s.repulse);
  s.damp = e2 < station.radius * station.radius;
  return s;
}

void apply_steering(const ship_steering& s, noderec& n, vec2& F) {
  if (s.has_pull) F = add(F, s.pull);
  if (s.has_repulse) F = add(F, s.repulse);
  if (s.damp) n.vel = scale(n.vel, 0.9);
}

void steer_enemy_nodes() {
  const size_t ship_count = ships.size();
  if (ship_count <= 2) return;
  const size_t E = ship_count - 2;  // enemy ships, row e is ship e + 2
  steering_scratch& w = steering_work;

  // The alive nodes of each enemy ship, in ascending node order (a counting
  // sort by ship), with their force sums so far.
  w.group_start.assign(E + 1, 0);
  const int32_t node_count = static_cast<int32_t>(nodes.size());
  for (int32_t i = 0; i < node_count; ++i) {
    if (steered(nodes[i])) w.group_start[nodes[i].ship - 1] += 1;
  }
  for (size_t e = 0; e < E; ++e) w.group_start[e + 1] += w.group_start[e];
  w.group_node.resize(w.group_start[E]);
  w.group_force.resize(w.group_start[E]);
  w.fill_at.assign(w.group_start.begin(), w.group_start.end() - 1);
  w.ship_terms.resize(E);
  for (size_t e = 0; e < E; ++e) {
    if (w.group_start[e] != w.group_start[e + 1]) w.ship_terms[e] = steering_of(ships[e + 2]);
  }
  for (int32_t i = 0; i < node_count; ++i) {
    noderec& n = nodes[i];
    if (!steered(n)) continue;
    const size_t g = w.fill_at[n.ship - 2]++;
    w.group_node[g] = i;
    vec2 F = n.force;
    apply_steering(w.ship_terms[n.ship - 2], n, F);
    w.group_force[g] = F;
  }

  // The separation (sim/separation.cpp): one sum per ship, for the usual
  // ship whose nodes all start with the same bits (no impact or beam this
  // substep); the nodes of any other ship sum a row of their own.
  separation_scratch& c = w.crowd;
  c.centre_x.resize(E);
  c.centre_y.resize(E);
  c.sums.resize(E);
  w.one_sum.resize(E);
  for (size_t e = 0; e < E; ++e) {
    c.centre_x[e] = ships[e + 2].pos.x;
    c.centre_y[e] = ships[e + 2].pos.y;
    const size_t g0 = w.group_start[e], g1 = w.group_start[e + 1];
    bool same = true;
    for (size_t g = g0 + 1; g < g1 && same; ++g) same = same_bits(w.group_force[g], w.group_force[g0]);
    w.one_sum[e] = same;
    c.sums[e] = g0 < g1 ? w.group_force[g0] : vec2{};
  }
  add_separation(c, ai_repulse);
  for (size_t e = 0; e < E; ++e) {
    if (w.one_sum[e]) continue;
    if (give_up_frame()) return;  // a stop asked for abandons the frame
    w.row.resize(E);
    w.row_back.resize(E);
    separation_row(vec2{c.centre_x[e], c.centre_y[e]}, c.centre_x.data(), c.centre_y.data(), E, ai_repulse,
                   w.row.data(), w.row_back.data());
    vec2* F = w.group_force.data() + w.group_start[e];
    const size_t n = w.group_start[e + 1] - w.group_start[e];
    add_terms(F, n, w.row.data(), e);
    add_terms(F, n, w.row.data() + e + 1, E - e - 1);
  }

  for (size_t e = 0; e < E; ++e) {
    for (size_t g = w.group_start[e]; g < w.group_start[e + 1]; ++g) {
      noderec& n = nodes[w.group_node[g]];
      n.force = sub(w.one_sum[e] ? c.sums[e] : w.group_force[g], n.vel);  // drag
    }
  }
}

void reset_control_state() {
  steering_scratch& w = steering_work;
  w.group_start.clear();
  w.fill_at.clear();
  w.group_node.clear();
  w.group_force.clear();
  w.ship_terms.clear();
  w.one_sum.clear();
  w.row.clear();
  w.row_back.clear();
  w.crowd.centre_x.clear();
  w.crowd.centre_y.clear();
  w.crowd.sums.clear();
  keys_held = held_controls{};
  mouse_x = 0;
  mouse_y = 0;
}

}  // namespace vorn
