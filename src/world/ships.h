// Builders of the player's diamond (ship 0, nodes 0-3, links 0-5) and the
// enemy darts, respawning the player, and shattering everything else on
// victory. Also the game-state flags they write.
#pragma once

#include <cstdint>

#include "base/color.h"

namespace vorn {

extern int32_t lives;          // spare ships; 3 before the first game
extern bool game_over;
extern bool victory;
extern int32_t player_links;   // the player owns links 0 .. player_links - 1
extern bool cam_glide;         // the camera glides to the player instead of jumping

void make_player(color_t color, double x, double y);
void make_enemy(color_t color, double x, double y);
// Spends a life and rebuilds the player with a particle burst, or sets
// game_over when no life is left.
void respawn();
// Victory: every intact link of ships 1 and up starts burning.
void break_all();

// The flags above back to their program-start values (tests).
void reset_ship_state();

}  // namespace vorn
