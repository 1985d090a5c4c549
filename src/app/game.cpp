// Start-up order, the command line and the per-frame procedure of the game.
#include "app/game.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>

#include "app/commands.h"
#include "app/frame_loop.h"
#include "app/options.h"
#include "app/window.h"
#include "config/load_config.h"
#include "config/print_config.h"
#include "config/tunables.h"

namespace vorn {

namespace {

constexpr const char* caption = "Vorn 110520";

// The run's command-line choices that the frame hooks read.
struct run_state {
  options opts;
  int64_t frames_done = 0;
};
run_state run;

bool another_frame() { return run.opts.frames < 0 || run.frames_done < run.opts.frames; }

void fixed_frame_times(double& dt, double& t) {
  dt = run.opts.fixed_dt;
  t = static_cast<double>(run.frames_done + 1) * run.opts.fixed_dt;
}

int64_t no_wait_read(int64_t, int64_t) { return timer_us(0); }
int64_t read_timer() { return timer_us(0); }
const frame_clock unlimited_clock{no_wait_read, read_timer};

int start_and_play() {
  if (run.opts.headless) setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (!open_window(screenx, screeny, 32, false, caption, game_frame, game_event)) return 1;
  caption_stats = true;
  frame_cap = 60000;
  frame_hooks hooks;
  hooks.another_frame = another_frame;
  if (run.opts.fixed_dt > 0) {
    hooks.clock = &unlimited_clock;
    hooks.frame_times = fixed_frame_times;
  }
  run_frame_loop(hooks);
  return exit_code;
}

}  // namespace

void game_frame(double dt, double t) {
  (void)dt;
  (void)t;
  run.frames_done += 1;
  if (!lock_screen()) return;
  show_cursor(1);
  frame_count += 1;
  unlock_screen();
  present();
}

int run_game(int argc, char** argv) {
  std::string error;
  if (!parse_options(argc, argv, run.opts, error)) {
    std::fprintf(stderr, "vorn: %s\n\n%s", error.c_str(), usage_text().c_str());
    return 2;
  }
  if (run.opts.help) {
    std::fputs(usage_text().c_str(), stdout);
    return 0;
  }
  if (run.opts.version) {
    std::fputs(version_text().c_str(), stdout);
    return 0;
  }
  try {
    const config_status config = load_config(run.opts.config_file);
    if (!config.ok) {
      std::fprintf(stderr, "vorn: %s\n", config.message.c_str());
      return 1;
    }
    if (run.opts.print_config) {
      std::fputs(format_config().c_str(), stdout);
      return 0;
    }
    return start_and_play();
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "vorn: out of memory\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorn: error: %s\n", e.what());
  }
  return 1;
}

}  // namespace vorn
