// The link phase of a substep: every intact link's velocity-level spring,
// the heating and cooling that break links, and the countdown of burning
// ones; with the scratch it keeps between substeps.
#pragma once

#include <vector>

namespace vorn {

// Scratch of the link phase, kept from substep to substep so that it
// allocates only when the world has grown.
struct link_scratch {
  // Nine columns of one double per link: the ends the shapes are computed
  // from and the shapes (sim/link_shapes.h), in that order.
  std::vector<double> columns;
};
extern link_scratch link_work;

// The link phase of a substep of dt seconds.
void link_phase(double dt);

// The scratch emptied (its capacity kept).
void reset_link_phase();

}  // namespace vorn
