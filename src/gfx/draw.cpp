// The drawing primitives. All clipping is worked out before the pixel loops,
// in 64-bit integers (exact wide products where two deltas multiply), so
// extreme coordinates neither overflow nor make a loop walk far outside the
// image.
#include "gfx/draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/rounding.h"
#include "base/view.h"
#include "base/wide_int.h"

namespace vorn {

int32_t line_mode = 0;
color_t row_buffer[row_buffer_size];

void reset_draw_state() { line_mode = 0; }

namespace {

bool drawable(const typspr* img) {
  return img && img->pixels && img->width > 0 && img->height > 0;
}

row_window clip_rows(const typspr* img, row_window rows) {
  return {std::max<int64_t>(rows.top, 0), std::min<int64_t>(rows.bottom, img->height)};
}

// ---- Anti-aliased line ----

struct aa_target {
  uint32_t* pixels;
  int64_t width;
  int64_t first;  // the linear indices [first, end) of the window's rows
  int64_t end;
  color_t colour;
  bool x_major;
};

uint32_t mix_channel(uint32_t old, uint32_t c, float t) {
  const double td = t;
  return static_cast<uint32_t>(round_even((1.0 - td) * old + td * c));
}

// Mixes the colour into the plot at major u, minor m with intensity t, if its
// linear index lies in the window's rows. An index that overflows cannot.
void aa_plot(const aa_target& g, int64_t u, int64_t m, float t) {
  const int64_t x = g.x_major ? u : m;
  const int64_t y = g.x_major ? m : u;
  int64_t idx = 0;
  if (__builtin_mul_overflow(y, g.width, &idx) || __builtin_add_overflow(idx, x, &idx)) return;
  if (idx < g.first || idx >= g.end) return;
  const uint32_t p = g.pixels[idx];
  const uint32_t r = mix_channel((p >> 16) & 0xFF, (g.colour >> 16) & 0xFF, t);
  const uint32_t gr = mix_channel((p >> 8) & 0xFF, (g.colour >> 8) & 0xFF, t);
  const uint32_t b = mix_channel(p & 0xFF, g.colour & 0xFF, t);
  g.pixels[idx] = 0xFF000000u | (r << 16) | (gr << 8) | b;
}

float frac(float z) { return z - std::floor(z); }

// The major-axis steps in [s, e] whose plots can land. A plot at (px, py)
// lands exactly when its wrapped row py + floor(px / width) lies in the
// window's rows. Along the line that row is phi(u) = c0 + slope * u, give or
// take the minor coordinate's offset (at most 1), the floor (at most 1) and
// the drift of the running minor coordinate, which repeated float addition
// moves by at most half an ulp of its magnitude per step.
void aa_landing_steps(const aa_target& g, row_window rows, float ua, float ma, float mb, float k,
                      int64_t s, int64_t e, int64_t& ls, int64_t& le) {
  const double steps = static_cast<double>(e - s + 1);
  // A bound on |m| along the walk: the line runs from ma to about mb, off by
  // at most the rounding of k times the line's length.
  const double mag = std::max(std::fabs(static_cast<double>(ma)), std::fabs(static_cast<double>(mb))) + 2.0 +
                     std::fabs(static_cast<double>(mb) - static_cast<double>(ma)) * 0x1p-22;
  const double drift = k == 0.0f ? 0.0 : steps * (mag + steps) * 0x1p-23;
  const double margin = 5.0 + drift;
  const double lo_row = static_cast<double>(rows.top) - margin;
  const double hi_row = static_cast<double>(rows.bottom) + margin;
  const double w = static_cast<double>(g.width);
  const double kd = k;
  const double line0 = static_cast<double>(ma) - kd * static_cast<double>(ua);  // minor at u = 0
  const double c0 = g.x_major ? line0 : line0 / w;
  const double slope = g.x_major ? kd + 1.0 / w : 1.0 + kd / w;
  ls = s;
  le = e;
  if (slope == 0.0) {
    if (c0 < lo_row || c0 > hi_row) ls = e + 1;
    return;
  }
  double u_lo = (lo_row - c0) / slope;
  double u_hi = (hi_row - c0) / slope;
  if (u_lo > u_hi) std::swap(u_lo, u_hi);
  const double sd = static_cast<double>(s);
  const double ed = static_cast<double>(e);
  if (u_lo > ed || u_hi < sd) {
    ls = e + 1;
    return;
  }
  if (u_lo > sd) ls = std::max(s, static_cast<int64_t>(std::floor(u_lo)) - 1);
  if (u_hi < ed) le = std::min(e, static_cast<int64_t>(std::ceil(u_hi)) + 1);
}

// ---- Circle ----

// The midpoint circle's walk through its octant. d is always
// 2(x+1)^2 + y^2 + (y-1)^2 - 2r^2: its two candidate points' errors summed.
struct circle_walk {
  int64_t r;
  int64_t x = 0;
  int64_t y = 0;
  int64_t d = 0;

  void step() {
    if (d < 0) {
      d += 4 * x + 6;
    } else {
      d += 4 * (x - y) + 10;
      --y;
    }
    ++x;
  }

  // The largest y with 2x^2 + y^2 + (y-1)^2 < 2r^2, or -1 when none is.
  // With 0 <= at <= r < 2^31, q = 2(r^2 - at^2) < 2^63 and every v tried
  // is at most r + 1 <= 2^31, so 2v(v - 1) + 1 < 2^63: all fits 64 bits.
  // The square root only guesses v; the two walks make it exact.
  int64_t outline_y(int64_t at) const {
    const uint64_t q = 2 * (static_cast<uint64_t>(r) * r - static_cast<uint64_t>(at) * at);
    if (q <= 1) return -1;
    auto below = [q](uint64_t v) { return (v == 0 ? 0 : 2 * v * (v - 1)) + 1 < q; };
    uint64_t v = static_cast<uint64_t>((1.0 + std::sqrt(static_cast<double>(2 * q - 1))) / 2.0);
    while (v > 0 && !below(v)) --v;
    while (below(v + 1)) ++v;
    return static_cast<int64_t>(v);
  }

  // While x <= y - 2 held at every step before, the walk is at y = outline_y
  // at step x; and since x - outline_y(x) grows with x, a step where this
  // holds is reached that way.
  bool can_jump_to(int64_t at) const {
    if (at < 1) return false;
    const int64_t oy = outline_y(at);
    return oy >= 0 && at <= oy - 2;
  }

  void jump_to(int64_t at) {
    x = at;
    y = outline_y(at);
    // d is small, but its terms may not fit int64: worked out modulo 2^64.
    const uint64_t x1 = static_cast<uint64_t>(x + 1);
    const uint64_t yu = static_cast<uint64_t>(y);
    const uint64_t ru = static_cast<uint64_t>(r);
    d = static_cast<int64_t>(2 * x1 * x1 + yu * yu + (yu - 1) * (yu - 1) - 2 * ru * ru);
  }

  // Brings the walk to step target (or to its end), jumping over long runs.
  void advance_to(int64_t target) {
    constexpr int64_t jump_min = 64;
    if (target - x > jump_min) {
      int64_t best = -1;
      if (can_jump_to(target)) {
        best = target;
      } else {
        int64_t lo = x + 1;
        int64_t hi = target - 1;
        while (lo <= hi) {
          const int64_t mid = lo + (hi - lo) / 2;
          if (can_jump_to(mid)) {
            best = mid;
            lo = mid + 1;
          } else {
            hi = mid - 1;
          }
        }
      }
      if (best > x) jump_to(best);
    }
    while (x < target && x <= y) step();
  }
};

struct circle_target {
  uint32_t* pixels;
  int64_t stride;
  int64_t w;
  int64_t h;
  color_t colour;

  void plot(int64_t px, int64_t py) const {
    if (px > 0 && px < w && py > 0 && py < h) pixels[px + py * stride] = colour;
  }
  void plot8(int64_t cx, int64_t cy, int64_t x, int64_t y) const {
    plot(cx + x, cy + y);
    plot(cx + x, cy - y);
    plot(cx - x, cy + y);
    plot(cx - x, cy - y);
    plot(cx + y, cy + x);
    plot(cx + y, cy - x);
    plot(cx - y, cy + x);
    plot(cx - y, cy - x);
  }
};

// ---- Rectangles ----

void fill_span(typspr* img, int64_t x1, int64_t y1, int64_t x2, int64_t y2, color_t colour) {
  if (!drawable(img)) return;
  x1 = std::max<int64_t>(x1, 0);
  y1 = std::max<int64_t>(y1, 0);
  x2 = std::min<int64_t>(x2, img->width - 1);
  y2 = std::min<int64_t>(y2, img->height - 1);
  if (x2 < x1 || y2 < y1) return;
  const int64_t count = x2 - x1 + 1;
  const int64_t piece = std::min<int64_t>(count, row_buffer_size);
  std::fill_n(row_buffer, piece, colour);
  for (int64_t y = y1; y <= y2; ++y) {
    uint32_t* row = img->pixels + y * img->width + x1;
    for (int64_t done = 0; done < count; done += piece) {
      const int64_t n = std::min(piece, count - done);
      std::memcpy(row + done, row_buffer, static_cast<size_t>(n) * sizeof(color_t));
    }
  }
}

void frame_span(typspr* img, int64_t x1, int64_t y1, int64_t x2, int64_t y2, color_t colour) {
  if (!drawable(img)) return;
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  const int64_t w = img->width;
  x1 = std::clamp<int64_t>(x1, 0, w - 1);
  x2 = std::clamp<int64_t>(x2, 0, w - 1);
  y1 = std::clamp<int64_t>(y1, 0, img->height - 1);
  y2 = std::clamp<int64_t>(y2, 0, img->height - 1);
  uint32_t* p = img->pixels;
  for (int64_t y = y1; y <= y2; ++y) {
    p[x1 + y * w] = colour;
    p[x2 + y * w] = colour;
  }
  for (int64_t x = x1; x <= x2; ++x) {
    p[x + y1 * w] = colour;
    p[x + y2 * w] = colour;
  }
}

}  // namespace

void put_pixel(typspr* img, int32_t x, int32_t y, color_t colour) {
  img->pixels[int64_t(x) + int64_t(y) * img->width] = colour;
}

void line(typspr* img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, color_t colour, row_window rows) {
  if (!drawable(img)) return;
  rows = clip_rows(img, rows);
  if (rows.top >= rows.bottom) return;
  const int64_t w = img->width;
  const int64_t dx = std::abs(int64_t(x1) - x0);
  const int64_t dy = std::abs(int64_t(y1) - y0);
  if (dx == 0 && dy == 0) {
    if (x0 >= 0 && x0 < w && y0 >= rows.top && y0 < rows.bottom) img->pixels[x0 + y0 * w] = colour;
    return;
  }
  const bool x_major = dx >= dy;
  const int64_t big = x_major ? dx : dy;    // L
  const int64_t small = x_major ? dy : dx;  // S
  const int64_t u0 = x_major ? x0 : y0;
  const int64_t v0 = x_major ? y0 : x0;
  const int64_t su = x_major ? (x1 > x0 ? 1 : -1) : (y1 > y0 ? 1 : -1);
  const int64_t sv = x_major ? (y1 > y0) - (y1 < y0) : (x1 > x0) - (x1 < x0);
  // The major coordinate must lie in [u_lo, u_hi), the minor in [v_lo, v_hi).
  const int64_t u_lo = x_major ? 0 : rows.top;
  const int64_t u_hi = x_major ? w : rows.bottom;
  const int64_t v_lo = x_major ? rows.top : 0;
  const int64_t v_hi = x_major ? rows.bottom : w;

  // Steps i in [lo, hi] keep the major coordinate u0 + su * i inside.
  int64_t lo = 0;
  int64_t hi = big;
  if (su > 0) {
    lo = std::max(lo, u_lo - u0);
    hi = std::min(hi, u_hi - 1 - u0);
  } else {
    lo = std::max(lo, u0 - (u_hi - 1));
    hi = std::min(hi, u0 - u_lo);
  }
  // The minor offset m(i) = floor((2 S i + L) / (2 L)) must lie in [a, b].
  int64_t a = 0;
  int64_t b = 0;
  if (sv > 0) {
    a = v_lo - v0;
    b = v_hi - 1 - v0;
  } else if (sv < 0) {
    a = v0 - (v_hi - 1);
    b = v0 - v_lo;
  } else if (v0 < v_lo || v0 >= v_hi) {
    return;
  }
  if (b < 0 || a > small) return;
  // L and S are below 2^32, a, b and every step i at most L: products of
  // two of them may need 65 bits, exactly.
  const int64_t two_l = 2 * big;
  const int64_t two_s = 2 * small;
  if (small > 0) {
    // m(i) >= a  <=>  2 S i >= 2 L a - L;  m(i) <= b  <=>  2 S i <= 2 L (b + 1) - L - 1.
    if (a > 0) lo = std::max(lo, ceil_mul_add_div(two_l, a, -big, two_s));
    if (b < small) hi = std::min(hi, floor_mul_add_div(two_l, b + 1, -big - 1, two_s));
  }
  if (lo > hi) return;

  // The step-by-step state at step lo: e = 2S - L + 2S i - 2L m(i), which
  // lies in [2S - 2L, 2S) by m(i)'s definition, so its terms may be summed
  // modulo 2^64.
  const int64_t m = floor_mul_add_div(two_s, lo, big, two_l);
  int64_t e = static_cast<int64_t>(static_cast<uint64_t>(two_s) - static_cast<uint64_t>(big) +
                                   static_cast<uint64_t>(two_s) * static_cast<uint64_t>(lo) -
                                   static_cast<uint64_t>(two_l) * static_cast<uint64_t>(m));
  int64_t u = u0 + su * lo;
  int64_t v = v0 + sv * m;
  const int64_t step_u = x_major ? su : su * w;
  const int64_t step_v = x_major ? sv * w : sv;
  int64_t idx = x_major ? u + v * w : v + u * w;
  for (int64_t i = lo;; ++i) {
    img->pixels[idx] = colour;
    if (i == hi) break;
    if (e >= 0) {
      idx += step_v;
      e -= 2 * big;
    }
    idx += step_u;
    e += 2 * small;
  }
}

void aa_line(typspr* img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, color_t colour, row_window rows) {
  if (!drawable(img)) return;
  rows = clip_rows(img, rows);
  if (rows.top >= rows.bottom) return;
  const float fx0 = static_cast<float>(x0);
  const float fy0 = static_cast<float>(y0);
  const float fx1 = static_cast<float>(x1);
  const float fy1 = static_cast<float>(y1);
  if (fx0 == fx1 && fy0 == fy1) return;
  aa_target g{img->pixels, img->width, rows.top * img->width, rows.bottom * img->width, colour, false};
  g.x_major = std::fabs(fx1 - fx0) > std::fabs(fy1 - fy0);
  float u0 = g.x_major ? fx0 : fy0;
  float m0 = g.x_major ? fy0 : fx0;
  float u1 = g.x_major ? fx1 : fy1;
  float m1 = g.x_major ? fy1 : fx1;
  if (u0 > u1) {
    std::swap(u0, u1);
    std::swap(m0, m1);
  }
  const float k = (m1 - m0) / (u1 - u0);

  const float ua = std::floor(u0 + 0.5f);
  const float ma = m0 + k * (ua - u0);
  float gap = 1.0f - frac(u0 + 0.5f);
  const int64_t iua = static_cast<int64_t>(ua);
  aa_plot(g, iua, static_cast<int64_t>(std::floor(ma)), (1.0f - frac(ma)) * gap);
  aa_plot(g, iua, static_cast<int64_t>(std::floor(ma)) + 1, frac(ma) * gap);

  const float ub = std::floor(u1 + 0.5f);
  const float mb = m1 + k * (ub - u1);
  gap = 1.0f - frac(u1 - 0.5f);
  const int64_t iub = static_cast<int64_t>(ub);
  aa_plot(g, iub, static_cast<int64_t>(std::floor(mb)), (1.0f - frac(mb)) * gap);
  aa_plot(g, iub, static_cast<int64_t>(std::floor(mb)) + 1, frac(mb) * gap);

  // Interior steps ua + 1 .. ub - 1, cut to aa_reach around the image.
  const int64_t major_size = g.x_major ? img->width : img->height;
  const int64_t s = std::max(iua + 1, -aa_reach);
  const int64_t e = std::min(iub - 1, major_size + aa_reach);
  if (s > e) return;
  float m = s == iua + 1 ? ma + k
                         : static_cast<float>(static_cast<double>(ma) + static_cast<double>(k) * double(s - iua));
  int64_t ls = 0;
  int64_t le = 0;
  aa_landing_steps(g, rows, ua, ma, mb, k, s, e, ls, le);
  if (ls > le) return;
  if (k != 0.0f) {
    for (int64_t u = s; u < ls; ++u) m += k;
  }
  for (int64_t u = ls; u <= le; ++u) {
    const float fm = std::floor(m);
    const int64_t im = static_cast<int64_t>(fm);
    aa_plot(g, u, im, 1.0f - (m - fm));
    aa_plot(g, u, im + 1, m - fm);
    m += k;
  }
}

void draw_line(typspr* img, int32_t x0, int32_t y0, int32_t x1, int32_t y1, color_t colour, row_window rows) {
  if (line_mode == 0) {
    line(img, x0, y0, x1, y1, colour, rows);
  } else if (line_mode == 1) {
    aa_line(img, x0, y0, x1, y1, colour, rows);
  }
}

void fill_rect(typspr* img, int32_t x1, int32_t y1, int32_t x2, int32_t y2, color_t colour) {
  fill_span(img, x1, y1, x2, y2, colour);
}

void fill_box(typspr* img, int32_t x, int32_t y, int32_t w, int32_t h, color_t colour) {
  fill_span(img, x, y, int64_t(x) + w - 1, int64_t(y) + h - 1, colour);
}

void frame_rect(typspr* img, int32_t x1, int32_t y1, int32_t x2, int32_t y2, color_t colour) {
  frame_span(img, x1, y1, x2, y2, colour);
}

void frame_box(typspr* img, int32_t x, int32_t y, int32_t w, int32_t h, color_t colour) {
  frame_span(img, x, y, int64_t(x) + w - 1, int64_t(y) + h - 1, colour);
}

void circle(typspr* img, int32_t cx, int32_t cy, int32_t r, color_t colour) {
  if (!drawable(img) || r < 0) return;
  const circle_target g{img->pixels, img->width, std::min(screen_w, img->width),
                        std::min(screen_h, img->height), colour};
  const int64_t x0 = cx;
  const int64_t y0 = cy;
  const int64_t rr = r;
  // The drawable area is [1, w - 1] x [1, h - 1].
  if (x0 + rr < 1 || x0 - rr > g.w - 1 || y0 + rr < 1 || y0 - rr > g.h - 1) return;
  if (rr >= 1) {
    // The farthest corner lies inside the circle only if both of its
    // distances are below r - 1 < 2^31: then their squares fit 64 bits.
    const int64_t fx = std::max(std::abs(1 - x0), std::abs(g.w - 1 - x0));
    const int64_t fy = std::max(std::abs(1 - y0), std::abs(g.h - 1 - y0));
    if (fx < rr - 1 && fy < rr - 1 && fx * fx + fy * fy < (rr - 1) * (rr - 1)) return;
  }
  circle_walk walk{rr, 0, rr, 3 - 2 * rr};
  if (x0 - rr > 0 && x0 + rr < g.w && y0 - rr > 0 && y0 + rr < g.h) {
    uint32_t* p = img->pixels;
    const int64_t st = img->width;
    for (; walk.x <= walk.y; walk.step()) {
      const int64_t x = walk.x;
      const int64_t y = walk.y;
      p[(x0 + x) + (y0 + y) * st] = colour;
      p[(x0 + x) + (y0 - y) * st] = colour;
      p[(x0 - x) + (y0 + y) * st] = colour;
      p[(x0 - x) + (y0 - y) * st] = colour;
      p[(x0 + y) + (y0 + x) * st] = colour;
      p[(x0 + y) + (y0 - x) * st] = colour;
      p[(x0 - y) + (y0 + x) * st] = colour;
      p[(x0 - y) + (y0 - x) * st] = colour;
    }
    return;
  }
  // Steps x where a mirrored point can land: cx +- x in [1, w - 1] for the
  // four points (cx +- x, cy +- y), cy +- x in [1, h - 1] for the other four.
  struct span {
    int64_t a, b;
  };
  span spans[4] = {{1 - x0, g.w - 1 - x0}, {x0 - g.w + 1, x0 - 1}, {1 - y0, g.h - 1 - y0}, {y0 - g.h + 1, y0 - 1}};
  std::sort(std::begin(spans), std::end(spans), [](const span& p, const span& q) { return p.a < q.a; });
  for (const span& sp : spans) {
    const int64_t a = std::max<int64_t>(sp.a, 0);
    const int64_t b = std::min(sp.b, rr);
    if (a > b || b < walk.x) continue;
    walk.advance_to(a);
    for (; walk.x <= b && walk.x <= walk.y; walk.step()) g.plot8(x0, y0, walk.x, walk.y);
    if (walk.x > walk.y) return;
  }
}

int64_t wrapped_start(int32_t shift, int64_t extent) {
  const int64_t start = (-int64_t(shift)) % extent;
  return start < 0 ? start + extent : start;
}

void blit_wrapped(typspr* target, const typspr* source, int32_t dx, int32_t dy) {
  if (!drawable(target) || !source || !source->pixels) return;
  if (target->width != source->width || target->height != source->height) return;
  const int64_t w = target->width;
  const int64_t h = target->height;
  const int64_t gx = wrapped_start(dx, w);
  const int64_t gy = wrapped_start(dy, h);
  uint32_t* t = target->pixels;
  const uint32_t* s = source->pixels;
  if (t == s) {
    // In place: turn each row left by gx, then the rows up by gy.
    for (int64_t r = 0; r < h; ++r) std::rotate(t + r * w, t + r * w + gx, t + r * w + w);
    std::rotate(t, t + gy * w, t + w * h);
    return;
  }
  // Source row gy + r, wrapped: counted along instead of divided for.
  int64_t from = gy;
  for (int64_t r = 0; r < h; ++r, from = from + 1 == h ? 0 : from + 1) {
    const uint32_t* src = s + from * w;
    uint32_t* dst = t + r * w;
    std::memcpy(dst, src + gx, static_cast<size_t>(w - gx) * sizeof(uint32_t));
    std::memcpy(dst + (w - gx), src, static_cast<size_t>(gx) * sizeof(uint32_t));
  }
}

}  // namespace vorn
