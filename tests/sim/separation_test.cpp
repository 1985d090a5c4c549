// The enemy separation computed in rows and ship by ship must give the very
// bits of the pair-by-pair, node-by-node steering: the paired-lane row,
// the reversed terms, the in-order sums, and the whole steering of a game.
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include "game_fixture.h"
#include "plain_steering.h"
#include "sim/separation.h"

namespace vorn {
namespace {

using Separation = GameTest;

bool same_bits(vec2 a, vec2 b) {
  return std::bit_cast<uint64_t>(a.x) == std::bit_cast<uint64_t>(b.x) &&
         std::bit_cast<uint64_t>(a.y) == std::bit_cast<uint64_t>(b.y);
}

bool has_nan(vec2 v) { return std::isnan(v.x) || std::isnan(v.y); }

// Centres around ck = (0, 0) that take every branch: differences of exactly
// half the world (a tie keeps the plain difference), beyond half (wrapped),
// zero in one or both components, shorter than eps, ordinary, not a number.
std::vector<vec2> awkward_centres() {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  return {{800, 0},    {-800, 0},  {0, 600},     {0, -600},      {0, 0},          {3e-6, 0},
          {1e-3, -2e-3}, {799.75, 599.5}, {-801, 601}, {-123.25, 77.5}, {0, 45},  {-0.0, -31},
          {nan, 5},    {7, 3}};
}

TEST_F(Separation, RowAndReversalsMatchThePairByPairTerms) {
  std::vector<vec2> centres = awkward_centres();
  // And a sweep of ordinary and grid-aligned centres, odd in number so that
  // the row's single-lane tail runs too.
  for (int32_t i = 0; i < 301; ++i) {
    const double x = Random(4) == 0 ? 16.0 * (Random(101) - 50) : 1600 * random_real() - 800;
    const double y = Random(4) == 0 ? 15.0 * (Random(81) - 40) : 1200 * random_real() - 600;
    centres.push_back({x, y});
  }
  for (const vec2 ck : {vec2{0, 0}, vec2{-800, 600}, vec2{12.5, -7.25}}) {
    std::vector<double> xs, ys;
    for (const vec2 c : centres) {
      xs.push_back(c.x);
      ys.push_back(c.y);
    }
    std::vector<vec2> out(centres.size()), back(centres.size());
    separation_row(ck, xs.data(), ys.data(), centres.size(), ai_repulse, out.data(), back.data());
    for (size_t j = 0; j < centres.size(); ++j) {
      const vec2 there = separation_term(ck, centres[j], ai_repulse);
      const vec2 here = separation_term(centres[j], ck, ai_repulse);
      if (has_nan(there)) {
        EXPECT_TRUE(has_nan(out[j]) && has_nan(back[j])) << j;
        continue;
      }
      EXPECT_TRUE(same_bits(out[j], there)) << j << ": " << centres[j].x << ", " << centres[j].y;
      EXPECT_TRUE(same_bits(back[j], here)) << j << ": " << centres[j].x << ", " << centres[j].y;
    }
  }
}

TEST_F(Separation, SumsSideBySideAreTheSumsInOrder) {
  std::vector<vec2> terms;
  for (int32_t j = 0; j < 37; ++j) terms.push_back({1e6 * random_real() - 5e5, 1e-3 * random_real()});
  for (size_t n = 0; n <= 19; ++n) {
    std::vector<vec2> F(n), expected(n);
    for (size_t i = 0; i < n; ++i) F[i] = expected[i] = {random_real() * 1e9, -random_real()};
    for (vec2& e : expected) {
      for (const vec2 t : terms) e = add(e, t);
    }
    add_terms(F.data(), n, terms.data(), terms.size());
    for (size_t i = 0; i < n; ++i) EXPECT_TRUE(same_bits(F[i], expected[i])) << n << ", " << i;
  }
}

// A played game with darts whole, damaged, wrecked, without a nose and
// inside the station: steering all nodes at once gives each node exactly
// the force and velocity that enemy_node_forces gives it alone.
TEST_F(Separation, ShipByShipSteeringIsNodeByNodeSteering) {
  enemy_count = 40;
  game_reset(false);
  for (int32_t i = 0; i < 30; ++i) substep(1.0 / 480);
  for (const int32_t k : ships[3].nodes) kill_node(k);  // wrecked, still repels
  kill_node(ships[4].nodes[4]);                           // no nose
  kill_node(ships[5].nodes[0]);                           // damaged
  ships[6].pos = ships[1].pos;                            // at the station's centre
  ships[7].pos = add(ships[1].pos, vec(20, 0));           // inside its radius
  ships[8].pos = ships[9].pos;                            // two darts on one spot
  ships[10].pos = vec(ships[11].pos.x, ships[11].pos.y + 40);  // one above the other
  for (noderec& n : nodes) n.force = vec(random_real() - 0.5, random_real() - 0.5);

  const std::vector<noderec> before = nodes;
  std::vector<vec2> force(nodes.size()), vel(nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    vec2 F = nodes[i].force;
    if (nodes[i].alive && nodes[i].ship >= 2) enemy_node_forces(static_cast<int32_t>(i), F);
    force[i] = F;
    vel[i] = nodes[i].vel;
  }
  nodes = before;
  steer_enemy_nodes();
  for (size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_TRUE(same_bits(nodes[i].force, force[i])) << "node " << i;
    EXPECT_TRUE(same_bits(nodes[i].vel, vel[i])) << "node " << i;
  }
}

}  // namespace
}  // namespace vorn
