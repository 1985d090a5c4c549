// The screenshot writer: header fields, bottom-up unpadded rows, and
// failures that leave no partial file behind.
#include "image/bmp.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/color.h"
#include "support/file_size_limit.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> read_file(const std::string& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}

// A scratch folder below the working directory (the writer drops a leading
// '/', so its names are relative).
class BmpWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "bmp_test_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string dir;
};

TEST_F(BmpWriter, RowsAreStoredBottomUpWithoutPadding) {
  const int w = 800, h = 600;
  std::vector<uint32_t> px(w * h);
  for (int i = 0; i < w * h; ++i) px[i] = uint32_t(i) * 2654435761u;
  px[(h - 1) * w] = red;  // bottom-left
  ASSERT_TRUE(save_bmp("/" + dir + "/shot.bmp", px.data(), w, h));
  const std::vector<uint8_t> b = read_file(dir + "/shot.bmp");
  ASSERT_EQ(b.size(), 1920054u);
  EXPECT_EQ(b[0] | b[1] << 8, 'B' | 'M' << 8);
  const uint32_t fields[][2] = {
      {2, 1920054}, {6, 0},        {10, 54},   {14, 40},   {18, 800}, {22, 600}, {26, 1 | 32 << 16},
      {30, 0},      {34, 1920000}, {38, 1000}, {42, 1000}, {46, 0},   {50, 0}};
  for (const auto& f : fields) EXPECT_EQ(le32(b, f[0]), f[1]) << "offset " << f[0];
  EXPECT_EQ(le32(b, 54), 0xFFFF0000u);  // bytes 00 00 FF FF
  // Every pixel as its value's bytes, least significant first, on every
  // machine.
  for (int row = 0; row < h; ++row) {
    for (int x = 0; x < w; ++x) {
      ASSERT_EQ(le32(b, 54 + (size_t(row) * w + x) * 4), px[size_t(h - 1 - row) * w + x]) << row << " " << x;
    }
  }

  const uint32_t column[3] = {1, 2, 3};
  ASSERT_TRUE(save_bmp(dir + "/narrow.bmp", column, 1, 3));
  const std::vector<uint8_t> n = read_file(dir + "/narrow.bmp");
  ASSERT_EQ(n.size(), 54u + 12u);
  EXPECT_EQ((std::vector<uint32_t>{le32(n, 54), le32(n, 58), le32(n, 62)}),
            (std::vector<uint32_t>{3, 2, 1}));
}

TEST_F(BmpWriter, UnwritableTargetsFailAndLeaveNoFile) {
  const uint32_t px[4] = {red, green, blue, white};
  // A folder that is a plain file cannot hold the screenshot, even for root.
  const std::string blocker = dir + "/blocker";
  std::ofstream(blocker) << "x";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(save_bmp(blocker + "/shot.bmp", px, 2, 2));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(blocker + "/shot.bmp: Not a directory"), std::string::npos) << err;
  if (geteuid() != 0) {  // root writes into read-only folders regardless
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(save_bmp(dir + "/shot.bmp", px, 2, 2));
    fs::permissions(dir, fs::perms::owner_all);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  // A file size limit makes the write fail part way, as a full disk would:
  // the older file of that name survives and no partial file is left.
  const std::string name = dir + "/shot.bmp";
  std::ofstream(name) << "older";
  const std::vector<uint32_t> big(64 * 64, orange);
  testing::internal::CaptureStderr();
  const bool ok = vorn_test::with_file_size_limit(1000, [&] { return save_bmp(name, big.data(), 64, 64); });
  EXPECT_NE(testing::internal::GetCapturedStderr().find(name + ": File too large"),
            std::string::npos);
  EXPECT_FALSE(ok);
  EXPECT_EQ(read_file(name).size(), 5u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace vorn
