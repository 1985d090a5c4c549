// The heads-up display: the pause notice below the centre of the screen.
#include "app/hud.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/window.h"
#include "gfx/font.h"
#include "image/image.h"
#include "sim/session.h"
#include "sim/step.h"

namespace vorn {
namespace {

TEST(Hud, PausedSits140BelowTheCentre) {
  reset_session();
  load_font();
  screen_w = 800;
  screen_h = 600;
  std::vector<uint32_t> shown(800 * 600, 0), expected(800 * 600, 0);
  screen = typspr{};
  screen.width = 800;
  screen.height = 600;
  screen.pixels = expected.data();
  draw_hud();
  draw_title(&screen, 400, 440, "Paused", 0);
  paused = true;
  screen.pixels = shown.data();
  draw_hud();
  EXPECT_TRUE(shown == expected);
  screen = typspr{};
  reset_session();
  reset_font();
}

}  // namespace
}  // namespace vorn
