// Loading the configuration file into the tunables, the files refused and
// their reasons, writing the settings in effect, and printing them so that
// they load back exactly.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/load_config.h"
#include "config/print_config.h"
#include "config/text_file.h"
#include "config/tunables.h"
#include "support/comma_locale.h"
#include "base/double_bits.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

class LoadConfig : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_tunables();
    std::string pattern = (fs::temp_directory_path() / "vorn-config-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
    reset_tunables();
  }
  std::string write(const std::string& content) {
    const std::string path = (dir_ / config_file_name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  // Every tunable's bits, in table order.
  static std::vector<uint64_t> snapshot() {
    std::vector<uint64_t> v;
    for (const tunable& t : tunable_table()) {
      switch (t.kind) {
        case tunable_kind::flag: v.push_back(*t.flag_ptr); break;
        case tunable_kind::integer: v.push_back(static_cast<uint32_t>(*t.int_ptr)); break;
        case tunable_kind::real: v.push_back(canonical_bits(*t.real_ptr)); break;
      }
    }
    return v;
  }
  // Prints, loads the print back into fresh defaults, prints again.
  void expect_round_trip() {
    const std::string printed = format_config();
    const std::vector<uint64_t> before = snapshot();
    const std::string path = write(printed);
    reset_tunables();
    ASSERT_TRUE(load_config(path).ok);
    EXPECT_EQ(format_config(), printed);
    EXPECT_EQ(snapshot(), before);
  }
  fs::path dir_;
};

TEST_F(LoadConfig, KeysBlanksCommentsAndOverrides) {
  const config_status st = load_config(write(
      "screenx = 1024\r\nScreenX=1\r\nscreeny=480 // tall\r\n;screeny=1\r\n"
      "def_lives=2.9\nenemy_count=7 {seven} \nenemy_count=9 {nine}\n"
      "spawn_x=1e2\nspawn_y=150\ndt_max=.05\nbogus=3\ndebug=1\ndebug\n"
      "impact_particles=4\nimpact_particles=6\n"
      "def_burndt=0.5 {\nblow_temp=1\n}\n"));
  EXPECT_TRUE(st.ok);
  EXPECT_EQ(screenx, 1024);
  EXPECT_EQ(screeny, 480);
  EXPECT_EQ(def_lives, 2);
  EXPECT_EQ(enemy_count, 7);
  EXPECT_EQ(spawn_x, 100.0);
  EXPECT_EQ(spawn_y, 150.0);
  EXPECT_EQ(dt_max, 0.0);
  EXPECT_FALSE(debug);  // the later bare "debug" overrides debug=1
  EXPECT_EQ(impact_particles, 6);
  EXPECT_EQ(def_burndt, 0.5);
  EXPECT_EQ(blow_temp, 100.0);  // inside the block
  EXPECT_EQ(dt_beta, 0.004);    // untouched keys keep their defaults
}

TEST_F(LoadConfig, MissingOrEmptyFileKeepsDefaults) {
  const std::vector<uint64_t> defaults = snapshot();
  const config_status missing = load_config((dir_ / "absent.txt").string());
  EXPECT_TRUE(missing.ok);
  EXPECT_TRUE(missing.message.empty());
  EXPECT_TRUE(load_config(write("")).ok);
  EXPECT_EQ(snapshot(), defaults);
}

TEST_F(LoadConfig, AMissingFileThatMustExistIsAnErrorNamingIt) {
  const std::vector<uint64_t> defaults = snapshot();
  const std::string path = (dir_ / "absent.txt").string();
  const config_status st = load_config(path, true);
  EXPECT_FALSE(st.ok);
  EXPECT_NE(st.message.find(path), std::string::npos) << st.message;
  EXPECT_EQ(snapshot(), defaults);
  EXPECT_TRUE(load_config(write("enemy_count=7\n"), true).ok);
  EXPECT_EQ(enemy_count, 7);

  // A name with a terminal escape in it is named, but never echoed raw.
  const config_status odd = load_config((dir_ / "a\x1b[2Jb").string(), true);
  EXPECT_EQ(odd.message.find('\x1b'), std::string::npos) << odd.message;
  EXPECT_NE(odd.message.find("a\\x1b[2Jb"), std::string::npos) << odd.message;
}

// Everything that is not a regular file of sane size is refused with its
// reason, at once (a FIFO without a writer does not hold the game), and
// leaves the settings as they were.
TEST_F(LoadConfig, OnlyRegularFilesOfSaneSizeAreRead) {
  const std::vector<uint64_t> defaults = snapshot();
  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string limit_file = write("enemy_count=7\n" + std::string(max_text_file_bytes - 14, '\n'));
  ASSERT_TRUE(load_config(limit_file).ok);  // exactly 1 MiB
  EXPECT_EQ(enemy_count, 7);
  reset_tunables();
  const std::string big = (dir_ / "big.txt").string();
  std::ofstream(big, std::ios::binary) << "enemy_count=9\n" << std::string(max_text_file_bytes, '\n');
  const std::pair<std::string, std::string> cases[] = {
      {dir_.string(), "a directory, not a regular file"},
      {fifo, "a FIFO (named pipe), not a regular file"},
      {"/dev/null", "a device, not a regular file"},
      {big, "larger than 1 MiB (1048590 bytes)"},
      {"/proc/self/mem", std::strerror(EIO)},  // reading it at 0 fails
  };
  for (const auto& [path, reason] : cases) {
    const config_status st = load_config(path);
    EXPECT_FALSE(st.ok) << path;
    EXPECT_EQ(st.message, "cannot read configuration file " + path + ": " + reason);
    EXPECT_FALSE(st.read);
    EXPECT_EQ(snapshot(), defaults) << path;
  }
}

// A file that is there but cannot be opened: the user's own choice (must
// exist) stops the game, the file found by default only warns.
TEST_F(LoadConfig, AFileThatCannotBeOpenedWarnsUnlessNamed) {
  write("enemy_count=7\n");
  const std::string path = (dir_ / config_file_name / "x").string();  // a path through a file
  const config_status found = load_config(path);
  EXPECT_TRUE(found.ok);
  EXPECT_EQ(found.message,
            "cannot open configuration file " + path + ": Not a directory; the default settings are used");
  const config_status named = load_config(path, true);
  EXPECT_FALSE(named.ok);
  EXPECT_EQ(named.message, "cannot open configuration file " + path + ": Not a directory");
  EXPECT_EQ(enemy_count, 5);
  if (geteuid() != 0) {  // root opens any file
    const std::string locked = write("enemy_count=7\n");
    chmod(locked.c_str(), 0);
    EXPECT_NE(load_config(locked).message.find("Permission denied"), std::string::npos);
    EXPECT_FALSE(load_config(locked, true).ok);
  }
}

TEST_F(LoadConfig, ByteOrderMarkIntegerLiteralsOfRealsAndTheFileIdentity) {
  const std::string path = write(
      "\xEF\xBB\xBF"
      "enemy_count=7\nai_ds_repulse=100000000000\nspawn_x=0x1e\nspawn_y=-0X10\n"
      "ai_repulse=123456789012345678901\ndef_lives=100000000000\nds_xpos=2.5\n\xEF\xBB\xBF" "ds_ypos=1\n");
  const config_status st = load_config(path);
  ASSERT_TRUE(st.ok);
  EXPECT_TRUE(st.read);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(st.device, static_cast<uint64_t>(info.st_dev));
  EXPECT_EQ(st.inode, static_cast<uint64_t>(info.st_ino));
  EXPECT_EQ(enemy_count, 7);  // the first line, after the mark
  EXPECT_EQ(ai_ds_repulse, 1e11);
  EXPECT_EQ(spawn_x, 30.0);  // hexadecimal, though it holds an 'e'
  EXPECT_EQ(spawn_y, -16.0);
  EXPECT_EQ(ai_repulse, 123456789012345678901.0);
  EXPECT_EQ(def_lives, INT32_MAX);  // integer keys still saturate
  EXPECT_EQ(ds_xpos, 2.5);
  EXPECT_EQ(ds_ypos, -182.5);  // a mark later on is part of the key
}

TEST(FormatReal, AlwaysReadsBackAsAReal) {
  EXPECT_EQ(format_real(150.0), "150.0");
  EXPECT_EQ(format_real(-0.0), "-0.0");
  EXPECT_EQ(format_real(0.1), "0.1");
  EXPECT_EQ(format_real(1e22), "1e+22");
  EXPECT_EQ(format_real(-172.5), "-172.5");
  EXPECT_EQ(format_real(5e-324), "5e-324");
}

TEST_F(LoadConfig, PrintedSettingsLoadBackExactly) {
  expect_round_trip();
  debug = true;
  screenx = INT32_MIN;
  screeny = INT32_MAX;
  def_lives = -1;
  const double odd[] = {1e-300, 0.1, 1e22, -0.0, 5e-324, 2.2250738585072009e-308, DBL_MAX,
                        -DBL_MAX, 150.0, 1.0 / 3.0, 123456789012345678.0, 9007199254740993.0,
                        -1e-5, 0.30000000000000004};
  std::size_t next = 0;
  for (const tunable& t : tunable_table())
    if (t.kind == tunable_kind::real) *t.real_ptr = odd[next++ % std::size(odd)];
  expect_round_trip();
}

TEST_F(LoadConfig, PrintedSettingsLoadBackUnderADecimalCommaLocale) {
  if (!vorn_test::use_comma_locale()) GTEST_SKIP() << "no locale with a decimal comma is available";
  spawn_x = 0.1;
  ds_xpos = -172.5;
  ai_ds_repulse = 1e-300;
  expect_round_trip();
  EXPECT_NE(format_config().find("spawn_x=0.1\n"), std::string::npos);
  EXPECT_TRUE(load_config(write("dt_max=0.02\n")).ok);
  EXPECT_EQ(dt_max, 0.02);
  vorn_test::restore_c_locale();
}

TEST(ConfigReference, OneRowPerKeyWithFormattedDefaults) {
  const std::string md = config_reference_markdown();
  EXPECT_EQ(std::count(md.begin(), md.end(), '\n'), std::ssize(tunable_table()) + 2);
  for (const char* row : {"| `debug` | flag | 0 |", "| `screenx` | int | 800 |",
                          "| `def_ds_radius` | real | 130.0 |", "| `ai_ds_repulse` | real | 1e+11 |"})
    EXPECT_NE(md.find(row), std::string::npos) << row;
  // Every key names one setting: the loader stops at the first row that matches.
  std::vector<std::string> keys;
  for (const tunable& t : tunable_table()) keys.emplace_back(t.key);
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
}

TEST(ConfigReference, ManualPageParagraphPerKeyWithRoffEscapes) {
  const std::string roff = config_reference_roff();
  EXPECT_EQ(std::count(roff.begin(), roff.end(), '\n'), 3 * std::ssize(tunable_table()));
  // Hyphens as minus signs, so that a negative default reads as one.
  EXPECT_NE(roff.find(".BR ds_xpos \" (real, default \\-172.5)\"\n"), std::string::npos);
  EXPECT_NE(roff.find(".BR screenx \" (int, default 800)\"\n"), std::string::npos);
  // No text line opens with '.' or '\'' (roff would read it as a request),
  // and no bare '-' or backslash escapes is left.
  std::istringstream lines(roff);
  std::string line;
  for (int n = 0; std::getline(lines, line); ++n) {
    if (n % 3 == 2) {
      ASSERT_FALSE(line.empty());
      EXPECT_TRUE(line[0] != '.' && line[0] != '\'') << line;
    }
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '-') {
        EXPECT_TRUE(i > 0 && line[i - 1] == '\\') << line;
      }
    }
  }
}

}  // namespace
}  // namespace vorn
