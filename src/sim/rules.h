// The game's life cycle: the reset that builds a new game, the respawn rule,
// the game clock.
#pragma once

namespace vorn {

struct game_clock_t {
  double current = 0.0;     // follows the frame loop's total time while playing
  double start = 0.0;       // the elapsed time shown is current - start
  double last_frame = 0.0;  // the total time of the previous frame
};
extern game_clock_t game_clock;

// Builds a new game. The first call (restart false) also builds the
// background and sets the world size from the screen size.
void game_reset(bool restart);

// At the start of every frame, with the frame loop's total time t: the
// current time follows t unless the game is over or won. Returns the total
// time that passed since the previous frame.
double update_game_clock(double t);

// While paused: the start moves on by the time that really passed since the
// previous frame (`passed`, from update_game_clock), so the elapsed time shown stands still. (The frame time
// itself cannot serve: it is at least 1 ms and at most dt_max, so paused
// frames faster or slower than that would make the clock run backwards or
// on.) Once the game is over or won the clock is frozen already.
void hold_game_clock(double passed);

// Once per frame: a wrecked player ship is rebuilt once restart_timer < 0.
void respawn_rule();

void reset_rules_state();

}  // namespace vorn
