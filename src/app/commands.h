// The game's event handler: keys and mouse become the held controls and the
// pointer position, one-shot commands (pause, respawn, restart, drawing
// switches, screenshots) and the end of the program.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace vorn {

// The event handler handed to the window layer.
void game_event(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state);

// "screenshot-yymmdd_hh-nn-ss-zzz.bmp" for the given local time, every field
// zero-padded (two-digit year, milliseconds in three digits).
std::string screenshot_name(const local_time& t);

// Whether the screenshot key takes one (a replay takes none unless asked).
extern bool screenshots_enabled;

// Writes the screen as it stands into the working directory under the name
// for the current local time, never over another file: a second screenshot
// within the same millisecond is "...-zzz-1.bmp", then "-2" and so on. A
// file that cannot be written is reported on standard error with its reason
// and leaves nothing behind; the game goes on. True when written.
bool take_screenshot();

}  // namespace vorn
