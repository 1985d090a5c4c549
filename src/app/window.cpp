// The SDL 1.2 window, its surface as `screen`, and the event pump.
#include "app/window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/keys.h"
#include "app/pixel_layout.h"
#include "app/scaling.h"
#include "image/image.h"
#include "platform/display.h"

namespace vorn {

int32_t screen_bpp = 8;
int32_t screen_bytes = 1;
std::string caption_base;
frame_proc on_frame = nullptr;
event_proc on_event = nullptr;
bool quit_requested = false;
int32_t frame_count = 0;
int32_t fps = 0;
int32_t frame_cap = 60;
bool caption_stats = false;
int32_t window_scale = 1;

bool held_keys[key_symbol_count] = {};
bool left_down = false;
bool middle_down = false;
bool right_down = false;
int32_t pointer_x = 0;
int32_t pointer_y = 0;

bool exit_requested = false;
int32_t exit_code = 0;

namespace {

SDL_Surface* surface = nullptr;
bool quit_registered = false;
// Where the surface keeps each channel.
pixel_layout surface_layout;
// The screen's own pixels while the window is scaled, or while the surface
// keeps its channels elsewhere than the game does; present() copies them
// into the surface in blocks and in its layout.
std::vector<uint32_t> scaled_screen;

#if !defined(__EMSCRIPTEN__)
// The game's key symbols are the desktop SDL's own.
static_assert(key_arrow_up == SDLK_UP && key_arrow_down == SDLK_DOWN && key_return == SDLK_RETURN &&
              key_escape == SDLK_ESCAPE && key_space == SDLK_SPACE && key_w == SDLK_w && key_lctrl == SDLK_LCTRL &&
              key_rctrl == SDLK_RCTRL && key_lshift == SDLK_LSHIFT && key_rshift == SDLK_RSHIFT &&
              key_lalt == SDLK_LALT && key_ralt == SDLK_RALT);
#endif

// The game's key symbol for an SDL key event's.
int32_t key_symbol(const SDL_keysym& k) {
#if defined(__EMSCRIPTEN__)
  return key_from_browser(k.sym);
#else
  return k.sym & 0xFFFF;
#endif
}

bool own_pixels() { return window_scale > 1 || !surface_layout.native; }

// The built-in 256-colour palette handed to SDL; with a 32-bit surface it has
// no visible effect. A grey ramp.
SDL_Color palette[256];

void fill_palette() {
  for (int i = 0; i < 256; ++i) {
    palette[i].r = palette[i].g = palette[i].b = static_cast<Uint8>(i);
    palette[i].unused = 0;
  }
}

bool needs_lock() { return surface != nullptr && SDL_MUSTLOCK(surface); }

void send(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state) {
  if (on_event) on_event(kind, x, y, key, state);
}

void set_key(int32_t sym, bool down) {
  if (sym >= 0 && sym < key_symbol_count) held_keys[sym] = down;
}

void set_button(int button, bool down) {
  if (button == SDL_BUTTON_LEFT) left_down = down;
  if (button == SDL_BUTTON_MIDDLE) middle_down = down;
  if (button == SDL_BUTTON_RIGHT) right_down = down;
}

bool is_click_button(int button) { return button >= SDL_BUTTON_LEFT && button <= SDL_BUTTON_RIGHT; }

void handle_event(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN: {
      const int32_t sym = key_symbol(e.key.keysym);
      set_key(sym, true);
      send(ev_key_down, 0, 0, sym, current_state());
      break;
    }
    case SDL_KEYUP: {
      const int32_t sym = key_symbol(e.key.keysym);
      set_key(sym, false);
      send(ev_key_up, 0, 0, sym, current_state());
      break;
    }
    case SDL_MOUSEMOTION: {
      const uint16_t state = current_state();
      pointer_x = e.motion.x / window_scale;
      pointer_y = e.motion.y / window_scale;
      send(ev_mouse_move, pointer_x, pointer_y, 0, state);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      set_button(e.button.button, true);
      // Wheel steps (buttons 4 and 5) are sent when they are released.
      if (is_click_button(e.button.button)) {
        send(ev_button_down, e.button.x / window_scale, e.button.y / window_scale, 0, current_state());
      }
      break;
    case SDL_MOUSEBUTTONUP: {
      const uint16_t before = current_state();
      set_button(e.button.button, false);
      if (e.button.button == SDL_BUTTON_WHEELUP) send(ev_button_down, pointer_x, pointer_y, 0, before | st_wheel_up);
      if (e.button.button == SDL_BUTTON_WHEELDOWN) send(ev_button_down, pointer_x, pointer_y, 0, before | st_wheel_down);
      if (is_click_button(e.button.button)) {
        send(ev_button_up, e.button.x / window_scale, e.button.y / window_scale, 0, current_state());
      }
      break;
    }
    case SDL_QUIT:
      send(ev_quit, 0, 0, 0, 0);
      quit_requested = true;
      break;
    default:
      break;
  }
}

// The screen image is the surface itself when it can be, its own pixels otherwise.
void set_screen_pixels() {
  screen.pixels = own_pixels() ? scaled_screen.data() : static_cast<uint32_t*>(surface->pixels);
}

void fail(const char* what) {
  std::fprintf(stderr, "vorn: %s: %s\n", what, SDL_GetError());
}

}  // namespace

void request_exit(int32_t code) {
  exit_requested = true;
  exit_code = code;
  quit_requested = true;
}

void reset_window_state() {
  screen_w = screen_h = 0;
  screen_bpp = 8;
  screen_bytes = 1;
  caption_base.clear();
  on_frame = nullptr;
  on_event = nullptr;
  quit_requested = false;
  frame_count = fps = 0;
  frame_cap = 60;
  caption_stats = false;
  window_scale = 1;
  std::memset(held_keys, 0, sizeof held_keys);
  left_down = middle_down = right_down = false;
  pointer_x = pointer_y = 0;
  exit_requested = false;
  exit_code = 0;
}

uint16_t current_state() {
  uint16_t s = 0;
  if (held_keys[key_rshift] || held_keys[key_lshift]) s |= st_shift;
  if (held_keys[key_ralt] || held_keys[key_lalt]) s |= st_alt;
  if (held_keys[key_rctrl] || held_keys[key_lctrl]) s |= st_ctrl;
  if (left_down) s |= st_left;
  if (right_down) s |= st_right;
  if (middle_down) s |= st_middle;
  return s;
}

void fit_window_size(int32_t& w, int32_t& h, bool have_area, int32_t area_w, int32_t area_h) {
  if (!have_area) return;
  const int32_t max_w = (area_w - 50) / 4 * 4;
  const int32_t max_h = (area_h - 50) / 4 * 4;
  if (max_w < w) w = max_w;
  if (max_h < h) h = max_h;
}

bool open_window(int32_t width, int32_t height, int32_t bpp, bool fullscreen,
                 const std::string& caption, frame_proc frame, event_proc event, int32_t scale) {
  screen_w = width;
  screen_h = height;
  screen_bpp = bpp;
  screen_bytes = bpp / 8;
  caption_base = caption;
  on_frame = frame;
  on_event = event;
  quit_requested = false;
  frame_count = 0;
  fps = 0;

  if (!quit_registered) {
    std::atexit(SDL_Quit);
    quit_registered = true;
  }
  // SDL must be running before it can tell the display modes and the desktop
  // size; both only shape the size and flags asked of SDL_SetVideoMode.
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const char* display = std::getenv("DISPLAY");
    if (driver != nullptr && std::strcmp(driver, "x11") == 0 && display != nullptr) {
      std::fprintf(stderr, "vorn: cannot open the X display %s (%s); --headless runs without one\n", display,
                   SDL_GetError());
      return false;
    }
    fail("cannot start SDL video");
    return false;
  }
  if (fullscreen && !display_mode_available(screen_w, screen_h)) fullscreen = false;
  int32_t area_x = 0, area_y = 0, area_w = 0, area_h = 0;
  const bool have_area = desktop_work_area(area_x, area_y, area_w, area_h);
  window_scale = fullscreen ? 1 : std::clamp(scale, 1, max_window_scale);
  const int32_t wanted_scale = window_scale;
  if (window_scale > 1) window_scale = fitting_scale(screen_w, screen_h, window_scale, have_area, area_w, area_h);
  if (!fullscreen && window_scale == 1) fit_window_size(screen_w, screen_h, have_area, area_w, area_h);
  const int64_t window_w = int64_t{screen_w} * window_scale;
  const int64_t window_h = int64_t{screen_h} * window_scale;
  if (window_scale != wanted_scale) {
    std::fprintf(stderr,
                 "vorn: at scale %d the window would be %lld x %lld, more than the %d x %d that the desktop's "
                 "%d x %d work area leaves a window; scale %d is used (a window of %lld x %lld)\n",
                 wanted_scale, static_cast<long long>(width) * wanted_scale,
                 static_cast<long long>(height) * wanted_scale, area_w - 50, area_h - 50, area_w, area_h,
                 window_scale, static_cast<long long>(window_w), static_cast<long long>(window_h));
  }
  setenv("SDL_VIDEO_CENTERED", "1", 1);
  if (!fullscreen && have_area) {
    place_next_window(static_cast<int32_t>(area_x + area_w / 2 - window_w / 2), area_y);
  } else if (!fullscreen) {
    place_next_window(0, 0);
  }
  SDL_EnableUNICODE(1);

  if (screen_w <= 0 || screen_h <= 0) {
    std::fprintf(stderr, "vorn: cannot open a window of %d x %d pixels\n", screen_w, screen_h);
    return false;
  }
  // SDL 1.2 keeps a surface's pitch in 16 bits and works its size out in an
  // int, so a wider or bigger surface would overflow inside SDL itself.
  const int64_t pixel_bytes = bpp > 8 ? (int64_t{bpp} + 7) / 8 : 1;
  if (pixel_bytes * window_w > UINT16_MAX || pixel_bytes * window_w * window_h > INT32_MAX) {
    std::fprintf(stderr, "vorn: cannot open a window of %lld x %lld pixels (too large for a video surface)\n",
                 static_cast<long long>(window_w), static_cast<long long>(window_h));
    return false;
  }
#if defined(__EMSCRIPTEN__)
  // The browser's SDL makes an 8-bit surface when asked for a hardware palette.
  Uint32 flags = SDL_HWSURFACE | SDL_DOUBLEBUF;
#else
  Uint32 flags = SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_HWPALETTE;
#endif
  if (fullscreen) flags |= SDL_FULLSCREEN;
  surface = SDL_SetVideoMode(static_cast<int>(window_w), static_cast<int>(window_h), bpp, flags);
  if (surface == nullptr) {
    fail("cannot open the video surface");
    return false;
  }
  // The drawing code assumes 4 bytes per pixel and a stride of exactly width
  // (worked out in 64 bits: SDL keeps the pitch in 16 bits, so a very wide
  // window comes back with a pitch cut short).
  const int64_t wanted_pitch = int64_t{4} * window_w;
  if (surface->format->BitsPerPixel != 32 || surface->w != window_w || surface->h != window_h ||
      surface->pitch != wanted_pitch) {
    std::fprintf(stderr,
                 "vorn: the video surface is unusable (%d x %d, %d bits per pixel, pitch %d; "
                 "wanted %lld x %lld, 32 bits, pitch %lld)\n",
                 surface->w, surface->h, surface->format->BitsPerPixel, surface->pitch,
                 static_cast<long long>(window_w), static_cast<long long>(window_h),
                 static_cast<long long>(wanted_pitch));
    surface = nullptr;
    return false;
  }
  screen.width = screen_w;
  screen.height = screen_h;
  screen.half_width = screen_w / 2;
  screen.half_height = screen_h / 2;
  screen.creation_mark = 1;
  screen.creation_flag = true;
  const SDL_PixelFormat& format = *surface->format;
  surface_layout = layout_of_masks(format.Rmask, format.Gmask, format.Bmask, format.Amask);
  if (own_pixels()) scaled_screen.assign(static_cast<size_t>(screen_w) * screen_h, 0);
  set_screen_pixels();
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 1, 1, 1));
  fill_palette();
  SDL_SetColors(surface, palette, 0, 256);
  set_caption(caption);
  if (!lock_screen()) return true;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  unlock_screen();
  SDL_Flip(surface);
  set_screen_pixels();
  return true;
}

void close_window() {
  surface = nullptr;
  screen.pixels = nullptr;
  std::vector<uint32_t>().swap(scaled_screen);
  window_scale = 1;
  surface_layout = pixel_layout{};
  SDL_Quit();
}

bool lock_screen() {
  if (surface == nullptr) return false;
  if (own_pixels() || !needs_lock()) return true;
  return SDL_LockSurface(surface) >= 0;
}

void unlock_screen() {
  if (!own_pixels() && needs_lock()) SDL_UnlockSurface(surface);
}

void present() {
  if (surface == nullptr) return;
  if (own_pixels()) {
    if (needs_lock() && SDL_LockSurface(surface) < 0) return;
    uint32_t* to = static_cast<uint32_t*>(surface->pixels);
    const size_t count = static_cast<size_t>(surface->w) * static_cast<size_t>(surface->h);
    if (window_scale > 1) {
      scale_pixels(scaled_screen.data(), screen_w, screen_h, window_scale, to, surface->pitch / 4);
      if (!surface_layout.native) convert_pixels(to, to, count, surface_layout);
    } else {
      convert_pixels(scaled_screen.data(), to, count, surface_layout);
    }
    if (needs_lock()) SDL_UnlockSurface(surface);
  }
  SDL_Flip(surface);
  set_screen_pixels();
}

void set_caption(const std::string& text) { SDL_WM_SetCaption(text.c_str(), nullptr); }

void show_cursor(int32_t mode) { SDL_ShowCursor(mode); }

bool discard_window_events() {
  bool close = false;
  SDL_Event e;
  while (SDL_PollEvent(&e) > 0) close = close || e.type == SDL_QUIT;
  return close;
}

void poll_events() {
  SDL_Event e;
  while (!exit_requested && SDL_PollEvent(&e) > 0) handle_event(e);
  present();
}

}  // namespace vorn
