// The game's event handler: keys and mouse become the held controls and the
// pointer position, one-shot commands (pause, respawn, restart, drawing
// switches, screenshots) and the end of the program.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// The event handler handed to the window layer.
void game_event(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state);

}  // namespace vorn
