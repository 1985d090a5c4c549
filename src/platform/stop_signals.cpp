// The SIGINT and SIGTERM handlers.
#include "platform/stop_signals.h"

#include <signal.h>

#include "base/stop_request.h"

namespace vorn {

namespace {

// Only async-signal-safe calls: an atomic store, signal and raise.
void on_stop_signal(int sig) {
  if (stop_requested()) {
    signal(sig, SIG_DFL);
    raise(sig);
    return;
  }
  request_stop();
}

}  // namespace

void catch_stop_signals() {
  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a sleep between frames ends at once.
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace vorn
