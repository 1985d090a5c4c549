// One 64-bit checksum (FNV-1a) of everything the simulation reads or writes:
// demos compare it to detect the first frame at which a replay departs.
#pragma once

#include <cstdint>

namespace vorn {

// Covers every node, link, ship and particle record; lives and the game
// flags; the random seed; the timers and the game clock; the camera and the
// world size; the held controls and the pointer; pause and the drawing
// switches.
uint64_t state_checksum();

}  // namespace vorn
