// The control laws: enemies steer towards the player and decide when to
// fire; the player's ship turns towards the pointer, thrusts and fires; the
// respawn rule. Also the held controls that the event handler sets.
#pragma once

#include <cstdint>
#include <vector>

#include "base/vec2.h"
#include "sim/separation.h"

namespace vorn {

struct held_controls {
  bool forward = false;
  bool reverse = false;
  bool fire = false;
};
extern held_controls keys_held;
extern int32_t mouse_x;
extern int32_t mouse_y;

// Once per frame with the whole frame time: enemy steering for every enemy
// ship, then the player's steering, thrust, firing and the respawn rule.
void control_step(double dt);

struct shprec;
struct noderec;

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
ship_steering steering_of(const shprec& ship);

// The first part of an enemy node's steering, in its order: the pull, the
// station's push, then the slowing inside the station. The separation from
// every other enemy ship follows, then the drag (minus the velocity).
void apply_steering(const ship_steering& s, noderec& n, vec2& F);

// Each substep, before the node phase integrates: for every alive node of
// an enemy ship, its force sum `force` gets the steering (apply_steering,
// the separation terms of the other enemy ships in ascending order, the
// drag) and its velocity is damped as there; computed ship by ship, with
// the worker threads on a large crowd, in the very bits of the plain
// node-by-node sum (the steering of one node reads nothing that the node
// phase changes in another).
void steer_enemy_nodes();

// What steer_enemy_nodes keeps from substep to substep, so that it
// allocates only when the world has grown. Row e is enemy ship e + 2; its
// steered nodes are group_node[group_start[e] .. group_start[e + 1]), in
// ascending node order, with their force sums in group_force.
struct steering_scratch {
  std::vector<size_t> group_start;
  std::vector<size_t> fill_at;
  std::vector<int32_t> group_node;
  std::vector<vec2> group_force;
  std::vector<ship_steering> ship_terms;
  std::vector<uint8_t> one_sum;  // every steered node of the row starts with the same bits
  std::vector<vec2> row;         // a row of terms against every enemy ship
  std::vector<vec2> row_back;
  separation_scratch crowd;
};
extern steering_scratch steering_work;

// The held controls and the pointer back to nothing held at 0, 0; the
// steering scratch emptied (its capacity kept).
void reset_control_state();

}  // namespace vorn
