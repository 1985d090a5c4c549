// Link-to-link impacts: each substep one randomly chosen player link is
// tested against every other intact link within range.
#pragma once

#include "sim/near_links.h"

namespace vorn {

// Scratch of the impact test: the links near the tested player link's end a.
extern near_links impact_work;

// The contact range R: min(screen width, screen height) div 2.
double contact_range();

// The impact test for a substep of dt seconds. With no player links
// (player_links <= 0) it returns at once and draws nothing. Otherwise it
// draws the player link to test, one draw, even when the test is then
// skipped: a drawn index past the link array, no player ship record, or a
// drawn link that is not intact.
void impact_test(double dt, double range);

// Empties the scratch (its capacity is kept).
void reset_impact_state();

}  // namespace vorn
