// Tests of the drawing primitives on small images: exact pixels, clipping,
// and bounded, overflow-free work on extreme coordinates and sizes.
#include "gfx/draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "app/window.h"
#include "base/rounding.h"

namespace vorn {
namespace {

constexpr color_t ink = 0xFF123456;

struct canvas {
  std::vector<uint32_t> px;
  std::unique_ptr<typspr> img;
  canvas(int32_t w, int32_t h, color_t fill = 0)
      : px(size_t(w) * size_t(h), fill), img(new_image(px.data(), w, h)) {}
  typspr* operator->() { return img.get(); }
  typspr* get() { return img.get(); }
  uint32_t at(int64_t x, int64_t y) const { return px[size_t(x + y * img->width)]; }
  std::set<std::pair<int, int>> marked(color_t c = ink) const {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < img->height; ++y)
      for (int x = 0; x < img->width; ++x)
        if (at(x, y) == c) s.insert({x, y});
    return s;
  }
};

using pts = std::set<std::pair<int, int>>;

// The plain step-by-step Bresenham line, every pixel tested.
pts reference_line(int64_t w, int64_t h, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  pts s;
  auto plot = [&](int64_t x, int64_t y) {
    if (x >= 0 && x < w && y >= 0 && y < h) s.insert({int(x), int(y)});
  };
  const int64_t dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int64_t sx = (x1 > x0) - (x1 < x0), sy = (y1 > y0) - (y1 < y0);
  const bool xm = dx >= dy;
  const int64_t L = xm ? dx : dy, S = xm ? dy : dx;
  int64_t e = 2 * S - L, x = x0, y = y0;
  for (int64_t i = 0; i < L; ++i) {
    plot(x, y);
    if (e >= 0) {
      (xm ? y : x) += xm ? sy : sx;
      e -= 2 * L;
    }
    (xm ? x : y) += xm ? sx : sy;
    e += 2 * S;
  }
  plot(x, y);
  return s;
}

TEST(Line, EndsAndClipping) {
  const std::pair<std::array<int32_t, 4>, pts> cases[] = {
      {{3, 3, 3, 3}, {{3, 3}}},
      {{20, 0, 20, 0}, {}},  // a single pixel just past the right edge
      {{0, 10, 0, 10}, {}},  // and just below the bottom
      {{0, 0, 4, 4}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      {{0, 0, 5, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
      {{-10, 5, 10, 5}, {{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 5}, {10, 5}}}};
  for (const auto& [l, want] : cases) {
    canvas c(20, 10);
    line(c.get(), l[0], l[1], l[2], l[3], ink);
    EXPECT_EQ(c.marked(), want);
  }
}

TEST(Line, ClosedFormMatchesStepByStep) {
  std::mt19937 gen(7);
  std::uniform_int_distribution<int32_t> near(-25, 45);
  for (int n = 0; n < 20000; ++n) {
    const int32_t x0 = near(gen), y0 = near(gen), x1 = near(gen), y1 = near(gen);
    const int32_t w = 1 + n % 21, h = 1 + n % 13;
    canvas c(w, h);
    line(c.get(), x0, y0, x1, y1, ink);
    ASSERT_EQ(c.marked(), reference_line(w, h, x0, y0, x1, y1)) << x0 << "," << y0 << " " << x1 << "," << y1;
  }
  // Long lines through the image, starting and ending far away.
  std::uniform_int_distribution<int32_t> far(-(1 << 20), 1 << 20);
  for (int n = 0; n < 30; ++n) {
    const int32_t px = 7, py = 5, ex = far(gen), ey = far(gen) / 3;
    canvas c(21, 13);
    line(c.get(), px - ex, py - ey, px + ex, py + ey, ink);
    ASSERT_EQ(c.marked(), reference_line(21, 13, px - ex, py - ey, px + ex, py + ey));
    ASSERT_FALSE(c.marked().empty());
  }
}

TEST(Line, ExtremeCoordinates) {
  canvas c(16, 16);
  line(c.get(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, ink);
  pts diag;
  for (int i = 0; i < 16; ++i) diag.insert({i, i});
  EXPECT_EQ(c.marked(), diag);
  canvas d(16, 16);
  line(d.get(), INT32_MIN + 1, INT32_MAX, INT32_MAX, INT32_MIN + 1, ink);  // x + y = 0 all along
  EXPECT_EQ(d.marked(), (pts{{0, 0}}));
  canvas e(16, 16);
  line(e.get(), INT32_MAX, 9, INT32_MIN, 9, ink);
  EXPECT_EQ(e.marked().size(), 16u);
  line(e.get(), INT32_MAX, INT32_MAX, INT32_MAX - 1, INT32_MIN, ink);  // nowhere near
  EXPECT_EQ(e.marked().size(), 16u);
}

// Wu's line exactly as described, walking every step, linear-index clipping.
void reference_aa(canvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1, color_t col) {
  const int64_t w = c->width, area = w * c->height;
  float X0 = float(x0), Y0 = float(y0), X1 = float(x1), Y1 = float(y1);
  if (X0 == X1 && Y0 == Y1) return;
  const bool xm = std::fabs(X1 - X0) > std::fabs(Y1 - Y0);
  float u0 = xm ? X0 : Y0, m0 = xm ? Y0 : X0, u1 = xm ? X1 : Y1, m1 = xm ? Y1 : X1;
  if (u0 > u1) std::swap(u0, u1), std::swap(m0, m1);
  const float k = (m1 - m0) / (u1 - u0);
  auto fr = [](float z) { return z - std::floor(z); };
  auto plot = [&](float u, float m, float t) {
    const int64_t x = int64_t(xm ? u : m), y = int64_t(xm ? m : u), idx = x + y * w;
    if (idx < 0 || idx >= area) return;
    uint32_t p = c.px[size_t(idx)], out = 0xFF000000u;
    for (int sh = 0; sh <= 16; sh += 8)
      out |= uint32_t(round_even((1.0 - t) * ((p >> sh) & 255) + double(t) * ((col >> sh) & 255))) << sh;
    c.px[size_t(idx)] = out;
  };
  const float ua = std::floor(u0 + 0.5f), ma = m0 + k * (ua - u0), ga = 1.0f - fr(u0 + 0.5f);
  plot(ua, std::floor(ma), (1.0f - fr(ma)) * ga);
  plot(ua, std::floor(ma) + 1, fr(ma) * ga);
  const float ub = std::floor(u1 + 0.5f), mb = m1 + k * (ub - u1), gb = 1.0f - fr(u1 - 0.5f);
  plot(ub, std::floor(mb), (1.0f - fr(mb)) * gb);
  plot(ub, std::floor(mb) + 1, fr(mb) * gb);
  float m = ma + k;
  for (int64_t u = int64_t(ua) + 1; u <= int64_t(ub) - 1; ++u, m += k) {
    plot(float(u), std::floor(m), 1.0f - fr(m));
    plot(float(u), std::floor(m) + 1, fr(m));
  }
}

TEST(AaLine, EndIntensitiesAndNeighbours) {
  canvas c(8, 6, white);
  aa_line(c.get(), 3, 3, 3, 3, ink);
  EXPECT_EQ(c.marked(white).size(), 48u);
  const color_t col = make_color(10, 20, 30, 255);
  aa_line(c.get(), 2, 0, 2, 4, col);
  EXPECT_EQ(c.at(2, 0), 0xFF848A8Eu);  // 132.5 -> 132, 137.5 -> 138, 142.5 -> 142
  EXPECT_EQ(c.at(2, 4), 0xFF848A8Eu);
  for (int y = 1; y <= 3; ++y) EXPECT_EQ(c.at(2, y), col);
  for (int y = 0; y < 6; ++y) EXPECT_EQ(c.at(3, y), white);
  EXPECT_EQ(c.marked(white).size(), 43u);
}

TEST(AaLine, ClipsByLinearIndex) {
  canvas c(10, 5, white);
  aa_line(c.get(), -1, 0, -1, 3, black);
  EXPECT_EQ(c.at(9, 0), black);
  EXPECT_EQ(c.at(9, 1), black);
  EXPECT_EQ(c.at(9, 2), 0xFF808080u);
  EXPECT_EQ(c.marked(white).size(), 47u);
}

TEST(AaLine, RestrictedLoopMatchesFullWalk) {
  std::mt19937 gen(11);
  std::uniform_int_distribution<int32_t> near(-70, 90), far(-60000, 60000);
  for (int n = 0; n < 6000; ++n) {
    const bool long_line = n % 10 == 0;
    auto pick = [&] { return long_line ? far(gen) : near(gen); };
    const int32_t x0 = pick(), y0 = pick(), x1 = pick(), y1 = pick();
    const int32_t w = 1 + n % 23, h = 1 + n % 17;
    canvas a(w, h, 0xFF404040), b(w, h, 0xFF404040);
    aa_line(a.get(), x0, y0, x1, y1, ink);
    reference_aa(b, x0, y0, x1, y1, ink);
    ASSERT_EQ(a.px, b.px) << x0 << "," << y0 << " " << x1 << "," << y1;
  }
}

TEST(AaLine, ExtremeCoordinatesFinish) {
  canvas c(12, 12, white);
  aa_line(c.get(), INT32_MIN, 2, INT32_MAX, 2, ink);  // row 2 runs on through every row
  EXPECT_EQ(c.marked().size(), 144u);
  canvas d(12, 12, white);
  aa_line(d.get(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, ink);
  pts diag;
  for (int i = 0; i < 12; ++i) diag.insert({i, i});
  EXPECT_EQ(d.marked(), diag);
  EXPECT_EQ(d.marked(white).size(), 144u - 12u);
  canvas e(1, 40, white);  // slope -1 on a one-column image: every step lands
  aa_line(e.get(), INT32_MIN, INT32_MAX - 1, INT32_MAX - 1, INT32_MIN, ink);
  aa_line(e.get(), 5, INT32_MIN, -7, INT32_MAX, ink);
}

TEST(DrawLine, FollowsLineMode) {
  canvas c(6, 6, white);
  for (int32_t mode : {0, 1, 2}) {
    line_mode = mode;
    draw_line(c.get(), 0, 2 * mode, 5, 2 * mode, ink);
  }
  reset_draw_state();
  EXPECT_EQ(line_mode, 0);
  EXPECT_EQ(c.at(0, 0), ink);  // plain: both ends full
  EXPECT_NE(c.at(0, 2), ink);  // anti-aliased: half-intensity ends
  EXPECT_EQ(c.marked().size(), 10u);
}

// Drawn band by band through row windows, a line gives the picture it gives
// drawn whole, in both line modes and for lines far outside the image, and
// a windowed call writes nothing outside its rows (the band above and below
// are checked untouched).
TEST(DrawLine, RowWindowsPartitionTheLine) {
  std::mt19937 gen(23);
  std::uniform_int_distribution<int32_t> near(-40, 70), far(-90000, 90000);
  for (int n = 0; n < 4000; ++n) {
    line_mode = n % 2;
    auto pick = [&] { return n % 9 == 0 ? far(gen) : near(gen); };
    const int32_t x0 = pick(), y0 = pick(), x1 = pick(), y1 = pick();
    const int32_t w = 1 + n % 29, h = 1 + n % 31;
    canvas whole(w, h, 0xFF404040), banded(w, h, 0xFF404040);
    draw_line(whole.get(), x0, y0, x1, y1, ink);
    int64_t top = n % 3 == 0 ? INT64_MIN : -1 - n % 4;  // the first band may start above the image
    while (top < h) {
      const int64_t bottom = std::max<int64_t>(top, 0) + 1 + int64_t(gen() % 7);
      canvas alone(w, h, 0xFF404040);
      draw_line(alone.get(), x0, y0, x1, y1, ink, row_window{top, bottom});
      for (int64_t y = 0; y < h; ++y) {
        if (y >= top && y < bottom) continue;
        for (int64_t x = 0; x < w; ++x) {
          ASSERT_EQ(alone.at(x, y), 0xFF404040u) << "row " << y << " outside " << top << ".." << bottom;
        }
      }
      draw_line(banded.get(), x0, y0, x1, y1, ink, row_window{top, bottom});
      top = bottom;
    }
    ASSERT_EQ(banded.px, whole.px) << "mode " << line_mode << ": " << x0 << "," << y0 << " " << x1 << "," << y1
                                   << " on " << w << "x" << h;
    canvas none(w, h, 0xFF404040);
    draw_line(none.get(), x0, y0, x1, y1, ink, row_window{5, 5});
    draw_line(none.get(), x0, y0, x1, y1, ink, row_window{h, INT64_MAX});
    ASSERT_EQ(none.px, std::vector<uint32_t>(size_t(w) * h, 0xFF404040));
  }
  reset_draw_state();
}

TEST(FillRect, CornersAndClipping) {
  canvas c(10, 10);
  fill_rect(c.get(), 5, 5, 2, 8, ink);
  fill_rect(c.get(), 12, 0, 20, 9, ink);
  fill_box(c.get(), 3, 3, 0, 4, ink);
  EXPECT_TRUE(c.marked().empty());
  fill_rect(c.get(), -3, -3, 1, 1, ink);
  EXPECT_EQ(c.marked(), (pts{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
  canvas d(10, 10);
  fill_box(d.get(), 7, 8, 5, 5, ink);
  EXPECT_EQ(d.marked().size(), 6u);
  canvas e(10, 10);
  fill_rect(e.get(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, ink);
  EXPECT_EQ(e.marked().size(), 100u);
  canvas f(10, 10);
  fill_box(f.get(), INT32_MAX, 0, INT32_MAX, 5, ink);
  fill_box(f.get(), 0, 0, INT32_MIN, 5, ink);
  EXPECT_TRUE(f.marked().empty());
}

TEST(FillRect, WiderThanRowBuffer) {
  const int32_t w = 2 * row_buffer_size + 7;
  canvas c(w, 3);
  fill_rect(c.get(), -5, 1, w + 100, 1, ink);
  EXPECT_EQ(c.marked().size(), size_t(w));
  for (int32_t x = 0; x < w; ++x) ASSERT_EQ(c.at(x, 1), ink);
  fill_box(c.get(), 3, 2, row_buffer_size + 1, 1, ink);
  EXPECT_EQ(c.at(2, 2), 0u);
  EXPECT_EQ(c.at(row_buffer_size + 3, 2), ink);
  EXPECT_EQ(c.at(row_buffer_size + 4, 2), 0u);
  EXPECT_EQ(c.at(5, 0), 0u);
}

TEST(FrameRect, OrderAndClamping) {
  canvas a(12, 12), b(12, 12);
  frame_rect(a.get(), 8, 8, 2, 2, ink);
  frame_rect(b.get(), 2, 2, 8, 8, ink);
  EXPECT_EQ(a.marked(), b.marked());
  EXPECT_EQ(a.marked().size(), 24u);
  canvas c(12, 12);
  frame_rect(c.get(), -5, 2, 4, 6, ink);
  for (int y = 2; y <= 6; ++y) EXPECT_EQ(c.at(0, y), ink);
  EXPECT_EQ(c.marked().size(), 16u);
  canvas d(12, 12);
  frame_rect(d.get(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, ink);
  EXPECT_EQ(d.marked().size(), 44u);
  canvas e(12, 12);
  frame_box(e.get(), INT32_MAX, 0, INT32_MAX, 3, ink);
  EXPECT_EQ(e.marked(), (pts{{11, 0}, {11, 1}, {11, 2}}));
}

// The midpoint circle as described, every point tested against the screen.
pts reference_circle(int64_t cx, int64_t cy, int64_t r) {
  pts s;
  auto plot = [&](int64_t x, int64_t y) {
    if (x > 0 && x < screen_w && y > 0 && y < screen_h) s.insert({int(x), int(y)});
  };
  for (int64_t x = 0, y = r, d = 3 - 2 * r; x <= y; ++x) {
    for (int sx : {1, -1})
      for (int sy : {1, -1}) plot(cx + sx * x, cy + sy * y), plot(cx + sx * y, cy + sy * x);
    if (d < 0) {
      d += 4 * x + 6;
    } else {
      d += 4 * (x - y) + 10;
      --y;
    }
  }
  return s;
}

struct Circle : ::testing::Test {
  int32_t saved_w = screen_w, saved_h = screen_h;
  void SetUp() override { screen_w = 100, screen_h = 80; }
  void TearDown() override { screen_w = saved_w, screen_h = saved_h; }
};

TEST_F(Circle, EdgesRadiusZeroAndNegative) {
  canvas c(100, 80);
  circle(c.get(), 0, 50, 3, ink);
  EXPECT_EQ(c.marked(), reference_circle(0, 50, 3));
  for (const auto& p : c.marked()) EXPECT_GT(p.first, 0);
  EXPECT_FALSE(c.marked().empty());
  canvas d(100, 80);
  circle(d.get(), 50, 50, 0, ink);
  EXPECT_EQ(d.marked(), (pts{{50, 50}}));
  circle(d.get(), 50, 50, -4, ink);
  circle(d.get(), 50, 50, INT32_MIN, ink);
  EXPECT_EQ(d.marked().size(), 1u);
}

TEST_F(Circle, MatchesStepByStepWalk) {
  std::mt19937 gen(3);
  std::uniform_int_distribution<int32_t> pos(-150, 250), rad(0, 300);
  for (int n = 0; n < 3000; ++n) {
    const int32_t cx = pos(gen), cy = pos(gen), r = rad(gen);
    canvas c(100, 80);
    circle(c.get(), cx, cy, r, ink);
    ASSERT_EQ(c.marked(), reference_circle(cx, cy, r)) << cx << "," << cy << " r=" << r;
  }
  // Huge circles whose outline crosses the screen: the walk jumps.
  const int32_t huge[][3] = {{-100000, 40, 100050}, {50, 1 << 24, (1 << 24) - 30},
                             {-3000000, -3000000, 4242700}, {30, 30, 4000}};
  for (const auto& h : huge) {
    canvas c(100, 80);
    circle(c.get(), h[0], h[1], h[2], ink);
    ASSERT_EQ(c.marked(), reference_circle(h[0], h[1], h[2])) << h[0] << "," << h[1] << " r=" << h[2];
  }
}

TEST_F(Circle, ExtremeInputsAndSmallImage) {
  canvas c(100, 80);
  circle(c.get(), 50, 40, INT32_MAX, ink);  // encloses the screen
  circle(c.get(), INT32_MIN, INT32_MIN, INT32_MAX, ink);
  EXPECT_TRUE(c.marked().empty());
  circle(c.get(), 60 - INT32_MAX, 40, INT32_MAX, ink);  // outline near x = 60
  ASSERT_FALSE(c.marked().empty());
  for (const auto& p : c.marked()) EXPECT_TRUE(p.first >= 59 && p.first <= 60) << p.first;
  canvas small(20, 20);
  circle(small.get(), 14, 10, 8, ink);
  for (const auto& p : small.marked()) EXPECT_TRUE(p.first < 20 && p.second < 20);
  EXPECT_FALSE(small.marked().empty());
}

TEST(BlitWrapped, ShiftsAndSizes) {
  canvas s(7, 5), t(7, 5), odd(5, 7, ink);
  for (size_t i = 0; i < s.px.size(); ++i) s.px[i] = 0xFF000000u + uint32_t(i);
  blit_wrapped(t.get(), s.get(), 0, 0);
  EXPECT_EQ(t.px, s.px);
  blit_wrapped(t.get(), s.get(), 1, 0);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(t.at(0, y), s.at(6, y));
  for (const auto& [dx, dy] : {std::pair{-3, 7}, {INT32_MIN, INT32_MAX}, {15, -11}}) {
    blit_wrapped(t.get(), s.get(), dx, dy);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x)
        ASSERT_EQ(t.at(x, y), s.at(((x - int64_t(dx)) % 7 + 7) % 7, ((y - int64_t(dy)) % 5 + 5) % 5));
  }
  const auto before = odd.px;
  blit_wrapped(odd.get(), s.get(), 1, 1);
  EXPECT_EQ(odd.px, before);
  canvas self(7, 5);
  self.px = s.px;
  self->pixels = self.px.data();
  blit_wrapped(self.get(), self.get(), 2, -3);
  blit_wrapped(t.get(), s.get(), 2, -3);
  EXPECT_EQ(self.px, t.px);
}

}  // namespace
}  // namespace vorn
