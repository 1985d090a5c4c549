// The reset of every subsystem's state.
#include "sim/session.h"

#include "base/rng.h"
#include "base/rules_version.h"
#include "base/stop_request.h"
#include "config/tunables.h"
#include "gfx/draw.h"
#include "gfx/world_draw.h"
#include "sim/beams.h"
#include "sim/control.h"
#include "sim/impacts.h"
#include "sim/rules.h"
#include "sim/step.h"
#include "world/geometry.h"
#include "world/happenings.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {

void reset_session() {
  reset_tunables();
  clear_world();
  clear_happenings();
  reset_geometry();
  reset_ship_state();
  reset_step_state();
  reset_beam_state();
  reset_impact_state();
  reset_control_state();
  reset_rules_state();
  reset_draw_state();
  reset_world_draw();
  set_random_seed(0);
  reset_rules_version();
  reset_stop_request();
}

}  // namespace vorn
