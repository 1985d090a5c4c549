// The game's per-frame procedure.
#pragma once

namespace vorn {

// The per-frame procedure handed to the window layer: one frame of dt
// seconds at total time t, its steps in order: the screen locked (or no
// frame at all), the cursor, the frame counted, the game clock, dt clamped
// to dt_max, the world drawn, the controls and the physics (or, paused, the
// clock held), the camera, the engine trail, the HUD, the screen unlocked
// and shown, the sound.
void game_frame(double dt, double t);

}  // namespace vorn
