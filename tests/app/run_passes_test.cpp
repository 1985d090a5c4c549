// Runs one after another in one process, as the browser page makes them:
// each starts like a fresh process, whatever the run before it changed
// (settings, the rules of a format-1 demo), and a run in passes is the same
// run as one in a loop.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/run_modes.h"

namespace vorn {
namespace {

struct run_result {
  int code;
  std::string out;
};

run_result run(std::vector<std::string> words, bool in_passes) {
  words.insert(words.begin(), "vorn");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  testing::internal::CaptureStdout();
  int code = 0;
  if (in_passes) {
    code = begin_run(static_cast<int>(argv.size()), argv.data());
    if (code == run_continues) {
      while (run_pass()) {
      }
      code = end_run();
    }
  } else {
    code = run_game(static_cast<int>(argv.size()), argv.data());
  }
  return {code, testing::internal::GetCapturedStdout()};
}

const std::vector<std::string> plain_game = {"--headless", "--no-sound", "--threads", "1", "--config",
                                             VORN_SOURCE_DIR "/tests/data/no_settings.txt",
                                             "--frames", "90", "--fixed-dt", "0.016", "--summary"};

TEST(RunPasses, EachRunStartsAfresh) {
  const run_result first = run(plain_game, false);
  ASSERT_EQ(first.code, 0);
  ASSERT_NE(first.out.find("\"checksum\""), std::string::npos) << first.out;
  // A format-1 demo with settings of its own between them.
  const run_result demo =
      run({"--headless", "--no-sound", "--play", VORN_SOURCE_DIR "/tests/demos/format1_victory.demo", "--frames", "20"},
          true);
  EXPECT_EQ(demo.code, 0);
  EXPECT_EQ(run(plain_game, true).out, first.out);
  EXPECT_EQ(run(plain_game, false).out, first.out);
}

}  // namespace
}  // namespace vorn
