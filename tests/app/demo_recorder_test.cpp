// The recorder and its file: one game records into a file at a time, a
// failed write or a frame time no demo can hold stops the recording while
// the game plays on (and the game then ends with 1), what was written
// replays up to its last checksum, and a file that was never begun is left
// as it was.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app/demo_recorder.h"
#include "game_runs.h"
#include "support/file_size_limit.h"
#include "sim/rules.h"

namespace vorn {
namespace {

using namespace vorn_test;

class DemoRecorder : public GameRunTest {
 protected:
  std::string small_config() {
    write_file(path("small.txt"), "screenx=160\nscreeny=120\nenemy_count=0\nspawn_particles=0\n");
    return path("small.txt");
  }
};

TEST_F(DemoRecorder, OneGameRecordsIntoAFileAtATime) {
  const std::string demo = path("one.demo");
  write_file(demo, "what the first game wrote\n");
  demo_recorder first;
  ASSERT_TRUE(first.claim(demo));
  game_run second = run_game_with({"--config", small_config(), "--record", demo, "--frames", "5"});
  EXPECT_EQ(second.code, 1);
  EXPECT_EQ(second.err, "vorn: cannot record into " + demo + ": another game is recording into it\n");
  EXPECT_EQ(read_file(demo), "what the first game wrote\n");
  // Once the first has finished, the file is free.
  EXPECT_FALSE(first.close(0));  // never begun
  second = run_game_with({"--config", small_config(), "--record", demo, "--frames", "5", "--fixed-dt", "0.01"});
  EXPECT_EQ(second.code, 0) << second.err;
  EXPECT_EQ(run_game_with({"--play", demo}).code, 0);
}

// A recording refused before the game starts leaves no file behind, and an
// existing one as it was.
TEST_F(DemoRecorder, AFileNeverBegunIsLeftAsItWas) {
  write_file(path("tall.txt"), "screenx=8\nscreeny=20000\nenemy_count=0\nspawn_particles=0\n");
  game_run run = run_game_with({"--config", path("tall.txt"), "--record", path("new.demo"), "--frames", "1"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("cannot record a game on a screen of 8 x 20000 (a demo holds at most 16384 x 16384)"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(std::filesystem::exists(path("new.demo")));
  write_file(path("old.demo"), "old\n");
  run = run_game_with({"--config", path("tall.txt"), "--record", path("old.demo"), "--frames", "1"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(read_file(path("old.demo")), "old\n");
  run = run_game_with({"--record", dir + "/no/such/folder.demo"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "vorn: cannot record into " + dir + "/no/such/folder.demo: No such file or directory\n");
  run = run_game_with({"--config", small_config(), "--record", "/dev/full"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "vorn: cannot write demo /dev/full: No space left on device\n");
}

// The disk fills up (here: the file size limit) in the middle of a game.
TEST_F(DemoRecorder, AFailedWriteStopsTheRecordingAndTheGamePlaysOn) {
  const std::string demo = path("full.demo");
  // Room for the settings and some frames.
  const game_run run = with_file_size_limit(3000, [&] {
    return run_game_with({"--config", small_config(), "--record", demo, "--fixed-dt", "0.001", "--frames", "300"});
  });
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(game_clock.current, 300 * 0.001);  // the game played all its frames
  // Stopped at the write after a checksum: the one before it is on disk.
  std::smatch m;
  ASSERT_TRUE(std::regex_match(run.err, m,
                               std::regex("vorn: demo .*/full.demo: cannot write it: File too large; the recording "
                                          "stops after frame ([0-9]+) \\(the demo replays up to frame ([0-9]+)\\), "
                                          "the game plays on\n")))
      << run.err;
  const int stopped = std::stoi(m[1]), saved = std::stoi(m[2]);
  EXPECT_EQ(stopped % 60, 0);
  EXPECT_EQ(saved, stopped - 60);
  const game_run replay = run_game_with({"--play", demo});
  EXPECT_EQ(replay.code, 0);
  EXPECT_NE(replay.err.find("ends early (no end record): " + std::to_string(saved) + " frames played and checked"),
            std::string::npos)
      << replay.err;
}

// Frame times so long that the total overflows: the recording stops before
// the frame it cannot hold (exit 1, one line saying so) and what it left
// replays.
TEST_F(DemoRecorder, FrameTimesADemoCannotHoldStopTheRecordingCleanly) {
  const std::string demo = path("huge.demo");
  const game_run recorded = run_game_with({"--record", demo, "--fixed-dt", "1e308", "--frames", "70"});
  EXPECT_EQ(recorded.code, 1);
  EXPECT_NE(recorded.err.find("the time of frame 2 (dt 1e+308 s, total inf s) cannot be recorded; the recording "
                              "stops after frame 1 (the demo replays up to frame 0), the game plays on"),
            std::string::npos)
      << recorded.err;
  const game_run replayed = run_game_with({"--play", demo});
  EXPECT_EQ(replayed.code, 0) << replayed.err;
  EXPECT_NE(replayed.err.find("ends early (no end record): 0 frames played and checked"), std::string::npos)
      << replayed.err;
}

}  // namespace
}  // namespace vorn
