// Whole runs of the game in this process, as main() starts them: the
// arguments, the exit code and what went to standard error, with input put
// into the window's event queue before each frame, in a folder of the
// test's own.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/run_modes.h"

namespace vorn_test {

struct game_run {
  int code;
  std::string err;
};

// Runs the game headless and silent with `args`; input, if given, is called
// before each frame's events are taken.
inline game_run run_game_with(std::vector<std::string> args, vorn::input_proc input = nullptr) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  args.insert(args.begin(), {"vorn", "--headless", "--no-sound", "--threads", "1"});
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStderr();
  const int code = vorn::run_game(static_cast<int>(argv.size()), argv.data(), input);
  return {code, testing::internal::GetCapturedStderr()};
}

inline void push_key(Uint8 type, int sym) {
  SDL_Event e{};
  e.type = e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = static_cast<SDLKey>(sym);
  SDL_PushEvent(&e);
}

inline void push_button(Uint8 type, int button, int x, int y) {
  SDL_Event e{};
  e.type = e.button.type = type;
  e.button.button = static_cast<Uint8>(button);
  e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = static_cast<Uint16>(x);
  e.button.y = static_cast<Uint16>(y);
  SDL_PushEvent(&e);
}

inline void push_motion(int x, int y) {
  SDL_Event e{};
  e.type = e.motion.type = SDL_MOUSEMOTION;
  e.motion.x = static_cast<Uint16>(x);
  e.motion.y = static_cast<Uint16>(y);
  SDL_PushEvent(&e);
}

inline void push_quit() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
}

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A folder of the test's own as the working directory (where screenshots
// go), removed with everything in it at the end.
class GameRunTest : public testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vorn_runs_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir = name;
    before = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    std::filesystem::current_path(before);
    std::filesystem::remove_all(dir);
  }
  std::string path(const std::string& name) const { return dir + "/" + name; }
  std::string dir;
  std::filesystem::path before;
};

}  // namespace vorn_test
