// Timing a demo played as fast as the machine allows (--timedemo): the time
// from one frame's start to the next, gathered into one line of frames,
// seconds, frames per second and the shortest, median and longest frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

struct timedemo_state {
  std::vector<int64_t> frame_us;  // one per frame played, reserved before the first
  int64_t first_start_ns = -1;
  int64_t last_start_ns = -1;
  int64_t end_ns = -1;
};

inline timedemo_state timedemo;

// Makes room for the frames to come, so that timing allocates nothing per frame.
void reset_timedemo(int64_t frames);

// At the start of every frame.
void timedemo_frame_start();

// After the last frame.
void timedemo_finish();

// "timedemo: N frames in S s, F fps; frame shortest A us, median B us, longest C us"
std::string timedemo_report();

}  // namespace vorn
