// The shape of every intact link, computed from the node positions alone:
// its unit direction, its extension and the impulse's divisor, for the link
// phase's chain through the velocities. The link phase first copies the
// ends side by side (so that the kernels load whole lanes, where loading
// what single stores have just written would stall), then kernels of several
// vector widths compute the shapes with the same bits; sim/isa.h picks the
// kernel.
#pragma once

#include <cstddef>

#include "base/vec2.h"
#include "world/geometry.h"

namespace vorn {

// What each link's shape is computed from, one entry per link index: its
// end positions and rest length; zeros for a link that is not intact.
struct link_ends {
  double* ax;
  double* ay;
  double* bx;
  double* by;
  double* rest;
};

// The shapes, one entry per link index. Entries of links that are not
// intact hold what the kernels make of zeros and are never read.
struct link_shape_rows {
  double* ux;  // unit direction from end b to end a
  double* uy;
  double* e;   // extension beyond the rest length
  double* m;   // dot(u, u) + dot(w, w) with w = u * -1, never within eps of 0
};

// The ends and the shapes of `count` links laid out as nine columns of
// `count` doubles from `base`: ax, ay, bx, by, rest, ux, uy, e, m.
constexpr size_t link_columns = 9;
struct link_column_views {
  link_ends ends;
  link_shape_rows shapes;
};
inline link_column_views view_link_columns(double* base, size_t count) {
  auto col = [base, count](size_t k) { return base + k * count; };
  return {{col(0), col(1), col(2), col(3), col(4)}, {col(5), col(6), col(7), col(8)}};
}

// The shape of entry i, the scalar operations that every kernel's lanes
// repeat in this order.
inline void link_shape_at(link_ends in, link_shape_rows out, size_t i) {
  const vec2 r = wrap_diff(vec2{in.ax[i], in.ay[i]}, vec2{in.bx[i], in.by[i]});
  const vec2 u = norm(r);
  const vec2 w = scale(u, -1.0);
  double m = dot(u, u) + dot(w, w);
  if (m < eps && m > -eps) m = eps;
  out.ux[i] = u.x;
  out.uy[i] = u.y;
  out.e[i] = len(r) - in.rest[i];
  out.m[i] = m;
}

// One width: link_shape_at for every i in [0, count).
struct link_shape_kernels {
  void (*shapes)(link_ends in, size_t count, link_shape_rows out);
};
extern const link_shape_kernels link_shapes_w1;  // one entry at a time, every machine
#if defined(__aarch64__)
extern const link_shape_kernels link_shapes_neon;  // Advanced SIMD, two lanes (every arm64)
#endif
#if defined(__x86_64__)
extern const link_shape_kernels link_shapes_w4;  // AVX2, four lanes
extern const link_shape_kernels link_shapes_w8;  // AVX-512F, eight lanes
#endif

}  // namespace vorn
