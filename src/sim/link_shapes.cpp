// Copying the link ends side by side, and the link shapes one entry at a
// time: the kernel for processors without AVX2 and the tail of the wider
// ones.
#include "sim/link_shapes.h"

#include "sim/lookup.h"

namespace vorn {

void copy_link_ends(const linkrec* link, size_t count, const noderec* node, link_ends out) {
  for (size_t i = 0; i < count; ++i) {
    const linkrec& l = link[i];
    vec2 pa, pb;
    double rest = 0;
    if (link_intact(l)) {
      pa = node[l.a].pos;
      pb = node[l.b].pos;
      rest = l.rest;
    }
    out.ax[i] = pa.x;
    out.ay[i] = pa.y;
    out.bx[i] = pb.x;
    out.by[i] = pb.y;
    out.rest[i] = rest;
  }
}

namespace {

void shapes_w1(link_ends in, size_t count, link_shape_rows out) {
  for (size_t i = 0; i < count; ++i) link_shape_at(in, out, i);
}

}  // namespace

const link_shape_kernels link_shapes_w1{shapes_w1};

}  // namespace vorn
