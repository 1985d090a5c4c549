// The game's start-up sequence and its per-frame procedure.
#pragma once

#include <cstdint>

namespace vorn {

// The per-frame procedure handed to the window layer: draws, controls,
// simulates and shows one frame of dt seconds at total time t.
void game_frame(double dt, double t);

// Start-up and the frame loop; returns the process exit code.
int run_game(int argc, char** argv);

}  // namespace vorn
