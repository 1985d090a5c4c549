// The demo reader: which event kinds a demo may hold, every way a record can
// be damaged or misplaced (each refused with its reason and line), demos cut
// anywhere (a recording game that was killed) read up to their last
// checksum, and the file itself: only regular files, read errors as errors,
// lines of bounded length, the same records however the buffer cuts them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/demo.h"
#include "app/demo_reader.h"

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
    EXPECT_EQ(read_demo_text(demo_with_event(kind), demo, error), valid) << "kind " << kind;
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

// A demo of `frames` frames with a checksum every 60 and an event on every
// seventh frame, and its end after an event.
std::string small_demo(int64_t frames) {
  std::string text = std::string(demo_header) + "\nscreen 320 240\nset enemy_count=3\n";
  for (int64_t i = 1; i <= frames; ++i) {
    if (i % 7 == 0) text += demo_event_line({5, static_cast<int32_t>(i), 0, 0, 0});
    text += demo_frame_line(0.0166, 0.0166 * static_cast<double>(i));
    if (i % demo_check_interval == 0) text += demo_check_line(i, 0x1234567800000000ull + static_cast<uint64_t>(i));
  }
  return text + demo_event_line({4, 0, 0, 27, 1}) + demo_end_line(frames, 0xabcdef0123456789ull);
}

// Cut at every byte of the last kilobyte: each cut reads as the frames up to
// the last whole checksum record before the cut, with every checksum before
// it; a damaged line anywhere is still refused.
TEST(DemoReader, CutAnywhereReadsToItsLastChecksum) {
  const std::string whole = small_demo(200);
  demo_data d;
  std::string error;
  for (size_t cut = whole.size() - 1024; cut < whole.size(); ++cut) {
    const std::string text = whole.substr(0, cut);
    ASSERT_TRUE(read_demo_text(text, d, error)) << "cut at " << cut << ": " << error;
    EXPECT_FALSE(d.complete);
    // The last checksum record that ends with its line end.
    size_t at = text.rfind("\nc ");
    while (at != std::string::npos && text.find('\n', at + 1) == std::string::npos) at = text.rfind("\nc ", at - 1);
    const int64_t last = at == std::string::npos ? 0 : std::stoll(text.substr(at + 3));
    ASSERT_EQ(static_cast<int64_t>(d.frames.size()), last) << "cut at " << cut;
    ASSERT_EQ(static_cast<int64_t>(d.checks.size()), last / demo_check_interval) << "cut at " << cut;
  }
  std::string damaged = whole.substr(0, whole.size() - 100);
  damaged.replace(damaged.rfind("f "), 2, "f x");
  EXPECT_FALSE(read_demo_text(damaged, d, error));
  ASSERT_TRUE(read_demo_text(whole, d, error)) << error;
  EXPECT_TRUE(d.complete);
  EXPECT_EQ(d.frames.size(), 200u);
  EXPECT_EQ(d.checks.size(), 3u);
  EXPECT_EQ(d.trailing.size(), 1u);
  EXPECT_EQ(d.end_checksum, 0xabcdef0123456789ull);
}

// `body` between the screen size and an end record for `frames` frames.
std::string demo_around(const std::string& body, int frames = 2) {
  return std::string(demo_header) + "\nscreen 800 600\n" + body + demo_end_line(frames, 0x0123456789abcdefULL);
}

TEST(DemoReader, EachDamagedOrMisplacedRecordIsRefusedWithItsReasonAndLine) {
  const std::string f1 = "f 0.01 0.01\n", f2 = "f 0.01 0.02\n", c1 = "c 1 0123456789abcdef\n";
  const struct {
    std::string body;
    int line;
    const char* reason;
  } cases[] = {
      {"screen 800\n" + f1 + f2, 3, "bad screen size"},
      {"screen x 600\n" + f1 + f2, 3, "bad screen size"},
      {"screen 800 x\n" + f1 + f2, 3, "bad screen size"},
      {"screen 0 600\n" + f1 + f2, 3, "bad screen size"},
      {"screen 800 0\n" + f1 + f2, 3, "bad screen size"},
      {"screen 16385 600\n" + f1 + f2, 3, "bad screen size"},
      {"screen 800 16385\n" + f1 + f2, 3, "bad screen size"},
      {"screen  600\n" + f1 + f2, 3, "bad screen size"},
      {"set\n" + f1 + f2, 3, "bad setting"},
      {"set abcd\n" + f1 + f2, 3, "bad setting"},
      {"e 1 0 0 0\n" + f1 + f2, 3, "bad event"},
      {"e x 0 0 0 0\n" + f1 + f2, 3, "bad event"},
      {"e 1 x 0 0 0\n" + f1 + f2, 3, "bad event"},
      {"e 1 0 x 0 0\n" + f1 + f2, 3, "bad event"},
      {"e 1 0 0 x 0\n" + f1 + f2, 3, "bad event"},
      {"e 1 0 0 -1 0\n" + f1 + f2, 3, "bad event"},
      {"e 1 0 0 65536 0\n" + f1 + f2, 3, "bad event"},
      {"e 1 0 0 0 x\n" + f1 + f2, 3, "bad event"},
      {"e 1 0 0 0 -1\n" + f1 + f2, 3, "bad event"},
      {"e 1 0 0 0 65536\n" + f1 + f2, 3, "bad event"},
      {"e 1 0 0 0 0 0\n" + f1 + f2, 3, "bad event"},
      {"e 1 0 0 0 0 0 0 0 0 0\n" + f1 + f2, 3, "bad event"},
      {"f 0.01\n" + f2, 3, "bad frame"},
      {"f x 0.01\n" + f2, 3, "bad frame"},
      {"f 0.01 x\n" + f2, 3, "bad frame"},
      {"f inf 0.01\n" + f2, 3, "bad frame"},
      {"f 0.01 nan\n" + f2, 3, "bad frame"},
      {"f 0.01 1e999\n" + f2, 3, "bad frame"},
      {"f 0.01 0.01 0\n" + f2, 3, "bad frame"},
      {f1 + "c 1\n" + f2, 4, "bad checksum record"},
      {f1 + "c x 0123456789abcdef\n" + f2, 4, "bad checksum record"},
      {f1 + "c 1 0123\n" + f2, 4, "bad checksum record"},
      {f1 + "c 1 0123456789abcdeg\n" + f2, 4, "bad checksum record"},
      {f1 + "c 1 0123456789abcdef 0\n" + f2, 4, "bad checksum record"},
      {f1 + f2 + "end 2\n", 5, "bad checksum record"},
      // Checksums a replay would never reach, or reach out of turn.
      {"c 0 0123456789abcdef\n" + f1 + f2, 3, "a checksum before the first frame"},
      {f1 + "c 0 0123456789abcdef\n" + f2, 4, "a checksum before the first frame"},
      {f1 + "c -1 0123456789abcdef\n" + f2, 4, "a checksum before the first frame"},
      {f1 + "c 2 0123456789abcdef\n" + f2, 4, "a checksum for the wrong frame (2, after frame 1)"},
      {f1 + f2 + "c 1 0123456789abcdef\n", 5, "a checksum for the wrong frame"},
      {f1 + c1 + c1 + f2, 5, "two checksums for one frame"},
      {f1 + "e 4 0 0 119 0\n" + c1 + f2, 5, "a checksum that does not follow its frame's record"},
      {f1 + f2 + "c 9 0123456789abcdef\n", 5, "a checksum for the wrong frame (9, after frame 2)"},
      {f1, 4, "the end record counts 2 frames, but the demo has 1"},
      {f1 + f2 + f2, 6, "the end record counts 2 frames, but the demo has 3"},
      // Head records among the frames, and unknown ones.
      {f1 + "set a=1\n" + f2, 4, "a setting after the first frame"},
      {"e 1 0 0 0 0\nset a=1\n" + f1 + f2, 4, "a setting after the first frame"},
      {f1 + "screen 800 600\n" + f2, 4, "a screen size after the first frame"},
      {"x 1\n" + f1 + f2, 3, "unknown record 'x'"},
      {"\n" + f1 + f2, 3, "unknown record ''"},
      {f1 + "\x1b[2J\n" + f2, 4, "unknown record '\\x1b[2J'"},
  };
  for (const auto& c : cases) {
    demo_data demo;
    std::string error;
    const std::string text = demo_around(c.body);
    EXPECT_FALSE(read_demo_text(text, demo, error)) << text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.body << "-> " << error;
    EXPECT_EQ(error.rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << c.body << "-> " << error;
  }
  // The cases' frames and checksums in their right places read.
  demo_data demo;
  std::string error;
  ASSERT_TRUE(read_demo_text(demo_around(f1 + c1 + "e 4 0 0 119 0\n" + f2), demo, error)) << error;
  ASSERT_EQ(demo.checks.size(), 1u);
  EXPECT_EQ(demo.checks[0].frame, 1);
  EXPECT_EQ(demo.frames[1].events.size(), 1u);
}

TEST(DemoReader, HeaderScreenSettingsAndEnd) {
  demo_data demo;
  std::string error;
  const std::string end = demo_end_line(0, 0);
  EXPECT_FALSE(read_demo_text("", demo, error));
  EXPECT_NE(error.find("empty"), std::string::npos) << error;
  EXPECT_FALSE(read_demo_text("vorn-demo 3\nscreen 800 600\n" + end, demo, error));
  EXPECT_NE(error.find("not a demo of this game's format"), std::string::npos) << error;
  EXPECT_FALSE(read_demo_text(std::string(demo_header), demo, error));
  EXPECT_NE(error.find("cut short"), std::string::npos) << error;
  // The screen size must come before the first record of play.
  for (const std::string& text : {std::string(demo_header) + "\n", std::string(demo_header) + "\n" + end,
                                  std::string(demo_header) + "\nset a=1\nf 0.1 0.1\nscreen 800 600\n"}) {
    EXPECT_FALSE(read_demo_text(text, demo, error)) << text;
    EXPECT_NE(error.find("no screen size"), std::string::npos) << error;
  }
  // Text after the end record, whole lines or a cut one, is damage.
  const std::string whole = std::string(demo_header) + "\nscreen 800 600\n" + end;
  for (const char* after : {"f 0.01 0.01\n", "f 0.0", "\n"}) {
    EXPECT_FALSE(read_demo_text(whole + after, demo, error)) << after;
    EXPECT_EQ(error, "line 4: text after the end record");
  }
  // Both formats read, each telling its version; a settings line keeps its
  // text; a later screen size in the head counts.
  ASSERT_TRUE(read_demo_text(std::string(demo_header_v1) + "\nscreen 1 1\nset a = 1\nscreen 64 48\n" + end, demo,
                             error))
      << error;
  EXPECT_EQ(demo.head.version, 1);
  EXPECT_EQ(demo.head.screen_w, 64);
  EXPECT_EQ(demo.head.settings, "a = 1\n");
  EXPECT_TRUE(demo.complete);
  ASSERT_TRUE(read_demo_text(whole, demo, error)) << error;
  EXPECT_EQ(demo.head.version, 2);
  // Cut among the settings: a demo of no frames.
  ASSERT_TRUE(read_demo_text(std::string(demo_header) + "\nscreen 8 8\nset a=1\nset b", demo, error)) << error;
  EXPECT_FALSE(demo.complete);
  EXPECT_EQ(demo.head.settings, "a=1\n");
  EXPECT_TRUE(demo.frames.empty());
  // Settings of at most demo_max_settings bytes in all.
  const std::string line = "set k=" + std::string(demo_max_line - 6, '1') + "\n";
  std::string many = std::string(demo_header) + "\nscreen 8 8\n";
  for (size_t n = 0; n * (line.size() - 4) <= demo_max_settings; ++n) many += line;
  EXPECT_FALSE(read_demo_text(many + end, demo, error));
  EXPECT_NE(error.find("the settings are longer than 1048576 bytes"), std::string::npos) << error;
}

// Lines of at most demo_max_line bytes: a longer one is refused as soon as
// it is seen, wherever it is.
TEST(DemoReader, LongLinesAreRefused) {
  const std::string longest = "set k=" + std::string(demo_max_line - 6, '1');
  demo_data demo;
  std::string error;
  ASSERT_TRUE(read_demo_text(demo_around(longest + "\n", 0), demo, error)) << error;
  for (const std::string& body : {longest + "1\n", "f 0.01 0.01\n" + std::string(demo_max_line + 1, ' ')}) {
    EXPECT_FALSE(read_demo_text(demo_around(body, 1), demo, error));
    EXPECT_NE(error.find("longer than 4096 bytes"), std::string::npos) << error;
  }
  EXPECT_FALSE(read_demo_text(std::string(demo_header) + "\nscreen 8 8\nf 0.1 0.1\n" + std::string(5000, ' '), demo,
                              error));
  EXPECT_EQ(error, "line 4: longer than 4096 bytes");
}

class DemoFile : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::TempDir() + "demo_reader_" + std::to_string(getpid());
    ASSERT_EQ(mkdir(dir_.c_str(), 0700), 0);
  }
  void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0); }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = dir_ + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
  }
  std::string dir_;
};

// Every record of a reader, as text, for comparing two readers.
std::string records_of(demo_reader& reader) {
  demo_head head;
  demo_record r;
  std::string error, out;
  if (!reader.read_head(head, error)) return error;
  do {
    if (!reader.next(r, error)) return out + error;
    out += std::to_string(static_cast<int>(r.item)) + ' ' + std::to_string(r.event.x) + ' ' + std::to_string(r.t) +
           ' ' + std::to_string(r.frame) + '\n';
  } while (r.item != demo_item::end && r.item != demo_item::cut);
  return out;
}

// A file read a buffer at a time gives the records of the same text read
// from memory, whole, cut mid-line and damaged late, and again after a rewind.
TEST_F(DemoFile, ReadsTheRecordsOfTheSameTextInMemory) {
  const std::string text = small_demo(7000);
  ASSERT_GT(text.size(), 2u * 65536);
  for (const std::string& variant :
       {text, text.substr(0, text.size() - 7), text.substr(0, text.size() - 40) + "f 1 x\n"}) {
    demo_reader in_memory, from_file;
    std::string error;
    in_memory.open_text(variant);
    ASSERT_TRUE(from_file.open(write("big.demo", variant), error)) << error;
    const std::string expected = records_of(in_memory);
    EXPECT_EQ(records_of(from_file), expected);
    from_file.rewind();
    EXPECT_EQ(records_of(from_file), expected);
  }
}

TEST_F(DemoFile, OnlyRegularFilesThatReadAreDemos) {
  demo_reader reader;
  std::string error;
  EXPECT_FALSE(reader.open(dir_ + "/missing.demo", error));
  EXPECT_EQ(error, "cannot open it: No such file or directory");
  EXPECT_FALSE(demo_reader().open(dir_, error));
  EXPECT_EQ(error, "cannot read it: not a regular file but a directory");
  const std::string fifo = dir_ + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(demo_reader().open(fifo, error));  // at once, with no writer
  EXPECT_EQ(error, "cannot read it: not a regular file but a FIFO");
  EXPECT_FALSE(demo_reader().open("/dev/zero", error));
  EXPECT_EQ(error, "cannot read it: not a regular file but a character device");
  // A gigabyte on one line (a sparse file): refused at its first 4097 bytes.
  const std::string huge = write("huge.demo", "vorn-demo 2\nscreen 8 8\n");
  ASSERT_EQ(truncate(huge.c_str(), 1 << 30), 0);
  demo_reader big;
  ASSERT_TRUE(big.open(huge, error)) << error;
  demo_head head;
  EXPECT_FALSE(big.read_head(head, error));
  EXPECT_EQ(error, "line 3: longer than 4096 bytes");
  // A file that fails to read is an error, never the end of a cut demo.
  demo_reader mem;
  ASSERT_TRUE(mem.open("/proc/self/mem", error)) << error;
  EXPECT_FALSE(mem.read_head(head, error));
  EXPECT_EQ(error, "cannot read it after line 0: Input/output error");
}

}  // namespace
}  // namespace vorn
