// The game's life cycle: the reset that builds a new game, the respawn rule,
// the game clock.
#pragma once

#include "gfx/image.h"

namespace vorn {

struct game_clock_t {
  double current = 0.0;  // follows the frame loop's total time while playing
  double start = 0.0;    // the elapsed time shown is current - start
};
extern game_clock_t game_clock;

// The screen-sized grid picture behind the world, built by the first reset.
extern typspr* background;

// Builds a new game. The first call (restart false) also builds the
// background and sets the world size from the screen size.
void game_reset(bool restart);

// Once per frame: a wrecked player ship is rebuilt once restart_timer < 0.
void respawn_rule();

void reset_rules_state();

}  // namespace vorn
