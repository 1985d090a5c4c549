// Prints the reference of every configuration key (type, default and
// meaning), generated from the key table: in Markdown for the README, which
// embeds it between two marker lines (a test checks that they agree), or
// with --roff as paragraphs for the manual page.
#include <cstdio>
#include <cstring>

#include "config/print_config.h"

int main(int argc, char** argv) {
  const bool roff = argc == 2 && std::strcmp(argv[1], "--roff") == 0;
  if (argc > 2 || (argc == 2 && !roff)) {
    std::fputs("usage: configdoc [--roff]\n", stderr);
    return 2;
  }
  std::fputs((roff ? vorn::config_reference_roff() : vorn::config_reference_markdown()).c_str(), stdout);
  return 0;
}
