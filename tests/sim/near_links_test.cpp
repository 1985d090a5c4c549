// The links near a point against the plain walk: intact links with both ends
// within range, in index order, over worlds with broken, burning and dead
// links, ends across the seam and exactly at the range, and ranges cut to
// the link array.
#include "sim/near_links.h"

#include <random>
#include <utility>
#include <vector>

#include "game_fixture.h"
#include "sim/lookup.h"

namespace vorn {
namespace {

using NearLinks = GameTest;

std::vector<int32_t> plain_walk(vec2 P0, double R2, int32_t first, int32_t end) {
  std::vector<int32_t> kept;
  for (int32_t i = first < 0 ? 0 : first; i < link_range_end(end); ++i) {
    const linkrec& l = links[i];
    if (!link_intact(l)) continue;
    if (len2(wrap_diff(P0, nodes[l.a].pos)) < R2 && len2(wrap_diff(P0, nodes[l.b].pos)) < R2) kept.push_back(i);
  }
  return kept;
}

TEST_F(NearLinks, TheLinksThePlainWalkWouldTest) {
  std::mt19937 gen(3);
  std::uniform_real_distribution<double> x(-800, 800), y(-600, 600);
  for (int k = 0; k < 120; ++k) add_node(false, grey, x(gen), y(gen), 0, 0);
  nodes[7].pos = vec(300, 0);    // exactly at the range from the origin: out
  nodes[8].pos = vec(-799, 0);   // across the seam from nodes[9]
  nodes[9].pos = vec(799, 0);
  for (int k = 0; k < 400; ++k) add_link(int32_t(gen() % 120), int32_t(gen() % 120), grey);
  add_link(7, 8, grey);
  add_link(8, 9, grey);
  for (int32_t i = 0; i < 400; i += 7) burn_link(i);
  for (int32_t i = 3; i < 400; i += 11) drop_link(i);
  near_links found;
  for (const vec2 P0 : {vec(0, 0), vec(790, 0), vec(-800, -600), vec(12.5, -310)}) {
    for (const double R : {0.0, 50.0, 300.0, 2000.0}) {
      for (const auto& [first, end] : {std::pair{0, 1000}, {-5, 402}, {37, 200}, {390, 10}}) {
        find_near_links(P0, R * R, first, end, found);
        const std::vector<int32_t> want = plain_walk(P0, R * R, first, end);
        ASSERT_EQ(std::vector<int32_t>(found.found.begin(), found.found.begin() + found.count), want)
            << P0.x << "," << P0.y << " R " << R << " [" << first << ", " << end << ")";
      }
    }
  }
  const size_t room = found.found.capacity();
  clear_near_links(found);
  EXPECT_EQ(found.count, 0);
  EXPECT_TRUE(found.found.empty() && found.offset.empty() && found.close.empty());
  EXPECT_EQ(found.found.capacity(), room);
}

}  // namespace
}  // namespace vorn
