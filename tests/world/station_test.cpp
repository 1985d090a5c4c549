// The station builder: lattice shape, shared corners, the knocked-out
// centre, the guns and the ship record.
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "world/station.h"
#include "world_fixture.h"

namespace vorn {
namespace {

using Station = WorldTest;

// The corners of all 181 cells in closed form, for a top cell at (x, y).
std::set<std::pair<double, double>> cell_corners(double x, double y, double c) {
  std::set<std::pair<double, double>> corners;
  for (int32_t r = 0; r <= 18; ++r) {
    const int32_t w = 2 * std::min(r, 18 - r) + 1;
    for (int32_t j = 0; j < w; ++j) {
      const double cx = x + (j - (w - 1) / 2.0) * c, cy = y + r * c;
      for (double dx : {-0.5, 0.5}) {
        for (double dy : {-0.5, 0.5}) corners.insert({cx + dx * c, cy + dy * c});
      }
    }
  }
  return corners;
}

// The station built with its top cell at (x, y) and cells of size c.
void expect_station(double x, double y, double c) {
  SCOPED_TRACE(c);
  clear_world();
  def_ds_cell_size = c;
  make_station(grey, x, y);
  ASSERT_EQ(nodes.size(), 220u);
  ASSERT_EQ(links.size(), 798u);
  ASSERT_EQ(ships.size(), 1u);

  std::set<std::pair<double, double>> positions;
  std::vector<vec2> dead;
  std::map<int32_t, int32_t> by_count;
  for (const noderec& n : nodes) {
    positions.insert({n.pos.x, n.pos.y});
    EXPECT_TRUE(n.locked);
    EXPECT_EQ(n.ship, 0);
    if (n.alive) {
      ++by_count[n.nlinks];
    } else {
      dead.push_back(n.pos);
    }
  }
  EXPECT_EQ(positions, cell_corners(x, y, c));
  EXPECT_EQ(by_count, (std::map<int32_t, int32_t>{{4, 8}, {5, 32}, {6, 8}, {7, 40}, {8, 128}}));
  ASSERT_EQ(dead.size(), 4u);
  vec2 hole{0, 0};
  for (const vec2& p : dead) hole = add(hole, scale(p, 0.25));
  EXPECT_EQ(hole.x, x);
  EXPECT_EQ(hole.y, y + 9 * c);

  EXPECT_EQ(nodes[2].color, red);
  EXPECT_EQ(nodes[2].pos.x, x + c / 2);
  EXPECT_EQ(nodes[2].pos.y, y + c / 2);

  int32_t dead_links = 0;
  for (const linkrec& l : links) {
    if (!l.alive) ++dead_links;
    EXPECT_FALSE(l.burning && l.alive);
    const double d = std::fabs(l.rest - c) < 1e-9 ? c : c * std::sqrt(2.0);
    EXPECT_NEAR(l.rest, d, 1e-9);
  }
  EXPECT_EQ(dead_links, 26);
  expect_counts_consistent();

  const shprec& s = ships[0];
  ASSERT_EQ(s.nodes.size(), 724u);
  int32_t alive_entries = 0;
  for (int32_t n : s.nodes) alive_entries += nodes[n].alive ? 1 : 0;
  EXPECT_EQ(alive_entries, 708);
  EXPECT_EQ((std::vector<int32_t>(s.nodes.begin(), s.nodes.begin() + 8)),
            (std::vector<int32_t>{0, 1, 2, 3, 4, 3, 5, 6}));  // TL, TR = top.BL, BR, BL
  EXPECT_EQ(s.radius, def_ds_radius);
  EXPECT_EQ(s.pos.x, x + 10 * c);
  EXPECT_EQ(s.pos.y, y + 10 * c);

  // Guns: widening rows right then left, then narrowing rows likewise.
  ASSERT_EQ(s.guns.size(), 34u);
  EXPECT_EQ(s.gun_aim.size(), 34u);
  EXPECT_EQ(s.gun_fire, std::vector<bool>(34, false));
  for (int32_t g = 0; g < 34; ++g) {
    const int32_t r = g / 2 + 1;
    const double side = g % 2 == 0 ? 1 : -1;
    const double gx = r <= 9 ? side * (r + 0.5) : side * (18 - r + 0.5);
    const double gy = r <= 9 ? r - 0.5 : r + 0.5;
    EXPECT_EQ(nodes[s.guns[g]].pos.x, x + gx * c) << g;
    EXPECT_EQ(nodes[s.guns[g]].pos.y, y + gy * c) << g;
  }
}

// At the defaults, and with another cell size at another place.
TEST_F(Station, LatticeHoleGunsAndShip) {
  expect_station(-172.5, -182.5, 16);
  expect_station(0, 0, 10);
}

TEST_F(Station, AfterReservedPlayerSlots) {
  // A game without a player keeps ship 0, nodes 0-3 and links 0-5 as dead
  // records; the station then follows them.
  nodes.resize(4);
  links.resize(6);
  ships.resize(1);
  make_station(grey, -172.5, -182.5);
  ASSERT_EQ(ships.size(), 2u);
  EXPECT_EQ(ships[1].nodes.front(), 4);
  EXPECT_EQ(nodes[4].ship, 1);
  EXPECT_EQ(nodes[0].nlinks, 0);
  int32_t dead_links = 0;
  for (size_t j = 6; j < links.size(); ++j) dead_links += links[j].alive ? 0 : 1;
  EXPECT_EQ(dead_links, 26);
  expect_counts_consistent();
}

}  // namespace
}  // namespace vorn
