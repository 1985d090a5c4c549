// A stop asked for in the middle of a game: the frame's physics is given up
// at its next safe point, the frame counts as abandoned, and a game with no
// stop plays on untouched.
#include <gtest/gtest.h>

#include "base/stop_request.h"
#include "game_fixture.h"
#include "sim/rules.h"
#include "sim/step.h"

namespace vorn {
namespace {

class Stop : public GameTest {
 protected:
  void TearDown() override {
    reset_stop_request();
    GameTest::TearDown();
  }

  static std::vector<vec2> positions() {
    std::vector<vec2> out;
    for (const noderec& n : nodes) out.push_back(n.pos);
    return out;
  }
};

TEST_F(Stop, AStopGivesTheFramesPhysicsUpAndMarksItAbandoned) {
  enemy_count = 300;  // a crowd large enough for the threaded separation
  game_reset(false);
  run_substeps(1.0 / 60);
  EXPECT_FALSE(frame_abandoned());
  const std::vector<vec2> before = positions();
  request_stop();
  EXPECT_TRUE(stop_requested());
  run_substeps(1.0 / 60);
  EXPECT_TRUE(frame_abandoned());
  const std::vector<vec2> after = positions();
  ASSERT_EQ(before.size(), after.size());
  for (size_t k = 0; k < before.size(); ++k) {
    EXPECT_EQ(before[k].x, after[k].x) << k;
    EXPECT_EQ(before[k].y, after[k].y) << k;
  }
  // Within a substep the separation gives up too: every tile is counted
  // done unrun, and the threads come out.
  substep(1.0 / 480);
  reset_stop_request();
  EXPECT_FALSE(stop_requested());
  EXPECT_FALSE(frame_abandoned());
}

}  // namespace
}  // namespace vorn
