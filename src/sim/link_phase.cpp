// The link phase: the shapes of the intact links from positions alone, then
// one pass by index that applies each link's impulse through the node
// velocities, heats and cools it, and counts down the burning ones.
#include "sim/link_phase.h"

#include "config/tunables.h"
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
// change: link_shapes computes it for every link before the phase's chain
// through the velocities, which then keeps the dot products, one division
// and the updates (the same operations on the same values, so the same bits).
void link_shapes() {
  const int32_t count = link_count();
  link_work.shapes.resize(count);
  for (int32_t i = 0; i < count; ++i) {
    const linkrec& l = links[i];
    if (!link_intact(l)) continue;
    link_shape& g = link_work.shapes[i];
    const vec2 r = wrap_diff(nodes[l.a].pos, nodes[l.b].pos);
    g.u = norm(r);
    g.w = scale(g.u, -1.0);
    g.e = len(r) - l.rest;
    double m = dot(g.u, g.u) + dot(g.w, g.w);
    if (m < eps && m > -eps) m = eps;
    g.m = m;
  }
}

void link_impulse(const linkrec& l, const link_shape& g, double k) {
  noderec& A = nodes[l.a];
  noderec& B = nodes[l.b];
  const double s = dot(g.u, A.vel) + dot(g.w, B.vel);
  const double j = -k * (s + g.e) / g.m;
  A.vel = add(A.vel, scale(g.u, j));
  B.vel = add(B.vel, scale(g.u, -j));
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
  link_shapes();
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
    link_impulse(l, link_work.shapes[i], k);
    heat_and_cool(i, dt);
  }
}

void reset_link_phase() { link_work.shapes.clear(); }

}  // namespace vorn
