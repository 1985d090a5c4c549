// The link shapes one entry at a time, in plain C++: the kernel of
// processors without wider lanes, and the reference of the wider kernels.
#include "sim/link_shapes.h"

namespace vorn {

namespace {

void shapes_w1(link_ends in, size_t count, link_shape_rows out) {
  for (size_t i = 0; i < count; ++i) link_shape_at(in, out, i);
}

}  // namespace

const link_shape_kernels link_shapes_w1{shapes_w1};

}  // namespace vorn
