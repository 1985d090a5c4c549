// Switches the C locale to one whose decimal separator is a comma, for tests
// that check that numbers are read and written with '.' whatever the locale.
#pragma once

#include <clocale>
#include <cstdlib>
#include <cstring>

namespace vorn_test {

// True when LC_ALL is now a decimal-comma locale. Looks in the system's
// locales first, then in VORN_LOCALE_DIR (test.sh builds one there).
inline bool use_comma_locale() {
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"};
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      const char* dir = std::getenv("VORN_LOCALE_DIR");
      if (dir == nullptr) return false;
      setenv("LOCPATH", dir, 1);
    }
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
