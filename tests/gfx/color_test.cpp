// Colour values, mixing and image records.
#include "gfx/color.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gfx/image.h"

namespace vorn {
namespace {

TEST(Color, MakeColorPacksBytesAsBlueGreenRedAlphaInMemory) {
  const color_t c = make_color(1, 2, 3, 4);
  EXPECT_EQ(c, 0x04010203u);
  unsigned char bytes[4];
  std::memcpy(bytes, &c, 4);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(bytes[1], 2);
  EXPECT_EQ(bytes[2], 1);
  EXPECT_EQ(bytes[3], 4);
}

TEST(Blend, EndpointsTakeOneColourWithOpaqueAlpha) {
  const color_t c1 = 0x00123456, c2 = 0x00ABCDEF;
  EXPECT_EQ(blend(c1, c2, 1.0f), 0xFF123456u);
  EXPECT_EQ(blend(c1, c2, 0.0f), 0xFFABCDEFu);
}

TEST(Blend, HalfOfTheGridColourAndWhiteRoundsDown) {
  // 0.93137... as a float, times 255 is 237.4999..., which rounds to 237.
  EXPECT_EQ(blend(make_color(220, 220, 255, 255), white, 0.5f), 0xFFEDEDFFu);
}

TEST(Blend, OverRangeFactorsSaturateAboveAndWrapBelow) {
  EXPECT_EQ((blend(orange, black, 2.5f) >> 8) & 0xFF, 255u);
  const color_t c = blend(orange, blue, 2.5f);
  EXPECT_EQ(c & 0xFF, 130u);  // -382.5 rounds to -382, which is 130 modulo 256
  EXPECT_EQ((c >> 16) & 0xFF, 255u);
  EXPECT_EQ((c >> 8) & 0xFF, 255u);
  // Huge factors are still well defined.
  EXPECT_EQ(blend(orange, white, 1e30f) & 0xFF000000u, 0xFF000000u);
  EXPECT_EQ(blend(orange, white, -1e30f) >> 24, 0xFFu);
}

TEST(Image, NewImageHalvesTowardZeroAndOwnsNoPixels) {
  typspr* img = new_image(nullptr, 5, 3);
  EXPECT_EQ(img->pixels, nullptr);
  EXPECT_EQ(img->half_width, 2);
  EXPECT_EQ(img->half_height, 1);
  EXPECT_EQ(img->count, 1);
  EXPECT_TRUE(img->flag);
  EXPECT_TRUE(img->label.empty());
  delete img;
}

}  // namespace
}  // namespace vorn
