// The per-frame procedure: one call per step, in order.
#include "app/game.h"

#include "app/hud.h"
#include "app/sound.h"
#include "app/window.h"
#include "base/stop_request.h"
#include "config/tunables.h"
#include "gfx/world_draw.h"
#include "sim/control.h"
#include "sim/rules.h"
#include "sim/step.h"

namespace vorn {

namespace {

// One more frame towards this second's frames-per-second count.
void count_frame() { frame_count += 1; }

// A frame longer than dt_max is simulated as dt_max.
double clamped_frame_time(double dt) {
  if (dt > dt_max) dt = dt_max;
  return dt;
}

// Paused, the game clock stands still; otherwise the controls act and the
// physics runs its substeps.
void advance_game(double dt, double passed) {
  if (paused) {
    hold_game_clock(passed);
  } else {
    control_step(dt);
    run_substeps(dt);
  }
}

}  // namespace

void game_frame(double dt, double t) {
  if (!lock_screen()) return;
  show_cursor(1);
  count_frame();
  const double passed = update_game_clock(t);
  dt = clamped_frame_time(dt);
  draw_world(dt, t);
  advance_game(dt, passed);
  if (frame_abandoned()) {
    unlock_screen();
    return;
  }
  camera_step(dt);
  engine_trail();
  draw_hud();
  unlock_screen();
  present();
  sound_frame(dt);
}

}  // namespace vorn
