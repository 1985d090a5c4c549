// The game's per-frame procedure.
#pragma once

namespace vorn {

// The per-frame procedure handed to the window layer: draws, controls,
// simulates and shows one frame of dt seconds at total time t.
void game_frame(double dt, double t);

}  // namespace vorn
