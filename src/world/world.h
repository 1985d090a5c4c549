// The world's records: nodes (point masses), links (springs between two
// nodes), ships (which nodes form one body) and particles (sparks), in four
// global growable arrays referred to by index (-1 means none).
//
// Invariants while the world is consistent:
//  - a node's nlinks is the number of alive, non-burning links touching it;
//  - every link joins two distinct valid node indices;
//  - every node listed in a ship's `nodes` has `ship` equal to that ship;
//  - an alive link has burn_left == -1.0 exactly while it is not burning.
// Records are never removed or moved during a game: an ended record clears
// its `alive` flag and keeps its slot, so indices stay valid until a reset
// empties the arrays. Only the particle pool reuses dead slots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/color.h"
#include "base/vec2.h"

namespace vorn {

struct noderec {
  bool alive;
  bool locked;      // held to `anchor` by an extra spring (station nodes)
  int32_t nlinks;   // intact links attached
  int32_t ship;     // owning ship, -1 at creation
  vec2 pos;
  vec2 anchor;      // position at creation
  vec2 vel;
  vec2 force;       // gathered during a substep, then cleared
  color_t color;
};

struct linkrec {
  bool alive;       // stays true while burning
  bool burning;     // broken, burning out; no longer joins its nodes
  double burn_left; // seconds of burning left; -1.0 while intact
  double temp;
  vec2 end_a;       // ends frozen when the link broke
  vec2 end_b;
  int32_t a;
  int32_t b;
  double rest;      // rest length, fixed at creation
  color_t color;
};

struct shprec {
  bool alive;
  std::vector<int32_t> nodes;  // the station lists shared corners more than once
  std::vector<int32_t> guns;   // station only
  std::vector<vec2> gun_aim;   // station only, one per gun
  std::vector<bool> gun_fire;  // station only, one per gun
  vec2 pos;                    // centre
  double radius;
  int32_t nalive;              // entries of `nodes` whose node is alive
  bool firing;
  vec2 aim;                    // end point of the ship's beam
};

struct partrec {
  bool alive;
  double life;  // seconds left; dies below 0
  vec2 pos;
  vec2 vel;
  color_t color;
};

extern std::vector<noderec> nodes;
extern std::vector<linkrec> links;
extern std::vector<shprec> ships;
extern std::vector<partrec> particles;

// Initialises an existing node slot: alive, unlinked, no ship, at rest.
void set_node(int32_t i, bool locked, color_t color, double x, double y, double vx, double vy);
int32_t add_node(bool locked, color_t color, double x, double y, double vx, double vy);
// Initialises an existing link slot as intact, cold, with its rest length the
// plain distance of its ends, and counts it at both ends.
void set_link(int32_t i, int32_t a, int32_t b, color_t color);
void add_link(int32_t a, int32_t b, color_t color);
int32_t add_ship();
// Takes the lowest dead particle slot, or grows the pool to 2n + 1. A pool
// that cannot grow (2n + 1 records beyond what an int32 index can name, or
// beyond the memory budget with the other arrays) throws std::bad_alloc and
// stays as it was (the checks are in world/room.h).
int32_t add_particle(color_t color, double x, double y, double vx, double vy, double life);
// Ends particle i; its slot is the first add_particle may take again. Every
// particle ends through here, so add_particle knows that no slot below the
// last one it took (or the lowest one freed since) is dead.
void kill_particle(int32_t i);
// No dead particle slot lies below this index (at most the pool's size):
// add_particle's search for the lowest dead slot starts here.
size_t particle_search_start();
// No alive particle lies at or beyond this index (at most the pool's size),
// so walks over the pool can stop there: add_particle raises it past the
// slot it takes, and trim_particle_span lowers it past the dead slots at
// the top of the pool.
size_t particle_span();
void trim_particle_span();

// Breaks link i: it burns for def_burndt seconds; a node left with exactly
// one intact link sheds it too (end a first, then end b). A link that burns
// already, or a slot that holds no link (not alive), is left alone.
void burn_link(int32_t i);
// Removes a burnt-out link (the node counts were lowered when it broke).
void drop_link(int32_t i);
// Kills node k; its links vanish at once without burning.
void kill_node(int32_t k);
// Pushes both ends of link i by v * s and adds h to its temperature.
void heat_link(int32_t i, vec2 v, double s, double h);

// Empties the four arrays, in the order particles, nodes, links, ships.
void clear_world();

}  // namespace vorn
