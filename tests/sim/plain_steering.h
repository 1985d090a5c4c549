// The plain form of an enemy node's steering, node by node and pair by pair,
// as the reference that the ship-by-ship, threaded steering must match.
#pragma once

#include "config/tunables.h"
#include "sim/control.h"
#include "sim/separation.h"
#include "world/world.h"

namespace vorn {

// For an alive node of an enemy ship: adds the steering forces to F and may
// damp the node's velocity.
inline void enemy_node_forces(int32_t node, vec2& F) {
  noderec& n = nodes[node];
  const int32_t k = n.ship;
  if (k < 2 || static_cast<size_t>(k) >= ships.size()) return;
  apply_steering(steering_of(ships[k]), n, F);
  const vec2 ck = ships[k].pos;
  for (size_t m = 2; m < ships.size(); ++m) {
    if (m != static_cast<size_t>(k)) F = add(F, separation_term(ck, ships[m].pos, ai_repulse));
  }
  F = sub(F, n.vel);  // drag
}

}  // namespace vorn
