// The link phase: the shapes of the intact links from positions alone, then
// one pass by index that applies each link's impulse through the node
// velocities, heats and cools it, and counts down the burning ones.
#include "sim/link_phase.h"

#include <utility>

#include "config/tunables.h"
#include "sim/isa.h"
#include "sim/link_shapes.h"
#include "sim/lookup.h"
#include "world/geometry.h"
#include "world/world.h"

namespace vorn {

link_scratch link_work;

namespace {

// The velocity-level spring of an intact link: removes the ends' relative
// speed along the link and adds a correcting speed equal to the extension,
// split equally between the ends (m = 2 for a unit direction). Substeps
// longer than dt_alpha soften it by k = dt_alpha / dt. Everything but the
// ends' speeds depends on positions alone, which the link phase does not
// change: the shapes (sim/link_shapes.h) are computed for every link before
// the phase's chain through the velocities, which then keeps the dot
// products, one division and the updates (the same operations on the same
// values, so the same bits).
// The shapes of link[0 .. count) in link_work's columns, computed afresh.
link_shape_rows compute_shapes() {
  const size_t count = links.size();
  link_work.columns.resize(9 * count);
  double* column = link_work.columns.data();
  auto next = [&column, count] { return std::exchange(column, column + count); };
  const link_ends ends{next(), next(), next(), next(), next()};
  const link_shape_rows shapes{next(), next(), next(), next()};
  copy_link_ends(links.data(), count, nodes.data(), ends);
  active_link_shape_kernels->shapes(ends, count, shapes);
  return shapes;
}

void link_impulse(const linkrec& l, link_shape_rows g, size_t i, double k) {
  noderec& A = nodes[l.a];
  noderec& B = nodes[l.b];
  const vec2 u{g.ux[i], g.uy[i]};
  const vec2 w = scale(u, -1.0);
  const double s = dot(u, A.vel) + dot(w, B.vel);
  const double j = -k * (s + g.e[i]) / g.m[i];
  A.vel = add(A.vel, scale(u, j));
  B.vel = add(B.vel, scale(u, -j));
}

// Heat above blow_temp breaks the link; the link then cools once more in
// this pass and never again (burning links are not cooled).
void heat_and_cool(int32_t i, double dt) {
  if (links[i].temp > blow_temp && !links[i].burning) burn_link(i);
  linkrec& l = links[i];
  l.temp -= temp_decline * dt;
  if (l.temp < 0) l.temp = 0;
}

}  // namespace

void link_phase(double dt) {
  const link_shape_rows shapes = compute_shapes();
  double k = dt_alpha / dt;
  if (k > 1) k = 1;
  const int32_t count = link_count();
  for (int32_t i = 0; i < count; ++i) {
    linkrec& l = links[i];
    if (!l.alive) continue;
    if (l.burning) {
      l.burn_left -= dt;
      if (l.burn_left < 0) drop_link(i);
      continue;
    }
    link_impulse(l, shapes, static_cast<size_t>(i), k);
    heat_and_cool(i, dt);
  }
}

void reset_link_phase() { link_work.columns.clear(); }

}  // namespace vorn
