// The PNG writer, read back through the game's own decoder: RGB drops the
// alpha byte, RGBA keeps it, and failures leave no file behind.
#include "image/png_write.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/png.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

std::vector<uint32_t> read_back(const std::string& path, int32_t& w, int32_t& h) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  uint32_t* pixels = nullptr;
  png_decode_memory(bytes.data(), int32_t(bytes.size()), false, false, 0, w, h, pixels, 0);
  std::vector<uint32_t> out;
  if (pixels) out.assign(pixels, pixels + size_t(w) * size_t(h));
  std::free(pixels);
  return out;
}

class PngWriter : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() / ("png_write_test_" + std::to_string(::getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
};

TEST_F(PngWriter, PixelsReadBackThroughTheGamesDecoder) {
  // Every channel distinct, including a half-transparent pixel.
  const std::vector<uint32_t> image = {0x80102030u, 0xFF405060u, 0x00708090u,
                                       0xFFA0B0C0u, 0x7FD0E0F0u, 0xFF000000u};
  int32_t w = 0, h = 0;
  const std::string rgba = (dir / "rgba.png").string();
  ASSERT_TRUE(save_png(rgba, image.data(), 3, 2, true));
  EXPECT_EQ(read_back(rgba, w, h), image);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);

  const std::string rgb = (dir / "rgb.png").string();
  ASSERT_TRUE(save_png(rgb, image.data(), 3, 2, false));
  std::vector<uint32_t> colours = image;
  for (uint32_t& p : colours) p &= 0x00FFFFFFu;  // RGB: no alpha written, so it decodes as 0
  EXPECT_EQ(read_back(rgb, w, h), colours);
  EXPECT_FALSE(fs::exists(rgb + ".tmp"));
}

TEST_F(PngWriter, FailuresLeaveNoFile) {
  const uint32_t pixel = 0xFF00FF00u;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(save_png((dir / "none" / "x.png").string(), &pixel, 1, 1, false));  // no such folder
  EXPECT_FALSE(save_png((dir / "empty.png").string(), &pixel, 0, 1, false));
  EXPECT_FALSE(save_png((dir / "null.png").string(), nullptr, 1, 1, false));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("x.png"), std::string::npos);
  EXPECT_NE(err.find("empty.png"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(dir));
}

}  // namespace
}  // namespace vorn
