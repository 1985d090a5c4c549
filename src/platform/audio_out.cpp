// SDL 1.2 audio output. Without a sound device the ALSA library, which SDL
// loads, would print its own complaints before the game's one line: its
// error handler is set to a silent one first.
#include "platform/audio_out.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstring>

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

// libasound's handler type: void (const char* file, int line, const char*
// function, int err, const char* fmt, ...).
void alsa_says_nothing(const char*, int, const char*, int, const char*, ...) {}

// Silences libasound's messages for good: the library stays loaded (SDL
// loads the same one, by the same name), so the handler holds for SDL's
// calls too. Nothing happens where the library is not installed.
void silence_alsa() {
  static bool done = false;
  if (done) return;
  done = true;
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (alsa == nullptr) return;
  using handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using set_handler = int (*)(handler);
  if (void* set = dlsym(alsa, "snd_lib_error_set_handler")) {
    reinterpret_cast<set_handler>(set)(alsa_says_nothing);
  }
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
