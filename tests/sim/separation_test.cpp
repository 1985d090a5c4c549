// The enemy separation computed in rows, tiles and ship by ship must give the
// very bits of the pair-by-pair, node-by-node steering, in every instruction
// set the processor has and on every thread count: the rows, the reversed
// terms, the in-order sums, the crowd's wavefront and the whole steering.
#include <cmath>
#include <limits>
#include <vector>

#include "game_fixture.h"
#include "plain_steering.h"
#include "sim/isa.h"
#include "sim/separation.h"
#include "base/workers.h"
#include "support/same_bits.h"

namespace vorn {
namespace {

class Separation : public GameTest {
 protected:
  void TearDown() override {
    reset_isa();
    reset_workers();
    GameTest::TearDown();
  }
};

// The instruction sets this processor has.
std::vector<isa_level> machine_isas() {
  std::vector<isa_level> out;
  for (const isa_level isa : built_isas()) {
    if (isa_supported(isa)) out.push_back(isa);
  }
  return out;
}

using vorn_test::same_bits;

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
  for (const isa_level isa : machine_isas())
  for (const vec2 ck : {vec2{0, 0}, vec2{-800, 600}, vec2{12.5, -7.25}}) {
    ASSERT_TRUE(select_isa(isa));
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
      EXPECT_TRUE(same_bits(out[j], there)) << isa_name(isa) << " " << j << ": " << centres[j].x << ", " << centres[j].y;
      EXPECT_TRUE(same_bits(back[j], here)) << isa_name(isa) << " " << j << ": " << centres[j].x << ", " << centres[j].y;
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

// A crowd of several blocks (odd sizes, centres on one spot, on the seam and
// not a number among them): every ship's sum is the plain ascending sum of
// its terms, whatever the instruction set and the number of threads.
TEST_F(Separation, CrowdSumsArePlainSumsOnEveryThreadCount) {
  const size_t E = crowd_threads + separation_block + 13;
  separation_scratch s;
  std::vector<vec2> start(E);
  for (size_t e = 0; e < E; ++e) {
    s.centre_x.push_back(1600 * random_real() - 800);
    s.centre_y.push_back(1200 * random_real() - 600);
    start[e] = {random_real() - 0.5, 1e6 * random_real()};
  }
  s.centre_x[7] = s.centre_x[300];
  s.centre_y[7] = s.centre_y[300];
  s.centre_x[70] = 800;
  s.centre_x[71] = -800;
  s.centre_y[200] = std::numeric_limits<double>::quiet_NaN();
  std::vector<vec2> plain = start;
  for (size_t e = 0; e < E; ++e) {
    const vec2 ce{s.centre_x[e], s.centre_y[e]};
    for (size_t m = 0; m < E; ++m) {
      if (m != e) plain[e] = add(plain[e], separation_term(ce, vec2{s.centre_x[m], s.centre_y[m]}, ai_repulse));
    }
  }
  for (const isa_level isa : machine_isas()) {
    for (const int32_t threads : {1, 2, 3}) {
      ASSERT_TRUE(select_isa(isa));
      set_thread_count(threads);
      s.sums = start;
      add_separation(s, ai_repulse);
      for (size_t e = 0; e < E; ++e) {
        EXPECT_TRUE(same_bits(s.sums[e], plain[e]))
            << isa_name(isa) << ", " << threads << " threads, ship " << e;
      }
    }
  }
}

// A played crowd game with darts whole, damaged, wrecked, without a nose and
// inside the station: steering all nodes at once, on every instruction set
// and thread count, gives each node exactly the force and velocity that
// enemy_node_forces gives it alone (so the game plays the same on them all).
TEST_F(Separation, ShipByShipSteeringIsNodeByNodeSteeringOnEveryPath) {
  enemy_count = static_cast<int32_t>(crowd_threads) + 40;
  game_reset(false);
  for (int32_t i = 0; i < 30; ++i) substep(1.0 / 480);
  for (const int32_t k : ships[3].nodes) kill_node(k);  // wrecked, still repels
  kill_node(ships[4].nodes[4]);                           // no nose
  kill_node(ships[5].nodes[0]);                           // damaged
  ships[6].pos = ships[1].pos;                            // at the station's centre
  ships[7].pos = add(ships[1].pos, vec(20, 0));           // inside its radius
  ships[8].pos = ships[9].pos;                            // two darts on one spot
  ships[10].pos = vec(ships[11].pos.x, ships[11].pos.y + 40);  // one above the other
  // Most darts' nodes start alike (as without impacts or beams), some not.
  for (noderec& n : nodes) n.force = n.ship % 3 == 0 ? vec(random_real() - 0.5, random_real() - 0.5) : vec(0, 0);

  const std::vector<noderec> before = nodes;
  std::vector<vec2> force(nodes.size()), vel(nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    vec2 F = nodes[i].force;
    if (nodes[i].alive && nodes[i].ship >= 2) enemy_node_forces(static_cast<int32_t>(i), F);
    force[i] = F;
    vel[i] = nodes[i].vel;
  }
  for (const isa_level isa : machine_isas()) {
    for (const int32_t threads : {1, 2, 3}) {
      ASSERT_TRUE(select_isa(isa));
      set_thread_count(threads);
      nodes = before;
      steer_enemy_nodes();
      for (size_t i = 0; i < nodes.size(); ++i) {
        ASSERT_TRUE(same_bits(nodes[i].force, force[i]) && same_bits(nodes[i].vel, vel[i]))
            << isa_name(isa) << ", " << threads << " threads, node " << i;
      }
    }
  }
}

}  // namespace
}  // namespace vorn
