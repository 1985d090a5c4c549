// The beams: the player's nose gun, the enemies' nose guns and the station's
// ring of guns, each stopping at the nearest link it crosses; and victory
// when the player's beam reaches the station's core.
#pragma once

namespace vorn {

extern double hit_particle_timer;  // rate limit of beam-hit sparks, shared by all beams

// The collision and weapon pass of one substep: the impact test, then the
// player's beam, the victory test, the enemy beams and the station guns.
void collision_and_weapon_pass(double dt);

void reset_beam_state();

}  // namespace vorn
