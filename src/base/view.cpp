// The screen's size, 0 x 0 until a window is opened.
#include "base/view.h"

namespace vorn {

int32_t screen_w = 0;
int32_t screen_h = 0;

}  // namespace vorn
