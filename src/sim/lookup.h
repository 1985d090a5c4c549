// Checked lookups for the physics. Indices held in stored lists (a ship's
// nodes, the station's guns, the player's link range) are tested against the
// arrays before use, so a short or stale list never reads past an array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/geometry.h"
#include "world/world.h"

namespace vorn {

inline bool valid_node(int32_t k) { return k >= 0 && static_cast<size_t>(k) < nodes.size(); }
inline bool node_alive(int32_t k) { return valid_node(k) && nodes[k].alive; }
inline bool valid_ship(int32_t k) { return k >= 0 && static_cast<size_t>(k) < ships.size(); }
inline int32_t link_count() { return static_cast<int32_t>(links.size()); }

// An intact link: alive and not burning. Burning links no longer join their
// nodes and take part in neither impacts nor beams.
inline bool link_intact(const linkrec& l) { return l.alive && !l.burning; }

// The upper bound of a link range [first, end) cut to the array's length.
inline int32_t link_range_end(int32_t end) {
  const int32_t n = link_count();
  return end < n ? end : n;
}

// out[k] = wrap_diff(P0, nodes[k].pos) for every node: for a pass that
// tests every link's two ends against one point while no node moves, each
// node's offset once instead of once per link end (the same values).
inline void node_offsets(vec2 P0, std::vector<vec2>& out) {
  out.resize(nodes.size());
  for (size_t k = 0; k < nodes.size(); ++k) out[k] = wrap_diff(P0, nodes[k].pos);
}

}  // namespace vorn
