// The pad's holds kept apart from the events already handed on, so that each
// change makes exactly one press or release, whichever input caused it.
#include "app/pad_map.h"

#include <algorithm>
#include <cmath>

#include "app/keys.h"
#include "app/window.h"
#include "base/rounding.h"
#include "base/view.h"
#include "config/tunables.h"

namespace vorn {

pad_state pad;

void reset_pad() { pad = pad_state{}; }

pad_layout configured_pad_layout() {
  pad_layout l;
  l.aim_x_axis = pad_aim_x;
  l.aim_y_axis = pad_aim_y;
  l.fire_axis = pad_fire_axis;
  l.thrust_axis = pad_thrust_axis;
  l.fire_button = pad_fire_button;
  l.forward_button = pad_forward_button;
  l.reverse_button = pad_reverse_button;
  l.pause_button = pad_pause_button;
  l.restart_button = pad_restart_button;
  l.dead_zone = pad_dead_zone;
  l.aim_distance = pad_aim_distance;
  return l;
}

namespace {

void add(pad_events& out, int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state) {
  out.list[static_cast<size_t>(out.count++)] = pad_event{kind, x, y, key, state};
}

void add_key(pad_events& out, int32_t key, bool down, const pad_context& at) {
  add(out, down ? ev_key_down : ev_key_up, 0, 0, key, at.state);
}

// Hands on every hold that has changed: fire as mouse button 1 (pressed at
// the pointer), thrust as the keys w and s.
void settle(pad_events& out, const pad_context& at) {
  const bool fire = pad.fire_trigger || pad.fire_button;
  if (fire != pad.fire) {
    pad.fire = fire;
    if (fire) {
      add(out, ev_button_down, at.pointer_x, at.pointer_y, 0, static_cast<uint16_t>(at.state | st_left));
    } else {
      add(out, ev_button_up, at.pointer_x, at.pointer_y, 0, at.state);
    }
  }
  const bool forward = pad.thrust_trigger || pad.forward_button;
  if (forward != pad.forward) {
    pad.forward = forward;
    add_key(out, key_w, forward, at);
  }
  if (pad.reverse_button != pad.reverse) {
    pad.reverse = pad.reverse_button;
    add_key(out, key_s, pad.reverse, at);
  }
}

}  // namespace

pad_events pad_axis_moved(const pad_layout& layout, int32_t axis, int32_t value, const pad_context& at) {
  pad_events out;
  if (axis < 0) return out;
  if (axis == layout.aim_x_axis) pad.stick_x = value;
  if (axis == layout.aim_y_axis) pad.stick_y = value;
  // Triggers rest at one end of the range (-32768 on most pads, 0 on some):
  // past the middle counts as pulled either way.
  if (axis == layout.fire_axis) pad.fire_trigger = value > 0;
  if (axis == layout.thrust_axis) pad.thrust_trigger = value > 0;
  settle(out, at);
  return out;
}

pad_events pad_button_changed(const pad_layout& layout, int32_t button, bool down, const pad_context& at) {
  pad_events out;
  if (button < 0) return out;
  // Start is the pause key (left Ctrl, whose release does nothing, unlike
  // Space's, which stops the gun); Back is Enter.
  if (button == layout.pause_button) add_key(out, key_lctrl, down, at);
  if (button == layout.restart_button) add_key(out, key_return, down, at);
  if (button == layout.fire_button) pad.fire_button = down;
  if (button == layout.forward_button) pad.forward_button = down;
  if (button == layout.reverse_button) pad.reverse_button = down;
  settle(out, at);
  return out;
}

std::optional<pad_event> pad_aim(const pad_layout& layout, int32_t from_x, int32_t from_y, const pad_context& at) {
  if (layout.aim_x_axis < 0 && layout.aim_y_axis < 0) return std::nullopt;
  const double sx = pad.stick_x;
  const double sy = pad.stick_y;
  const double length = std::sqrt(sx * sx + sy * sy);
  if (length <= layout.dead_zone || length == 0) return std::nullopt;
  const double dx = sx / length;
  const double dy = sy / length;
  // The distance along the stick's direction, cut where the ray from the
  // ship leaves the screen (x in [0, w - 1], y in [0, h - 1]).
  const double right = screen_w - 1;
  const double bottom = screen_h - 1;
  double reach = std::max(layout.aim_distance, 0);
  if (dx > 0) reach = std::min(reach, (right - from_x) / dx);
  if (dx < 0) reach = std::min(reach, (0.0 - from_x) / dx);
  if (dy > 0) reach = std::min(reach, (bottom - from_y) / dy);
  if (dy < 0) reach = std::min(reach, (0.0 - from_y) / dy);
  reach = std::max(reach, 0.0);
  const int32_t x = std::clamp(round_int(from_x + dx * reach), 0, std::max(screen_w - 1, 0));
  const int32_t y = std::clamp(round_int(from_y + dy * reach), 0, std::max(screen_h - 1, 0));
  if (x == at.pointer_x && y == at.pointer_y) return std::nullopt;
  return pad_event{ev_mouse_move, x, y, 0, at.state};
}

}  // namespace vorn
