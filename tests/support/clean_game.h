// The state every game test starts from: a fresh session (default tunables,
// empty world, program-start flags, seed 0) on an 800 x 600 screen with its
// 1600 x 1200 world and the camera at rest; the worker threads used on a
// busy machine too, so that every thread count is really tried.
#pragma once

#include "app/window.h"
#include "base/cpu_load.h"
#include "base/workers.h"
#include "sim/session.h"
#include "world/geometry.h"

namespace vorn_test {

inline void start_clean_game() {
  vorn::reset_session();
  vorn::assume_spare_cores(vorn::max_threads);
  vorn::screen_w = 800;
  vorn::screen_h = 600;
  vorn::world_w = 1600;
  vorn::world_h = 1200;
}

}  // namespace vorn_test
