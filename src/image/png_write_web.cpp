// The browser build writes no PNG files: the page has no frame export, and
// libpng is not part of that build. Every write fails, saying so.
#include <cstdio>

#include "image/png_write.h"

namespace vorn {

bool save_png(const std::string& file_name, const uint32_t*, int32_t, int32_t, bool) {
  std::fprintf(stderr, "vorn: cannot write %s: the browser build writes no PNG files\n", file_name.c_str());
  return false;
}

}  // namespace vorn
