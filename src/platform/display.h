// What the display can do, asked of SDL: the video driver, the desktop's
// work area, and where the next window opens.
#pragma once

#include <cstdint>

namespace vorn {

// Chooses SDL's video driver from the environment before SDL starts: one
// named in SDL_VIDEODRIVER stays; otherwise X11 when DISPLAY is set, so that a
// display that cannot be reached is a clear failure rather than SDL's
// fallback to drawing in the terminal. False when neither is set: there is
// no display to open a window on.
bool choose_video_driver();

// The part of the desktop a window may take, once SDL is initialised: under
// X11 the work area the desktop announces (the screen less its panels), else
// the whole desktop at (0, 0) as SDL tells it; false when neither can be
// told (a 0 x 0 answer counts as failure), and always under the dummy
// driver, which has no desktop.
bool desktop_work_area(int32_t& x, int32_t& y, int32_t& w, int32_t& h);

// Asks SDL to open the next window with its top-left corner at (x, y).
void place_next_window(int32_t x, int32_t y);

}  // namespace vorn
