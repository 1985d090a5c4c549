// The beams: the player's nose gun, the enemies' nose guns and the station's
// ring of guns, each stopping at the nearest link it crosses; and victory
// when the player's beam reaches the station's core.
#pragma once

#include <vector>

#include "base/vec2.h"

namespace vorn {

extern double hit_particle_timer;  // rate limit of beam-hit sparks, shared by all beams

// Scratch of the beams, kept from substep to substep so that it allocates
// only when the world has grown.
struct beam_scratch {
  std::vector<vec2> offset;  // node_offsets from the player's nose
};
extern beam_scratch beam_work;

// The collision and weapon pass of one substep: the impact test, then the
// player's beam, the victory test, the enemy beams and the station guns.
void collision_and_weapon_pass(double dt);

// hit_particle_timer back to 0 and the scratch emptied (its capacity kept).
void reset_beam_state();

}  // namespace vorn
