// The window scale that fits the desktop, and the copy into N x N blocks.
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

}  // namespace
}  // namespace vorn
