// Link-to-link impacts: each substep one randomly chosen player link is
// tested against every other intact link within range.
#pragma once

namespace vorn {

// The contact range R: min(screen width, screen height) div 2.
double contact_range();

// Draws the player link to test (even when the test is then skipped) and
// runs the impact test for a substep of dt seconds.
void impact_test(double dt, double range);

}  // namespace vorn
