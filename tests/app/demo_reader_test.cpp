// The demo reader's records: which event kinds a demo may hold, and every
// way a record can be damaged, each refused with its reason and line.
#include <gtest/gtest.h>

#include <string>

#include "app/demo.h"

namespace vorn {
namespace {

std::string demo_with_event(int32_t kind) {
  return std::string(demo_header) + "\nscreen 800 600\ne " + std::to_string(kind) + " 1 2 3 0\nf 0.01 0.01\n" +
         demo_end_line(1, 0x0123456789abcdefULL);
}

TEST(DemoReader, EventKindsAreTheOnesTheGameHands) {
  // 1 quit, 3 key up, 4 key down, 5 pointer moved, 6 button up, 7 button
  // down; kind 2 is never handed and nothing beyond 7 exists.
  for (int32_t kind = -1; kind <= 9; ++kind) {
    demo_data demo;
    std::string error;
    const bool valid = kind == 1 || (kind >= 3 && kind <= 7);
    EXPECT_EQ(parse_demo(demo_with_event(kind), demo, error), valid) << "kind " << kind;
    if (valid) {
      ASSERT_EQ(demo.frames.size(), 1u);
      ASSERT_EQ(demo.frames[0].events.size(), 1u);
      EXPECT_EQ(demo.frames[0].events[0].kind, kind);
      EXPECT_EQ(demo.frames[0].events[0].key, 3);
    } else {
      EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;
    }
  }
}

// A demo whose third line is `line` (after the header and the screen size),
// followed by one frame and its end record.
std::string demo_with_line(const std::string& line) {
  return std::string(demo_header) + "\nscreen 800 600\n" + line + "\nf 0.01 0.01\n" +
         demo_end_line(1, 0x0123456789abcdefULL);
}

TEST(DemoReader, EachDamagedRecordIsRefusedWithItsReason) {
  const struct {
    const char* line;
    const char* reason;
  } cases[] = {
      {"screen 800", "bad screen size"},         {"screen x 600", "bad screen size"},
      {"screen 800 x", "bad screen size"},       {"screen 0 600", "bad screen size"},
      {"screen 800 0", "bad screen size"},       {"screen 16385 600", "bad screen size"},
      {"screen 800 16385", "bad screen size"},   {"screen  600", "bad screen size"},
      {"set", "bad setting"},                    {"set abcd", "bad setting"},
      {"e 1 0 0 0", "bad event"},                {"e x 0 0 0 0", "bad event"},
      {"e 1 x 0 0 0", "bad event"},              {"e 1 0 x 0 0", "bad event"},
      {"e 1 0 0 x 0", "bad event"},              {"e 1 0 0 -1 0", "bad event"},
      {"e 1 0 0 65536 0", "bad event"},          {"e 1 0 0 0 x", "bad event"},
      {"e 1 0 0 0 -1", "bad event"},             {"e 1 0 0 0 65536", "bad event"},
      {"e 1 0 0 0 0 0", "bad event"},            {"f 0.01", "bad frame"},
      {"f x 0.01", "bad frame"},                 {"f 0.01 x", "bad frame"},
      {"f inf 0.01", "bad frame"},               {"f 0.01 nan", "bad frame"},
      {"f 0.01 0.01 0", "bad frame"},            {"c 0", "bad checksum record"},
      {"c x 0123456789abcdef", "bad checksum record"},
      {"c 0 0123", "bad checksum record"},       {"c 0 0123456789abcdeg", "bad checksum record"},
      {"c 0 0123456789abcdef 0", "bad checksum record"},
      {"c 7 0123456789abcdef", "a checksum for the wrong frame"},
      {"c 0 0123456789abcdef\nc 0 0123456789abcdef", "two checksums for one frame"},
      {"f 0.01 0.01\nset a=1", "a setting after the first frame"},
      {"e 1 0 0 0 0\nset a=1", "a setting after the first frame"},
      {"x 1", "unknown record 'x'"},             {"", "unknown record ''"},
  };
  for (const auto& c : cases) {
    demo_data demo;
    std::string error;
    EXPECT_FALSE(parse_demo(demo_with_line(c.line), demo, error)) << c.line;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.line << ": " << error;
    EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
  }
}

TEST(DemoReader, HeaderScreenAndEnd) {
  demo_data demo;
  std::string error;
  const std::string end = demo_end_line(0, 0);
  EXPECT_FALSE(parse_demo("", demo, error));
  EXPECT_NE(error.find("empty"), std::string::npos) << error;
  EXPECT_FALSE(parse_demo("vorn-demo 3\nscreen 800 600\n" + end, demo, error));
  EXPECT_NE(error.find("not a demo of this game's format"), std::string::npos) << error;
  EXPECT_FALSE(parse_demo(std::string(demo_header), demo, error));
  EXPECT_NE(error.find("cut short"), std::string::npos) << error;
  EXPECT_FALSE(parse_demo(std::string(demo_header) + "\n" + end, demo, error));
  EXPECT_NE(error.find("no screen size"), std::string::npos) << error;
  // Text after the end record, whole lines or a cut one, is damage.
  const std::string whole = std::string(demo_header) + "\nscreen 800 600\n" + end;
  for (const char* after : {"f 0.01 0.01\n", "f 0.0"}) {
    EXPECT_FALSE(parse_demo(whole + after, demo, error)) << after;
    EXPECT_NE(error.find("text after the end record"), std::string::npos) << error;
  }
  // Both formats read, each telling its version; a settings line keeps its text.
  ASSERT_TRUE(parse_demo(std::string(demo_header_v1) + "\nscreen 64 48\nset a = 1\n" + end, demo, error)) << error;
  EXPECT_EQ(demo.version, 1);
  EXPECT_EQ(demo.screen_w, 64);
  EXPECT_EQ(demo.settings, "a = 1\n");
  EXPECT_TRUE(demo.complete);
  ASSERT_TRUE(parse_demo(whole, demo, error)) << error;
  EXPECT_EQ(demo.version, 2);
}

}  // namespace
}  // namespace vorn
