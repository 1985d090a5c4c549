// The ALSA library's own messages turned off: without a sound device it
// would print several lines of its own before the game's one line on sound.
#pragma once

namespace vorn {

// Sets libasound's error handler to a silent one, once. Does nothing where
// the library is not installed (or in a browser page, which has none).
void silence_alsa();

}  // namespace vorn
