// Opening the first joystick, and the player's ship as the stick's origin.
#include "app/gamepad.h"

#include <SDL.h>

#include "base/view.h"
#include "world/geometry.h"
#include "world/world.h"

namespace vorn {

bool open_gamepad() {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0 || SDL_NumJoysticks() < 1) return false;
  // SDL closes it again when it shuts down.
  if (SDL_JoystickOpen(0) == nullptr) return false;
  SDL_JoystickEventState(SDL_ENABLE);
  return true;
}

ipoint_t aim_origin() {
  if (ships.empty()) return ipoint(screen_w / 2, screen_h / 2);
  return to_screen(ships[0].pos);
}

}  // namespace vorn
