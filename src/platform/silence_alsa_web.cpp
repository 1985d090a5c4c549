// A browser page has no ALSA library to silence: the page's sound goes
// through the browser.
#include "platform/silence_alsa.h"

namespace vorn {

void silence_alsa() {}

}  // namespace vorn
