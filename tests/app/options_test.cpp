// The command line's numeric values, table by table: what each option takes,
// its edges, and the texts a number reader might wrongly let through.
#include "app/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

// Parses "vorn OPTION VALUE" (after the options it needs); false with the
// reason when it is refused.
bool parse(const std::string& option, const std::string& value, options& out, std::string& error) {
  std::vector<std::string> words{"vorn", option, value};
  if (option == "--export-every") words.insert(words.end(), {"--export-frames", "dir", "--play", "d.demo"});
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  return parse_options(static_cast<int>(argv.size()), argv.data(), out, error);
}

// Texts that no whole-number option takes: signs, spaces, fractions,
// exponents, hexadecimal, suffixes, the empty text and numbers past int64.
const char* const never_whole[] = {"",    " 2",  "2 ",  "+2",   "-2",   "2.0", "2e0", "0x2",
                                   "2x",  "٢",   "nan", "inf",  "1,5",  "9223372036854775808",
                                   "99999999999999999999999"};

struct whole_option {
  const char* name;
  int64_t low;   // smallest value taken
  int64_t high;  // largest value taken
  int64_t (*field)(const options&);
};

const whole_option whole_options[] = {
    {"--scale", 1, 8, [](const options& o) { return int64_t{o.scale}; }},
    {"--max-fps", 1, 1000000, [](const options& o) { return int64_t{o.max_fps}; }},
    {"--export-every", 1, INT32_MAX, [](const options& o) { return o.export_every; }},
    {"--volume", 0, 100, [](const options& o) { return int64_t{o.volume}; }},
    {"--frames", 0, INT64_MAX, [](const options& o) { return o.frames; }},
};

TEST(CommandLine, WholeNumberOptionsTakeTheirRangeAndNothingElse) {
  for (const whole_option& w : whole_options) {
    SCOPED_TRACE(w.name);
    options o;
    std::string error;
    for (const int64_t n : {w.low, w.low + 1, w.high}) {
      ASSERT_TRUE(parse(w.name, std::to_string(n), o, error)) << n << ": " << error;
      EXPECT_EQ(w.field(o), n);
    }
    // A refusal names the option and the very range it takes.
    const std::string range = "from " + std::to_string(w.low) + " to " + std::to_string(w.high);
    if (w.low > 0) {
      EXPECT_FALSE(parse(w.name, std::to_string(w.low - 1), o, error));
      EXPECT_NE(error.find(w.name), std::string::npos) << error;
      EXPECT_NE(error.find(range), std::string::npos) << error;
    }
    const std::string above = w.high < INT64_MAX ? std::to_string(w.high + 1) : "9223372036854775808";
    EXPECT_FALSE(parse(w.name, above, o, error));
    EXPECT_NE(error.find(range), std::string::npos) << error;
    for (const char* text : never_whole) {
      EXPECT_FALSE(parse(w.name, text, o, error)) << "'" << text << "' was taken";
      EXPECT_NE(error.find(std::string("'") + text + "'"), std::string::npos) << error;
    }
  }
}

// More threads than the game uses count as its most, however many digits.
TEST(CommandLine, ThreadsAboveEightCountAsEight) {
  options o;
  std::string error;
  for (const char* many : {"8", "9", "99", "9223372036854775807", "99999999999999999999999", "0009"}) {
    ASSERT_TRUE(parse("--threads", many, o, error)) << many << ": " << error;
    EXPECT_EQ(o.threads, 8) << many;
  }
  ASSERT_TRUE(parse("--threads", "3", o, error));
  EXPECT_EQ(o.threads, 3);
  for (const char* bad : {"0", "-1", "two", "", "+9", "9.0"}) {
    EXPECT_FALSE(parse("--threads", bad, o, error)) << "'" << bad << "' was taken";
    EXPECT_NE(error.find("1 or more (more than 8 counts as 8)"), std::string::npos) << error;
  }
}

// Options that only work with another are refused without it, each naming
// what it needs.
TEST(CommandLine, DependentOptionsNeedTheirPartner) {
  const struct {
    std::vector<std::string> args;
    const char* needs;  // nullptr: taken
  } cases[] = {
      {{"--export-every", "2"}, "--export-every needs --export-frames"},
      {{"--export-every", "2", "--play", "d"}, "--export-every needs --export-frames"},
      {{"--export-frames", "x"}, "--export-frames needs --play"},
      {{"--timedemo"}, "needs --play"},
      {{"--export-every", "2", "--export-frames", "x", "--play", "d"}, nullptr},
      {{"--record", "a", "--play", "b"}, "cannot be used together"},
      {{"--sound", "--no-sound"}, "cannot be used together"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> words{"vorn"};
    words.insert(words.end(), c.args.begin(), c.args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    options o;
    std::string error;
    const bool taken = parse_options(static_cast<int>(argv.size()), argv.data(), o, error);
    EXPECT_EQ(taken, c.needs == nullptr) << c.args[0];
    if (c.needs) {
      EXPECT_NE(error.find(c.needs), std::string::npos) << error;
    }
  }
}

TEST(CommandLine, FixedFrameTimeIsAPositiveFiniteNumber) {
  options o;
  std::string error;
  for (const char* good : {"0.0166666", "1", "1e-3", "5e-324"}) {
    EXPECT_TRUE(parse("--fixed-dt", good, o, error)) << good << ": " << error;
    EXPECT_GT(o.fixed_dt, 0.0);
  }
  for (const char* bad : {"0", "-0.01", "nan", "inf", "1e999", "0.01s", "", " 0.01", "+0.01"})
    EXPECT_FALSE(parse("--fixed-dt", bad, o, error)) << "'" << bad << "' was taken";
}

TEST(CommandLine, AMissingValueNamesItsOption) {
  for (const char* name : {"--scale", "--max-fps", "--threads", "--export-every", "--export-frames", "--volume",
                           "--play", "--record", "--config", "--frames", "--fixed-dt"}) {
    std::vector<std::string> words{"vorn", "--headless", name};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    options o;
    std::string error;
    EXPECT_FALSE(parse_options(static_cast<int>(argv.size()), argv.data(), o, error)) << name;
    EXPECT_EQ(error, std::string("option ") + name + " needs a value");
  }
}

// A file or folder name must name something; --screenshots needs a replay.
TEST(CommandLine, EmptyNamesAndScreenshotsWithoutAReplayAreRefused) {
  options o;
  std::string error;
  for (const char* name : {"--record", "--play"}) {
    EXPECT_FALSE(parse(name, "", o, error)) << name;
    EXPECT_EQ(error, std::string(name) + " takes a file name, not an empty one");
  }
  EXPECT_FALSE(parse("--export-frames", "", o, error));
  EXPECT_EQ(error, "--export-frames takes a folder name, not an empty one");
  EXPECT_FALSE(parse("--screenshots", "--headless", o, error));
  EXPECT_NE(error.find("--screenshots"), std::string::npos) << error;
}

// --write-config takes the next word as its file unless it is an option.
TEST(CommandLine, WriteConfigTakesAnOptionalFile) {
  options o;
  std::string error;
  ASSERT_TRUE(parse("--write-config", "--headless", o, error)) << error;
  EXPECT_TRUE(o.write_config && o.headless && o.write_config_file.empty());
  ASSERT_TRUE(parse("--write-config", "b.txt", o, error)) << error;
  EXPECT_EQ(o.write_config_file, "b.txt");
  EXPECT_FALSE(parse("--write-config", "", o, error));
  EXPECT_EQ(error, "--write-config takes a file name, not an empty one");
  std::string words[] = {"vorn", "--play", "x.demo", "--write-config"};
  char* argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data()};
  EXPECT_FALSE(parse_options(4, argv, o, error));  // a demo's settings are not the configuration's
}

TEST(CommandLine, EachParseStartsFromTheDefaults) {
  options o;
  std::string error;
  ASSERT_TRUE(parse("--scale", "3", o, error));
  ASSERT_TRUE(parse("--max-fps", "60", o, error));
  EXPECT_EQ(o.scale, 1);
  EXPECT_EQ(o.max_fps, 60);
  EXPECT_EQ(o.threads, 0);
  EXPECT_EQ(o.export_every, 1);
  EXPECT_EQ(o.frames, -1);
}

}  // namespace
}  // namespace vorn
