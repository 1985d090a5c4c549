// A gamepad's axes and buttons as the mouse and key events the game knows.
#include "app/pad_map.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/keys.h"
#include "app/window.h"
#include "base/view.h"

namespace vorn {
namespace {

// The default layout, as the configuration sets it out of the box.
pad_layout xinput_layout() {
  pad_layout l;
  l.aim_x_axis = 0;
  l.aim_y_axis = 1;
  l.thrust_axis = 2;
  l.fire_axis = 5;
  l.forward_button = 0;
  l.reverse_button = 1;
  l.fire_button = 5;
  l.restart_button = 6;
  l.pause_button = 7;
  l.dead_zone = 8000;
  l.aim_distance = 100;
  return l;
}

struct seen_event {
  int32_t kind, x, y, key;
  uint16_t state;
  bool operator==(const seen_event&) const = default;
};

std::vector<seen_event> list(const pad_events& out) {
  std::vector<seen_event> v;
  for (int32_t i = 0; i < out.count; ++i) {
    const pad_event& e = out.list[static_cast<size_t>(i)];
    v.push_back({e.kind, e.x, e.y, e.key, e.state});
  }
  return v;
}

class PadMap : public testing::Test {
 protected:
  void SetUp() override {
    reset_pad();
    screen_w = 800;
    screen_h = 600;
  }
  const pad_layout layout = xinput_layout();
  const pad_context at{120, 80, st_shift};
};

using events = std::vector<seen_event>;

// Fire is mouse button 1 at the pointer, from the trigger or the shoulder
// button; thrust is w from the other trigger or A, reverse is s from B. Each
// hold is pressed once and released once, however many inputs hold it.
TEST_F(PadMap, TriggersAndButtonsHoldFireAndThrustOnce) {
  EXPECT_EQ(list(pad_axis_moved(layout, 5, -32768, at)), events{});  // trigger at rest
  EXPECT_EQ(list(pad_axis_moved(layout, 5, 0, at)), events{});       // half way is not yet pulled
  EXPECT_EQ(list(pad_axis_moved(layout, 5, 20000, at)),
            (events{{ev_button_down, 120, 80, 0, st_shift | st_left}}));
  EXPECT_EQ(list(pad_axis_moved(layout, 5, 32767, at)), events{});
  EXPECT_EQ(list(pad_button_changed(layout, 5, true, at)), events{});  // already firing
  EXPECT_EQ(list(pad_axis_moved(layout, 5, -32768, at)), events{});   // the button still holds it
  EXPECT_EQ(list(pad_button_changed(layout, 5, false, at)), (events{{ev_button_up, 120, 80, 0, st_shift}}));

  EXPECT_EQ(list(pad_button_changed(layout, 0, true, at)), (events{{ev_key_down, 0, 0, key_w, st_shift}}));
  EXPECT_EQ(list(pad_axis_moved(layout, 2, 32767, at)), events{});
  EXPECT_EQ(list(pad_button_changed(layout, 0, false, at)), events{});
  EXPECT_EQ(list(pad_axis_moved(layout, 2, -32768, at)), (events{{ev_key_up, 0, 0, key_w, st_shift}}));
  EXPECT_EQ(list(pad_button_changed(layout, 1, true, at)), (events{{ev_key_down, 0, 0, key_s, st_shift}}));
  EXPECT_EQ(list(pad_button_changed(layout, 1, false, at)), (events{{ev_key_up, 0, 0, key_s, st_shift}}));
  // Triggers that rest at 0 count any pull.
  EXPECT_EQ(list(pad_axis_moved(layout, 2, 1, at)), (events{{ev_key_down, 0, 0, key_w, st_shift}}));
}

// Start is the pause key whose release does nothing (left Ctrl: Space's
// release would stop the gun), Back is Enter; unmapped inputs do nothing,
// and a button given two jobs does both.
TEST_F(PadMap, StartPausesBackIsEnterAndTheLayoutIsTheConfigurations) {
  EXPECT_EQ(list(pad_button_changed(layout, 7, true, at)), (events{{ev_key_down, 0, 0, key_lctrl, st_shift}}));
  EXPECT_EQ(list(pad_button_changed(layout, 7, false, at)), (events{{ev_key_up, 0, 0, key_lctrl, st_shift}}));
  EXPECT_EQ(list(pad_button_changed(layout, 6, true, at)), (events{{ev_key_down, 0, 0, key_return, st_shift}}));
  EXPECT_EQ(list(pad_button_changed(layout, 9, true, at)), events{});
  EXPECT_EQ(list(pad_axis_moved(layout, 4, 32767, at)), events{});
  EXPECT_EQ(list(pad_button_changed(layout, -1, true, at)), events{});

  pad_layout odd = layout;
  odd.fire_axis = -1;  // a pad without analogue triggers
  odd.pause_button = 3;
  odd.forward_button = 3;
  EXPECT_EQ(list(pad_axis_moved(odd, -1, 32767, at)), events{});
  EXPECT_EQ(list(pad_axis_moved(odd, 5, 32767, at)), events{});
  EXPECT_EQ(list(pad_button_changed(odd, 3, true, at)),
            (events{{ev_key_down, 0, 0, key_lctrl, st_shift}, {ev_key_down, 0, 0, key_w, st_shift}}));
  EXPECT_EQ(configured_pad_layout().fire_axis, 5);
  EXPECT_EQ(configured_pad_layout().pause_button, 7);
}

// The stick places the pointer at the aim distance from the ship in its
// direction (screen y grows downwards, as the stick's does), nearer where the
// screen ends first; inside the dead zone it leaves the pointer alone.
TEST_F(PadMap, TheStickPlacesThePointerAlongItsDirection) {
  const auto aim = [&](int32_t x, int32_t y, int32_t from_x, int32_t from_y) {
    pad_axis_moved(layout, 0, x, at);
    pad_axis_moved(layout, 1, y, at);
    const auto move = pad_aim(layout, from_x, from_y, at);
    return move ? seen_event{move->kind, move->x, move->y, move->key, move->state} : seen_event{0, -1, -1, 0, 0};
  };
  EXPECT_EQ(aim(32767, 0, 400, 300), (seen_event{ev_mouse_move, 500, 300, 0, st_shift}));
  EXPECT_EQ(aim(0, -32768, 400, 300), (seen_event{ev_mouse_move, 400, 200, 0, st_shift}));
  EXPECT_EQ(aim(-20000, 20000, 400, 300), (seen_event{ev_mouse_move, 329, 371, 0, st_shift}));
  EXPECT_EQ(aim(5000, 5000, 400, 300).kind, 0);  // 7071 from the middle: rest
  EXPECT_EQ(aim(32767, 0, 750, 300), (seen_event{ev_mouse_move, 799, 300, 0, st_shift}));
  EXPECT_EQ(aim(-32768, -32768, 30, 300), (seen_event{ev_mouse_move, 0, 270, 0, st_shift}));
  EXPECT_EQ(aim(0, 32767, 900, 700), (seen_event{ev_mouse_move, 799, 599, 0, st_shift}));  // from off the screen
  // Where the pointer is already, nothing is sent.
  EXPECT_EQ(aim(32767, 0, 20, 80).kind, 0);
  pad_layout no_stick = layout;
  no_stick.aim_x_axis = no_stick.aim_y_axis = -1;
  EXPECT_FALSE(pad_aim(no_stick, 400, 300, at).has_value());
}

}  // namespace
}  // namespace vorn
