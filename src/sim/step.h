// The physics of one frame: the frame time split into 1, 2, 4 or 8 equal
// substeps, each running its phases in a fixed order; the camera that
// follows the player; the engine trail.
#pragma once

#include <cstdint>

#include "base/vec2.h"

namespace vorn {

extern double restart_timer;  // counts down after the last impact
extern vec2 camera;           // follows minus the player's centre
extern bool paused;

// The number of equal substeps a frame of dt seconds is split into.
int32_t substep_count(double dt);

// Runs the substeps of one frame of dt seconds (dt already clamped to dt_max).
void run_substeps(double dt);

// One physics step of dt seconds, its phases in order: restart timer,
// collisions and beams, node forces and velocities, links, positions,
// orphans, particles, ships, the station switch.
void substep(double dt);

// Moves the camera towards the player (gliding while cam_glide is set) and
// sets the pixel shift cam_dx, cam_dy.
void camera_step(double dt);

// One to five sparks at the player's tail node while it is alive.
void engine_trail();

// restart_timer, camera and paused back to their program-start values; the
// link phase's scratch emptied (its capacity kept).
void reset_step_state();

}  // namespace vorn
