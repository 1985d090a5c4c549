// Timing a demo: one line for the frames the demo played, in order shortest,
// median, longest, while the game itself plays exactly as an untimed replay.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/timedemo.h"
#include "game_runs.h"

namespace vorn {
namespace {

struct replay_output {
  int code;
  std::string out;
};

replay_output replay(const std::string& demo, bool timed) {
  std::vector<std::string> args = {"--play", demo, "--summary"};
  if (timed) args.push_back("--timedemo");
  testing::internal::CaptureStdout();
  const vorn_test::game_run run = vorn_test::run_game_with(args);
  return {run.code, testing::internal::GetCapturedStdout()};
}

TEST(Timedemo, TimesEveryFrameOfTheReplayAndChangesNothing) {
  const std::string demo = VORN_SOURCE_DIR "/tests/demos/victory.demo";
  const replay_output plain = replay(demo, false);
  const replay_output timed = replay(demo, true);
  ASSERT_EQ(plain.code, 0);
  ASSERT_EQ(timed.code, 0);

  // The report comes first, then the same summary as the untimed replay's.
  const size_t summary_at = timed.out.find('{');
  ASSERT_NE(summary_at, std::string::npos) << timed.out;
  EXPECT_EQ(timed.out.substr(summary_at), plain.out);

  long long frames = 0, shortest = 0, median = 0, longest = 0;
  double seconds = 0, fps = 0;
  ASSERT_EQ(std::sscanf(timed.out.c_str(),
                        "timedemo: %lld frames in %lf s, %lf fps; frame shortest %lld us, median %lld us, "
                        "longest %lld us\n",
                        &frames, &seconds, &fps, &shortest, &median, &longest),
            6)
      << timed.out;
  long long summary_frames = 0;
  ASSERT_EQ(std::sscanf(plain.out.c_str(), "{\"frames\":%lld", &summary_frames), 1) << plain.out;
  EXPECT_EQ(frames, summary_frames);
  EXPECT_GT(seconds, 0);
  // The seconds are printed to the millisecond.
  EXPECT_NEAR(fps * seconds, frames, 0.01 * frames + 0.1);
  EXPECT_LE(0, shortest);
  EXPECT_LE(shortest, median);
  EXPECT_LE(median, longest);
  // The frames took the whole run between them, to rounding of each to 1 us.
  EXPECT_LE(longest, static_cast<long long>(seconds * 1e6) + 1);
}

TEST(Timedemo, NoFramesReportZeroes) {
  reset_timedemo(0);
  timedemo_finish();
  EXPECT_EQ(timedemo_report(),
            "timedemo: 0 frames in 0.000 s, 0.0 fps; frame shortest 0 us, median 0 us, longest 0 us\n");
}

}  // namespace
}  // namespace vorn
