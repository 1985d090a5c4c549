// A clean game for the control, rules and command tests: default tunables,
// an 800 x 600 screen with its 1600 x 1200 world, empty arrays, program-start
// flags, timers, held controls and seed 0.
#pragma once

#include <gtest/gtest.h>

#include "app/window.h"
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
  }
};

}  // namespace vorn
