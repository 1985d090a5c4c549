// Sanitizer settings built into every program of the sanitizer build, so that
// running a test or the game by hand checks exactly what ./test.sh checks:
// the first error is fatal, leaks are reported, and the few bytes that the
// system's X11 and SDL libraries never free are not counted as the game's.
extern "C" {

const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=1"; }

const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

const char* __lsan_default_options() { return "print_suppressions=0"; }

const char* __lsan_default_suppressions() {
  return "leak:libX11.so\n"
         "leak:libxcb.so\n"
         "leak:libSDL-1.2.so\n";
}

}  // extern "C"
