// The beams: the player's nose gun, the enemies' nose guns and the station's
// ring of guns, each stopping at the nearest link it crosses; and victory
// when the player's beam reaches the station's core.
#pragma once

#include "sim/near_links.h"

namespace vorn {

extern double hit_particle_timer;  // rate limit of beam-hit sparks, shared by all beams

// Scratch of the beams: the links near the player's nose.
extern near_links beam_work;

// The collision and weapon pass of one substep: the impact test, then the
// player's beam, the victory test, the enemy beams and the station guns.
void collision_and_weapon_pass(double dt);

// hit_particle_timer back to 0 and the scratch emptied (its capacity kept).
void reset_beam_state();

}  // namespace vorn
