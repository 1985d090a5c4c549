// The screen's size in pixels. The window layer sets it when it opens the
// window; geometry, drawing and the game rules read it, so none of them has
// to reach up to the window layer.
#pragma once

#include <cstdint>

namespace vorn {

extern int32_t screen_w;
extern int32_t screen_h;

}  // namespace vorn
