// A gamepad turned into the events the mouse and keyboard make, so that the
// game and its demos never see a pad: the aiming stick places the pointer,
// triggers and buttons hold fire and thrust, Start and Back press the keys
// that pause and restart.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace vorn {

// Which axis and button does what (-1: none), from the pad_ settings.
struct pad_layout {
  int32_t aim_x_axis = -1;
  int32_t aim_y_axis = -1;
  int32_t fire_axis = -1;
  int32_t thrust_axis = -1;
  int32_t fire_button = -1;
  int32_t forward_button = -1;
  int32_t reverse_button = -1;
  int32_t pause_button = -1;
  int32_t restart_button = -1;
  int32_t dead_zone = 0;     // stick deflection (of 32767) that still counts as rest
  int32_t aim_distance = 0;  // pixels from the ship to the placed pointer
};

// The layout the configuration sets.
pad_layout configured_pad_layout();

// What the pad holds, and which holds it has handed on as events.
struct pad_state {
  int32_t stick_x = 0;
  int32_t stick_y = 0;
  bool fire_trigger = false;
  bool thrust_trigger = false;
  bool fire_button = false;
  bool forward_button = false;
  bool reverse_button = false;
  bool fire = false;
  bool forward = false;
  bool reverse = false;
};
extern pad_state pad;
void reset_pad();

// An event as the window layer hands it to the game.
struct pad_event {
  int32_t kind;
  int32_t x;
  int32_t y;
  int32_t key;
  uint16_t state;
};

// The events one change of the pad makes, in order (a button may be given
// several jobs at once).
struct pad_events {
  std::array<pad_event, 4> list{};
  int32_t count = 0;
};

// Where the pointer is and what the mouse and keyboard hold, for the events
// made: fire presses happen at the pointer, and every event carries the
// state word.
struct pad_context {
  int32_t pointer_x = 0;
  int32_t pointer_y = 0;
  uint16_t state = 0;
};

// An axis moved to `value` (-32768 .. 32767). A trigger counts as pulled
// past the middle of its range.
pad_events pad_axis_moved(const pad_layout& layout, int32_t axis, int32_t value, const pad_context& at);

// A button went down or up.
pad_events pad_button_changed(const pad_layout& layout, int32_t button, bool down, const pad_context& at);

// With the stick out of its dead zone: the pointer move that places the
// pointer aim_distance pixels from (from_x, from_y) in the stick's direction
// (nearer where the screen ends sooner), unless it is there already.
std::optional<pad_event> pad_aim(const pad_layout& layout, int32_t from_x, int32_t from_y, const pad_context& at);

}  // namespace vorn
