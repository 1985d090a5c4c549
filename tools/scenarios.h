// Scripted games: fixed settings and a player that reacts to the world
// through the same events a person would give. The test suite checks their
// outcomes, and tools/record_demos.sh records them as the golden demos.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/demo_recorder.h"
#include "base/vec2.h"

namespace vorn {

// What a scripted player can do in a frame: every call becomes one event
// handed to the game's event handler (and to the recorder, if any).
class scenario_player {
 public:
  explicit scenario_player(demo_recorder* recorder) : recorder_(recorder) {}
  int64_t frame = 0;  // frames played so far

  void point_at(vec2 world_point);  // moves the pointer over that world point
  void point_at_screen(int32_t x, int32_t y);
  void key_down(int32_t key);
  void key_up(int32_t key);
  void button_down(int32_t x, int32_t y);  // button 1
  void button_up(int32_t x, int32_t y);

 private:
  void send(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state);
  demo_recorder* recorder_;
  bool left_held_ = false;
};

struct scenario {
  std::string name;
  std::string settings;  // configuration text over the defaults
  int64_t frames;
  double dt;
  void (*play)(scenario_player& player);  // called before every frame
};

const std::vector<scenario>& scenarios();
const scenario* find_scenario(const std::string& name);

// Plays a scenario headless from a fresh start through the game's own event
// handler and per-frame procedure; records it into demo_file unless empty.
// Returns the frames played (fewer when the game asked to end).
int64_t run_scenario(const scenario& s, const std::string& demo_file = "");

}  // namespace vorn
