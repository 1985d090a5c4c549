// Display queries in a browser page: the page shows the screen at the size
// the game asks for and scales it itself, so there is no desktop to fit and
// no window to place.
#include "platform/display.h"

namespace vorn {

bool choose_video_driver() { return true; }

bool desktop_work_area(int32_t&, int32_t&, int32_t&, int32_t&) { return false; }

void place_next_window(int32_t, int32_t) {}

}  // namespace vorn
