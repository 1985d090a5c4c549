// The link phase: the shapes of the intact links from positions alone, the
// chain of impulses through the node velocities in an order that lets
// independent links overlap, and the heating, cooling and burning out.
//
// The velocity-level spring of an intact link removes the ends' relative
// speed along the link and adds a correcting speed equal to the extension,
// split equally between the ends (m = 2 for a unit direction). Substeps
// longer than dt_alpha soften it by k = dt_alpha / dt. Everything but the
// ends' speeds depends on positions alone, which the link phase does not
// change: the shapes (sim/link_shapes.h) are computed for every link first,
// and the chain keeps the dot products, one division and the updates (the
// same operations on the same values, so the same bits).
//
// Why the schedule gives the bits of walking the links by index: an impulse
// reads the velocities of its two ends and its shape, and writes those two
// velocities. A node's velocity therefore sees the impulses of the intact
// links touching it one after another, and each impulse reads what the ones
// before it at either end left. The level of a link is one more than the
// highest level among the earlier intact links sharing an end with it, so
// along every node the levels rise strictly with the index: applying the
// impulses level by level hands every node its impulses in index order, and
// the links of one level share no node, so their order among themselves
// reads and writes nothing in common. A link that stopped being intact since
// the schedule was built is passed over, and any subset of the links keeps
// the levels rising along every node, so the argument holds for what is
// left. The schedule is rebuilt whenever an intact link is not the one it
// was built with (other ends, or new since).
//
// Heating breaks a link (and may cascade to others at its ends, before or
// after it), which changes which impulses follow. It happens only to an
// intact link hotter than blow_temp at the start of the phase, since the
// phase changes no temperature before a link's own turn. So only the links
// before the first such link go by the schedule. Their cooling and burning
// out read and write nothing an impulse reads (temperatures, burn times, and
// the alive flag of links that burn already) and break none of them, so
// they are done in the first pass, before the chain. From the first hot
// link on the links are walked by index, each impulse followed by its
// heating, as the rule reads.
#include "sim/link_phase.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/stop_request.h"
#include "config/tunables.h"
#include "sim/isa.h"
#include "sim/link_shapes.h"
#include "sim/lookup.h"
#include "world/world.h"

namespace vorn {

link_scratch link_work;

namespace {

// The schedule's record of a link: its ends while intact, -1 otherwise.
// The ends go in as they lie in the record (a in the low half), so that
// the check in prepare_links is one load.
int64_t ends_of(const linkrec& l) {
  const uint64_t a = static_cast<uint32_t>(l.a);
  const uint64_t b = static_cast<uint32_t>(l.b);
  return static_cast<int64_t>(a | b << 32);
}
int64_t ends_key(const linkrec& l) { return link_intact(l) ? ends_of(l) : -1; }

// What the phase must know before its chain.
struct link_survey {
  bool scheduled;     // every intact link before first_hot is the one the schedule holds
  int32_t first_hot;  // the first intact link hotter than blow_temp, or the link count
};

// An intact link cools by temp_decline * dt a substep, as the rule computes
// it for each link, and no further than 0. The result is stored even where
// it cannot change (a cold link at +0 stays +0 for any decline that is not
// negative): a test for that would be a branch on every link.
[[gnu::always_inline]] inline void cool(linkrec& l, double by) {
  const double t = l.temp - by;
  l.temp = t < 0 ? 0.0 : t;
}

// A burning link counts down and is gone when its time runs out.
[[gnu::always_inline]] inline void count_down(int32_t i, double dt) {
  linkrec& l = links[i];
  l.burn_left -= dt;
  if (l.burn_left < 0) drop_link(i);
}

// The rule's turn of a link after its impulse: a burning link counts down;
// an intact one is heated (heat above blow_temp breaks it) and cooled, once
// more in this pass and never again (burning links are not cooled). True
// when the link broke.
[[gnu::always_inline]] inline bool count_down_or_cool(int32_t i, double dt, double by) {
  linkrec& l = links[i];
  if (!l.alive) return false;
  if (l.burning) {
    count_down(i, dt);
    return false;
  }
  const bool breaks = l.temp > blow_temp;
  if (breaks) burn_link(i);
  cool(l, by);
  return breaks;
}

[[gnu::always_inline]] inline void put_ends(link_ends out, int32_t i, vec2 pa, vec2 pb, double rest) {
  out.ax[i] = pa.x;
  out.ay[i] = pa.y;
  out.bx[i] = pb.x;
  out.by[i] = pb.y;
  out.rest[i] = rest;
}

// One pass over the links before the chain: their ends copied side by side
// for the shapes (zeros for a link that is not intact), the survey, and the
// countdown or cooling of every link before the first hot one (which the
// chain does not read, and which breaks none of them: no intact link before
// the first hot one is above blow_temp).
link_survey prepare_links(link_ends out, double dt, double by) {
  const int32_t count = link_count();
  const std::vector<int64_t>& ends = link_work.schedule.ends;
  bool scheduled = static_cast<int32_t>(ends.size()) == count;
  const int64_t* const built = ends.data();
  linkrec* const all = links.data();
  const noderec* const at = nodes.data();
  int32_t i = 0;
  for (; i < count; ++i) {
    linkrec& l = all[i];
    if (!link_intact(l)) {
      put_ends(out, i, vec2{}, vec2{}, 0);
      if (l.alive) count_down(i, dt);
      continue;
    }
    if (l.temp > blow_temp) break;
    put_ends(out, i, at[l.a].pos, at[l.b].pos, l.rest);
    if (scheduled) scheduled = built[i] == ends_of(l);
    cool(l, by);
  }
  const int32_t first_hot = i;
  for (; i < count; ++i) {
    const linkrec& l = all[i];
    if (link_intact(l)) {
      put_ends(out, i, at[l.a].pos, at[l.b].pos, l.rest);
    } else {
      put_ends(out, i, vec2{}, vec2{}, 0);
    }
  }
  return {scheduled, first_hot};
}

// The link ends and their shapes in link_work's columns, computed afresh,
// with the rest of prepare_links' work.
link_survey compute_shapes(link_shape_rows& shapes, double dt, double by) {
  const size_t count = links.size();
  link_work.columns.resize(link_columns * count);
  const link_column_views view = view_link_columns(link_work.columns.data(), count);
  shapes = view.shapes;
  const link_survey survey = prepare_links(view.ends, dt, by);
  active_link_shape_kernels->shapes(view.ends, count, shapes);
  return survey;
}

// The levels of the file's opening comment, then the intact links sorted by
// level (a counting sort, so by index within a level).
void build_schedule() {
  link_schedule& s = link_work.schedule;
  const int32_t count = link_count();
  s.ends.resize(count);
  s.link_level.resize(count);
  s.node_level.assign(nodes.size(), 0);
  int32_t depth = 0;
  int32_t intact = 0;
  for (int32_t i = 0; i < count; ++i) {
    const linkrec& l = links[i];
    s.ends[i] = ends_key(l);
    s.link_level[i] = 0;
    if (s.ends[i] < 0) continue;
    const int32_t level = std::max(s.node_level[l.a], s.node_level[l.b]) + 1;
    s.node_level[l.a] = level;
    s.node_level[l.b] = level;
    s.link_level[i] = level;
    depth = std::max(depth, level);
    ++intact;
  }
  // level_start[v]: where level v's links begin in `order`, advanced as
  // they are placed.
  s.level_start.assign(depth + 1, 0);
  for (int32_t i = 0; i < count; ++i) {
    if (s.link_level[i] > 0) ++s.level_start[s.link_level[i]];
  }
  int32_t start = 0;
  for (int32_t& n : s.level_start) start += std::exchange(n, start);
  s.order.resize(intact);
  for (int32_t i = 0; i < count; ++i) {
    if (s.link_level[i] > 0) s.order[s.level_start[s.link_level[i]]++] = i;
  }
}

// Inlined into both of the phase's loops: a call would make each impulse
// wait for the one before it.
[[gnu::always_inline]] inline void link_impulse(const linkrec& l, const link_shape_rows& g, size_t i, double k) {
  noderec& A = nodes[l.a];
  noderec& B = nodes[l.b];
  const vec2 u{g.ux[i], g.uy[i]};
  const vec2 w = scale(u, -1.0);
  const double s = dot(u, A.vel) + dot(w, B.vel);
  const double j = -k * (s + g.e[i]) / g.m[i];
  A.vel = add(A.vel, scale(u, j));
  B.vel = add(B.vel, scale(u, -j));
}

}  // namespace

void link_phase(double dt) {
  const double by = temp_decline * dt;
  link_shape_rows shapes;
  const link_survey survey = compute_shapes(shapes, dt, by);
  if (!survey.scheduled) build_schedule();
  double k = dt_alpha / dt;
  if (k > 1) k = 1;
  for (const int32_t i : link_work.schedule.order) {
    if (i < survey.first_hot && link_intact(links[i])) link_impulse(links[i], shapes, static_cast<size_t>(i), k);
  }
  const int32_t count = link_count();
  for (int32_t i = survey.first_hot; i < count; ++i) {
    if (link_intact(links[i])) link_impulse(links[i], shapes, static_cast<size_t>(i), k);
    // A break may cascade over every link: a stop asked for meanwhile
    // abandons the frame here.
    if (count_down_or_cool(i, dt, by) && give_up_frame()) return;
  }
}

void reset_link_phase() {
  link_work.columns.clear();
  link_schedule& s = link_work.schedule;
  s.ends.clear();
  s.order.clear();
  s.node_level.clear();
  s.link_level.clear();
  s.level_start.clear();
}

}  // namespace vorn
