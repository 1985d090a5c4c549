// Xlib's I/O error handler, called once a connection is broken (the process
// must end before it returns), and its protocol error handler, which sees a
// destroyed window as BadWindow or BadDrawable.
#include "platform/display_lost.h"

#include <X11/Xlib.h>
#include <unistd.h>

namespace vorn {

namespace {

void (*lost_proc)() = nullptr;
XErrorHandler previous_error_handler = nullptr;
bool handlers_installed = false;

[[noreturn]] void lost() {
  void (*proc)() = lost_proc;
  // Once is all: if ending the program breaks another connection, it stops.
  lost_proc = nullptr;
  if (proc != nullptr) proc();
  _exit(1);
}

int connection_broken(Display*) { lost(); }

int request_failed(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) lost();
  return previous_error_handler != nullptr ? previous_error_handler(display, error) : 0;
}

}  // namespace

void on_display_lost(void (*proc)()) {
  lost_proc = proc;
  if (handlers_installed) return;
  handlers_installed = true;
  XSetIOErrorHandler(connection_broken);
  previous_error_handler = XSetErrorHandler(request_failed);
}

}  // namespace vorn
