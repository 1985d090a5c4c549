// Switches the C locale to one whose decimal separator is a comma, for tests
// that check that numbers are read and written with '.' whatever the locale.
#pragma once

#include <clocale>
#include <cstdlib>
#include <cstring>

namespace vorn_test {

// True when LC_ALL is now a decimal-comma locale. Looks in the system's
// locales first, then in the build tree's (the test build makes one there).
inline bool use_comma_locale() {
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"};
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) setenv("LOCPATH", VORN_BINARY_DIR "/locale", 1);
    for (const char* n : names) {
      if (std::setlocale(LC_ALL, n) != nullptr && std::strcmp(std::localeconv()->decimal_point, ",") == 0)
        return true;
    }
  }
  std::setlocale(LC_ALL, "C");
  return false;
}

inline void restore_c_locale() { std::setlocale(LC_ALL, "C"); }

}  // namespace vorn_test
