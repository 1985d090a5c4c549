// What the display can do, asked of SDL: available modes, the desktop size,
// and where the next window opens.
#pragma once

#include <cstdint>

namespace vorn {

// True when SDL answers that any size is available or lists w x h exactly.
// Needs SDL's video subsystem to be initialised.
bool display_mode_available(int32_t w, int32_t h);

// The desktop size (width, height) once SDL is initialised; false when SDL
// cannot tell (a 0 x 0 answer, as under the dummy driver, counts as failure).
bool desktop_work_area(int32_t& w, int32_t& h);

// Asks SDL to open the next window with its top-left corner at (x, 0).
void place_next_window(int32_t x);

}  // namespace vorn
