// Prints the reference table of every configuration key (type, default and
// meaning) in Markdown, generated from the key table. The README embeds it
// between two marker lines; a test checks that the two agree.
#include <cstdio>

#include "config/print_config.h"

int main() {
  std::fputs(vorn::config_reference_markdown().c_str(), stdout);
  return 0;
}
