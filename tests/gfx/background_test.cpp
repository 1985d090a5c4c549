// The grid picture painted from its distinct rows: pixel for pixel the plain
// wrapped copy, at every screen size and camera shift, whole or in bands of
// rows, and nothing at all once the picture is released.
#include "gfx/background.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/color.h"
#include "gfx/draw.h"
#include "image/image.h"

namespace vorn {
namespace {

typspr canvas_over(std::vector<uint32_t>& px, int32_t w, int32_t h) {
  typspr img{};
  img.pixels = px.data();
  img.width = w;
  img.height = h;
  return img;
}

TEST(Background, PaintsWhatThePlainWrappedCopyPaints) {
  for (const auto& [w, h] : {std::pair{800, 600}, {640, 480}, {17, 31}, {1, 1}}) {
    ensure_background(w, h);
    ASSERT_NE(background, nullptr);
    std::vector<uint32_t> painted(size_t(w) * h, black), copied(size_t(w) * h, black);
    typspr a = canvas_over(painted, w, h), b = canvas_over(copied, w, h);
    for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 1}, {-7, 14}, {399, -299}, {INT32_MIN, INT32_MAX}}) {
      paint_background(&a, dx, dy);
      blit_wrapped(&b, background, dx, dy);
      ASSERT_EQ(painted, copied) << w << "x" << h << " shifted " << dx << "," << dy;
      // Band by band, bands of 7 rows from above the picture to below it.
      std::vector<uint32_t> banded(size_t(w) * h, black);
      typspr c = canvas_over(banded, w, h);
      for (int64_t top = -3; top < h + 7; top += 7) paint_background(&c, dx, dy, row_window{top, top + 7});
      ASSERT_EQ(banded, copied) << w << "x" << h << " in bands, shifted " << dx << "," << dy;
    }
  }
  release_background();
  std::vector<uint32_t> px(16, black);
  typspr untouched = canvas_over(px, 4, 4);
  paint_background(&untouched, 1, 1);
  EXPECT_EQ(px, std::vector<uint32_t>(16, black));
}

}  // namespace
}  // namespace vorn
