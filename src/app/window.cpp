// The SDL 1.2 window, its surface as `screen` (or the screen's own image
// shown on it in blocks), fullscreen, and the event pump.
#include "app/window.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/gamepad.h"
#include "app/keys.h"
#include "app/pad_map.h"
#include "app/pixel_layout.h"
#include "app/scaling.h"
#include "image/image.h"
#include "platform/display.h"
#include "platform/display_lost.h"

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
bool window_fullscreen = false;
void (*on_window_lost)() = nullptr;

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
// The screen's own pixels while the window is scaled or fullscreen, or while
// the surface keeps its channels elsewhere than the game does; present()
// copies them onto the surface in blocks, at `place`, in its layout.
std::vector<uint32_t> own_pixels;
picture_place place;
// The desktop's size as SDL told it before the first video mode was set.
int32_t desktop_w = 0;
int32_t desktop_h = 0;
int32_t video_bpp = 32;
// Where the window opens: centred on the work area, at its top.
int32_t window_x = 0;
int32_t window_y = 0;
// The screen has been drawn on since the last flip. Flipping an unchanged
// surface again (the event pump presents after every frame's own present)
// shows nothing new, and on SDL2 (sdl12-compat) every flip uploads and
// renders the whole window.
bool screen_changed = true;

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

#if !defined(__EMSCRIPTEN__)
// The built-in 256-colour palette handed to SDL; with a 32-bit surface it has
// no visible effect. A grey ramp. (The browser's SDL would take a palette
// for an 8-bit screen.)
SDL_Color palette[256];

void fill_palette() {
  for (int i = 0; i < 256; ++i) {
    palette[i].r = palette[i].g = palette[i].b = static_cast<Uint8>(i);
    palette[i].unused = 0;
  }
}
#endif

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

bool uses_own_pixels() { return window_fullscreen || window_scale > 1 || !surface_layout.native; }

// Surface coordinates to the screen's.
int32_t screen_x_at(int32_t x) { return picture_coord(x, place.x, place.scale, screen_w); }
int32_t screen_y_at(int32_t y) { return picture_coord(y, place.y, place.scale, screen_h); }

// F11, or Enter with Alt held, switches fullscreen (in a browser, the
// page's own fullscreen is the browser's business).
bool is_fullscreen_key(const SDL_keysym& key) {
#if defined(__EMSCRIPTEN__)
  (void)key;
  return false;
#else
  if (key.sym == SDLK_F11) return true;
  return key.sym == SDLK_RETURN && ((key.mod & KMOD_ALT) != 0 || (current_state() & st_alt) != 0);
#endif
}

// The releases of F11 and of Enter after Alt+Enter (SDL repeats them when
// the video mode changes) belong to the switch, not the game: the game never
// saw those keys go down.
bool is_switch_release(const SDL_keysym& key) {
  const int32_t sym = key_symbol(key);
  const bool switch_key = key.sym == SDLK_F11 || sym == key_return;
  return switch_key && !(sym >= 0 && sym < key_symbol_count && held_keys[sym]);
}

pad_context pad_here() { return pad_context{pointer_x, pointer_y, current_state()}; }

void send_pad(const pad_events& out) {
  for (int32_t i = 0; i < out.count; ++i) {
    const pad_event& p = out.list[static_cast<size_t>(i)];
    send(p.kind, p.x, p.y, p.key, p.state);
  }
}

// The aiming stick places the pointer afresh after every batch of events,
// since the ship it aims from moves.
void aim_with_pad() {
  const ipoint_t from = aim_origin();
  if (const auto move = pad_aim(configured_pad_layout(), from.x, from.y, pad_here())) {
    pointer_x = move->x;
    pointer_y = move->y;
    send(move->kind, move->x, move->y, move->key, move->state);
  }
}

void handle_event(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN: {
      if (is_fullscreen_key(e.key.keysym)) {
        toggle_fullscreen();
        break;
      }
      const int32_t sym = key_symbol(e.key.keysym);
      set_key(sym, true);
      send(ev_key_down, 0, 0, sym, current_state());
      break;
    }
    case SDL_KEYUP: {
      if (is_switch_release(e.key.keysym)) break;
      const int32_t sym = key_symbol(e.key.keysym);
      set_key(sym, false);
      send(ev_key_up, 0, 0, sym, current_state());
      break;
    }
    case SDL_MOUSEMOTION: {
      const uint16_t state = current_state();
      pointer_x = screen_x_at(e.motion.x);
      pointer_y = screen_y_at(e.motion.y);
      send(ev_mouse_move, pointer_x, pointer_y, 0, state);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      set_button(e.button.button, true);
      // Wheel steps (buttons 4 and 5) are sent when they are released.
      if (is_click_button(e.button.button)) {
        send(ev_button_down, screen_x_at(e.button.x), screen_y_at(e.button.y), 0, current_state());
      }
      break;
    case SDL_MOUSEBUTTONUP: {
      const uint16_t before = current_state();
      set_button(e.button.button, false);
      if (e.button.button == SDL_BUTTON_WHEELUP) send(ev_button_down, pointer_x, pointer_y, 0, before | st_wheel_up);
      if (e.button.button == SDL_BUTTON_WHEELDOWN) send(ev_button_down, pointer_x, pointer_y, 0, before | st_wheel_down);
      if (is_click_button(e.button.button)) {
        send(ev_button_up, screen_x_at(e.button.x), screen_y_at(e.button.y), 0, current_state());
      }
      break;
    }
    case SDL_JOYAXISMOTION:
      send_pad(pad_axis_moved(configured_pad_layout(), e.jaxis.axis, e.jaxis.value, pad_here()));
      break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      send_pad(pad_button_changed(configured_pad_layout(), e.jbutton.button, e.type == SDL_JOYBUTTONDOWN,
                                  pad_here()));
      break;
    case SDL_QUIT:
      send(ev_quit, 0, 0, 0, 0);
      quit_requested = true;
      break;
    default:
      break;
  }
}

// The screen image is the surface itself in a window at scale 1, its own
// pixels otherwise.
void set_screen_pixels() {
  screen.pixels = uses_own_pixels() ? own_pixels.data() : static_cast<uint32_t*>(surface->pixels);
}

void fail(const char* what) {
  std::fprintf(stderr, "vorn: %s: %s\n", what, SDL_GetError());
}

// SDL 1.2 keeps a surface's pitch in 16 bits and works its size out in an
// int, so a wider or bigger surface would overflow inside SDL itself.
bool surface_size_fits_sdl(int64_t w, int64_t h) {
  const int64_t pixel_bytes = video_bpp > 8 ? (int64_t{video_bpp} + 7) / 8 : 1;
  return pixel_bytes * w <= UINT16_MAX && pixel_bytes * w * h <= INT32_MAX;
}

// Black on the surface, on both pages when it flips between two (SDL_FillRect
// locks the surface itself).
void clear_surface() {
  const Uint32 black = SDL_MapRGB(surface->format, 0, 0, 0);
  SDL_FillRect(surface, nullptr, black);
  SDL_Flip(surface);
  SDL_FillRect(surface, nullptr, black);
}

// Sets the video mode of a window (at window_scale) or of fullscreen (the
// desktop's size): the surface, the picture's place and window_fullscreen.
// False with one line on standard error when it cannot be had; SDL may have
// dropped the old surface then.
bool set_video_mode(bool full) {
  picture_place at{window_scale, 0, 0};
  int64_t w = int64_t{screen_w} * window_scale;
  int64_t h = int64_t{screen_h} * window_scale;
  if (full) {
    at = fullscreen_place(screen_w, screen_h, desktop_w, desktop_h);
    if (at.scale == 0) {
      std::fprintf(stderr, "vorn: a screen of %d x %d does not fit the desktop's %d x %d in fullscreen\n", screen_w,
                   screen_h, desktop_w, desktop_h);
      return false;
    }
    w = desktop_w;
    h = desktop_h;
  }
  if (!surface_size_fits_sdl(w, h)) {
    std::fprintf(stderr, "vorn: cannot open a window of %lld x %lld pixels (too large for a video surface)\n",
                 static_cast<long long>(w), static_cast<long long>(h));
    return false;
  }
#if defined(__EMSCRIPTEN__)
  // The browser's SDL makes an 8-bit surface when asked for a hardware palette.
  Uint32 flags = SDL_HWSURFACE | SDL_DOUBLEBUF;
#else
  Uint32 flags = SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_HWPALETTE;
#endif
  if (full) flags |= SDL_FULLSCREEN;
  // A fullscreen window starts at the desktop's corner: SDL on SDL2 keeps the
  // asked position even there when no window manager moves it.
  if (full) {
    place_next_window(0, 0);
  } else {
    place_next_window(window_x, window_y);
  }
  surface = nullptr;
  SDL_Surface* made = SDL_SetVideoMode(static_cast<int>(w), static_cast<int>(h), video_bpp, flags);
  if (made == nullptr) {
    fail(full ? "cannot open a fullscreen video surface" : "cannot open the video surface");
    return false;
  }
  // The drawing code assumes 4 bytes per pixel and a stride of exactly width
  // (worked out in 64 bits: SDL keeps the pitch in 16 bits, so a very wide
  // window comes back with a pitch cut short).
  const int64_t wanted_pitch = int64_t{4} * w;
  if (made->format->BitsPerPixel != 32 || made->w != w || made->h != h || made->pitch != wanted_pitch) {
    std::fprintf(stderr,
                 "vorn: the video surface is unusable (%d x %d, %d bits per pixel, pitch %d; "
                 "wanted %lld x %lld, 32 bits, pitch %lld)\n",
                 made->w, made->h, made->format->BitsPerPixel, made->pitch, static_cast<long long>(w),
                 static_cast<long long>(h), static_cast<long long>(wanted_pitch));
    return false;
  }
  surface = made;
  place = at;
  window_fullscreen = full;
  const SDL_PixelFormat& format = *surface->format;
  surface_layout = layout_of_masks(format.Rmask, format.Gmask, format.Bmask, format.Amask);
  return true;
}

// The display connection broke: nothing of SDL's video may be called again.
// The screen's pixels stay readable (a replay's last events may still take a
// screenshot).
void window_lost() {
  surface = nullptr;
  if (on_window_lost != nullptr) on_window_lost();
  std::fputs("vorn: the connection to the display was lost\n", stderr);
  std::fflush(nullptr);
  _exit(1);
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
  window_fullscreen = false;
  on_window_lost = nullptr;
  screen_changed = true;
  reset_pad();
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
  video_bpp = bpp;
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
  // Before SDL starts, so that its X11 driver hands a broken connection on.
  on_display_lost(window_lost);
  // SDL must be running before it can tell the desktop's size; that only
  // shapes the size and flags asked of SDL_SetVideoMode.
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
  // Until a video mode is set, SDL's current size is the desktop's.
  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  desktop_w = info != nullptr ? info->current_w : 0;
  desktop_h = info != nullptr ? info->current_h : 0;
  int32_t area_x = 0, area_y = 0, area_w = 0, area_h = 0;
  const bool have_area = desktop_work_area(area_x, area_y, area_w, area_h);
  window_scale = std::clamp(scale, 1, max_window_scale);
  const int32_t wanted_scale = window_scale;
  if (window_scale > 1) window_scale = fitting_scale(screen_w, screen_h, window_scale, have_area, area_w, area_h);
  if (window_scale == 1) fit_window_size(screen_w, screen_h, have_area, area_w, area_h);
  const int64_t window_w = int64_t{screen_w} * window_scale;
  if (window_scale != wanted_scale) {
    std::fprintf(stderr,
                 "vorn: at scale %d the window would be %lld x %lld, more than the %d x %d that the desktop's "
                 "%d x %d work area leaves a window; scale %d is used (a window of %lld x %lld)\n",
                 wanted_scale, static_cast<long long>(width) * wanted_scale,
                 static_cast<long long>(height) * wanted_scale, area_w - 50, area_h - 50, area_w, area_h,
                 window_scale, static_cast<long long>(window_w), static_cast<long long>(screen_h) * window_scale);
  }
  setenv("SDL_VIDEO_CENTERED", "1", 1);
  window_x = have_area ? static_cast<int32_t>(area_x + area_w / 2 - window_w / 2) : 0;
  window_y = have_area ? area_y : 0;
  SDL_EnableUNICODE(1);

  if (screen_w <= 0 || screen_h <= 0) {
    std::fprintf(stderr, "vorn: cannot open a window of %d x %d pixels\n", screen_w, screen_h);
    return false;
  }
  bool opened = fullscreen && set_video_mode(true);
  if (fullscreen && !opened) std::fputs("vorn: playing in a window instead\n", stderr);
  if (!opened && !set_video_mode(false)) return false;
  screen_changed = true;
  screen.width = screen_w;
  screen.height = screen_h;
  screen.half_width = screen_w / 2;
  screen.half_height = screen_h / 2;
  screen.creation_mark = 1;
  screen.creation_flag = true;
  if (uses_own_pixels()) own_pixels.assign(static_cast<size_t>(screen_w) * screen_h, 0);
  set_screen_pixels();
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 1, 1, 1));
#if !defined(__EMSCRIPTEN__)
  fill_palette();
  SDL_SetColors(surface, palette, 0, 256);
#endif
  set_caption(caption);
  clear_surface();
  set_screen_pixels();
  return true;
}

void toggle_fullscreen() {
  if (surface == nullptr) return;
  const bool was_full = window_fullscreen;
  // The picture outlives the old surface in the screen's own pixels.
  if (!uses_own_pixels()) {
    if (!lock_screen()) return;
    own_pixels.assign(screen.pixels, screen.pixels + static_cast<size_t>(screen_w) * screen_h);
    unlock_screen();
  }
  if (!set_video_mode(!was_full)) {
    if (!was_full) std::fputs("vorn: staying in a window\n", stderr);
    if (!set_video_mode(was_full)) {
      std::fputs("vorn: the video surface is lost\n", stderr);
      screen.pixels = nullptr;
      request_exit(1);
      return;
    }
  }
  clear_surface();
  if (!uses_own_pixels() && lock_screen()) {
    std::copy(own_pixels.begin(), own_pixels.end(), static_cast<uint32_t*>(surface->pixels));
    unlock_screen();
    std::vector<uint32_t>().swap(own_pixels);
  }
  set_screen_pixels();
  screen_changed = true;
  present();
}

void close_window() {
  surface = nullptr;
  screen.pixels = nullptr;
  std::vector<uint32_t>().swap(own_pixels);
  window_scale = 1;
  window_fullscreen = false;
  place = picture_place{};
  surface_layout = pixel_layout{};
  SDL_Quit();
}

// Locking is the surface's business only while the screen is the surface.
bool lock_screen() {
  if (surface == nullptr) return false;
  if (uses_own_pixels() || !needs_lock()) return true;
  return SDL_LockSurface(surface) >= 0;
}

void unlock_screen() {
  screen_changed = true;
  if (surface != nullptr && !uses_own_pixels() && needs_lock()) SDL_UnlockSurface(surface);
}

void present() {
  if (surface == nullptr || !screen_changed) return;
  if (uses_own_pixels()) {
    if (needs_lock() && SDL_LockSurface(surface) < 0) return;
    const int64_t pitch = surface->pitch / 4;
    uint32_t* corner = static_cast<uint32_t*>(surface->pixels) + place.y * pitch + place.x;
    if (surface_layout.native) {
      scale_pixels(own_pixels.data(), screen_w, screen_h, place.scale, corner, pitch);
    } else if (place.scale == 1 && place.x == 0 && place.y == 0) {
      convert_pixels(own_pixels.data(), corner, own_pixels.size(), surface_layout);
    } else {
      // Blocks first, then each row of the picture into the surface's layout.
      scale_pixels(own_pixels.data(), screen_w, screen_h, place.scale, corner, pitch);
      const size_t row = static_cast<size_t>(screen_w) * static_cast<size_t>(place.scale);
      for (int64_t y = 0; y < int64_t{screen_h} * place.scale; ++y) {
        convert_pixels(corner + y * pitch, corner + y * pitch, row, surface_layout);
      }
    }
    if (needs_lock()) SDL_UnlockSurface(surface);
  }
  SDL_Flip(surface);
  screen_changed = false;
  set_screen_pixels();
}

// Without a surface (never opened, or the display lost) SDL's video is not
// asked anything.
void set_caption(const std::string& text) {
  if (surface != nullptr) SDL_WM_SetCaption(text.c_str(), nullptr);
}

void show_cursor(int32_t mode) {
  if (surface != nullptr) SDL_ShowCursor(mode);
}

bool discard_window_events() {
  bool stop = false;
  SDL_Event e;
  while (surface != nullptr && SDL_PollEvent(&e) > 0) {
    if (e.type == SDL_QUIT || (e.type == SDL_KEYDOWN && key_symbol(e.key.keysym) == key_escape)) stop = true;
    if (e.type == SDL_KEYDOWN && is_fullscreen_key(e.key.keysym)) toggle_fullscreen();
  }
  return stop;
}

void poll_events() {
  SDL_Event e;
  while (!exit_requested && surface != nullptr && SDL_PollEvent(&e) > 0) handle_event(e);
  if (!exit_requested) aim_with_pad();
  present();
}

}  // namespace vorn
