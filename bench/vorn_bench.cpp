// Vorn's benchmark: whole frames at several enemy counts (on the default
// threads and on one, in each instruction set), the world drawing and one
// physics substep alone, each also as a multiple of copying one
// screen-sized pixel buffer, and the heap allocations each iteration makes.
//
// The game runs headless (SDL's dummy video driver) at the built-in defaults
// (no configuration file is read), with a fixed script played through the
// game's own event handler: the pointer held at one screen point, forward
// thrust held, mouse button 1 held. Frames are 1/60 s (eight substeps).
// Each game gets a million lives (so it never ends in defeat) and 2 s of
// play before timing starts; a game that ends all the same (victory) is
// begun anew outside the timed region.
//
// Ratios: the reference case runs first; a reporter placed in front of the
// console output divides every case's CPU time per iteration by the
// reference's from the same run and shows it as the counter "x_ref". CPU
// time rather than wall time: on a shared machine the wall time also counts
// the time other processes had the processor. Cases whose frames share out
// work to worker threads are compared by wall time ("x_wall", against the
// reference's wall time): the CPU time is that of the measuring thread
// alone. With a filter that leaves the reference out, no ratio is shown.
//
// Allocations: the global operator new is replaced by one that counts;
// "allocs" is the number of allocations per iteration inside the timed
// region, "pool" the part of them made in iterations in which the particle
// pool grew or the one after (its doubling, and that of the drawing's list
// of sparks, which follows it in the next frame's picture, are the
// allocations a steady frame may make).
// To find where an allocation comes from: gdb -ex 'break vorn_bench_allocation'.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/game.h"
#include "app/scaling.h"
#include "app/sound.h"
#include "app/version.h"
#include "app/window.h"
#include "audio/effects.h"
#include "audio/mixer.h"
#include "audio/sound_queue.h"
#include "base/atan.h"
#include "config/tunables.h"
#include "gfx/font.h"
#include "gfx/world_draw.h"
#include "sim/control.h"
#include "sim/isa.h"
#include "sim/link_phase.h"
#include "sim/link_shapes.h"
#include "sim/rules.h"
#include "sim/step.h"
#include "base/workers.h"
#include "world/ships.h"
#include "world/world.h"

// ---- counting allocator ------------------------------------------------------

namespace {
uint64_t allocations = 0;
}  // namespace

// Called for every allocation; its own symbol so that a debugger can stop
// on it and show who allocated.
extern "C" __attribute__((noinline)) void vorn_bench_allocation() {
  ++allocations;
  asm volatile("" ::: "memory");
}

namespace {

void* counted_alloc(std::size_t size) {
  vorn_bench_allocation();
  return std::malloc(size == 0 ? 1 : size);
}

void* counted_aligned_alloc(std::size_t size, std::align_val_t align) {
  vorn_bench_allocation();
  const std::size_t a = static_cast<std::size_t>(align) < sizeof(void*) ? sizeof(void*)
                                                                         : static_cast<std::size_t>(align);
  void* p = nullptr;
  if (posix_memalign(&p, a, size == 0 ? 1 : size) != 0) return nullptr;
  return p;
}

void* checked(void* p) {
  if (!p) throw std::bad_alloc();
  return p;
}

// Every replaced operator delete frees through this one call. Kept out of
// line: inlined, GCC would see free() meet a pointer from operator new and
// warn of a mismatch that these replacements rule out.
__attribute__((noinline)) void release(void* p) noexcept { std::free(p); }

}  // namespace

void* operator new(std::size_t size) { return checked(counted_alloc(size)); }
void* operator new[](std::size_t size) { return checked(counted_alloc(size)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted_alloc(size); }
void* operator new(std::size_t size, std::align_val_t a) { return checked(counted_aligned_alloc(size, a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return checked(counted_aligned_alloc(size, a)); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return counted_aligned_alloc(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return counted_aligned_alloc(size, a);
}
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete(void* p, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }

namespace {

using namespace vorn;

constexpr double frame_dt = 1.0 / 60;
constexpr int32_t substeps_per_frame = 8;  // 1/60 s is above dt_gamma
constexpr int32_t warm_up_frames = 120;
// Enough lives that the scripted player never runs out of them.
constexpr int32_t script_lives = 1000000;
// The reference: one 800 x 600 screen of 32-bit pixels.
constexpr size_t reference_bytes = size_t{800} * 600 * 4;
const char* const reference_name = "copy_screen";

double game_time = 0.0;  // the total time handed to the frames, ever growing
int32_t default_enemies = 0;  // enemy_count's built-in default

// What a player would do: point up and to the right of the ship (which
// stays at the screen centre), hold forward thrust and mouse button 1.
void play_script() {
  const int32_t x = screen_w / 2 + 200;
  const int32_t y = screen_h / 2 - 120;
  game_event(ev_mouse_move, x, y, 0, 0);
  game_event(ev_key_down, 0, 0, 'w', 0);  // SDL's key symbols for letters are their ASCII codes
  game_event(ev_button_down, x, y, 0, st_left);
}

void frame() {
  game_time += frame_dt;
  game_frame(frame_dt, game_time);
}

// A new game with `enemies` darts, played for a while so that the spawn
// burst has faded and the darts have spread out.
void new_game(int32_t enemies) {
  reset_tunables();
  def_lives = script_lives;
  enemy_count = enemies;
  game_reset(true);
  play_script();
  for (int32_t i = 0; i < warm_up_frames; ++i) frame();
}

bool game_ended() { return game_over || victory; }

// Counts the allocations of the timed region; those of the iterations in
// which the particle pool grew, and of the ones right after, are counted
// apart as well (a frame draws before it steps, so the picture's list of
// sparks grows a frame after the pool).
struct allocation_meter {
  uint64_t total = 0;
  uint64_t pool = 0;
  uint64_t start = 0;
  size_t capacity = 0;
  bool pool_grew = false;  // in the iteration before

  void begin() {
    capacity = particles.capacity();
    start = allocations;
  }
  void end() {
    const uint64_t n = allocations - start;
    total += n;
    const bool grew = particles.capacity() != capacity;
    if (grew || pool_grew) pool += n;
    pool_grew = grew;
  }
  void report(benchmark::State& state) const {
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(total), benchmark::Counter::kAvgIterations);
    state.counters["pool"] = benchmark::Counter(static_cast<double>(pool), benchmark::Counter::kAvgIterations);
  }
};

// ---- cases -------------------------------------------------------------------

void copy_screen(benchmark::State& state) {
  std::vector<uint8_t> from(reference_bytes, 0x5a);
  std::vector<uint8_t> to(reference_bytes, 0);
  allocation_meter meter;
  for (auto _ : state) {
    meter.begin();
    std::memcpy(to.data(), from.data(), reference_bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
    meter.end();
  }
  meter.report(state);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reference_bytes));
}

// The scaled window's copy: the 800 x 600 screen into a window of 2 x 2 blocks.
void scale_screen(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  std::vector<uint32_t> from(size_t{800} * 600, 0x5a5a5a5a);
  std::vector<uint32_t> to(from.size() * n * n, 0);
  allocation_meter meter;
  for (auto _ : state) {
    meter.begin();
    scale_pixels(from.data(), 800, 600, n, to.data(), int64_t{800} * n);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
    meter.end();
  }
  meter.report(state);
}

// How a crowd case runs: its threads (0: the game's default) and its
// instruction set.
struct crowd_path {
  int32_t threads = 0;
  isa_level isa = best_isa();
};

// game_frame as the frame loop calls it, on the given path. A game that
// ends is begun anew outside the timed region.
void full_frame(benchmark::State& state, int32_t enemies, crowd_path path) {
  select_isa(path.isa);
  set_thread_count(path.threads > 0 ? path.threads : default_thread_count());
  new_game(enemies);
  allocation_meter meter;
  for (auto _ : state) {
    meter.begin();
    frame();
    meter.end();
    if (game_ended()) {
      state.PauseTiming();
      new_game(enemies);
      state.ResumeTiming();
    }
  }
  meter.report(state);
}

// The default threads against one thread on one game, in alternate blocks
// of `block` frames (the first block of an iteration alternates too), so
// that a change in what else the machine runs falls on both alike. The
// counter "ratio" is the default threads' wall time over one thread's;
// tools/bench_busy.sh runs these cases while busy loops hold every core.
void threads_ratio(benchmark::State& state, int32_t enemies, int32_t block) {
  set_thread_count(default_thread_count());
  new_game(enemies);
  double wall[2] = {0, 0};  // default threads, one thread
  int64_t round = 0;
  for (auto _ : state) {
    for (int32_t k = 0; k < 2; ++k) {
      const int32_t mode = (k + round) % 2;
      set_thread_count(mode == 0 ? default_thread_count() : 1);
      const auto start = std::chrono::steady_clock::now();
      for (int32_t i = 0; i < block; ++i) frame();
      wall[mode] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      if (game_ended()) {
        state.PauseTiming();
        new_game(enemies);
        state.ResumeTiming();
      }
    }
    ++round;
  }
  state.counters["ratio"] = wall[1] > 0 ? wall[0] / wall[1] : 0;
  set_thread_count(default_thread_count());
}

// The world drawing alone, over and over on the same world, on the default
// threads.
void world_drawing(benchmark::State& state) {
  set_thread_count(default_thread_count());
  new_game(default_enemies);
  allocation_meter meter;
  lock_screen();
  for (auto _ : state) {
    meter.begin();
    draw_world(frame_dt, game_time);
    benchmark::ClobberMemory();
    meter.end();
  }
  unlock_screen();
  meter.report(state);
}

// One substep of 1/480 s. After every eighth one the rest of a frame's
// physics runs untimed (camera and engine trail, then the next frame's
// control step), so the world goes on as in the game; only substeps count.
void one_substep(benchmark::State& state) {
  new_game(default_enemies);
  const double h = frame_dt / substeps_per_frame;
  allocation_meter meter;
  control_step(frame_dt);
  int32_t k = 0;
  for (auto _ : state) {
    meter.begin();
    substep(h);
    meter.end();
    if (++k < substeps_per_frame) continue;
    k = 0;
    state.PauseTiming();
    camera_step(frame_dt);
    engine_trail();
    game_time += frame_dt;
    if (game_ended()) new_game(default_enemies);
    control_step(frame_dt);
    state.ResumeTiming();
  }
  meter.report(state);
}

// The link shapes alone, over and over, from the link ends that the last
// substep of the default world's warm-up copied, in one instruction set's
// kernel.
void link_shapes_case(benchmark::State& state, isa_level isa) {
  new_game(default_enemies);
  select_isa(isa);
  const size_t n = links.size();
  std::vector<double> column = link_work.columns;
  const link_column_views view = view_link_columns(column.data(), n);
  const link_ends in = view.ends;
  const link_shape_rows out = view.shapes;
  allocation_meter meter;
  for (auto _ : state) {
    meter.begin();
    active_link_shape_kernels->shapes(in, n, out);
    benchmark::ClobberMemory();
    meter.end();
  }
  select_isa(best_isa());
  meter.report(state);
}

// Sound: the same frames with the game listened to, the commands taken off
// the queue as the audio thread would (inside the timed region: it is cheap
// and keeps the queue from filling); and one audio callback's worth of
// mixing (1024 frames, 23 ms of sound) with every voice and drone busy.
void full_frame_sound(benchmark::State& state) {
  new_game(default_enemies);
  reset_sound_queue();
  reset_mixer();
  sound.enabled = true;
  allocation_meter meter;
  for (auto _ : state) {
    meter.begin();
    frame();
    apply_sound_commands();
    meter.end();
    if (game_ended()) {
      state.PauseTiming();
      new_game(default_enemies);
      state.ResumeTiming();
    }
  }
  sound.enabled = false;
  meter.report(state);
}

void mix_callback(benchmark::State& state) {
  reset_mixer();
  std::vector<int16_t> out(2 * 1024);
  allocation_meter meter;
  for (auto _ : state) {
    meter.begin();
    while (mixer_busy_voices() < mixer_voice_count) {
      voice_spec params[effect_max_voices];
      const int32_t n = effect_voices(effect::player_wreck, 1.0f, 0.3f, params);
      for (int32_t i = 0; i < n; ++i) mixer_play(params[i]);
    }
    mixer_set_drone(drone_hum, hum_level, hum_pitch(0.5f), 0.0f);
    mixer_set_drone(drone_buzz, buzz_level(100.0f, 3), buzz_pitch, -0.5f);
    mixer_set_drone(drone_crackle, crackle_level(40), crackle_rate(40), 0.5f);
    mixer_render(out.data(), 1024);
    benchmark::DoNotOptimize(out.data());
    meter.end();
  }
  meter.report(state);
}

// ---- the arctangent ------------------------------------------------------------

// 1024 quotients as bearings take them: magnitudes from 1/1000 to 1000,
// spread evenly on a logarithmic scale (a fixed sequence, the same every run).
std::vector<double> atan_arguments() {
  std::vector<double> xs(1024);
  uint64_t s = 12;
  for (double& x : xs) {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    x = std::exp2((static_cast<double>(s >> 11) * 0x1p-53 - 0.5) * 20.0);
  }
  return xs;
}

template <double (*f)(double)>
void atan_case(benchmark::State& state) {
  const std::vector<double> xs = atan_arguments();
  for (auto _ : state) {
    double sum = 0;
    for (double x : xs) sum += f(x);
    benchmark::DoNotOptimize(sum);
  }
}

double libm_atan(double x) { return std::atan(x); }

// ---- the ratio to the reference ----------------------------------------------

double seconds_per_iteration(const benchmark::BenchmarkReporter::Run& run) {
  return run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

// Wall time: what counts when worker threads share the frame (CPU time is
// the measuring thread's alone).
double wall_seconds_per_iteration(const benchmark::BenchmarkReporter::Run& run) {
  return run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

// The console table with every time also as a multiple of the reference's
// time per iteration (its mean when it ran repeatedly).
class ratio_reporter : public benchmark::ConsoleReporter {
 public:
  ratio_reporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& reports) override {
    for (const Run& r : reports) {
      if (r.run_name.function_name != reference_name || r.error_occurred) continue;
      const bool first = r.run_type == Run::RT_Iteration && reference_ <= 0;
      if (first || (r.run_type == Run::RT_Aggregate && r.aggregate_name == "mean")) {
        reference_ = seconds_per_iteration(r);
        wall_reference_ = wall_seconds_per_iteration(r);
      }
    }
    for (const Run& r : reports) {
      if (r.run_name.function_name == "atan/libm" && r.run_type == Run::RT_Iteration && !r.error_occurred)
        libm_atan_ = seconds_per_iteration(r);
    }
    std::vector<Run> shown = reports;
    for (Run& r : shown) {
      const bool timed = r.run_type == Run::RT_Iteration || r.aggregate_name == "mean" || r.aggregate_name == "median";
      if (reference_ > 0 && timed && !r.error_occurred) {
        r.counters["x_ref"] = seconds_per_iteration(r) / reference_;
        r.counters["x_wall"] = wall_seconds_per_iteration(r) / wall_reference_;
      }
      // The own arctangent also as a multiple of the C library's, same run.
      if (libm_atan_ > 0 && timed && !r.error_occurred && r.run_name.function_name == "atan/own")
        r.counters["x_libm"] = seconds_per_iteration(r) / libm_atan_;
    }
    ConsoleReporter::ReportRuns(shown);
  }

 private:
  double reference_ = 0;
  double wall_reference_ = 0;
  double libm_atan_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  setenv("SDL_VIDEODRIVER", "dummy", 1);
  load_font();
  reset_tunables();
  if (!open_window(screenx, screeny, 32, false, game_caption, game_frame, game_event)) return 1;
  game_reset(false);

  default_enemies = enemy_count;
  select_isa(best_isa());
  set_thread_count(default_thread_count());
  benchmark::RegisterBenchmark(reference_name, copy_screen)->Unit(benchmark::kMicrosecond);
  // The game cases play a fixed stretch of the game (the same frames on
  // every run and machine, so that runs compare): 30 s of play at up to 50
  // enemies, 4 s at 200 and 500, 2 s at 1000, 0.5 s at 2000. Without a
  // suffix a case runs on the default threads in the widest instruction
  // set; "threads:1" on the game's thread alone, "isa:NAME" in that set.
  benchmark::RegisterBenchmark("full_frame/defaults", full_frame, default_enemies, crowd_path{})
      ->Iterations(1800)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("full_frame/defaults/threads:1", full_frame, default_enemies,
                               crowd_path{1, best_isa()})
      ->Iterations(1800)
      ->Unit(benchmark::kMicrosecond);
  const struct {
    int32_t enemies;
    int64_t frames;
    crowd_path path;
    std::string suffix;
  } crowds[] = {{50, 1800, {}, ""},
                {200, 240, {}, ""},
                {500, 240, {}, ""},
                {1000, 120, {}, ""},
                {1000, 120, {1, best_isa()}, "/threads:1"},
                {1000, 120, {1, isa_level::avx2}, "/threads:1/isa:avx2"},
                {1000, 120, {1, isa_level::baseline}, "/threads:1/isa:baseline"},
                {2000, 30, {}, ""},
                {2000, 30, {1, best_isa()}, "/threads:1"}};
  for (const auto& c : crowds) {
    if (!isa_supported(c.path.isa)) continue;
    const std::string name = "full_frame/enemies:" + std::to_string(c.enemies) + c.suffix;
    benchmark::RegisterBenchmark(name.c_str(), full_frame, c.enemies, c.path)
        ->Iterations(c.frames)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("draw_world", world_drawing)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("scale_screen", scale_screen)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("substep", one_substep)
      ->Iterations(1800 * substeps_per_frame)
      ->Unit(benchmark::kMicrosecond);

  for (const isa_level isa : built_isas()) {
    if (!isa_supported(isa)) continue;
    const std::string name = std::string("link_shapes/isa:") + isa_name(isa);
    benchmark::RegisterBenchmark(name.c_str(), link_shapes_case, isa)->Unit(benchmark::kMicrosecond);
  }

  benchmark::RegisterBenchmark("threads_ratio/defaults", threads_ratio, default_enemies, 60)
      ->Iterations(30)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("threads_ratio/enemies:1000", threads_ratio, 1000, 4)
      ->Iterations(15)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("full_frame/sound", full_frame_sound)
      ->Iterations(1800)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("mix_callback", mix_callback)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("atan/libm", atan_case<libm_atan>)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("atan/own", atan_case<atan_cr>)->Unit(benchmark::kMicrosecond);

  ratio_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  reset_workers();
  return 0;
}
