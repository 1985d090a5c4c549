// A browser page has no display connection that could be lost: the page
// closing ends everything at once.
#include "platform/display_lost.h"

namespace vorn {

void on_display_lost(void (*)()) {}

}  // namespace vorn
