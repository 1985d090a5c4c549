// The world's four record arrays and the operations that build them up and
// break them apart: adding records, the burn cascade, dropping links and
// killing nodes.
#include "world/world.h"

#include <algorithm>
#include <cstddef>

#include "config/tunables.h"
#include "world/happenings.h"
#include "world/room.h"

namespace vorn {

std::vector<noderec> nodes;
std::vector<linkrec> links;
std::vector<shprec> ships;
std::vector<partrec> particles;

void set_node(int32_t i, bool locked, color_t color, double x, double y, double vx, double vy) {
  noderec& n = nodes[i];
  n.alive = true;
  n.locked = locked;
  n.color = color;
  n.pos = vec(x, y);
  n.anchor = n.pos;
  n.vel = vec(vx, vy);
  n.force = vec(0, 0);
  n.nlinks = 0;
  n.ship = -1;
}

int32_t add_node(bool locked, color_t color, double x, double y, double vx, double vy) {
  const int32_t n = static_cast<int32_t>(nodes.size());
  nodes.resize(nodes.size() + 1);
  set_node(n, locked, color, x, y, vx, vy);
  return n;
}

void set_link(int32_t i, int32_t a, int32_t b, color_t color) {
  linkrec& l = links[i];
  l.alive = true;
  l.burning = false;
  l.burn_left = -1.0;
  l.temp = 0;
  l.a = a;
  l.b = b;
  l.color = color;
  // Links are made right after both ends are placed, before anything has
  // wrapped, so the plain difference is the true distance.
  l.rest = len(sub(nodes[a].pos, nodes[b].pos));
  nodes[a].nlinks += 1;
  nodes[b].nlinks += 1;
}

void add_link(int32_t a, int32_t b, color_t color) {
  links.resize(links.size() + 1);
  set_link(static_cast<int32_t>(links.size()) - 1, a, b, color);
}

int32_t add_ship() {
  const int32_t n = static_cast<int32_t>(ships.size());
  ships.resize(ships.size() + 1);
  ships[n].alive = true;
  return n;
}

namespace {

// No dead particle slot lies below this index: the search for the lowest
// dead slot starts here, so a burst of sparks takes linear, not quadratic,
// time in the pool's size.
size_t first_free_particle = 0;
// One past the highest slot add_particle has taken since the span was last
// trimmed or the pool emptied.
size_t particle_end = 0;

}  // namespace

size_t particle_search_start() { return std::min(first_free_particle, particles.size()); }

size_t particle_span() { return std::min(particle_end, particles.size()); }

void trim_particle_span() {
  size_t end = particle_span();
  while (end > 0 && !particles[end - 1].alive) --end;
  particle_end = end;
}

int32_t add_particle(color_t color, double x, double y, double vx, double vy, double life) {
  size_t slot = particle_search_start();
  while (slot < particles.size() && particles[slot].alive) ++slot;
  // A full pool of n grows to 2n + 1, so an empty one goes 1, 3, 7, 15, ...
  if (slot == particles.size()) {
    const size_t n = particles.size();
    expect_indices(n, n + 1);
    // Moving to a larger buffer holds the old records and the new ones at once.
    if (2 * n + 1 > particles.capacity()) expect_room(bytes_of(2 * n + 1, sizeof(partrec)));
    particles.resize(2 * n + 1);
  }
  first_free_particle = slot + 1;
  particle_end = std::max(particle_end, slot + 1);
  partrec& p = particles[slot];
  p.alive = true;
  p.color = color;
  p.pos = vec(x, y);
  p.vel = vec(vx, vy);
  p.life = life;
  return static_cast<int32_t>(slot);
}

void kill_particle(int32_t i) {
  particles[i].alive = false;
  if (static_cast<size_t>(i) < first_free_particle) first_free_particle = static_cast<size_t>(i);
}

namespace {

// A node left with a single intact link sheds it too. The scan bound is the
// length at the start; links that already burn return at once from
// burn_link, so only the last intact one at the node breaks.
void shed_last_link(int32_t node, int32_t except) {
  if (nodes[node].nlinks != 1) return;
  const int32_t count = static_cast<int32_t>(links.size());
  for (int32_t j = 0; j < count; ++j) {
    const linkrec& l = links[j];
    if (j != except && l.alive && (l.a == node || l.b == node)) burn_link(j);
  }
}

}  // namespace

void burn_link(int32_t i) {
  linkrec& l = links[i];
  // A burning link is already broken. A slot that never held a link (dead
  // and not burning: zero-filled) is not one to break: its ends would be
  // counted down for a link they never had.
  if (l.burning || !l.alive) return;
  l.alive = true;
  l.burning = true;
  l.burn_left = def_burndt;
  l.end_a = nodes[l.a].pos;
  l.end_b = nodes[l.b].pos;
  note_link_broken(l.end_a);
  l.color = red;
  nodes[l.a].nlinks -= 1;
  nodes[l.b].nlinks -= 1;
  // End a's cascade runs to completion before end b is looked at, and b's
  // test sees the count that a's cascade left.
  shed_last_link(l.a, i);
  shed_last_link(l.b, i);
}

void drop_link(int32_t i) { links[i].alive = false; }

void kill_node(int32_t k) {
  nodes[k].alive = false;
  const int32_t count = static_cast<int32_t>(links.size());
  for (int32_t j = 0; j < count; ++j) {
    if (links[j].alive && (links[j].a == k || links[j].b == k)) {
      burn_link(j);
      links[j].alive = false;
    }
  }
}

void heat_link(int32_t i, vec2 v, double s, double h) {
  linkrec& l = links[i];
  const vec2 push = scale(v, s);
  nodes[l.a].force = add(nodes[l.a].force, push);
  nodes[l.b].force = add(nodes[l.b].force, push);
  l.temp += h;
}

void clear_world() {
  particles.clear();
  first_free_particle = 0;
  particle_end = 0;
  nodes.clear();
  links.clear();
  ships.clear();
}

}  // namespace vorn
