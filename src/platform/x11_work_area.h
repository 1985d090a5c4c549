// The part of an X11 desktop that windows may use: the screen less the
// panels, as the desktop announces it on the root window.
#pragma once

#include <cstdint>
#include <optional>

namespace vorn {

struct work_area {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The root window's _NET_WORKAREA for the current desktop on the display
// named by DISPLAY; none when there is no display, no such property, or
// only an empty area in it.
std::optional<work_area> x11_work_area();

}  // namespace vorn
