// What happened in the world this frame that a player would want to hear:
// the link the player's beam hit, impacts and broken links. The simulation
// appends where each happens; sound reads and clears it once per frame. The
// game itself never reads it, and it is not part of the game's state.
#pragma once

#include <cstdint>

#include "base/vec2.h"

namespace vorn {

// Entries kept per frame; later ones are counted but not kept.
constexpr int32_t happenings_capacity = 32;

struct happenings_t {
  int32_t player_hit_link = -1;  // the link the player's beam hit last, -1 for none
  int32_t impacts = 0;           // impacts this frame
  vec2 impact_at[happenings_capacity];
  double impact_heat[happenings_capacity];
  int32_t links_broken = 0;      // links that broke this frame
  vec2 broken_at[happenings_capacity];
};

extern happenings_t happenings;

inline void note_player_hit(int32_t link) { happenings.player_hit_link = link; }

inline void note_impact(vec2 at, double heat) {
  if (happenings.impacts < happenings_capacity) {
    happenings.impact_at[happenings.impacts] = at;
    happenings.impact_heat[happenings.impacts] = heat;
  }
  if (happenings.impacts < INT32_MAX) ++happenings.impacts;
}

inline void note_link_broken(vec2 at) {
  if (happenings.links_broken < happenings_capacity) happenings.broken_at[happenings.links_broken] = at;
  if (happenings.links_broken < INT32_MAX) ++happenings.links_broken;
}

// Forgets everything noted so far.
void clear_happenings();

}  // namespace vorn
