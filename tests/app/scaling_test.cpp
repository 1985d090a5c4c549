// The window scale that fits the desktop, the fullscreen picture's place, and
// the copy into N x N blocks.
#include "app/scaling.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorn {
namespace {

TEST(WindowScale, TheLargestScaleThatFitsTheDesktopLessItsMargin) {
  EXPECT_EQ(fitting_scale(800, 600, 2, true, 1920, 1440), 2);
  EXPECT_EQ(fitting_scale(800, 600, 2, true, 1650, 1250), 2);  // exactly 50 to spare on each side
  EXPECT_EQ(fitting_scale(800, 600, 2, true, 1649, 1250), 1);
  EXPECT_EQ(fitting_scale(800, 600, 2, true, 1650, 1249), 1);
  EXPECT_EQ(fitting_scale(800, 600, 8, true, 2560, 1600), 2);  // 3 would need 2400 x 1800
  EXPECT_EQ(fitting_scale(640, 480, 4, true, 3840, 2160), 4);
  EXPECT_EQ(fitting_scale(800, 600, 2, true, 1280, 720), 1);
  EXPECT_EQ(fitting_scale(800, 600, 5, false, 0, 0), 5);  // no desktop size known
  // Sizes whose products leave 32 bits do not wrap round to a fit.
  EXPECT_EQ(fitting_scale(INT32_MAX, 600, 8, true, 3840, 2160), 1);
}

TEST(WindowScale, EachPixelBecomesABlockAndThePaddingIsLeftAlone) {
  const uint32_t from[] = {1, 2, 3, 4, 5, 6};  // 3 x 2
  const int64_t pitch = 10;                    // wider than 3 x 3
  std::vector<uint32_t> to(pitch * 6, 99);
  scale_pixels(from, 3, 2, 3, to.data(), pitch);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < pitch; ++x) {
      const uint32_t want = x < 9 ? from[x / 3 + (y / 3) * 3] : 99;
      ASSERT_EQ(to[x + y * pitch], want) << x << "," << y;
    }
  }
  std::vector<uint32_t> same(6, 0);
  scale_pixels(from, 3, 2, 1, same.data(), 3);
  EXPECT_EQ(same, std::vector<uint32_t>(from, from + 6));
}

// Fullscreen shows the screen at the largest whole scale that fits the
// desktop, in the middle; pointer positions come back to the screen's pixels,
// clamped to its edges.
TEST(FullscreenPicture, LargestWholeScaleCentredAndThePointerMappedBack) {
  const picture_place p = fullscreen_place(600, 400, 1280, 1024);
  EXPECT_EQ(p.scale, 2);
  EXPECT_EQ(p.x, 40);
  EXPECT_EQ(p.y, 112);
  const picture_place exact = fullscreen_place(800, 600, 800, 600);
  EXPECT_EQ(exact.scale, 1);
  EXPECT_EQ(exact.x, 0);
  EXPECT_EQ(exact.y, 0);
  EXPECT_EQ(fullscreen_place(801, 600, 1600, 1200).scale, 1);  // twice would not fit across
  EXPECT_EQ(fullscreen_place(801, 600, 1600, 1200).x, 399);
  EXPECT_EQ(fullscreen_place(64, 48, 3840, 2160).scale, 45);  // no cap but the desktop's
  EXPECT_EQ(fullscreen_place(1920, 1080, 1280, 1024).scale, 0);
  EXPECT_EQ(fullscreen_place(800, 600, 0, 0).scale, 0);  // no desktop known
  EXPECT_EQ(fullscreen_place(0, 600, 1920, 1080).scale, 0);

  EXPECT_EQ(picture_coord(40, 40, 2, 600), 0);
  EXPECT_EQ(picture_coord(41, 40, 2, 600), 0);
  EXPECT_EQ(picture_coord(42, 40, 2, 600), 1);
  EXPECT_EQ(picture_coord(1239, 40, 2, 600), 599);
  EXPECT_EQ(picture_coord(39, 40, 2, 600), 0);  // left of the picture
  EXPECT_EQ(picture_coord(0, 40, 2, 600), 0);
  EXPECT_EQ(picture_coord(1240, 40, 2, 600), 599);  // right of it
  EXPECT_EQ(picture_coord(INT32_MAX, 40, 2, 600), 599);
  EXPECT_EQ(picture_coord(INT32_MIN, 40, 2, 600), 0);
  EXPECT_EQ(picture_coord(799, 0, 1, 800), 799);  // a window at scale 1 keeps every position
}

}  // namespace
}  // namespace vorn
