// The run modes and the start-up order they share: the command line picks
// one, and every frame it runs goes to game_frame.
#pragma once

namespace vorn {

// Start-up and the frame loop; returns the process exit code.
int run_game(int argc, char** argv);

}  // namespace vorn
