// The per-frame procedure.
#include "app/game.h"

#include "app/hud.h"
#include "app/sound.h"
#include "app/window.h"
#include "config/tunables.h"
#include "gfx/world_draw.h"
#include "sim/control.h"
#include "sim/rules.h"
#include "sim/step.h"

namespace vorn {

void game_frame(double dt, double t) {
  if (!lock_screen()) return;
  show_cursor(1);
  frame_count += 1;
  const double passed = update_game_clock(t);
  if (dt > dt_max) dt = dt_max;
  draw_world(dt, t);
  if (paused) {
    hold_game_clock(passed);
  } else {
    control_step(dt);
    run_substeps(dt);
  }
  camera_step(dt);
  engine_trail();
  draw_hud();
  unlock_screen();
  present();
  sound_frame(dt);
}

}  // namespace vorn
