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

// The same run in steps, for a host that owns the loop (the browser page
// calls a pass per animation frame): begin_run, then run_pass until it
// returns false, then end_run. run_game is these calls and close_window.
constexpr int run_continues = -1;
// run_continues when the frames may start; otherwise the run is over and
// this is its exit code.
int begin_run(int argc, char** argv, input_proc input = nullptr);
// One pass of the frame loop; false once the loop has ended.
bool run_pass();
// The end of the run; its exit code.
int end_run();

// What the last run played: its frames, and for a replay the frame whose
// checksum first departed from the recording (-1: none did).
struct run_report {
  int64_t frames = 0;
  int64_t departed_at = -1;
};
run_report last_run_report();

}  // namespace vorn
