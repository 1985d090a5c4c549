// The link phase with its cached schedule, vector shapes and early cooling
// must leave exactly the velocities and link states of the plain walk by
// index: over many substeps of random worlds whose links break, cascade,
// burn out, join and change ends, in every instruction set.
#include "sim/link_phase.h"

#include <vector>

#include "game_fixture.h"
#include "sim/isa.h"
#include "sim/lookup.h"
#include "support/same_bits.h"

namespace vorn {
namespace {

// The rule as it reads: every link by index, its spring from the positions,
// then its heating and cooling, or its countdown while it burns.
void plain_link_phase(double dt) {
  double k = dt_alpha / dt;
  if (k > 1) k = 1;
  for (int32_t i = 0; i < link_count(); ++i) {
    linkrec& l = links[i];
    if (!l.alive) continue;
    if (l.burning) {
      l.burn_left -= dt;
      if (l.burn_left < 0) drop_link(i);
      continue;
    }
    noderec& A = nodes[l.a];
    noderec& B = nodes[l.b];
    const vec2 r = wrap_diff(A.pos, B.pos);
    const vec2 u = norm(r);
    const vec2 w = scale(u, -1.0);
    double m = dot(u, u) + dot(w, w);
    if (m < eps && m > -eps) m = eps;
    const double s = dot(u, A.vel) + dot(w, B.vel);
    const double j = -k * (s + (len(r) - l.rest)) / m;
    A.vel = add(A.vel, scale(u, j));
    B.vel = add(B.vel, scale(u, -j));
    if (links[i].temp > blow_temp) burn_link(i);
    links[i].temp -= temp_decline * dt;
    if (links[i].temp < 0) links[i].temp = 0;
  }
}

class LinkPhase : public GameTest {
 protected:
  void TearDown() override {
    reset_isa();
    GameTest::TearDown();
  }

  static vec2 somewhere() { return vec(1600 * random_real() - 800, 1200 * random_real() - 600); }

  // Nodes anywhere (some pairs across the seam), with speeds; links mostly
  // between near indices, as the builders make them.
  static void random_world(int32_t n_nodes, int32_t n_links) {
    for (int32_t i = 0; i < n_nodes; ++i) {
      const vec2 p = somewhere();
      add_node(false, grey, p.x, p.y, 200 * random_real() - 100, 200 * random_real() - 100);
    }
    for (int32_t i = 0; i < n_links; ++i) join_two(n_nodes);
  }

  static void join_two(int32_t n_nodes) {
    const int32_t a = Random(n_nodes);
    const int32_t b = (a + 1 + Random(Random(3) == 0 ? n_nodes - 1 : 4)) % n_nodes;
    add_link(a, b, grey);
  }

  // What happens to a world between substeps: links heat up (some past
  // blow_temp), break, join, and a slot takes other ends; nodes drift.
  static void stir(int32_t n_nodes) {
    for (noderec& nd : nodes) nd.pos = wrap_diff(add(nd.pos, vec(3 * random_real() - 1.5, 2)), vec(0, 0));
    const int32_t roll = Random(10);
    const int32_t i = Random(link_count());
    if (roll < 3) links[i].temp = blow_temp * (0.5 + random_real());
    if (roll == 3) burn_link(i);
    if (roll == 4) join_two(n_nodes);
    if (roll == 5) {
      const int32_t a = Random(n_nodes);
      if (link_intact(links[i])) {
        nodes[links[i].a].nlinks -= 1;
        nodes[links[i].b].nlinks -= 1;
        set_link(i, a, (a + 1) % n_nodes, grey);
      }
    }
  }
};

TEST_F(LinkPhase, GivesTheBitsOfThePlainWalkOnEveryPath) {
  for (const isa_level isa : built_isas()) {
    if (!select_isa(isa)) continue;
    // Cooling as set, none, and (a setting may say so) warming.
    const struct {
      int32_t size;
      double decline;
    } worlds[] = {{3, 100}, {40, 100}, {300, 100}, {40, 0}, {40, -30}};
    for (const auto& [size, decline] : worlds) {
      temp_decline = decline;
      clear_world();
      reset_link_phase();
      random_world(size, 3 * size);
      links[1].burning = true;  // a broken link, and a free slot whose ends name no node
      links[1].burn_left = 0.01;
      links[2].alive = false;
      links[2].a = 1 << 30;
      for (int32_t step = 0; step < 60; ++step) {
        const double dt = step % 7 == 0 ? 0.01 : 1.0 / 480;  // also longer than dt_alpha
        const std::vector<noderec> nodes_before = nodes;
        const std::vector<linkrec> links_before = links;
        plain_link_phase(dt);
        const std::vector<noderec> nodes_want = nodes;
        const std::vector<linkrec> links_want = links;
        nodes = nodes_before;
        links = links_before;
        link_phase(dt);
        for (size_t i = 0; i < nodes.size(); ++i) {
          ASSERT_TRUE(vorn_test::same_bits(nodes[i].vel, nodes_want[i].vel) && nodes[i].nlinks == nodes_want[i].nlinks)
              << isa_name(isa) << " world " << size << " step " << step << " node " << i;
        }
        for (size_t i = 0; i < links.size(); ++i) {
          const linkrec& got = links[i];
          const linkrec& want = links_want[i];
          ASSERT_TRUE(got.alive == want.alive && got.burning == want.burning &&
                      vorn_test::same_bits(got.temp, want.temp) &&
                      vorn_test::same_bits(got.burn_left, want.burn_left))
              << isa_name(isa) << " world " << size << " step " << step << " link " << i;
        }
        stir(size);
      }
    }
  }
}

}  // namespace
}  // namespace vorn
