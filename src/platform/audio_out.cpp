// SDL 1.2 audio output. Without a sound device the ALSA library, which SDL
// loads, would print its own complaints before the game's one line: it is
// silenced first.
#include "platform/audio_out.h"

#include <SDL.h>

#include <cstring>

#include "platform/silence_alsa.h"

namespace vorn {

namespace {

struct audio_device_state {
  audio_fill fill = nullptr;
  bool open = false;
};
audio_device_state audio_device;

void callback(void*, Uint8* stream, int len) {
  if (audio_device.fill == nullptr) {
    std::memset(stream, 0, static_cast<size_t>(len));
    return;
  }
  audio_device.fill(reinterpret_cast<int16_t*>(stream), len / 4);
}

}  // namespace

bool open_audio(audio_fill fill, std::string& why) {
  if (audio_device.open) return true;
  silence_alsa();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
    why = SDL_GetError();
    if (why.empty()) why = "no audio driver";
    return false;
  }
  char name[64] = {0};
  if (SDL_AudioDriverName(name, sizeof name) != nullptr && std::strcmp(name, "dummy") == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    why = "only SDL's dummy audio driver";
    return false;
  }
  SDL_AudioSpec want;
  std::memset(&want, 0, sizeof want);
  want.freq = 44100;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = callback;
  audio_device.fill = fill;
  // A null obtained format makes SDL convert to whatever the device wants.
  if (SDL_OpenAudio(&want, nullptr) < 0) {
    why = SDL_GetError();
    audio_device.fill = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  audio_device.open = true;
  SDL_PauseAudio(0);
  return true;
}

void close_audio() {
  if (!audio_device.open) return;
  SDL_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  audio_device.open = false;
  audio_device.fill = nullptr;
}

bool audio_open() { return audio_device.open; }

}  // namespace vorn
