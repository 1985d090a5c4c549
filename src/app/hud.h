// The heads-up display drawn over the world each frame: the end-of-game
// messages, the status bar with the lives and the elapsed time, and the
// pause notice. It changes no game state.
#pragma once

namespace vorn {

void draw_hud();

}  // namespace vorn
