// The control laws: proportional-derivative turning of the enemy darts and
// of the player's diamond by velocity kicks on chosen nodes, the player's
// thrust and fire flag, and the steering forces on every enemy node.
#include "sim/control.h"

#include <cmath>
#include <vector>

#include "app/window.h"
#include "config/tunables.h"
#include "sim/rules.h"
#include "sim/separation.h"
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

// The steering terms shared by all nodes of one enemy ship: the pull
// towards the player (or the back-off when too close), the push away from
// the station's centre, and whether the ship is inside the station, where
// its nodes are slowed.
struct ship_steering {
  bool has_pull = false;
  vec2 pull;
  bool has_repulse = false;
  vec2 repulse;
  bool damp = false;
};

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

// The first part of an enemy node's steering, in its order: the pull, the
// station's push, then the slowing inside the station.
void apply_steering(const ship_steering& s, noderec& n, vec2& F) {
  if (s.has_pull) F = add(F, s.pull);
  if (s.has_repulse) F = add(F, s.repulse);
  if (s.damp) n.vel = scale(n.vel, 0.9);
}

// A node that the node phase steers as part of an enemy ship.
bool steered(const noderec& n) {
  return n.alive && n.ship >= 2 && static_cast<size_t>(n.ship) < ships.size();
}

// Scratch of steer_enemy_nodes, kept from substep to substep so that it
// allocates only when the world has grown.
std::vector<size_t> group_start;
std::vector<size_t> fill_at;
std::vector<int32_t> group_node;
std::vector<vec2> group_force;
std::vector<ship_steering> ship_terms;
std::vector<double> centre_x;
std::vector<double> centre_y;
// An enemy row with nodes to steer and where their sums lie in group_force.
struct steered_ship {
  uint32_t row;
  uint32_t first;
  uint32_t count;
};
std::vector<steered_ship> steered_ships;  // ascending rows

// Adds t to the sums of a steered ship's nodes; a whole dart has five, and
// that case runs without a loop. In the innermost loop of the separation.
[[gnu::always_inline]] inline void add_to_ship(const steered_ship& s, vec2 t) {
  vec2* F = group_force.data() + s.first;
  if (s.count == 5) {
    F[0] = add(F[0], t);
    F[1] = add(F[1], t);
    F[2] = add(F[2], t);
    F[3] = add(F[3], t);
    F[4] = add(F[4], t);
    return;
  }
  for (uint32_t g = 0; g < s.count; ++g) F[g] = add(F[g], t);
}
std::vector<vec2> later_terms;
std::vector<vec2> reversed_terms;

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
  const ship_steering s = steering_of(ships[k]);
  apply_steering(s, n, F);
  const vec2 ck = ships[k].pos;
  for (size_t m = 2; m < ships.size(); ++m) {
    if (m != static_cast<size_t>(k)) F = add(F, separation_term(ck, ships[m].pos, ai_repulse));
  }
  F = sub(F, n.vel);  // drag
}

void steer_enemy_nodes() {
  const size_t ship_count = ships.size();
  if (ship_count <= 2) return;
  const size_t E = ship_count - 2;  // enemy ships, row e is ship e + 2

  // The alive nodes of each enemy ship, in ascending node order (a counting
  // sort by ship), with their force sums so far.
  group_start.assign(E + 1, 0);
  const int32_t node_count = static_cast<int32_t>(nodes.size());
  for (int32_t i = 0; i < node_count; ++i) {
    if (steered(nodes[i])) group_start[nodes[i].ship - 1] += 1;
  }
  for (size_t e = 0; e < E; ++e) group_start[e + 1] += group_start[e];
  group_node.resize(group_start[E]);
  group_force.resize(group_start[E]);
  fill_at.assign(group_start.begin(), group_start.end() - 1);
  ship_terms.resize(E);
  for (size_t e = 0; e < E; ++e) {
    if (group_start[e] != group_start[e + 1]) ship_terms[e] = steering_of(ships[e + 2]);
  }
  for (int32_t i = 0; i < node_count; ++i) {
    noderec& n = nodes[i];
    if (!steered(n)) continue;
    const size_t g = fill_at[n.ship - 2]++;
    group_node[g] = i;
    vec2 F = n.force;
    apply_steering(ship_terms[n.ship - 2], n, F);
    group_force[g] = F;
  }

  // The separation: every node of ship k adds the term of every other enemy
  // ship m, m ascending. The terms depend on the two ships alone, so each
  // ship's row of them is computed once and summed into all its nodes, and
  // the term of a pair one way round gives the other (reversed_term). Row e
  // computes the terms of ship e from the ships after it; by then ship e's
  // sums hold the terms of the ships before it, added by their rows in
  // order, and row e adds its reversed terms to the later ships' sums in
  // the same way. Only the pairs with a ship to steer are computed.
  centre_x.resize(E);
  centre_y.resize(E);
  steered_ships.clear();
  for (size_t e = 0; e < E; ++e) {
    centre_x[e] = ships[e + 2].pos.x;
    centre_y[e] = ships[e + 2].pos.y;
    if (group_start[e] != group_start[e + 1]) {
      steered_ships.push_back({static_cast<uint32_t>(e), static_cast<uint32_t>(group_start[e]),
                               static_cast<uint32_t>(group_start[e + 1] - group_start[e])});
    }
  }
  later_terms.resize(E - 1);
  reversed_terms.resize(E - 1);
  size_t next = 0;  // steered_ships[next] is the first steered ship after e
  for (size_t e = 0; e < E; ++e) {
    if (next < steered_ships.size() && steered_ships[next].row == e) ++next;
    const vec2 ce = ships[e + 2].pos;
    const size_t g0 = group_start[e], g1 = group_start[e + 1];
    if (g0 == g1) {
      for (size_t i = next; i < steered_ships.size(); ++i) {
        const steered_ship& f = steered_ships[i];
        add_to_ship(f, separation_term(ships[f.row + 2].pos, ce, ai_repulse));
      }
      continue;
    }
    const size_t later = E - e - 1;
    separation_row(ce, centre_x.data() + e + 1, centre_y.data() + e + 1, later, ai_repulse, later_terms.data(),
                   reversed_terms.data());
    add_terms(group_force.data() + g0, g1 - g0, later_terms.data(), later);
    for (size_t i = next; i < steered_ships.size(); ++i) {
      const steered_ship& f = steered_ships[i];
      add_to_ship(f, reversed_terms[f.row - e - 1]);
    }
  }

  for (size_t g = 0; g < group_node.size(); ++g) {
    noderec& n = nodes[group_node[g]];
    n.force = sub(group_force[g], n.vel);  // drag
  }
}

void reset_control_state() {
  keys_held = held_controls{};
  mouse_x = 0;
  mouse_y = 0;
}

}  // namespace vorn
