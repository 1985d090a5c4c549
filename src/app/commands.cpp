// The key and mouse commands. Letters are recognised by their key symbol, so
// Shift and Caps Lock do not change them; the arrow keys up and down double
// for w and s.
#include "app/commands.h"

#include <cstdio>

#include "app/keys.h"
#include "app/sound.h"
#include "app/window.h"
#include "config/tunables.h"
#include "gfx/draw.h"
#include "image/bmp.h"
#include "image/image.h"
#include "sim/control.h"
#include "sim/rules.h"
#include "sim/step.h"
#include "world/ships.h"

namespace vorn {

bool screenshots_enabled = true;

namespace {

void toggle_pause() { paused = !paused; }

void enter_pressed() {
  // Game over is checked first: with both flags set, Enter restarts.
  if (game_over) {
    game_reset(true);
  } else if (victory) {
    request_exit(0);
  }
}

void key_down(int32_t key) {
  switch (key) {
    case key_return: enter_pressed(); break;
    case key_escape: request_exit(0); break;
    case key_space:
    case key_lctrl: toggle_pause(); break;
    case key_d: debug = !debug; break;
    case key_m: line_mode = 1 - line_mode; break;
    case key_n: toggle_sound_mute(); break;
    case key_p:
      if (screenshots_enabled) take_screenshot();
      break;
    case key_r: respawn(); break;
    case key_s:
    case key_arrow_down: keys_held.reverse = true; break;
    case key_w:
    case key_arrow_up: keys_held.forward = true; break;
    default: break;
  }
}

void key_up(int32_t key) {
  switch (key) {
    // Space pauses when pressed, yet releasing it stops the gun.
    case key_space: keys_held.fire = false; break;
    case key_s:
    case key_arrow_down: keys_held.reverse = false; break;
    case key_w:
    case key_arrow_up: keys_held.forward = false; break;
    default: break;
  }
}

}  // namespace

std::string screenshot_name(const local_time& t) {
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "%02d%02d%02d_%02d-%02d-%02d-%03d", t.year % 100, t.month,
                t.day, t.hour, t.minute, t.second, t.millisecond);
  return std::string("screenshot-") + stamp + ".bmp";
}

bool take_screenshot() {
  // save_bmp picks the free name, reports a failure itself and removes
  // what it had begun.
  return save_bmp(screenshot_name(local_time_now()), screen.pixels, screen_w, screen_h);
}

void game_event(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state) {
  switch (kind) {
    case ev_key_down: key_down(key); break;
    case ev_key_up: key_up(key); break;
    case ev_mouse_move:
      mouse_x = x;
      mouse_y = y;
      break;
    // Any press while button 1 is held (another button, a wheel step) fires;
    // releasing any button stops firing, even with button 1 still down.
    case ev_button_down:
      if (state & st_left) keys_held.fire = true;
      break;
    case ev_button_up: keys_held.fire = false; break;
    case ev_quit: request_exit(0); break;
    default: break;
  }
}

}  // namespace vorn
