// The soak runner: plays many generated configurations headless through the
// game's own start-up, event handler and per-frame procedure, with extreme
// settings and random input, and fails on a frame that takes too long.
//
//   vorn_soak [--configs N] [--frames M] [--seed S] [--only K] [--frame-limit SEC]
//             [--config-seconds SEC] [--digests] [--crowd E] [--threads T]
//
// A configuration whose frames are all slow (a world crammed full) stops
// when its time (--config-seconds of wall time) runs out: it is counted as
// cut short, not failed, unless a single frame overstays its limit.
// --digests prints every configuration's final state checksum, so that two
// builds (optimised and sanitizer) can be shown to play the same games.
// --crowd E gives every configuration E enemy ships, large enough for the
// crowd's worker threads (--threads T, default 1) and its vector kernels
// (chosen by VORN_ISA as in the game), so that the digests of one seed can
// be compared across thread counts and instruction sets.
// Every configuration K is drawn from its own generator, seeded from S and K,
// so `--only K` replays configuration K alone exactly as a full run plays it.
// Settings that ask for more memory than the machine has are refused by the
// game with std::bad_alloc (what the game reports as out of memory); the
// runner counts them and goes on. Any other exception, a sanitizer report or
// a frame over the limit fails the run with the configuration printed.
#include <SDL.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <limits>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "app/commands.h"
#include "app/game.h"
#include "app/state_hash.h"
#include "app/window.h"
#include "base/rng.h"
#include "config/print_config.h"
#include "config/tunables.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "sim/beams.h"
#include "sim/control.h"
#include "sim/isa.h"
#include "sim/rules.h"
#include "sim/session.h"
#include "sim/step.h"
#include "base/workers.h"
#include "world/geometry.h"
#include "world/ships.h"
#include "world/world.h"

namespace {

using namespace vorn;
using soak_clock = std::chrono::steady_clock;

// The runner's own generator (splitmix64), apart from the game's.
struct splitmix {
  uint64_t state;
  uint64_t next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n), n > 0 (the slight bias does not matter here).
  uint64_t below(uint64_t n) { return next() % n; }
  double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }
  bool chance(double p) { return unit() < p; }
  template <class T, size_t N>
  T pick(const T (&items)[N]) {
    return items[below(N)];
  }
};

struct soak_options {
  int64_t configs = 20;
  int64_t frames = 200;
  uint64_t seed = 1;
  int64_t only = -1;
  double frame_limit = 2.0;
  double config_seconds = 30.0;
  bool digests = false;  // one line per configuration: its final checksum
  int64_t crowd = -1;    // >= 0: every configuration's enemy_count
  int64_t threads = 1;   // threads sharing the crowd's work
};

constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();
constexpr double inf_value = std::numeric_limits<double>::infinity();

// NaN and the infinities are drawn too: the configuration reader never
// produces them, but the tunables are plain globals that nothing else guards.
double extreme_real(splitmix& g, double def) {
  const double fixed[] = {0.0,      -0.0,    1e-300,  -1e-300, 4.9e-324, 1e-310,   2.2250738585072014e-308,
                          1e300,    -1e300,  1.7976931348623157e308,   -1.7976931348623157e308,
                          nan_value, inf_value, -inf_value, 1.0,        -1.0,     2147483648.0};
  switch (g.below(4)) {
    case 0: return -def;
    case 1: return def * (g.unit() * 4.0);  // an ordinary value nearby
    default: return g.pick(fixed);
  }
}

int32_t extreme_int(splitmix& g, int32_t def) {
  const int32_t fixed[] = {0, -1, 1, 2, INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1};
  switch (g.below(4)) {
    case 0: return -def;
    case 1: return static_cast<int32_t>(g.below(3 * static_cast<uint64_t>(def < 0 ? -int64_t{def} : def) + 4));
    default: return g.pick(fixed);
  }
}

// The screen stays a size the window can open; sizes of zero or less are the
// end-to-end failure tests' business.
struct screen_size {
  int32_t w, h;
};
constexpr screen_size screen_sizes[] = {{800, 600}, {800, 600}, {320, 240}, {320, 240}, {64, 48},
                                        {1, 1},     {2, 3},     {17, 5},    {1024, 768}};
constexpr double frame_times[] = {0.0166, 0.0166, 0.001, 0.0015, 0.003, 0.006, 0.01, 0.05, 0.2};

struct configuration {
  int64_t index = 0;
  screen_size screen{800, 600};
  double dt = 0.0166;
  bool varying_dt = false;   // a new frame time from the list every frame
  double t0 = 0.0;           // total time before the first frame
  double event_rate = 1.0;   // mean events per frame
  std::vector<double> values;  // one per tunable, in table order
};

splitmix config_generator(uint64_t seed, int64_t index) {
  splitmix g{seed * 0xD1B54A32D192ED03ull + static_cast<uint64_t>(index)};
  g.next();
  return g;
}

configuration make_configuration(uint64_t seed, int64_t index) {
  splitmix g = config_generator(seed, index);
  configuration c;
  c.index = index;
  c.screen = g.pick(screen_sizes);
  c.dt = g.pick(frame_times);
  c.varying_dt = g.chance(0.25);
  const double offsets[] = {0.0, 0.0, 0.0, 1e6, 1e15};
  c.t0 = g.pick(offsets);
  const double rates[] = {0.2, 1.0, 3.0};
  c.event_rate = g.pick(rates);
  // How many settings leave their defaults: a few, a third, or all of them.
  const double wildness[] = {0.03, 0.1, 0.3, 1.0};
  const double p = g.pick(wildness);
  for (const tunable& t : tunable_table()) {
    double v = t.default_value;
    if (t.int_ptr == &screenx) {
      v = c.screen.w;
    } else if (t.int_ptr == &screeny) {
      v = c.screen.h;
    } else if (t.kind == tunable_kind::flag) {
      v = g.chance(0.5) ? 1.0 : 0.0;
    } else if (g.chance(p)) {
      v = t.kind == tunable_kind::real ? extreme_real(g, t.default_value)
                                       : extreme_int(g, static_cast<int32_t>(t.default_value));
    }
    c.values.push_back(v);
  }
  return c;
}

void apply(const configuration& c) {
  reset_tunables();
  size_t i = 0;
  for (const tunable& t : tunable_table()) {
    const double v = c.values[i++];
    switch (t.kind) {
      case tunable_kind::flag: *t.flag_ptr = v != 0.0; break;
      case tunable_kind::integer: *t.int_ptr = static_cast<int32_t>(v); break;
      case tunable_kind::real: *t.real_ptr = v; break;
    }
  }
}

bool at_default(const tunable& t) {
  switch (t.kind) {
    case tunable_kind::flag: return *t.flag_ptr == (t.default_value != 0.0);
    case tunable_kind::integer: return *t.int_ptr == static_cast<int32_t>(t.default_value);
    case tunable_kind::real:
      return *t.real_ptr == t.default_value && std::signbit(*t.real_ptr) == std::signbit(t.default_value);
  }
  return true;
}

// The header line and every setting off its default, as configuration lines.
std::string describe(const configuration& c, uint64_t seed) {
  char head[256];
  std::snprintf(head, sizeof head, "configuration %lld (seed %llu): screen %d x %d, dt %g%s, t0 %g, %g events/frame\n",
                static_cast<long long>(c.index), static_cast<unsigned long long>(seed), c.screen.w, c.screen.h,
                c.dt, c.varying_dt ? " (varying)" : "", c.t0, c.event_rate);
  std::string out = head;
  for (const tunable& t : tunable_table()) {
    if (!at_default(t)) out += "  " + std::string(t.key) + "=" + format_tunable(t) + "\n";
  }
  return out;
}

// ---- input ---------------------------------------------------------------------

constexpr int32_t command_keys[] = {SDLK_RETURN, SDLK_r,  SDLK_SPACE, SDLK_LCTRL, SDLK_d, SDLK_m,    SDLK_w,
                                    SDLK_s,      SDLK_UP, SDLK_DOWN,  SDLK_w,     SDLK_w, SDLK_LSHIFT, SDLK_a};

int32_t coordinate(splitmix& g, int32_t extent) {
  const int32_t far[] = {-1, 0, INT32_MIN, INT32_MAX, -1000000, 1000000, 65535, -65536};
  if (g.chance(0.8)) return static_cast<int32_t>(g.below(static_cast<uint64_t>(extent) + 1));
  return g.pick(far);
}

uint16_t state_word(splitmix& g) {
  uint16_t s = 0;
  if (g.chance(0.7)) s |= st_left;
  if (g.chance(0.1)) s |= st_right;
  if (g.chance(0.1)) s |= st_middle;
  if (g.chance(0.1)) s |= st_shift;
  if (g.chance(0.05)) s = static_cast<uint16_t>(g.next());
  return s;
}

// Straight through the game's event handler, with any int32 fields.
void direct_event(splitmix& g, const configuration& c) {
  const uint64_t r = g.below(1000);
  const uint16_t st = state_word(g);
  if (r < 400) {
    game_event(ev_key_down, 0, 0, g.pick(command_keys), st);
  } else if (r < 600) {
    game_event(ev_key_up, 0, 0, g.pick(command_keys), st);
  } else if (r < 800) {
    game_event(ev_mouse_move, coordinate(g, c.screen.w), coordinate(g, c.screen.h), 0, st);
  } else if (r < 880) {
    game_event(ev_button_down, coordinate(g, c.screen.w), coordinate(g, c.screen.h), 0, st);
  } else if (r < 930) {
    game_event(ev_button_up, coordinate(g, c.screen.w), coordinate(g, c.screen.h), 0, st);
  } else if (r < 960) {
    const uint16_t wheel = g.chance(0.5) ? st_wheel_up : st_wheel_down;
    game_event(ev_button_down, coordinate(g, c.screen.w), coordinate(g, c.screen.h), 0, st | wheel);
  } else if (r < 962) {
    game_event(ev_key_down, 0, 0, SDLK_p, st);  // a screenshot into the runner's own directory
  } else if (r < 963 && g.chance(0.1)) {
    game_event(g.chance(0.5) ? ev_quit : ev_key_down, 0, 0, SDLK_ESCAPE, st);
  } else {
    // Kinds and keys the game does not know.
    const int32_t kinds[] = {0, 2, 8, -1, INT32_MAX, INT32_MIN, ev_key_down, ev_key_up};
    game_event(g.pick(kinds), static_cast<int32_t>(g.next()), static_cast<int32_t>(g.next()),
               static_cast<int32_t>(g.next()), static_cast<uint16_t>(g.next()));
  }
}

// Through SDL's queue and the real event pump, as a window would deliver them.
void pumped_event(splitmix& g, const configuration& c) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  const uint64_t r = g.below(100);
  if (r < 50) {
    e.type = g.chance(0.6) ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = static_cast<SDLKey>(g.pick(command_keys));
  } else if (r < 80) {
    e.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(coordinate(g, c.screen.w));
    e.motion.y = static_cast<Uint16>(coordinate(g, c.screen.h));
  } else {
    e.type = g.chance(0.6) ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = static_cast<Uint8>(1 + g.below(5));
    e.button.x = static_cast<Uint16>(coordinate(g, c.screen.w));
    e.button.y = static_cast<Uint16>(coordinate(g, c.screen.h));
  }
  SDL_PushEvent(&e);
}

// ---- the watchdog --------------------------------------------------------------

// A frame that never returns cannot be timed after the fact: a second thread
// watches the frame in progress and ends the run when it overstays.
struct watchdog {
  std::atomic<int64_t> frame_start_ns{-1};
  std::atomic<double> limit{10.0};  // seconds the frame in progress may run
  std::atomic<bool> stop{false};
  std::mutex text_lock;
  std::string current;  // what is running, for the report

  static int64_t now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(soak_clock::now().time_since_epoch()).count();
  }
  void run() {
    while (!stop.load()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      const int64_t start = frame_start_ns.load();
      if (start < 0 || (now_ns() - start) * 1e-9 < limit.load()) continue;
      std::lock_guard<std::mutex> hold(text_lock);
      std::fprintf(stderr, "vorn_soak: FAIL: a frame has run for more than %g s (hung)\n%s", limit.load(),
                   current.c_str());
      std::fflush(stderr);
      _exit(1);
    }
  }
};

watchdog dog;

// Every frame's work is linear in the world's records by design (a pass or
// a few over each array per substep), and a configuration may legitimately
// fill the world (a tiny screen folds the station onto itself and every
// substep brings hundreds of impacts, each with its spray). So the time a
// frame may take is the limit for a world of up to a million records, and
// as much again for every further million; a hang, or work that grows
// faster than the world, still overstays it.
int64_t world_records() {
  return static_cast<int64_t>(nodes.size() + links.size() + ships.size() + particles.size());
}

double allowed_seconds(double limit, int64_t records) { return limit * (1.0 + static_cast<double>(records) / 1e6); }

// Starts timing a frame for the watchdog, which allows five times as long.
void watch_frame(double limit) {
  dog.limit = std::max(10.0, 5 * allowed_seconds(limit, world_records()));
  dog.frame_start_ns = watchdog::now_ns();
}

// ---- one configuration -----------------------------------------------------------

void reset_game_state() {
  // As at program start: SDL down, so the next window is opened afresh
  // (the dummy driver would otherwise report the last window as the desktop).
  close_window();
  // Emptied, then swapped out, so a big pool of one configuration does not
  // stay allocated into the next.
  clear_world();
  std::vector<noderec>().swap(nodes);
  std::vector<linkrec>().swap(links);
  std::vector<shprec>().swap(ships);
  std::vector<partrec>().swap(particles);
  reset_session();
  reset_window_state();
}

struct totals {
  int64_t configs = 0;
  int64_t frames = 0;
  int64_t refused = 0;     // out of memory, as the game reports it
  int64_t ended = 0;       // quit or Escape before the last frame
  int64_t cut_short = 0;   // stopped when the configuration's time ran out
  int64_t restarts = 0;    // game resets after game over
  double slowest = 0.0;
  int64_t slowest_config = -1;
  // The game's state checksum after every configuration, folded together:
  // two runs with the same seed and options play the same games exactly when
  // they print the same digest (unless a configuration was cut short).
  uint64_t digest = 0;
};

void remove_screenshots(const std::filesystem::path& dir) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) std::filesystem::remove(entry.path(), ec);
}

// False when the run must stop (the report is printed already).
bool run_configuration(const soak_options& o, int64_t index, totals& sum) {
  reset_game_state();
  const configuration c = make_configuration(o.seed, index);
  apply(c);
  if (o.crowd >= 0) enemy_count = static_cast<int32_t>(o.crowd);
  const std::string text = describe(c, o.seed);
  {
    std::lock_guard<std::mutex> hold(dog.text_lock);
    dog.current = text;
  }
  splitmix g = config_generator(o.seed ^ 0xA5A5A5A5A5A5A5A5ull, index);
  sum.configs += 1;
  auto over_limit = [&](double seconds, int64_t frame, int64_t records_before) {
    if (seconds > sum.slowest) {
      sum.slowest = seconds;
      sum.slowest_config = index;
    }
    const int64_t records = std::max(records_before, world_records());
    const double allowed = allowed_seconds(o.frame_limit, records);
    if (seconds <= allowed) return false;
    std::fprintf(stderr, "vorn_soak: FAIL: frame %lld took %.3f s (limit %.3g s for %lld records)\n%s",
                 static_cast<long long>(frame), seconds, allowed, static_cast<long long>(records), text.c_str());
    return true;
  };
  try {
    watch_frame(o.frame_limit);
    const auto start = soak_clock::now();
    if (!open_window(screenx, screeny, 32, false, "Vorn soak", game_frame, game_event)) {
      dog.frame_start_ns = -1;
      std::fprintf(stderr, "vorn_soak: FAIL: the window did not open\n%s", text.c_str());
      return false;
    }
    caption_stats = true;
    frame_cap = 60000;
    game_reset(false);
    dog.frame_start_ns = -1;
    if (over_limit(std::chrono::duration<double>(soak_clock::now() - start).count(), 0, 0)) return false;
    double total_time = c.t0;
    bool cut = false;
    for (int64_t f = 1; f <= o.frames && !quit_requested; ++f) {
      if (std::chrono::duration<double>(soak_clock::now() - start).count() > o.config_seconds) {
        sum.cut_short += 1;
        cut = true;
        break;
      }
      const bool was_over = game_over;
      const int64_t records_before = world_records();
      watch_frame(o.frame_limit);
      const auto t_start = soak_clock::now();
      // Poisson-ish: each of a few tries adds an event.
      for (int k = 0; k < 6; ++k) {
        if (!g.chance(c.event_rate / 6)) continue;
        if (g.chance(0.2)) {
          pumped_event(g, c);
        } else {
          direct_event(g, c);
        }
      }
      poll_events();
      if (was_over && !game_over) sum.restarts += 1;
      if (quit_requested) {
        dog.frame_start_ns = -1;
        break;
      }
      const double dt = c.varying_dt ? g.pick(frame_times) : c.dt;
      total_time += dt;
      game_frame(dt, total_time);
      dog.frame_start_ns = -1;
      sum.frames += 1;
      if (over_limit(std::chrono::duration<double>(soak_clock::now() - t_start).count(), f, records_before))
        return false;
    }
    if (quit_requested) sum.ended += 1;
    const uint64_t checksum = state_checksum();
    sum.digest = (sum.digest ^ checksum) * 0x100000001B3ull;
    if (o.digests) {
      std::printf("configuration %lld: %016llx%s\n", static_cast<long long>(index),
                  static_cast<unsigned long long>(checksum), cut ? " (cut short)" : "");
    }
  } catch (const std::bad_alloc&) {
    dog.frame_start_ns = -1;
    sum.refused += 1;
  } catch (const std::exception& e) {
    dog.frame_start_ns = -1;
    std::fprintf(stderr, "vorn_soak: FAIL: the game threw %s\n%s", e.what(), text.c_str());
    return false;
  }
  return true;
}

bool read_number(const char* text, int64_t& out) {
  const char* end = text + std::strlen(text);
  const auto res = std::from_chars(text, end, out);
  return res.ec == std::errc() && res.ptr == end && out >= 0;
}

bool read_seconds(const char* text, double& out) {
  const char* end = text + std::strlen(text);
  const auto res = std::from_chars(text, end, out);
  return res.ec == std::errc() && res.ptr == end && out > 0 && std::isfinite(out);
}

bool parse(int argc, char** argv, soak_options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--digests") {
      o.digests = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    const char* v = argv[++i];
    int64_t n = 0;
    if (a == "--configs" && read_number(v, n)) {
      o.configs = n;
    } else if (a == "--frames" && read_number(v, n)) {
      o.frames = n;
    } else if (a == "--seed" && read_number(v, n)) {
      o.seed = static_cast<uint64_t>(n);
    } else if (a == "--only" && read_number(v, n)) {
      o.only = n;
    } else if (a == "--crowd" && read_number(v, n) && n <= INT32_MAX) {
      o.crowd = n;
    } else if (a == "--threads" && read_number(v, n) && n >= 1) {
      o.threads = n;
    } else if (a == "--frame-limit" && read_seconds(v, o.frame_limit)) {
    } else if (a == "--config-seconds" && read_seconds(v, o.config_seconds)) {
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  soak_options o;
  if (!parse(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: vorn_soak [--configs N] [--frames M] [--seed S] [--only K] [--frame-limit SECONDS]\n"
                 "                 [--config-seconds SECONDS] [--digests] [--crowd E] [--threads T]\n");
    return 2;
  }
  std::string isa_error;
  if (!select_isa_from(std::getenv("VORN_ISA"), isa_error)) {
    std::fprintf(stderr, "vorn_soak: %s\n", isa_error.c_str());
    return 1;
  }
  set_thread_count(static_cast<int32_t>(std::min<int64_t>(o.threads, max_threads)));
  const int32_t threads = thread_count();
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  // Screenshots land in a directory of the runner's own, emptied after
  // every configuration and removed at the end.
  char pattern[] = "/tmp/vorn_soak.XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (!dir || chdir(dir) != 0) {
    std::fprintf(stderr, "vorn_soak: cannot make a working directory\n");
    return 1;
  }
  const std::filesystem::path work(dir);
  load_font();
  std::thread watcher([] { dog.run(); });

  totals sum;
  const auto start = soak_clock::now();
  bool ok = true;
  const int64_t first = o.only >= 0 ? o.only : 0;
  const int64_t last = o.only >= 0 ? o.only + 1 : o.configs;
  for (int64_t k = first; k < last && ok; ++k) {
    ok = run_configuration(o, k, sum);
    remove_screenshots(work);
  }
  const double seconds = std::chrono::duration<double>(soak_clock::now() - start).count();
  dog.stop = true;
  watcher.join();
  reset_workers();
  SDL_Quit();
  reset_font();
  std::error_code ec;
  std::filesystem::remove_all(work, ec);
  std::printf(
      "vorn_soak: %s: %lld configurations (seed %llu), %lld frames in %.1f s; %lld refused for memory, "
      "%lld ended by quit, %lld cut short, %lld restarts; slowest frame %.3f s (configuration %lld); "
      "digest %016llx (%s, %d threads)\n",
      ok ? "ok" : "FAILED", static_cast<long long>(sum.configs), static_cast<unsigned long long>(o.seed),
      static_cast<long long>(sum.frames), seconds, static_cast<long long>(sum.refused),
      static_cast<long long>(sum.ended), static_cast<long long>(sum.cut_short), static_cast<long long>(sum.restarts),
      sum.slowest, static_cast<long long>(sum.slowest_config), static_cast<unsigned long long>(sum.digest),
      isa_name(selected_isa()), threads);
  return ok ? 0 : 1;
}
