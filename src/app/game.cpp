// Start-up order and the per-frame procedure of the game.
#include "app/game.h"

#include <SDL.h>

#include <cstdio>
#include <exception>
#include <new>

#include "app/commands.h"
#include "app/frame_loop.h"
#include "app/window.h"
#include "config/tunables.h"

namespace vorn {

namespace {
constexpr const char* caption = "Vorn 110520";
}

void game_frame(double dt, double t) {
  (void)dt;
  (void)t;
  if (!lock_screen()) return;
  show_cursor(1);
  frame_count += 1;
  unlock_screen();
  present();
}

int run_game(int argc, char** argv) {
  (void)argc;
  (void)argv;
  try {
    if (!open_window(screenx, screeny, 32, false, caption, game_frame, game_event)) return 1;
    caption_stats = true;
    frame_cap = 60000;
    run_frame_loop();
    return exit_code;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "vorn: out of memory\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorn: error: %s\n", e.what());
  }
  return 1;
}

}  // namespace vorn
