// Where the settings are looked for: the working directory first, then the
// desktop's configuration folder by XDG_CONFIG_HOME and HOME.
#include "config/config_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/load_config.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

// Runs in a fresh working directory with HOME and XDG_CONFIG_HOME of its
// own, and puts all three back afterwards.
class ConfigPath : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vorn-path-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    cwd_ = cwd;
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    for (const char* name : {"HOME", "XDG_CONFIG_HOME"}) {
      const char* v = std::getenv(name);
      saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    setenv("HOME", (dir_ + "/home").c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
    EXPECT_EQ(chdir(cwd_.c_str()), 0);
    fs::remove_all(dir_);
  }
  static void touch(const std::string& path) {
    if (fs::path(path).has_parent_path()) fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "enemy_count=7\n";
  }
  std::string dir_, cwd_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(ConfigPath, TheWorkingDirectoryThenXdgConfigHomeThenHome) {
  const std::string user = dir_ + "/home/.config/vorn/vorn_config.txt";
  EXPECT_EQ(user_config_file(), user);
  EXPECT_EQ(default_config_file(), "");
  touch(user);
  EXPECT_EQ(default_config_file(), user);
  // A link that leads nowhere is no file; anything else there is, even a
  // folder that cannot be read as one.
  ASSERT_EQ(symlink("nowhere", config_file_name), 0);
  EXPECT_EQ(default_config_file(), user);
  fs::remove(config_file_name);
  fs::create_directory(config_file_name);
  EXPECT_EQ(default_config_file(), config_file_name);

  setenv("XDG_CONFIG_HOME", "/etc/xdg//", 1);
  EXPECT_EQ(user_config_file(), "/etc/xdg/vorn/vorn_config.txt");
  setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // not absolute: ignored
  EXPECT_EQ(user_config_file(), user);
  setenv("XDG_CONFIG_HOME", "", 1);
  setenv("HOME", "/", 1);
  EXPECT_EQ(user_config_file(), "/.config/vorn/vorn_config.txt");
  unsetenv("HOME");
  EXPECT_EQ(user_config_file(), "");
  EXPECT_EQ(make_user_config_folder(dir_ + "/none/deeper/vorn/vorn_config.txt"), ENOENT);
}

}  // namespace
}  // namespace vorn
