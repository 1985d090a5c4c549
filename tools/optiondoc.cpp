// Prints the command line's options and the controls, generated from the
// game's own tables, for the README (which embeds them between marker
// lines; a test checks that they agree) and the manual page:
//   optiondoc options | controls | options-roff | controls-roff
#include <cstdio>
#include <cstring>
#include <string>

#include "app/option_docs.h"

int main(int argc, char** argv) {
  const struct {
    const char* mode;
    std::string (*text)();
  } modes[] = {{"options", vorn::options_help},
               {"controls", vorn::controls_markdown},
               {"options-roff", vorn::options_roff},
               {"controls-roff", vorn::controls_roff}};
  for (const auto& m : modes) {
    if (argc == 2 && std::strcmp(argv[1], m.mode) == 0) {
      std::fputs(m.text().c_str(), stdout);
      return 0;
    }
  }
  std::fputs("usage: optiondoc options|controls|options-roff|controls-roff\n", stderr);
  return 2;
}
