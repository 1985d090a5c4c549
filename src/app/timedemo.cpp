// Timing a demo: a monotonic clock read at each frame's start.
#include "app/timedemo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace vorn {

namespace {

int64_t now_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void close_frame(int64_t at) {
  if (timedemo.last_start_ns >= 0 && timedemo.frame_us.size() < timedemo.frame_us.capacity())
    timedemo.frame_us.push_back((at - timedemo.last_start_ns + 500) / 1000);
}

}  // namespace

void reset_timedemo(int64_t frames) {
  timedemo = timedemo_state{};
  timedemo.frame_us.reserve(static_cast<size_t>(frames < 1 ? 1 : frames));
}

void timedemo_frame_start() {
  const int64_t at = now_ns();
  close_frame(at);
  if (timedemo.first_start_ns < 0) timedemo.first_start_ns = at;
  timedemo.last_start_ns = at;
}

void timedemo_finish() {
  timedemo.end_ns = now_ns();
  close_frame(timedemo.end_ns);
  timedemo.last_start_ns = -1;
}

std::string timedemo_report() {
  std::vector<int64_t> us = timedemo.frame_us;
  const size_t n = us.size();
  const double seconds =
      n == 0 ? 0.0 : static_cast<double>(timedemo.end_ns - timedemo.first_start_ns) / 1e9;
  const double fps = seconds > 0 ? static_cast<double>(n) / seconds : 0.0;
  int64_t shortest = 0, median = 0, longest = 0;
  if (n > 0) {
    std::sort(us.begin(), us.end());
    shortest = us.front();
    longest = us.back();
    median = n % 2 == 1 ? us[n / 2] : (us[n / 2 - 1] + us[n / 2]) / 2;
  }
  char line[200];
  std::snprintf(line, sizeof line,
                "timedemo: %zu frames in %.3f s, %.1f fps; frame shortest %lld us, median %lld us, longest %lld us\n",
                n, seconds, fps, static_cast<long long>(shortest), static_cast<long long>(median),
                static_cast<long long>(longest));
  return line;
}

}  // namespace vorn
