// Key and mouse commands.
#include "app/commands.h"

#include <SDL.h>

#include "app/window.h"

namespace vorn {

void game_event(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state) {
  (void)x;
  (void)y;
  (void)state;
  if (kind == ev_quit) request_exit(0);
  if (kind == ev_key_down && key == SDLK_ESCAPE) request_exit(0);
}

}  // namespace vorn
