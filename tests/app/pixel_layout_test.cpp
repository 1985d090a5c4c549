// The game's pixels (0xAARRGGBB) in another surface's channel layout.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/pixel_layout.h"

namespace vorn {
namespace {

TEST(PixelLayout, TheDesktopsLayoutIsTheGamesOwn) {
  EXPECT_TRUE(layout_of_masks(0x00FF0000, 0x0000FF00, 0x000000FF, 0).native);
  EXPECT_TRUE(layout_of_masks(0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000).native);
  EXPECT_FALSE(layout_of_masks(0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000).native);
}

TEST(PixelLayout, ACanvasGetsRedFirstAndOpaquePixels) {
  const pixel_layout canvas = layout_of_masks(0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
  std::vector<uint32_t> pixels = {0x00112233, 0xFFFFFFFF, 0x80000000, 0x00FF0000, 0x000000FF};
  std::vector<uint32_t> out(pixels.size());
  convert_pixels(pixels.data(), out.data(), pixels.size(), canvas);
  EXPECT_EQ(out, (std::vector<uint32_t>{0xFF332211, 0xFFFFFFFF, 0xFF000000, 0xFF0000FF, 0xFFFF0000}));
  convert_pixels(pixels.data(), pixels.data(), pixels.size(), canvas);  // in place
  EXPECT_EQ(pixels, out);
}

TEST(PixelLayout, AnyOtherLayoutByItsMasks) {
  // Blue, green, red from the top byte down, alpha in the lowest.
  const pixel_layout l = layout_of_masks(0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF);
  const uint32_t from = 0xAA112233;
  uint32_t to = 0;
  convert_pixels(&from, &to, 1, l);
  EXPECT_EQ(to, 0x332211FFu);
}

}  // namespace
}  // namespace vorn
