// The links near a point: of a range of links, the intact ones whose two
// ends both lie within a distance of the point, found in one pass without a
// branch per link, for the tests that look for crossings around one point
// (the impact test, the player's beam).
#pragma once

#include <cstdint>
#include <vector>

#include "base/vec2.h"

namespace vorn {

// What a search leaves, kept from search to search so that it allocates
// only when the world has grown.
struct near_links {
  std::vector<vec2> offset;    // node_offsets from the point
  std::vector<uint8_t> close;  // per node: 1 when len2 of its offset is below the squared distance
  std::vector<int32_t> found;  // the links found, ascending, in the first `count` entries
  int32_t count = 0;
};

// The intact links i in [first, end) (first below 0 counts as 0, end is cut
// to the link array) with len2(offset[a]) < R2 and len2(offset[b]) < R2:
// the links the plain walk over the range would test further, in its order.
// Neither positions nor the links' flags may change while the result is
// used.
void find_near_links(vec2 P0, double R2, int32_t first, int32_t end, near_links& out);

// Empties the search's vectors (their capacity is kept).
void clear_near_links(near_links& s);

}  // namespace vorn
