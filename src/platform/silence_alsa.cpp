// Silences libasound through its error-handler hook, found at run time so
// that the game neither links against ALSA nor needs it installed.
#include "platform/silence_alsa.h"

#include <dlfcn.h>

namespace vorn {

namespace {

// libasound's handler type: void (const char* file, int line, const char*
// function, int err, const char* fmt, ...).
void alsa_says_nothing(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

// The library stays loaded (SDL loads the same one, by the same name), so the
// handler holds for SDL's calls too.
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

}  // namespace vorn
