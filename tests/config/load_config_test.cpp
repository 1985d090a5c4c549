// Loading the configuration file into the tunables, the read-error report,
// and printing the settings in effect so that they load back exactly.
#include <gtest/gtest.h>

#include <sstream>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/load_config.h"
#include "config/print_config.h"
#include "config/tunables.h"
#include "support/comma_locale.h"

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
        case tunable_kind::real: v.push_back(std::bit_cast<uint64_t>(*t.real_ptr)); break;
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
}

TEST_F(LoadConfig, ReadErrorIsReportedWithFileAndReason) {
  const std::string path = (dir_ / config_file_name).string();
  fs::create_directory(path);
  const config_status st = load_config(path);
  EXPECT_FALSE(st.ok);
  EXPECT_NE(st.message.find(path), std::string::npos) << st.message;
  EXPECT_NE(st.message.find("Is a directory"), std::string::npos) << st.message;
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
