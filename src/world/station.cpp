// The station builder: a diamond of 19 rows of square cells (1, 3, ..., 19,
// ..., 3, 1) grown row by row from the top, each new cell reusing the corner
// nodes it shares with cells already built, then its centre knocked out.
#include "world/station.h"

#include <cstdint>
#include <vector>

#include "config/tunables.h"
#include "world/world.h"

namespace vorn {

namespace {

// One cell's corner nodes.
struct cellrec {
  int32_t tl, tr, br, bl;
};

// Rows 0..18 have 2 min(r, 18 - r) + 1 cells; the middle cell of row 9 is
// preceded by the 81 cells of rows 0..8 and 9 cells of its own row.
constexpr int32_t widest_row = 19;
constexpr int32_t cell_count = 181;
constexpr int32_t centre_cell = 90;

// The state of one build: new corners are locked, at rest, in one colour.
struct builder {
  color_t color;
  double c;
  std::vector<cellrec> cells;
  std::vector<int32_t> guns;

  int32_t node(double x, double y) const { return add_node(true, color, x, y, 0, 0); }
  vec2 at(int32_t n) const { return nodes[n].pos; }
  void link(int32_t a, int32_t b) const { add_link(a, b, color); }

  // Diagonally below-left of a, touching it only at a.bl.
  cellrec start(cellrec a) const {
    cellrec n;
    n.tr = a.bl;
    n.tl = node(at(a.bl).x - c, at(a.bl).y);
    n.br = node(at(a.bl).x, at(a.bl).y + c);
    n.bl = node(at(a.bl).x - c, at(a.bl).y + c);
    link(n.tl, n.tr);
    link(n.tr, n.br);
    link(n.br, n.bl);
    link(n.bl, n.tl);
    link(n.tl, n.br);
    link(n.tr, n.bl);
    return n;
  }

  // Directly below a and directly right of b: only the bottom-right corner is new.
  cellrec fill(cellrec a, cellrec b) const {
    cellrec n;
    n.tl = a.bl;
    n.tr = a.br;
    n.bl = b.br;
    n.br = node(at(a.br).x, at(a.br).y + c);
    link(n.tr, n.br);
    link(n.br, n.bl);
    link(n.tl, n.br);
    link(n.tr, n.bl);
    return n;
  }

  // Directly right of a.
  cellrec end(cellrec a) const {
    cellrec n;
    n.tl = a.tr;
    n.bl = a.br;
    n.tr = node(at(a.tr).x + c, at(a.tr).y);
    n.br = node(at(a.br).x + c, at(a.br).y);
    link(n.tl, n.tr);
    link(n.tr, n.br);
    link(n.br, n.bl);
    link(n.tl, n.br);
    link(n.tr, n.bl);
    return n;
  }

  // Directly below a, with no cell to its left.
  cellrec drop(cellrec a) const {
    cellrec n;
    n.tl = a.bl;
    n.tr = a.br;
    n.br = node(at(a.br).x, at(a.br).y + c);
    n.bl = node(at(a.bl).x, at(a.bl).y + c);
    link(n.tr, n.br);
    link(n.br, n.bl);
    link(n.bl, n.tl);
    link(n.tl, n.br);
    link(n.tr, n.bl);
    return n;
  }

  void top(double x, double y) {
    const double half = c / 2;
    cellrec n;
    n.tl = node(x - half, y - half);
    n.tr = node(x + half, y - half);
    n.br = add_node(true, red, x + half, y + half, 0, 0);
    n.bl = node(x - half, y + half);
    link(n.tl, n.tr);
    link(n.tr, n.br);
    link(n.br, n.bl);
    link(n.bl, n.tl);
    link(n.tl, n.br);
    link(n.tr, n.bl);
    cells.push_back(n);
  }

  // Rows 1..9: each row w = 3, 5, ..., 19 cells starts one cell further left
  // and ends one further right than the row above, braced across both notches.
  void widening_row(int32_t w) {
    const size_t p = cells.size() - static_cast<size_t>(w - 2);  // first cell of the row above
    const size_t n0 = cells.size();
    cells.push_back(start(cells[p]));
    link(cells[n0].tl, cells[p].tl);
    for (int32_t k = 0; k <= w - 3; ++k) cells.push_back(fill(cells[p + k], cells[n0 + k]));
    cells.push_back(end(cells[n0 + w - 2]));
    link(cells[n0 + w - 1].tr, cells[p + w - 3].tr);
    guns.push_back(cells[n0 + w - 1].tr);
    guns.push_back(cells[n0].tl);
  }

  // Rows 10..17: each row w = 17, 15, ..., 3 cells sits under the row above
  // without its two end cells, braced to the bottom corners of those.
  void narrowing_row(int32_t w) {
    const size_t p = cells.size() - static_cast<size_t>(w + 2);
    const size_t n0 = cells.size();
    cells.push_back(drop(cells[p + 1]));
    link(cells[n0].bl, cells[p].bl);
    for (int32_t k = 0; k <= w - 2; ++k) cells.push_back(fill(cells[p + k + 2], cells[n0 + k]));
    link(cells[n0 + w - 1].br, cells[p + w + 1].br);
    guns.push_back(cells[n0 + w - 1].br);
    guns.push_back(cells[n0].bl);
  }

  void bottom() {
    const size_t p = cells.size() - 3;
    const size_t n0 = cells.size();
    cells.push_back(drop(cells[p + 1]));
    link(cells[n0].bl, cells[p].bl);
    link(cells[n0].br, cells[p + 2].br);
  }
};

}  // namespace

void make_station(color_t color, double x, double y) {
  const double c = def_ds_cell_size;
  builder b{color, c, {}, {}};
  b.cells.reserve(cell_count);
  b.top(x, y);
  for (int32_t w = 3; w <= widest_row; w += 2) b.widening_row(w);
  for (int32_t w = widest_row - 2; w >= 3; w -= 2) b.narrowing_row(w);
  b.bottom();

  // The hole in the middle: the centre cell's links vanish without burning.
  // Every neighbour keeps at least 4 intact links, so nothing cascades.
  const cellrec centre = b.cells[centre_cell];
  kill_node(centre.tl);
  kill_node(centre.tr);
  kill_node(centre.br);
  kill_node(centre.bl);

  const int32_t s = add_ship();
  shprec& ship = ships[s];
  // Four entries per cell, so shared corners count up to four times in the
  // ship's centre and alive count (708 of 724 alive after the hole).
  ship.nodes.reserve(4 * b.cells.size());
  for (const cellrec& cell : b.cells) {
    for (const int32_t n : {cell.tl, cell.tr, cell.br, cell.bl}) {
      ship.nodes.push_back(n);
      nodes[n].ship = s;
    }
  }
  ship.guns = b.guns;
  ship.gun_aim.assign(b.guns.size(), vec(0, 0));
  ship.gun_fire.assign(b.guns.size(), false);
  ship.radius = def_ds_radius;
  // Not the lattice's centre (that is (x, y + 9c)); the first substep
  // replaces it by the mean of the live entries.
  ship.pos = vec(x + 10 * c, y + 10 * c);
}

}  // namespace vorn
