// The world picture: links across the seam, the colours of hot and burning
// links and of sparks, the minimap and the debug view.
#include "gfx/world_draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "base/cpu_load.h"
#include "base/view.h"
#include "base/workers.h"
#include "config/tunables.h"
#include "gfx/background.h"
#include "gfx/draw.h"
#include "image/image.h"
#include "world/geometry.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {
namespace {

class WorldDrawTest : public testing::Test {
 protected:
  std::vector<uint32_t> pixels = std::vector<uint32_t>(800 * 600, white);

  void SetUp() override {
    assume_spare_cores(max_threads);  // the threads used on a busy machine too
    reset_tunables();
    reset_draw_state();
    reset_ship_state();
    clear_world();
    screen_w = 800;
    screen_h = 600;
    world_w = 1600;
    world_h = 1200;
    cam_dx = cam_dy = 0;
    screen = typspr{};
    screen.pixels = pixels.data();
    screen.width = 800;
    screen.height = 600;
    background = nullptr;
    victory = true;  // no station marker unless a test wants it
  }
  void TearDown() override {
    screen = typspr{};
    reset_cpu_load();
  }

  uint32_t at(int x, int y) const { return pixels[x + y * 800]; }
  int count(uint32_t c) const {
    int n = 0;
    for (uint32_t p : pixels) n += p == c;
    return n;
  }
  void add_link_between(vec2 a, vec2 b, color_t c) {
    const int32_t i = add_node(false, c, a.x, a.y, 0, 0);
    const int32_t j = add_node(false, c, b.x, b.y, 0, 0);
    add_link(i, j, c);
  }
};

TEST_F(WorldDrawTest, LinksTakeTheirColourByTemperatureAndSkipTheSeam) {
  add_link_between(vec(-100, 0), vec(-100, 50), grey);  // screen x 300
  add_link_between(vec(0, 0), vec(0, 50), grey);       // screen x 400, at temperature 20
  links[1].temp = 20;
  add_link_between(vec(-401, 0), vec(-399, 0), grey);   // across the seam at the left edge
  draw_world(0.0, 0.0);
  EXPECT_EQ(at(300, 320), grey);
  EXPECT_EQ(at(400, 320), blend(orange, grey, 0.5f));
  EXPECT_EQ(at(0, 300), white);
  EXPECT_EQ(at(1, 300), white);
  // Ends exactly half the world apart on screen count as across the seam.
  add_link_between(vec(-400, 100), vec(400, 100), grey);
  draw_world(0.0, 0.0);
  EXPECT_EQ(at(400, 400), white);
}

TEST_F(WorldDrawTest, BurningLinksFadeFromHalfRedToWhite) {
  add_link_between(vec(-100, 0), vec(-100, 50), grey);
  add_link_between(vec(100, 0), vec(100, 50), grey);
  burn_link(0);
  burn_link(1);
  links[1].burn_left = 0.0;
  nodes[0].pos = vec(-50, 200);  // a burning link stays where it broke
  draw_world(0.0, 0.0);
  EXPECT_EQ(at(300, 320), blend(red, white, 0.5f));
  EXPECT_EQ(at(500, 320), white);
}

TEST_F(WorldDrawTest, SparksFadeToWhiteAndOffScreenOnesAreSkipped) {
  add_particle(green, 0, 0, 0, 0, 1.0);
  add_particle(green, 10, 0, 0, 0, 0.0);
  add_particle(green, 700, 0, 0, 0, 1.0);  // screen x 1100: off the screen
  draw_world(0.0, 0.0);
  EXPECT_EQ(at(400, 300), green);
  EXPECT_EQ(at(410, 300), white);
  EXPECT_EQ(count(green), 1);
}

TEST_F(WorldDrawTest, MinimapShowsShipsWithThreeLiveNodes) {
  const int32_t s = add_ship();
  ships[s].pos = vec(0, 0);
  ships[s].radius = 20;
  ships[s].nalive = 2;
  draw_world(0.0, 0.0);
  // The box: white inside, a black outline from (695, 520), 103 x 78.
  EXPECT_EQ(at(695, 520), black);
  EXPECT_EQ(at(797, 597), black);
  EXPECT_EQ(at(694, 520), white);
  EXPECT_EQ(at(745, 557), white);
  EXPECT_EQ(count(blue), 0);
  ships[s].nalive = 3;
  draw_world(0.0, 0.0);
  // A circle of radius round(50 / 800 * 20) = 1 around (745, 557).
  EXPECT_EQ(at(745, 556), blue);
  EXPECT_EQ(at(746, 557), blue);
  EXPECT_EQ(at(745, 557), white);
}

TEST_F(WorldDrawTest, DebugViewOnlyWithTheSwitch) {
  add_node(false, yellow, 0, 0, 0, 0);
  draw_world(0.0, 0.0);
  EXPECT_EQ(count(yellow), 0);
  EXPECT_EQ(count(green), 0);
  debug = true;
  draw_world(0.0, 0.0);
  EXPECT_EQ(at(401, 300), yellow);  // the node's dot
  // The seam x = -800 comes into view at screen x 200 with the camera shifted.
  cam_dx = 600;
  draw_world(0.0, 0.0);
  EXPECT_EQ(at(200, 450), green);
}

TEST_F(WorldDrawTest, StationMarkerPulsesUntilVictory) {
  add_ship();
  add_ship();
  ships[1].pos = vec(0, 0);
  victory = false;
  draw_world(0.0, 1.0);
  // Rings of radius round(10 |sin(i + 1)|): 8, 9, 1, 8, 10 in colour
  // blend(yellow, red, |sin 1|).
  const color_t c = blend(yellow, red, static_cast<float>(std::sin(1.0)));
  EXPECT_EQ(at(410, 300), c);
  EXPECT_EQ(at(401, 300), c);
  std::fill(pixels.begin(), pixels.end(), white);
  victory = true;
  draw_world(0.0, 1.0);
  EXPECT_EQ(at(410, 300), white);
  // Without a station record there is nothing to mark: the picture is the
  // one drawn after victory.
  const std::vector<uint32_t> unmarked = pixels;
  ships.resize(1);
  ships.shrink_to_fit();
  std::fill(pixels.begin(), pixels.end(), white);
  victory = false;
  draw_world(0.0, 1.0);
  EXPECT_TRUE(pixels == unmarked);
}

// The grid and the links are drawn in bands shared among threads, and the
// sparks worked out meanwhile: on every thread count and in both line modes
// the picture is the plain one (the grid painted whole, every link's line in
// link order, then every spark), over a world of long and short, hot,
// burning and seam-crossing links. The minimap's box, drawn over it, is left
// out of the comparison.
TEST_F(WorldDrawTest, BandsOnEveryThreadCountGiveThePlainPicture) {
  std::mt19937 gen(5);
  std::uniform_real_distribution<double> wx(-800, 800), wy(-600, 600), heat(0, 60);
  for (int i = 0; i < 300; ++i) add_node(false, make_color(40, 90, 160, 255), wx(gen), wy(gen), 0, 0);
  for (int i = 0; i < 700; ++i) {
    const int32_t a = int32_t(gen() % 300);
    const int32_t b = i % 3 == 0 ? int32_t(gen() % 300) : (a + 1 + int32_t(gen() % 4)) % 300;
    add_link(a, b, make_color(0, 0, 0, 255));
    links.back().temp = i % 4 == 0 ? heat(gen) : 0.0;
  }
  for (int32_t i = 0; i < 700; i += 9) burn_link(i);
  // Sparks over the links, some of them off the screen or dead.
  std::uniform_real_distribution<double> life(0, 1);
  for (int i = 0; i < 500; ++i) add_particle(make_color(200, 40, 10, 255), wx(gen), wy(gen), 0, 0, life(gen));
  for (size_t i = 0; i < particles.size(); i += 13) particles[i].alive = false;
  ensure_background(800, 600);
  cam_dx = 13;
  cam_dy = -7;
  const auto in_minimap = [](size_t k) { return k % 800 >= 695 && k / 800 >= 520; };
  for (const int32_t mode : {0, 1}) {
    line_mode = mode;
    std::fill(pixels.begin(), pixels.end(), black);
    paint_background(&screen, cam_dx, cam_dy);
    for (const linkrec& l : links) {
      if (!l.alive) continue;
      const ipoint_t a = to_screen(l.burning ? l.end_a : nodes[l.a].pos);
      const ipoint_t b = to_screen(l.burning ? l.end_b : nodes[l.b].pos);
      const color_t c = l.burning ? blend(l.color, white, static_cast<float>(l.burn_left / 2))
                                  : blend(orange, l.color, static_cast<float>(l.temp / 40));
      if (std::abs(a.x - b.x) < world_w / 2 && std::abs(a.y - b.y) < world_h / 2) {
        draw_line(&screen, a.x, a.y, b.x, b.y, c);
      }
    }
    for (const partrec& p : particles) {
      const ipoint_t s = to_screen(p.pos);
      if (p.alive && s.x >= 0 && s.x < 800 && s.y >= 0 && s.y < 600)
        put_pixel(&screen, s.x, s.y, blend(p.color, white, static_cast<float>(p.life)));
    }
    const std::vector<uint32_t> plain = pixels;
    for (const int32_t threads : {1, 2, 3}) {
      set_thread_count(threads);
      std::fill(pixels.begin(), pixels.end(), black);
      draw_world(0.0, 0.0);
      size_t differing = 0;
      for (size_t k = 0; k < pixels.size(); ++k) differing += !in_minimap(k) && pixels[k] != plain[k];
      EXPECT_EQ(differing, 0u) << "line mode " << mode << ", " << threads << " threads";
    }
  }
  reset_workers();
  release_background();
}

}  // namespace
}  // namespace vorn
