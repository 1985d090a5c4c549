// Records every scripted game as a golden demo: record_demos DIR writes
// DIR/NAME.demo for each. The test suite replays them with the game itself.
#include <cstdio>
#include <string>

#include "tools/scenarios.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: record_demos DIR\n");
    return 2;
  }
  for (const vorn::scenario& s : vorn::scenarios()) {
    const std::string file = std::string(argv[1]) + "/" + s.name + ".demo";
    const int64_t frames = vorn::run_scenario(s, file);
    if (frames == 0) {
      std::fprintf(stderr, "record_demos: cannot record %s\n", file.c_str());
      return 1;
    }
    std::printf("%s: %lld frames\n", file.c_str(), static_cast<long long>(frames));
  }
  return 0;
}
