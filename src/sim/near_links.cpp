// The links near a point: each node's offset and closeness once, then one
// pass over the links that writes every index and keeps those that qualify.
#include "sim/near_links.h"

#include "sim/lookup.h"
#include "world/world.h"

namespace vorn {

void find_near_links(vec2 P0, double R2, int32_t first, int32_t end, near_links& out) {
  node_offsets(P0, out.offset);
  const size_t n = nodes.size();
  out.close.resize(n);
  for (size_t k = 0; k < n; ++k) out.close[k] = len2(out.offset[k]) < R2;
  const int32_t from = first < 0 ? 0 : first;
  const int32_t last = link_range_end(end);
  out.found.resize(last > from ? static_cast<size_t>(last - from) : 0);
  const uint8_t* const close = out.close.data();
  int32_t count = 0;
  for (int32_t i = from; i < last; ++i) {
    const linkrec& l = links[i];
    // Every index is written; only the kept ones advance the count. The
    // ends of an intact link are tested without a branch.
    out.found[count] = i;
    count += link_intact(l) && (close[l.a] & close[l.b]);
  }
  out.count = count;
}

void clear_near_links(near_links& s) {
  s.offset.clear();
  s.close.clear();
  s.found.clear();
  s.count = 0;
}

}  // namespace vorn
