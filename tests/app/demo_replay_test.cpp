// Replays in process, as the command line starts them: a forged demo is
// refused or departs, a demo's own early quit is a departure, a viewer's
// stop is not (exit 0, with the frames played and the checksums matched),
// a demo that changes while it plays is damaged, and replays take no
// screenshots unless asked; an export that fails says why.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "app/demo.h"
#include "app/demo_replay.h"
#include "game_runs.h"
#include "support/file_size_limit.h"

namespace vorn {
namespace {

using namespace vorn_test;

class DemoReplay : public GameRunTest {
 protected:
  // A game of `frames` frames on a small screen, the fire button held from
  // the first and the screenshot key pressed in the third.
  std::string record(int frames) {
    const std::string config = path("small.txt"), demo = path("game.demo");
    write_file(config, "screenx=160\nscreeny=120\nenemy_count=1\nspawn_particles=0\n");
    const game_run run = run_game_with(
        {"--config", config, "--record", demo, "--fixed-dt", "0.001", "--frames", std::to_string(frames)},
        [](int64_t frame) {
          if (frame == 0) push_button(SDL_MOUSEBUTTONDOWN, 1, 10, 10);
          if (frame == 2) push_key(SDL_KEYDOWN, SDLK_p);
        });
    EXPECT_EQ(run.code, 0) << run.err;
    return demo;
  }
};

// The viewer's input during a replay: before frame stop_at + 1, the key
// stop_key, or a window close when it is 0.
int stop_at = -1;
int stop_key = 0;
void stop_input(int64_t frame) {
  if (frame != stop_at) return;
  if (stop_key != 0) {
    push_key(SDL_KEYDOWN, stop_key);
  } else {
    push_quit();
  }
}

TEST_F(DemoReplay, ForgedChecksumsNeverPass) {
  const std::string demo = read_file(VORN_SOURCE_DIR "/tests/demos/shoot_enemy.demo");
  // Other settings and every checksum replaced: it departs at the first.
  const std::string forged = std::regex_replace(
      std::regex_replace(demo, std::regex("\nset enemy_count=[0-9]+\n"), "\nset enemy_count=40\n"),
      std::regex("\n(c|end) ([0-9]+) [0-9a-f]{16}"), "\n$1 $2 deadbeefdeadbeef");
  write_file(path("forged.demo"), forged);
  game_run run = run_game_with({"--play", path("forged.demo")});
  EXPECT_EQ(run.code, 3);
  EXPECT_NE(run.err.find("departs from its recording at frame 60 ("), std::string::npos) << run.err;
  // A checksum for frame 0, which no replay reaches, used to switch every
  // later comparison off; now it is damage.
  const size_t first_frame = forged.find("\nf ") + 1;
  write_file(path("forged.demo"),
             forged.substr(0, first_frame) + "c 0 0123456789abcdef\n" + forged.substr(first_frame));
  run = run_game_with({"--play", path("forged.demo")});
  EXPECT_EQ(run.code, 2);
  const auto line = std::count(forged.begin(), forged.begin() + first_frame, '\n') + 1;
  EXPECT_NE(run.err.find(": line " + std::to_string(line) + ": a checksum before the first frame"), std::string::npos)
      << run.err;
}

TEST_F(DemoReplay, AViewersStopIsNoFailureTheDemosOwnEarlyQuitIs) {
  const std::string demo = record(130);
  const struct {
    int at;
    int key;  // 0: a window close
    const char* says;
  } stops[] = {
      {70, 0, "stopped after 70 of its 130 frames; the one checksum so far matched\n"},
      {10, SDLK_ESCAPE, "stopped after 10 of its 130 frames; no checksum was due yet\n"},
      {125, SDLK_ESCAPE, "stopped after 125 of its 130 frames; all 2 checksums so far matched\n"},
  };
  for (const auto& s : stops) {
    stop_at = s.at;
    stop_key = s.key;
    const game_run run = run_game_with({"--play", demo}, stop_input);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "vorn: demo " + demo + " " + s.says);
  }
  // Other keys do not stop it; a frame limit ends it silently.
  stop_at = 5;
  stop_key = SDLK_q;
  game_run run = run_game_with({"--play", demo, "--frames", "100"}, stop_input);
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.err, "");
  // A quit among the demo's own events, before its last frame.
  std::string text = read_file(demo);
  text.insert(text.find("\nf ", text.find("\nc 60 ")) + 1, "e 1 0 0 0 0\n");
  write_file(path("quits.demo"), text);
  run = run_game_with({"--play", path("quits.demo")});
  EXPECT_EQ(run.code, 3);
  EXPECT_NE(run.err.find("ended after 60 of its 130 frames"), std::string::npos) << run.err;
}

// The first pass read the file whole; if it then changes, the replay stops
// where it no longer fits (exit 2): ended early, damaged, or grown after its end.

TEST_F(DemoReplay, ADemoThatChangesWhileItPlaysIsDamaged) {
  // Events enough to fill the reader's buffer before frame 20, so that the
  // later frames are read from the file while they play.
  std::string text = read_file(record(50));
  size_t cut = 0;
  for (int i = 0; i < 20; ++i) cut = text.find("\nf ", cut + 1);
  for (int i = 0; i < 7000; ++i) text.insert(cut + 1, "e 5 1 1 0 0\n");
  cut = 0;
  for (int i = 0; i < 31; ++i) cut = text.find("\nf ", cut + 1);
  for (const std::string& changed : {text.substr(0, cut + 1), text.substr(0, cut + 1) + "f 1 x\n", text + "f 1 1\n"}) {
    write_file(path("changing.demo"), text);
    demo_replay replay;
    std::string error;
    ASSERT_TRUE(replay.open(path("changing.demo"), error)) << error;
    EXPECT_EQ(replay.frames(), 50);
    write_file(path("changing.demo"), changed);
    demo_event e;
    while (!replay.failed() && replay.played() < replay.frames()) {
      while (replay.next_event(e)) {
      }
      replay.after_frame([] { return uint64_t{0}; });
    }
    while (replay.next_event(e)) {
    }
    EXPECT_TRUE(replay.failed()) << changed.size();
    EXPECT_FALSE(replay.check_end([] { return uint64_t{0}; }));
    EXPECT_FALSE(replay.departed());
  }
}

TEST_F(DemoReplay, ScreenshotsOnlyWhenAsked) {
  const std::string demo = record(5);
  const auto shots = [&] {
    int n = 0;
    for (const auto& f : std::filesystem::directory_iterator(dir)) n += f.path().extension() == ".bmp";
    return n;
  };
  const int recorded = shots();  // the recording game took one
  EXPECT_EQ(recorded, 1);
  EXPECT_EQ(run_game_with({"--play", demo}).code, 0);
  EXPECT_EQ(shots(), recorded);
  EXPECT_EQ(run_game_with({"--play", demo, "--screenshots"}).code, 0);
  EXPECT_EQ(shots(), recorded + 1);
}

// Exported frames on a full disk (here: the file size limit): the replay
// stops at the first that cannot be written, which the message names with
// the reason.
TEST_F(DemoReplay, AFullDiskStopsTheExportWithItsReason) {
  const std::string demo = record(5);
  const game_run run =
      with_file_size_limit(1000, [&] { return run_game_with({"--play", demo, "--export-frames", path("frames")}); });
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "vorn: cannot write " + path("frames") + "/frame-000001.png: File too large\n");
  EXPECT_TRUE(std::filesystem::is_empty(path("frames")));
}

}  // namespace
}  // namespace vorn
