// When the game's window is destroyed from outside (xkill, xdotool
// windowkill) or the connection to the X display breaks, Xlib's handlers
// print an error and exit with status 1; the game may end its own way.
#pragma once

namespace vorn {

// Makes `proc` what runs when an X display connection of this process breaks
// or a request meets a window or drawable that is gone. It must not return;
// if it does, the program exits with status 1. Other X errors go on to the
// handler there was before. A video driver that installs its own handlers
// later still hands over to these (SDL 1.2 and SDL2 do).
void on_display_lost(void (*proc)());

}  // namespace vorn
