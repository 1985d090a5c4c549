// The window layer under SDL's dummy video driver: opening, the surface as
// `screen`, and the real event pump fed through SDL_PushEvent.
#include "app/window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "image/image.h"

namespace vorn {
namespace {

struct event_seen {
  int32_t kind, x, y, key;
  uint16_t state;
  bool quit_flag_then;
};
std::vector<event_seen> seen;

void record_event(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state) {
  seen.push_back({kind, x, y, key, state, quit_requested});
}

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    reset_window_state();
    seen.clear();
    ASSERT_TRUE(open_window(64, 48, 32, false, "Vorn test", nullptr, record_event));
    SDL_Event e;
    while (SDL_PollEvent(&e) > 0) {
    }
  }
  void TearDown() override { SDL_Quit(); }

  static void push_key(Uint8 type, SDLKey sym) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
  }
  static void push_button(Uint8 type, Uint8 button, Uint16 x, Uint16 y) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }
  static void push_axis(Uint8 axis, Sint16 value) {
    SDL_Event e{};
    e.type = SDL_JOYAXISMOTION;
    e.jaxis.type = SDL_JOYAXISMOTION;
    e.jaxis.axis = axis;
    e.jaxis.value = value;
    SDL_PushEvent(&e);
  }
  static void push_pad_button(Uint8 type, Uint8 button) {
    SDL_Event e{};
    e.type = type;
    e.jbutton.type = type;
    e.jbutton.button = button;
    e.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
  }
  static void push_motion(Uint16 x, Uint16 y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
  }
};

TEST_F(WindowTest, ScreenIsTheSurfaceWithAStrideOfItsWidth) {
  EXPECT_EQ(screen.width, 64);
  EXPECT_EQ(screen.height, 48);
  ASSERT_NE(screen.pixels, nullptr);
  ASSERT_TRUE(lock_screen());
  screen.pixels[64 * 48 - 1] = 0xFF123456;  // the last pixel is inside the surface
  unlock_screen();
  EXPECT_EQ(screen_bytes, 4);
}

TEST_F(WindowTest, KeysCarryTheirSymbolAndTheModifierState) {
  push_key(SDL_KEYDOWN, SDLK_LSHIFT);
  push_key(SDL_KEYDOWN, SDLK_a);
  push_key(SDL_KEYUP, SDLK_LSHIFT);
  push_key(SDL_KEYDOWN, SDLK_RCTRL);
  push_key(SDL_KEYDOWN, SDLK_LALT);
  poll_events();
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].kind, ev_key_down);
  EXPECT_EQ(seen[0].key, 304);
  EXPECT_EQ(seen[0].state, st_shift);
  EXPECT_EQ(seen[1].key, 'a');
  EXPECT_EQ(seen[1].state, st_shift);
  EXPECT_EQ(seen[2].kind, ev_key_up);
  EXPECT_EQ(seen[2].state, 0);
  EXPECT_EQ(seen[4].state, st_ctrl | st_alt);
  EXPECT_TRUE(held_keys[SDLK_RCTRL]);
  EXPECT_FALSE(held_keys[SDLK_LSHIFT]);
}

TEST_F(WindowTest, ButtonsAndWheelSteps) {
  push_motion(10, 20);
  push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 11, 21);
  push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP, 30, 30);  // sends nothing
  push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP, 30, 30);
  push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELDOWN, 30, 30);
  push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 12, 22);
  poll_events();
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].kind, ev_mouse_move);
  EXPECT_EQ(seen[0].x, 10);
  EXPECT_EQ(seen[0].y, 20);
  EXPECT_EQ(seen[1].kind, ev_button_down);
  EXPECT_EQ(seen[1].state, st_left);
  // A wheel step: a button press at the last pointer position, on release.
  EXPECT_EQ(seen[2].kind, ev_button_down);
  EXPECT_EQ(seen[2].x, 10);
  EXPECT_EQ(seen[2].y, 20);
  EXPECT_EQ(seen[2].state, st_left | st_wheel_up);
  EXPECT_EQ(seen[3].state, st_left | st_wheel_down);
  EXPECT_EQ(seen[4].kind, ev_button_up);
  EXPECT_EQ(seen[4].x, 12);
  EXPECT_EQ(seen[4].state, 0);
}

TEST_F(WindowTest, CloseRequestIsSeenBeforeTheQuitFlag) {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  poll_events();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kind, ev_quit);
  EXPECT_EQ(seen[0].state, 0);
  EXPECT_FALSE(seen[0].quit_flag_then);
  EXPECT_TRUE(quit_requested);
}

TEST_F(WindowTest, AnExitRequestStopsDrainingTheQueue) {
  on_event = [](int32_t kind, int32_t, int32_t, int32_t key, uint16_t) {
    seen.push_back({kind, 0, 0, key, 0, false});
    if (key == SDLK_ESCAPE) request_exit(0);
  };
  push_key(SDL_KEYDOWN, SDLK_ESCAPE);
  push_key(SDL_KEYDOWN, SDLK_p);
  poll_events();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(exit_requested);
  EXPECT_TRUE(quit_requested);
}

// A pad's events go through the event pump as the mouse and key events they
// stand for, before the game (or a recorder) sees them; the stick aims from
// the screen's centre while there is no ship.
TEST_F(WindowTest, GamepadEventsArriveAsMouseAndKeyEvents) {
  push_motion(10, 20);
  push_axis(5, 32767);                     // right trigger
  push_pad_button(SDL_JOYBUTTONDOWN, 0);   // A
  push_axis(0, -32768);                    // stick left
  poll_events();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[1].kind, ev_button_down);
  EXPECT_EQ(seen[1].x, 10);
  EXPECT_EQ(seen[1].y, 20);
  EXPECT_EQ(seen[1].state, st_left);
  EXPECT_EQ(seen[2].kind, ev_key_down);
  EXPECT_EQ(seen[2].key, SDLK_w);
  // From the centre (32, 24) a hundred pixels left: the screen's edge.
  EXPECT_EQ(seen[3].kind, ev_mouse_move);
  EXPECT_EQ(seen[3].x, 0);
  EXPECT_EQ(seen[3].y, 24);
  EXPECT_EQ(pointer_x, 0);
  // The stick held still places nothing new; at rest it leaves the pointer.
  push_axis(0, 0);
  push_pad_button(SDL_JOYBUTTONUP, 0);
  push_axis(5, -32768);
  poll_events();
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[4].kind, ev_key_up);
  EXPECT_EQ(seen[5].kind, ev_button_up);
  EXPECT_EQ(pointer_x, 0);
  EXPECT_FALSE(left_down);  // the pad's fire is not the mouse button's
}

// F11 and Alt+Enter switch fullscreen and are not the game's keys; Enter
// alone is. Without a desktop (the dummy driver) the game stays in its window.
TEST_F(WindowTest, FullscreenKeysAreNotHandedToTheGame) {
  push_key(SDL_KEYDOWN, SDLK_F11);
  push_key(SDL_KEYUP, SDLK_F11);
  push_key(SDL_KEYDOWN, SDLK_LALT);
  push_key(SDL_KEYDOWN, SDLK_RETURN);
  push_key(SDL_KEYUP, SDLK_RETURN);
  push_key(SDL_KEYUP, SDLK_LALT);
  push_key(SDL_KEYDOWN, SDLK_RETURN);
  testing::internal::CaptureStderr();
  poll_events();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("staying in a window"), std::string::npos);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].key, SDLK_LALT);
  EXPECT_EQ(seen[1].key, SDLK_LALT);
  EXPECT_EQ(seen[1].kind, ev_key_up);
  EXPECT_EQ(seen[2].key, SDLK_RETURN);
  EXPECT_EQ(seen[2].kind, ev_key_down);
  EXPECT_FALSE(window_fullscreen);
  EXPECT_EQ(screen.width, 64);
  ASSERT_NE(screen.pixels, nullptr);
}

TEST(WindowSize, FitsTheDesktopLessAMarginInMultiplesOfFour) {
  int32_t w = 1600, h = 1200;
  fit_window_size(w, h, true, 1280, 770);
  EXPECT_EQ(w, 1228);
  EXPECT_EQ(h, 720);
  w = 801, h = 601;
  fit_window_size(w, h, true, 1920, 1080);  // fits: unchanged, even if not a multiple of 4
  EXPECT_EQ(w, 801);
  EXPECT_EQ(h, 601);
  w = 1600, h = 1200;
  fit_window_size(w, h, false, 0, 0);  // no desktop size known
  EXPECT_EQ(w, 1600);
}

TEST(WindowOpen, ANonPositiveSizeFailsWithAMessage) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  reset_window_state();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(open_window(0, 480, 32, false, "Vorn test", nullptr, nullptr));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("0 x 480"), std::string::npos);
  SDL_Quit();
}

// SDL keeps a surface's pitch in 16 bits and its size in an int: sizes
// beyond either are refused before SDL is asked, whose own sums would overflow.
TEST(WindowOpen, SurfacesTooLargeForSdlAreRefused) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  const int32_t sizes[][2] = {{600000000, 1}, {16384, 16}, {16000, 40000}, {INT32_MAX, INT32_MAX}};
  for (const auto& size : sizes) {
    reset_window_state();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(open_window(size[0], size[1], 32, false, "Vorn test", nullptr, nullptr));
    const std::string text = std::to_string(size[0]) + " x " + std::to_string(size[1]);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(text), std::string::npos) << text;
    SDL_Quit();
  }
  reset_window_state();
  EXPECT_TRUE(open_window(16383, 2, 32, false, "Vorn test", nullptr, nullptr));
  EXPECT_EQ(screen.width, 16383);
  SDL_Quit();
}

// At scale 2 the game's screen keeps its size in an image of its own; the
// window shows it in 2 x 2 blocks and the game sees pointer positions halved.
TEST(WindowScaled, TheScreenKeepsItsSizeAndThePointerIsHalved) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  reset_window_state();
  seen.clear();
  ASSERT_TRUE(open_window(64, 48, 32, false, "Vorn test", nullptr, record_event, 2));
  EXPECT_EQ(window_scale, 2);
  EXPECT_EQ(screen.width, 64);
  EXPECT_EQ(screen_w, 64);
  SDL_Surface* window = SDL_GetVideoSurface();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->w, 128);
  EXPECT_EQ(window->h, 96);
  ASSERT_TRUE(lock_screen());
  screen.pixels[5 + 7 * 64] = 0xFF00FF00;
  unlock_screen();
  present();
  const auto* shown = static_cast<const uint32_t*>(window->pixels);
  const int32_t pitch = window->pitch / 4;
  for (int dy = 0; dy < 2; ++dy) {
    for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(shown[10 + dx + (14 + dy) * pitch], 0xFF00FF00u);
  }
  EXPECT_EQ(shown[12 + 14 * pitch], 0u);
  SDL_Event e{};
  while (SDL_PollEvent(&e) > 0) {
  }
  e = SDL_Event{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = 127;
  e.motion.y = 41;
  SDL_PushEvent(&e);
  e = SDL_Event{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = 3;
  e.button.y = 95;
  SDL_PushEvent(&e);
  poll_events();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].x, 63);
  EXPECT_EQ(seen[0].y, 20);
  EXPECT_EQ(pointer_x, 63);
  EXPECT_EQ(seen[1].x, 1);
  EXPECT_EQ(seen[1].y, 47);
  close_window();
  EXPECT_EQ(window_scale, 1);
}

}  // namespace
}  // namespace vorn
