// A clean game for the simulation tests: default tunables, an 800 x 600
// screen with its 1600 x 1200 world, empty arrays, program-start flags,
// timers, held controls and seed 0; small worlds are then built by hand.
#pragma once

#include <gtest/gtest.h>

#include "app/window.h"
#include "base/cpu_load.h"
#include "base/rng.h"
#include "config/tunables.h"
#include "gfx/draw.h"
#include "sim/beams.h"
#include "sim/control.h"
#include "sim/rules.h"
#include "sim/step.h"
#include "world/geometry.h"
#include "world/ships.h"
#include "world/world.h"

#include "support/clean_game.h"

namespace vorn {

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override { vorn_test::start_clean_game(); }
  void TearDown() override {
    clear_world();
    reset_rules_state();
    reset_cpu_load();
  }

  // Two fresh free nodes joined by one link; returns the link's index.
  static int32_t free_link(vec2 a, vec2 b) {
    const int32_t na = add_node(false, grey, a.x, a.y, 0, 0);
    const int32_t nb = add_node(false, grey, b.x, b.y, 0, 0);
    add_link(na, nb, grey);
    return static_cast<int32_t>(links.size()) - 1;
  }

  static int32_t alive_particles() {
    int32_t n = 0;
    for (const partrec& p : particles) n += p.alive ? 1 : 0;
    return n;
  }
};

}  // namespace vorn
