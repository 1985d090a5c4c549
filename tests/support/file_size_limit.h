// Runs a piece of a test with the process's file size limit lowered, so that
// a write past it fails with EFBIG part way, as on a full disk.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace vorn_test {

// Calls f() with RLIMIT_FSIZE at `bytes` and SIGXFSZ ignored, then puts both
// back; returns what f returns.
template <typename F>
auto with_file_size_limit(rlim_t bytes, F f) {
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = bytes;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const auto result = f();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, old_handler);
  return result;
}

}  // namespace vorn_test
