// The browser build's entry points. The page starts a run with the same
// command-line arguments the desktop game takes; the browser then calls one
// pass of the frame loop per animation frame (or, for a fast replay, as
// often as it can), and the page hears when the run has ended.
#include <SDL.h>
#include <emscripten.h>

#include <string>
#include <vector>

#include "app/demo.h"
#include "app/run_modes.h"
#include "app/sound.h"
#include "app/state_hash.h"

namespace {

// A run's frames are going on.
bool running = false;

void end_of_run() {
  emscripten_cancel_main_loop();
  running = false;
  const int code = vorn::end_run();
  EM_ASM({ Module.vornRunEnded($0); }, code);
}

void pass() {
  if (!vorn::run_pass()) end_of_run();
}

}  // namespace

extern "C" {

// Starts a run with these arguments, one per line. The run's exit code when
// it ends before its first frame; -1 while its frames go on, paced by the
// display or, with `fast`, as fast as the page can.
EMSCRIPTEN_KEEPALIVE int vorn_start(const char* args, int fast) {
  if (running) return 2;
  // The options are copied out of these before begin_run returns.
  std::vector<std::string> run_args(1, "vorn");
  for (const char* line = args; *line != '\0';) {
    const char* end = line;
    while (*end != '\0' && *end != '\n') ++end;
    run_args.emplace_back(line, end);
    line = *end == '\n' ? end + 1 : end;
  }
  std::vector<char*> argv;
  for (std::string& a : run_args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int code = vorn::begin_run(static_cast<int>(run_args.size()), argv.data());
  if (code != vorn::run_continues) return code;
  running = true;
  emscripten_set_main_loop(pass, 0, 0);
  if (fast) emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
  return code;
}

// Ends the run as closing the desktop's window would.
EMSCRIPTEN_KEEPALIVE void vorn_stop() {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

// Browsers play sound only after the page's first click or key.
EMSCRIPTEN_KEEPALIVE void vorn_start_sound(int volume) {
  if (running && !vorn::sound.enabled) vorn::start_sound(volume);
}

// What the last run played, for the page: frames, the frame where a replay
// departed from its recording (-1: none) and the state's checksum now.
EMSCRIPTEN_KEEPALIVE double vorn_frames() { return static_cast<double>(vorn::last_run_report().frames); }
EMSCRIPTEN_KEEPALIVE double vorn_departed_at() { return static_cast<double>(vorn::last_run_report().departed_at); }
EMSCRIPTEN_KEEPALIVE const char* vorn_checksum() {
  static std::string hex;
  hex = vorn::checksum_hex(vorn::state_checksum());
  return hex.c_str();
}

}  // extern "C"

int main() { return 0; }
