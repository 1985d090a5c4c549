// SIGINT and SIGTERM as a request to stop (see base/stop_request.h): the
// first one asks the game to stop within its frame, a second one while the
// first is still being answered ends the process as the signal would.
#pragma once

namespace vorn {

// Installs the handlers; before SDL starts, so that SDL keeps them.
void catch_stop_signals();

}  // namespace vorn
