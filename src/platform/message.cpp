// Message reports on standard error.
#include "platform/message.h"

#include <cstdio>

namespace vorn {

void message_box(const char* title, const char* text) {
  std::fprintf(stderr, "%s: %s\n", title, text);
  std::fflush(stderr);
}

}  // namespace vorn
