// The audio device: SDL's audio at 44.1 kHz, 16-bit stereo, pulling samples
// from a fill procedure on SDL's audio thread.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// Fills `frames` interleaved stereo frames; called on the audio thread, so it
// must neither allocate nor wait for the game.
using audio_fill = void (*)(int16_t* out, int32_t frames);

// Opens the device and starts it playing. False with a short reason when
// there is none, or only SDL's dummy driver (which plays into nothing).
bool open_audio(audio_fill fill, std::string& why);

// Stops and closes the device, if open; the fill procedure is not called
// after this returns.
void close_audio();

// True while the device is open.
bool audio_open();

}  // namespace vorn
