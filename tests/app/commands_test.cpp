// The event handler: pause, fire and thrust flags, the pointer, the drawing
// switches, Enter by game state, the ways out, and screenshots.
#include "app/commands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "sim/game_fixture.h"

namespace vorn {
namespace {

// Key symbols as the window layer hands them on.
constexpr int32_t key_return = 13, key_escape = 27, key_space = 32, key_d = 100, key_m = 109,
                  key_p = 112, key_r = 114, key_s = 115, key_w = 119, key_up = 273,
                  key_down = 274, key_lctrl = 306;

class Commands : public GameTest {
 protected:
  void SetUp() override {
    reset_window_state();
    GameTest::SetUp();
  }
  void TearDown() override {
    screen.pixels = nullptr;
    reset_window_state();
    GameTest::TearDown();
  }
  static void press(int32_t key, uint16_t state = 0) { game_event(ev_key_down, 0, 0, key, state); }
  static void release(int32_t key) { game_event(ev_key_up, 0, 0, key, 0); }
  static void button(int32_t kind, uint16_t state) { game_event(kind, 10, 20, 0, state); }
};

TEST_F(Commands, PauseFireThrustAndSwitches) {
  press(key_space);
  press(key_lctrl, st_ctrl);
  EXPECT_FALSE(paused);  // toggled twice
  press(key_space);
  EXPECT_TRUE(paused);
  EXPECT_FALSE(keys_held.fire);  // Space pauses, it does not fire

  button(ev_button_down, st_left);
  EXPECT_TRUE(keys_held.fire);
  release(key_space);  // stops the gun though button 1 is still held
  EXPECT_FALSE(keys_held.fire);
  button(ev_button_down, st_left);
  button(ev_button_down, st_left | st_right);
  EXPECT_TRUE(keys_held.fire);
  button(ev_button_up, st_left);  // button 3 let go, button 1 still down
  EXPECT_FALSE(keys_held.fire);
  button(ev_button_down, st_right);
  EXPECT_FALSE(keys_held.fire);

  for (const int32_t key : {key_w, key_up, key_s, key_down}) {
    bool& flag = (key == key_w || key == key_up) ? keys_held.forward : keys_held.reverse;
    press(key);
    EXPECT_TRUE(flag) << key;
    release(key);
    EXPECT_FALSE(flag) << key;
  }
  game_event(ev_mouse_move, 123, 45, 0, 0);
  EXPECT_EQ(mouse_x, 123);
  EXPECT_EQ(mouse_y, 45);
  press(key_d);
  press(key_m);
  EXPECT_TRUE(debug);
  EXPECT_EQ(line_mode, 1);
}

TEST_F(Commands, EnterByGameStateAndTheWaysOut) {
  game_reset(false);
  nodes[0].pos.x = 999;
  press(key_return);  // playing: nothing
  EXPECT_EQ(nodes[0].pos.x, 999);
  EXPECT_FALSE(exit_requested);
  press(key_r);  // a new ship for a life, even for a whole one
  EXPECT_EQ(lives, 1);
  EXPECT_EQ(nodes[0].pos.x, spawn_x);

  game_over = true;
  victory = true;  // game over wins: a new game, playable
  press(key_return);
  EXPECT_FALSE(game_over);
  EXPECT_FALSE(victory);
  EXPECT_EQ(lives, 2);
  EXPECT_FALSE(exit_requested);
  victory = true;
  press(key_return);
  EXPECT_TRUE(exit_requested);
  EXPECT_EQ(exit_code, 0);

  for (const int32_t kind : {ev_key_down, ev_quit}) {
    reset_window_state();
    game_event(kind, 0, 0, kind == ev_quit ? 0 : key_escape, 0);
    EXPECT_TRUE(exit_requested);
    EXPECT_EQ(exit_code, 0);
  }
}

TEST_F(Commands, ScreenshotNamesAndUnwritableDirectory) {
  EXPECT_EQ(screenshot_name({2024, 1, 31, 14, 5, 9, 123}), "screenshot-240131_14-05-09-123.bmp");
  EXPECT_EQ(screenshot_name({2009, 3, 4, 5, 6, 7, 8}), "screenshot-090304_05-06-07-008.bmp");

  uint32_t pixels[12] = {};
  screen.pixels = pixels;
  screen_w = 4;
  screen_h = 3;
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  char dir[] = "/tmp/vorn-shots-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  ASSERT_EQ(chdir(dir), 0);
  namespace fs = std::filesystem;

  // Many within a millisecond: each keeps its own file.
  for (int i = 0; i < 200; ++i) press(key_p);
  int32_t files = 0;
  for (const auto& e : fs::directory_iterator(dir)) {
    ++files;
    EXPECT_EQ(e.path().filename().string().rfind("screenshot-", 0), 0u);
    EXPECT_EQ(fs::file_size(e.path()), 54u + 4 * 12);
    fs::remove(e.path());
  }
  EXPECT_EQ(files, 200);

  // Not writable: read-only for a plain user; root writes anywhere, so the
  // working directory is removed instead.
  const bool root = geteuid() == 0;
  ASSERT_EQ(root ? rmdir(dir) : chmod(dir, 0555), 0);
  testing::internal::CaptureStderr();
  press(key_p);
  const std::string err = testing::internal::GetCapturedStderr();
  press(key_space);  // and the game goes on
  EXPECT_TRUE(paused);
  EXPECT_FALSE(exit_requested);
  EXPECT_NE(err.find("screenshot-"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  if (!root) {
    EXPECT_TRUE(fs::is_empty(dir));
    chmod(dir, 0755);
    rmdir(dir);
  }
  ASSERT_EQ(chdir(cwd), 0);
}

}  // namespace
}  // namespace vorn
