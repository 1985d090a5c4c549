// Reading _NET_WORKAREA (and _NET_CURRENT_DESKTOP) through Xlib on a
// connection of its own, closed again before the answer is returned.
#include "platform/x11_work_area.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace vorn {

namespace {

// The 32-bit items of a CARDINAL property on the root window, which Xlib
// hands out as longs; count 0 when it is missing or of another type.
struct cardinals {
  unsigned long* items = nullptr;
  unsigned long count = 0;
  ~cardinals() {
    if (items != nullptr) XFree(items);
  }
};

void read_cardinals(Display* display, const char* name, cardinals& out) {
  const Atom property = XInternAtom(display, name, True);
  if (property == None) return;
  Atom type = None;
  int format = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1024, False,
                                        XA_CARDINAL, &type, &format, &out.count, &after, &data);
  out.items = reinterpret_cast<unsigned long*>(data);
  if (status != Success || type != XA_CARDINAL || format != 32) out.count = 0;
}

int32_t clamp_to_int32(unsigned long v) { return v > 0x7FFFFFFFUL ? 0x7FFFFFFF : static_cast<int32_t>(v); }

}  // namespace

std::optional<work_area> x11_work_area() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return std::nullopt;
  std::optional<work_area> answer;
  {
    cardinals areas, desktop;
    read_cardinals(display, "_NET_WORKAREA", areas);
    read_cardinals(display, "_NET_CURRENT_DESKTOP", desktop);
    // Four numbers (x, y, width, height) per desktop.
    unsigned long index = desktop.count >= 1 ? desktop.items[0] : 0;
    if (index >= areas.count / 4) index = 0;
    if (areas.count >= 4) {
      const unsigned long* a = areas.items + 4 * index;
      const work_area area{clamp_to_int32(a[0]), clamp_to_int32(a[1]), clamp_to_int32(a[2]), clamp_to_int32(a[3])};
      if (area.width > 0 && area.height > 0) answer = area;
    }
  }
  XCloseDisplay(display);
  return answer;
}

}  // namespace vorn
