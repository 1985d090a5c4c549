// Colour values, mixing and image records.
#include "base/color.h"

#include <gtest/gtest.h>


#include "image/image.h"

namespace vorn {
namespace {

TEST(Color, MakeColorPacksAlphaRedGreenBlueFromTheTop) {
  EXPECT_EQ(make_color(1, 2, 3, 4), 0x04010203u);
}

TEST(Blend, EndpointsTakeOneColourWithOpaqueAlpha) {
  const color_t c1 = 0x00123456, c2 = 0x00ABCDEF;
  EXPECT_EQ(blend(c1, c2, 1.0f), 0xFF123456u);
  EXPECT_EQ(blend(c1, c2, 0.0f), 0xFFABCDEFu);
  // Every channel value survives either endpoint unchanged, whatever the
  // other colour and the sign of a zero factor.
  for (uint32_t v = 0; v < 256; ++v) {
    const color_t c = make_color(uint8_t(v), uint8_t(255 - v), uint8_t(v ^ 0x5A), 0);
    const color_t other = make_color(uint8_t(v * 7), uint8_t(v * 13), uint8_t(v * 29), 0x33);
    EXPECT_EQ(blend(c, other, 1.0f), c | 0xFF000000u) << v;
    EXPECT_EQ(blend(other, c, 0.0f), c | 0xFF000000u) << v;
    EXPECT_EQ(blend(other, c, -0.0f), c | 0xFF000000u) << v;
  }
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
  EXPECT_EQ(img->creation_mark, 1);
  EXPECT_TRUE(img->creation_flag);
  EXPECT_TRUE(img->label.empty());
  delete img;
}

}  // namespace
}  // namespace vorn
