// The window layer: one SDL window with a 32-bit software surface shown as
// `screen`, the caption, and SDL's event queue turned into calls of the
// game's event handler with a small set of event kinds and a state word.
#pragma once

#include <cstdint>
#include <string>

#include "base/view.h"

namespace vorn {

// Event kinds handed to the event handler.
constexpr int32_t ev_quit = 1;
constexpr int32_t ev_key_up = 3;
constexpr int32_t ev_key_down = 4;
constexpr int32_t ev_mouse_move = 5;
constexpr int32_t ev_button_up = 6;
constexpr int32_t ev_button_down = 7;

// Bits of the state word handed with every event.
constexpr uint16_t st_shift = 0x0001;
constexpr uint16_t st_alt = 0x0008;
constexpr uint16_t st_ctrl = 0x0040;
constexpr uint16_t st_left = 0x0200;
constexpr uint16_t st_right = 0x0400;
constexpr uint16_t st_middle = 0x0800;
constexpr uint16_t st_wheel_up = 0x2000;
constexpr uint16_t st_wheel_down = 0x4000;

using frame_proc = void (*)(double dt, double t);
using event_proc = void (*)(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state);

// Window-layer state, readable by the game (the screen's size is in the
// view, which open_window sets).
extern int32_t screen_bpp;
extern int32_t screen_bytes;
extern std::string caption_base;
extern frame_proc on_frame;
extern event_proc on_event;
extern bool quit_requested;
extern int32_t frame_count;
extern int32_t fps;
extern int32_t frame_cap;
extern bool caption_stats;
// In a window, each screen pixel shows as a window_scale x window_scale
// block; pointer positions are divided by it before the game sees them.
extern int32_t window_scale;
// Fullscreen: the desktop at its own resolution, the screen shown in the
// middle at the largest whole scale that fits, black around it; pointer
// positions are mapped back onto the screen, clamped to its edges.
extern bool window_fullscreen;
// What ends the run when the display connection breaks (the window
// destroyed from outside): it must end the program without returning, and
// without any further call of SDL's video.
extern void (*on_window_lost)();

// Input state kept by the event pump. SDL 1.2 key symbols stay below 512.
constexpr int32_t key_symbol_count = 512;
extern bool held_keys[key_symbol_count];
extern bool left_down;
extern bool middle_down;
extern bool right_down;
extern int32_t pointer_x;
extern int32_t pointer_y;

// Ending the program: the handler asks, the pump stops draining the queue at
// once and the frame loop ends before another frame; main() returns the code.
extern bool exit_requested;
extern int32_t exit_code;
void request_exit(int32_t code);

// Puts the window layer back to its state at program start (tests).
void reset_window_state();

// The size a window of w x h gets on a desktop of area_w x area_h: each side
// at most the area's less 50, rounded down to a multiple of 4. Without an
// area (have_area false) the size stays.
void fit_window_size(int32_t& w, int32_t& h, bool have_area, int32_t area_w, int32_t area_h);

// Opens the window and its 32-bit surface. False, with one line on standard
// error saying what failed, when SDL cannot start or gives an unusable surface.
// A scale above 1 opens a window that many times larger, showing `screen`
// (then an image of its own) in blocks; a scale the desktop cannot hold is
// lowered to the largest that fits, with a one-line note. The screen has the
// same size in fullscreen as in a window, so that F11 can switch between
// them; when fullscreen cannot show it, the game plays in a window after a
// one-line note.
bool open_window(int32_t width, int32_t height, int32_t bpp, bool fullscreen,
                 const std::string& caption, frame_proc frame, event_proc event, int32_t scale = 1);

// Closes the window and shuts SDL down; open_window may be called again.
void close_window();

// Between window and fullscreen (F11 and Alt+Enter in the event pump), the
// screen's picture kept. If neither can be had, the game ends with status 1.
void toggle_fullscreen();

bool lock_screen();
void unlock_screen();
void present();
void set_caption(const std::string& text);
void show_cursor(int32_t mode);

// Hands every pending event to on_event (a gamepad's as the mouse and key
// events it stands for, F11 and Alt+Enter switching fullscreen instead),
// then presents the surface.
void poll_events();

// Empties SDL's event queue without handing anything on (a demo replay
// feeds its own events) but F11 and Alt+Enter, which switch fullscreen;
// true when a window-close request or an Escape key press was among them
// (the viewer ends the replay).
bool discard_window_events();

// The state word of the keys and buttons held now.
uint16_t current_state();

}  // namespace vorn
