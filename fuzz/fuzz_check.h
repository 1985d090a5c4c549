// The one assertion of the fuzz targets: a property that must hold for every
// input. A violation prints what failed and aborts, which both libFuzzer and
// the corpus replay report as a crash with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace vorn::fuzz {

inline void require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property violated: %s\n", property);
  std::abort();
}

}  // namespace vorn::fuzz
