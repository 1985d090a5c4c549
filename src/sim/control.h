// The control laws: enemies steer towards the player and decide when to
// fire; the player's ship turns towards the pointer, thrusts and fires; the
// respawn rule. Also the held controls that the event handler sets.
#pragma once

#include <cstdint>

#include "world/vec2.h"

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

// Each substep, for an alive node of an enemy ship: adds the steering forces
// to F and may damp the node's velocity.
void enemy_node_forces(int32_t node, vec2& F);

// Each substep, before the node phase integrates: for every alive node of
// an enemy ship, its force sum `force` becomes what enemy_node_forces makes
// of it, and its velocity is damped as there; the same bits, computed ship
// by ship rather than node by node (the steering of one node reads nothing
// that the node phase changes in another).
void steer_enemy_nodes();

void reset_control_state();

}  // namespace vorn
