// A clean world for every test: default tunables, an 800 x 600 screen with
// its 1600 x 1200 world, empty arrays, program-start flags and seed 0.
#pragma once

#include <gtest/gtest.h>

#include "app/window.h"
#include "base/rng.h"
#include "config/tunables.h"
#include "world/geometry.h"
#include "world/ships.h"
#include "world/world.h"

#include "support/clean_game.h"

namespace vorn {

class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vorn_test::start_clean_game();
  }
  void TearDown() override { clear_world(); }
};

// The node-count invariant: nlinks is the number of alive, non-burning links
// touching the node.
inline void expect_counts_consistent() {
  for (size_t k = 0; k < nodes.size(); ++k) {
    int32_t n = 0;
    for (const linkrec& l : links) {
      if (l.alive && !l.burning && (l.a == int32_t(k) || l.b == int32_t(k))) ++n;
    }
    EXPECT_EQ(nodes[k].nlinks, n) << "node " << k;
  }
}

}  // namespace vorn
