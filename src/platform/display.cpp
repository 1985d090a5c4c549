// Display queries through SDL 1.2.
#include "platform/display.h"

#include <SDL.h>

#include <string>

namespace vorn {

bool display_mode_available(int32_t w, int32_t h) {
  SDL_Rect** modes = SDL_ListModes(nullptr, SDL_FULLSCREEN | SDL_HWSURFACE);
  if (modes == nullptr) return false;
  if (modes == reinterpret_cast<SDL_Rect**>(-1)) return true;
  for (int i = 0; modes[i] != nullptr; ++i) {
    if (modes[i]->w == w && modes[i]->h == h) return true;
  }
  return false;
}

bool desktop_work_area(int32_t& w, int32_t& h) {
  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  if (info == nullptr || info->current_w <= 0 || info->current_h <= 0) return false;
  w = info->current_w;
  h = info->current_h;
  return true;
}

void place_next_window(int32_t x) {
  const std::string pos = std::to_string(x) + ",0";
  setenv("SDL_VIDEO_WINDOW_POS", pos.c_str(), 1);
}

}  // namespace vorn
