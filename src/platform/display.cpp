// Display queries through SDL 1.2, and under X11 the work area from Xlib.
#include "platform/display.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/x11_work_area.h"

namespace vorn {

bool choose_video_driver() {
  const auto is_set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  if (is_set("SDL_VIDEODRIVER")) return true;
  if (!is_set("DISPLAY")) return false;
  setenv("SDL_VIDEODRIVER", "x11", 1);
  return true;
}

bool desktop_work_area(int32_t& x, int32_t& y, int32_t& w, int32_t& h) {
  char driver[32] = {};
  if (SDL_VideoDriverName(driver, sizeof driver) == nullptr) return false;
  // The dummy driver has no desktop, whatever size it makes up (SDL2 under
  // sdl12-compat says 1024 x 768): a screen is never fitted to it.
  if (std::strcmp(driver, "dummy") == 0) return false;
  if (std::strcmp(driver, "x11") == 0) {
    if (const auto area = x11_work_area()) {
      x = area->x;
      y = area->y;
      w = area->width;
      h = area->height;
      return true;
    }
  }
  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  if (info == nullptr || info->current_w <= 0 || info->current_h <= 0) return false;
  x = y = 0;
  w = info->current_w;
  h = info->current_h;
  return true;
}

void place_next_window(int32_t x, int32_t y) {
  const std::string pos = std::to_string(x) + "," + std::to_string(y);
  setenv("SDL_VIDEO_WINDOW_POS", pos.c_str(), 1);
}

}  // namespace vorn
