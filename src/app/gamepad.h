// The gamepad: the first one SDL finds is opened for the event pump, which
// turns its events into the mouse and key events they stand for.
#pragma once

#include "base/vec2.h"

namespace vorn {

// Opens the first joystick SDL finds, once the window is open. False when
// there is none (or SDL's joystick support cannot start); the game then
// plays with mouse and keyboard alone, as it always may.
bool open_gamepad();

// Where the aiming stick places the pointer from: the player's ship on the
// screen, or the screen's centre before there is one.
ipoint_t aim_origin();

}  // namespace vorn
