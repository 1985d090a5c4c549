// The link phase of a substep: every intact link's velocity-level spring,
// the heating and cooling that break links, and the countdown of burning
// ones; with the scratch it keeps between substeps.
#pragma once

#include <cstdint>
#include <vector>

#include "base/vec2.h"

namespace vorn {

// What the link phase computes from positions alone, for every intact link,
// before its chain through the velocities.
struct link_shape {
  vec2 u;    // unit direction from end b to end a
  vec2 w;    // u * -1, as the impulse takes it for end b
  double e;  // extension beyond the rest length
  double m;  // dot(u, u) + dot(w, w), never within eps of 0
};

// Scratch of the link phase, kept from substep to substep so that it
// allocates only when the world has grown.
struct link_scratch {
  std::vector<link_shape> shapes;  // by link index
};
extern link_scratch link_work;

// The link phase of a substep of dt seconds.
void link_phase(double dt);

// The scratch emptied (its capacity kept).
void reset_link_phase();

}  // namespace vorn
