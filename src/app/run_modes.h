// The run modes and the start-up order they share: the command line picks
// one, and every frame it runs goes to game_frame.
#pragma once

#include <cstdint>

namespace vorn {

// Called before each frame's events are taken from the window's queue, with
// the frames played so far: a test puts its input there.
using input_proc = void (*)(int64_t frames_done);

// Start-up and the frame loop; returns the process exit code. Every call
// starts from the state of a fresh process and shuts the window down.
int run_game(int argc, char** argv, input_proc input = nullptr);

}  // namespace vorn
