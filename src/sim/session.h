// Puts every part of the game back to its state at program start, so that a
// test, a scenario or a soak run begins exactly like a fresh process.
#pragma once

namespace vorn {

// Tunables at their defaults, empty world, program-start flags, timers,
// camera, held controls, drawing switches, and the random seed 0. The
// window layer and the loaded images are left as they are.
void reset_session();

}  // namespace vorn
