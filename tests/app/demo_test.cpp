// Reading demos: both format versions, and demos cut anywhere (a recording
// game that was killed) read up to their last checksum, while damage to a
// whole line is still refused.
#include <gtest/gtest.h>

#include <string>

#include "app/demo.h"
#include "app/demo_reader.h"

namespace vorn {
namespace {

// A small demo of `frames` frames with a checksum every 60 and an event on
// every seventh frame.
std::string small_demo(int64_t frames, const char* header = demo_header) {
  std::string text = std::string(header) + "\nscreen 320 240\nset enemy_count=3\n";
  for (int64_t i = 1; i <= frames; ++i) {
    if (i % 7 == 0) text += demo_event_line({4, 0, 0, 119, 1});
    text += demo_frame_line(0.0166, 0.0166 * static_cast<double>(i));
    if (i % demo_check_interval == 0) text += demo_check_line(i, 0x1234567800000000ull + static_cast<uint64_t>(i));
  }
  text += demo_event_line({4, 0, 0, 27, 1});
  return text + demo_end_line(frames, 0xabcdef0123456789ull);
}

TEST(DemoRead, BothVersionsReadWhole) {
  for (const char* header : {demo_header, demo_header_v1}) {
    demo_data d;
    std::string error;
    ASSERT_TRUE(read_demo_text(small_demo(130, header), d, error)) << error;
    EXPECT_EQ(d.head.version, header == demo_header ? 2 : 1);
    EXPECT_TRUE(d.complete);
    EXPECT_EQ(d.frames.size(), 130u);
    EXPECT_EQ(d.checks.size(), 2u);
    EXPECT_EQ(d.end_checksum, 0xabcdef0123456789ull);
    EXPECT_EQ(d.trailing.size(), 1u);
  }
  demo_data d;
  std::string error;
  EXPECT_FALSE(read_demo_text("vorn-demo 3\nscreen 320 240\nend 0 0000000000000000\n", d, error));
}

// Cut at every byte of the last kilobyte: each cut reads as the frames up to
// the last whole checksum record before the cut, with every checksum before it.
TEST(DemoRead, CutAtEveryByteOfTheLastKilobyteReadsToItsLastChecksum) {
  const std::string whole = small_demo(200);
  ASSERT_GT(whole.size(), 1100u);
  for (size_t cut = whole.size() - 1024; cut < whole.size(); ++cut) {
    const std::string text = whole.substr(0, cut);
    demo_data d;
    std::string error;
    ASSERT_TRUE(read_demo_text(text, d, error)) << "cut at " << cut << ": " << error;
    EXPECT_FALSE(d.complete);
    // The last checksum record that ends with its line end.
    size_t at = text.rfind("\nc ");
    while (at != std::string::npos && text.find('\n', at + 1) == std::string::npos) at = text.rfind("\nc ", at - 1);
    const int64_t last = at == std::string::npos ? 0 : std::stoll(text.substr(at + 3));
    ASSERT_EQ(static_cast<int64_t>(d.frames.size()), last) << "cut at " << cut;
    ASSERT_EQ(static_cast<int64_t>(d.checks.size()), last / demo_check_interval) << "cut at " << cut;
    EXPECT_TRUE(d.trailing.empty());
  }
}

TEST(DemoRead, DamageToAWholeLineIsRefusedEvenWithoutAnEndRecord) {
  std::string text = small_demo(130);
  text.erase(text.rfind("end "));
  demo_data d;
  std::string error;
  ASSERT_TRUE(read_demo_text(text, d, error)) << error;
  EXPECT_EQ(d.frames.size(), 120u);
  // A damaged frame line before the last checksum, and one after it.
  for (const size_t at : {text.find("f ", 100), text.rfind("f ")}) {
    std::string damaged = text;
    damaged.replace(at, 2, "f x");
    EXPECT_FALSE(read_demo_text(damaged, d, error));
    EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
  }
  // Cut inside the header or the screen size: not a demo.
  EXPECT_FALSE(read_demo_text("vorn-de", d, error));
  EXPECT_FALSE(read_demo_text("vorn-demo 2\nscreen 32", d, error));
  // An end record that lost its line end is the cut itself.
  std::string unended = small_demo(130);
  unended.pop_back();
  ASSERT_TRUE(read_demo_text(unended, d, error)) << error;
  EXPECT_FALSE(d.complete);
  EXPECT_EQ(d.frames.size(), 120u);
}

}  // namespace
}  // namespace vorn
