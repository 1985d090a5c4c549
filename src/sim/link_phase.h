// The link phase of a substep: every intact link's velocity-level spring,
// the heating and cooling that break links, and the countdown of burning
// ones; with the scratch it keeps between substeps.
#pragma once

#include <cstdint>
#include <vector>

namespace vorn {

// The order in which the chain applies the intact links' impulses: by
// level, then by index, where a link's level is one more than the highest
// level among the earlier intact links that share an end with it (see
// link_phase.cpp for why that order gives the same bits as the index order).
struct link_schedule {
  std::vector<int64_t> ends;         // per link at the build: a | b << 32 when intact, else -1
  std::vector<int32_t> order;        // the links whose `ends` are not -1, by level, then index
  std::vector<int32_t> node_level;   // build scratch: the level of the last link seen at each node
  std::vector<int32_t> link_level;   // build scratch: each link's level, 0 when not intact
  std::vector<int32_t> level_start;  // build scratch: where each level's next link goes in `order`
};

// Scratch of the link phase, kept from substep to substep so that it
// allocates only when the world has grown.
struct link_scratch {
  // link_columns columns of one double per link: the ends the shapes are
  // computed from and the shapes (view_link_columns, sim/link_shapes.h).
  std::vector<double> columns;
  link_schedule schedule;
};
extern link_scratch link_work;

// The link phase of a substep of dt seconds.
void link_phase(double dt);

// The scratch emptied (its capacity kept).
void reset_link_phase();

}  // namespace vorn
