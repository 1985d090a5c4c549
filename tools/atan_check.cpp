// The long check of the game's arctangent against MPFR: ten million or more
// arguments spread over every binade from 2^-30 to 2^60 (and the exact cases
// at both ends), each compared bit for bit with MPFR's correctly rounded
// atan. `atan_check --table` prints the constants of base/atan_table.cpp.
#include <mpfr.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/atan.h"
#include <cmath>

namespace {

double oracle(mpfr_t v, double x) {
  mpfr_set_d(v, x, MPFR_RNDN);
  mpfr_atan(v, v, MPFR_RNDN);
  return mpfr_get_d(v, MPFR_RNDN);
}

void print_limbs(mpfr_t v, const char* name) {
  std::printf("    {");
  for (int k = 0; k < 4; ++k) {
    const double d = mpfr_get_d(v, MPFR_RNDN);
    std::printf("%a%s", d, k < 3 ? ", " : "");
    mpfr_sub_d(v, v, d, MPFR_RNDN);
  }
  std::printf("},  // %s\n", name);
}

int print_table() {
  mpfr_t v;
  mpfr_init2(v, 600);
  for (int i = 0; i <= 64; ++i) {
    mpfr_set_si(v, i, MPFR_RNDN);
    mpfr_div_si(v, v, 64, MPFR_RNDN);
    mpfr_atan(v, v, MPFR_RNDN);
    char name[32];
    std::snprintf(name, sizeof name, "atan(%d/64)", i);
    print_limbs(v, name);
  }
  mpfr_const_pi(v, MPFR_RNDN);
  mpfr_div_si(v, v, 2, MPFR_RNDN);
  print_limbs(v, "pi/2");
  mpfr_clear(v);
  return 0;
}

uint64_t mix(uint64_t& s) {
  s += 0x9E3779B97F4A7C15ull;
  uint64_t z = s;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--table") == 0) return print_table();
  const int64_t per_binade = argc > 1 ? std::atoll(argv[1]) : 112000;
  mpfr_t v;
  mpfr_init2(v, 53);
  uint64_t seed = 12;
  int64_t checked = 0, wrong = 0, careful = 0;
  // Binades 2^-30 .. 2^60 of both signs: random mantissas.
  for (int e = -30; e < 60; ++e) {
    for (int64_t n = 0; n < per_binade; ++n) {
      const uint64_t m = mix(seed);
      double x = std::ldexp(1.0 + static_cast<double>(m >> 12) * 0x1p-52, e);
      if (m & 1) x = -x;
      double fast;
      if (std::fabs(x) >= 0x1p-27 && std::fabs(x) <= 0x1p55 && !vorn::atan_detail::atan_fast(std::fabs(x), fast))
        ++careful;
      const double got = vorn::atan_cr(x);
      const double want = oracle(v, x);
      ++checked;
      if (std::memcmp(&got, &want, sizeof got) != 0) {
        if (++wrong <= 20) std::printf("MISMATCH atan(%a) = %a, correctly rounded %a\n", x, got, want);
      }
    }
  }
  mpfr_clear(v);
  std::printf("atan_check: %" PRId64 " arguments over 90 binades, %" PRId64 " mismatches, %" PRId64
              " took the careful path\n",
              checked, wrong, careful);
  return wrong == 0 ? 0 : 1;
}
