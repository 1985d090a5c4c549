// The heads-up display.
#include "app/hud.h"

#include <string>

#include "app/numfmt.h"
#include "app/window.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "sim/rules.h"
#include "sim/step.h"
#include "world/ships.h"

namespace vorn {

namespace {

constexpr uint8_t font_slot = 0;

// 55 copies of the title in a grid of 5 columns and 11 rows around the
// centre, then the prompt below it.
void draw_end_message(const char* title, const char* prompt) {
  const int32_t w = screen_w, h = screen_h;
  for (int32_t i = -2; i <= 2; ++i) {
    for (int32_t j = -5; j <= 5; ++j) draw_title(&screen, w / 2 + i * (w / 8), h / 2 + 20 * j, title, font_slot);
  }
  draw_title(&screen, w / 2, h / 2 + 140, prompt, font_slot);
}

}  // namespace

void draw_hud() {
  // Reused from frame to frame: once their capacity has grown, building the
  // lines allocates nothing.
  static std::string lives_line, time_line;
  if (game_over) draw_end_message("Game Over", "Restart? (Enter)");
  if (victory) draw_end_message("Victory!", "Exit? (Enter)");
  fill_box(&screen, 0, 0, screen_w, 18, black);
  lives_line.assign("Lives ").append(int_to_str(lives));
  draw_text(&screen, 5, 5, lives_line, font_slot, white);
  time_line.assign("Elapsed time ").append(short_real(game_clock.current - game_clock.start));
  draw_text(&screen, 100, 5, time_line, font_slot, white);
  if (paused) draw_title(&screen, screen_w / 2, screen_h / 2 + 140, "Paused", font_slot);
}

}  // namespace vorn
