// Games of random input, recorded and then replayed through the game's own
// recording and replay runs, in process: every demo the recorder writes must
// replay bit for bit (exit 0), whatever the input did, however the game
// ended (Escape, a window close, the frame limit) and whatever happened in
// the very frame that ended it. Seeds 1 to 1000, in four parts that can run
// side by side; a failure names its seed, and VORN_DEMO_SEED=S plays that
// seed alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/demo.h"
#include "game_runs.h"
#include "world/ships.h"

namespace vorn {
namespace {

using namespace vorn_test;

// The stream's own generator (splitmix64), apart from the game's.
struct stream_random {
  uint64_t state;
  uint64_t next() {
    uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
};

constexpr int screen_x = 160, screen_y = 120;

enum class ending { frame_limit, escape, window_close };

// The stream being recorded; the input hook has no other way to reach it.
struct stream_plan {
  stream_random random{0};
  int64_t last_frame = 0;
  ending end = ending::frame_limit;
} plan;

// Keys with a meaning in play (thrust, pause, respawn, restart, drawing
// and sound switches) and one without.
const int keys[] = {SDLK_w, SDLK_s, SDLK_UP, SDLK_DOWN, SDLK_SPACE, SDLK_LCTRL, SDLK_r,
                    SDLK_RETURN, SDLK_d, SDLK_m, SDLK_n, SDLK_LSHIFT, SDLK_a};

void random_event() {
  stream_random& r = plan.random;
  const int x = r.below(screen_x + 40), y = r.below(screen_y + 40);
  switch (r.below(6)) {
    case 0:
    case 1: push_motion(x, y); break;
    case 2: push_key(SDL_KEYDOWN, keys[r.below(std::size(keys))]); break;
    case 3: push_key(SDL_KEYUP, keys[r.below(std::size(keys))]); break;
    // Buttons 1 to 3, and the wheel's steps (4, 5).
    case 4: push_button(SDL_MOUSEBUTTONDOWN, 1 + r.below(r.below(2) ? 1 : 5), x, y); break;
    default: push_button(SDL_MOUSEBUTTONUP, 1 + r.below(r.below(2) ? 1 : 5), x, y); break;
  }
}

// Before each frame a few events, often none; before the frame after the
// last one, the events that end the game, with more behind them that the
// game never takes.
void stream_input(int64_t frames_done) {
  const int burst = plan.random.below(4) == 0 ? plan.random.below(8) : 0;
  for (int i = 0; i < burst; ++i) random_event();
  if (frames_done < plan.last_frame || plan.end == ending::frame_limit) return;
  if (plan.end == ending::escape) {
    push_key(SDL_KEYDOWN, SDLK_ESCAPE);
  } else {
    push_quit();
  }
  random_event();
}

// Frame times: the clock's, or fixed ones from the ordinary to the extreme.
const char* const fixed_times[] = {nullptr, nullptr, nullptr, "0.001", "0.0015", "0.003", "0.016666666666666666",
                                   "0.3", "1e-300", "5e-324"};

class DemoRoundTrip : public GameRunTest, public testing::WithParamInterface<int> {
 protected:
  // Records the game of `seed` and replays it; true when both did as they must.
  bool record_and_replay(uint64_t seed) {
    plan = stream_plan{stream_random{seed}};
    stream_random& r = plan.random;
    const std::string config = path("game.txt"), demo = path("game.demo");
    write_file(config, "screenx=" + std::to_string(screen_x) + "\nscreeny=" + std::to_string(screen_y) +
                           "\ndef_lives=" + std::to_string(r.below(3)) + "\nenemy_count=" +
                           std::to_string(r.below(4)) + "\nspawn_particles=" + std::to_string(r.below(60)) +
                           "\ndef_restart_dt=0.05\n");
    // Mostly short games, where the input is dense and the end near; one in
    // a hundred long enough for the checksums at frames 60 and 120, with
    // short frames (one substep: they cost the least).
    const bool long_game = seed % 100 == 1;
    plan.last_frame = long_game ? 60 + r.below(70) : r.below(100) < 94 ? r.below(4) : 4 + r.below(9);
    plan.end = static_cast<ending>(r.below(3));
    std::vector<std::string> args = {"--config", config, "--record", demo};
    if (plan.end == ending::frame_limit) args.insert(args.end(), {"--frames", std::to_string(plan.last_frame)});
    const char* dt = long_game ? "0.001" : fixed_times[r.below(std::size(fixed_times))];
    if (dt) args.insert(args.end(), {"--fixed-dt", dt});
    const game_run recorded = run_game_with(args, stream_input);
    EXPECT_EQ(recorded.code, 0) << "seed " << seed << ": " << recorded.err;
    games_over += game_over;
    long_games += long_game;
    const game_run replayed = run_game_with({"--play", demo});
    EXPECT_EQ(replayed.code, 0) << "seed " << seed << ": " << replayed.err;
    return recorded.code == 0 && replayed.code == 0;
  }
  int games_over = 0, long_games = 0;
};

constexpr int seeds_per_part = 250;

TEST_P(DemoRoundTrip, EveryRecordedGameReplaysBitForBit) {
  if (const char* only = std::getenv("VORN_DEMO_SEED")) {
    if (GetParam() == 0) {
      EXPECT_TRUE(record_and_replay(std::strtoull(only, nullptr, 10)));
    }
    return;
  }
  const uint64_t first = 1 + uint64_t{seeds_per_part} * static_cast<uint64_t>(GetParam());
  int failures = 0;
  for (uint64_t seed = first; seed < first + seeds_per_part && failures < 3; ++seed)
    failures += !record_and_replay(seed);
  // The streams reach the ends of a game and its checksums.
  EXPECT_GT(games_over, 0);
  EXPECT_GT(long_games, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DemoRoundTrip, testing::Range(0, 4));

}  // namespace
}  // namespace vorn
