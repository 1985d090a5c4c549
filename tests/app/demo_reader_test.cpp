// The demo reader's records: which event kinds a demo may hold.
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

}  // namespace
}  // namespace vorn
