// Timer slots and the frame loop's arithmetic, driven through a scripted clock.
#include "app/frame_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/window.h"

namespace vorn {
namespace {

TEST(Timer, SlotsAreTakenFromTheTopAndRunOut) {
  reset_timers();
  EXPECT_EQ(timer_alloc(), 100);
  EXPECT_EQ(timer_alloc(), 99);
  for (int i = 98; i >= 1; --i) EXPECT_EQ(timer_alloc(), i);
  // Slot 0 is in use from program start, so now nothing is free.
  EXPECT_EQ(timer_alloc(), 0);
  // Slots outside 0 .. timer_slot_count - 1 are ignored.
  timer_start(timer_slot_count);
  EXPECT_EQ(timer_us(timer_slot_count), 0);
  EXPECT_EQ(timer_us(-1), 0);
  reset_timers();
}

TEST(Timer, StartingAFreeSlotIsReportedAndStillStarts) {
  reset_timers();
  testing::internal::CaptureStderr();
  timer_start(42);
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("Programmer error"), std::string::npos);
  EXPECT_NE(report.find("TIM!"), std::string::npos);
  EXPECT_GE(timer_us(42), 0);
  EXPECT_LT(timer_us(42), 1000000);
}

TEST(FrameCap, PeriodIsTruncatedMicroseconds) {
  EXPECT_EQ(min_frame_period_us(60000), 16);
  EXPECT_EQ(min_frame_period_us(60), 16666);
  EXPECT_EQ(min_frame_period_us(0), 0);
}

// A clock that returns scripted loop times, one per frame, and counts the
// frames it hands out; the loop ends after the script.
struct scripted {
  static inline std::vector<int64_t> times;
  static inline size_t next = 0;
  static inline int64_t last_read = 0;
  static int64_t wait_and_read(int64_t, int64_t) {
    last_read = times[next++];
    return last_read;
  }
  static int64_t read() { return last_read; }
};

struct frame_seen {
  double dt, t;
};
std::vector<frame_seen> frames_seen;

void record_frame(double dt, double t) {
  frames_seen.push_back({dt, t});
  frame_count += 1;
  if (scripted::next == scripted::times.size()) quit_requested = true;
}

void run_script(std::vector<int64_t> times) {
  reset_window_state();
  reset_timers();
  frames_seen.clear();
  scripted::times = std::move(times);
  scripted::next = 0;
  scripted::last_read = 0;
  on_frame = record_frame;
  const frame_clock clock{scripted::wait_and_read, scripted::read};
  frame_hooks hooks;
  hooks.clock = &clock;
  hooks.pump = [] {};
  run_frame_loop(hooks);
}

TEST(FrameLoop, FrameTimeHasAOneMillisecondFloor) {
  run_script({200, 50200, 51000});
  ASSERT_EQ(frames_seen.size(), 3u);
  EXPECT_DOUBLE_EQ(frames_seen[0].dt, 0.001);
  EXPECT_DOUBLE_EQ(frames_seen[1].dt, 0.05);
  EXPECT_DOUBLE_EQ(frames_seen[2].dt, 0.001);  // 800 us
  EXPECT_DOUBLE_EQ(frames_seen[2].t, 0.051);
}

TEST(FrameLoop, FpsIsTheFrameCountOfTheLastWholeSecond) {
  // 30 frames in the first second, then a frame just after it.
  std::vector<int64_t> times;
  for (int i = 1; i <= 30; ++i) times.push_back(i * 33000);
  times.push_back(1000000);
  times.push_back(1010000);
  run_script(times);
  EXPECT_EQ(fps, 30);
  EXPECT_EQ(frame_count, 2);  // the frames at 1.00 s and 1.01 s
}

TEST(FrameLoop, SecondWindowsStayExactFarIntoTheRun) {
  // Microsecond times beyond the 32-bit range (days of running).
  const int64_t base = int64_t(1) << 40;
  std::vector<int64_t> times;
  for (int i = 0; i < 10; ++i) times.push_back(base + i * 100000);
  times.push_back(base + 1000000);
  run_script(times);
  // The first frame opens a window at `base`; exactly 1 s later fps is taken.
  EXPECT_EQ(fps, 10);
}

}  // namespace
}  // namespace vorn
