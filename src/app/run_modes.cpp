// The run modes the command line picks (play, record, replay with its
// checks, timing and frame export, headless, fixed frame times, print the
// configuration), the start-up order they share, and the end of a run.
#include "app/run_modes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/commands.h"
#include "app/demo.h"
#include "app/demo_recorder.h"
#include "app/export_frames.h"
#include "app/frame_loop.h"
#include "app/game.h"
#include "app/gamepad.h"
#include "app/option_docs.h"
#include "app/options.h"
#include "app/sound.h"
#include "app/state_hash.h"
#include "app/timedemo.h"
#include "app/version.h"
#include "app/window.h"
#include "base/rules_version.h"
#include "base/stop_request.h"
#include "config/config_path.h"
#include "config/load_config.h"
#include "config/print_config.h"
#include "config/tunables.h"
#include "gfx/background.h"
#include "gfx/font.h"
#include "image/image.h"
#include "platform/display.h"
#include "platform/stop_signals.h"
#include "sim/isa.h"
#include "sim/rules.h"
#include "sim/session.h"
#include "base/workers.h"
#include "world/ships.h"
#include "world/world.h"

namespace vorn {

namespace {

// What this run was asked to do, and how far it has got.
struct run_state {
  options opts;
  int64_t frames_done = 0;
  demo_recorder recorder;
  // Playing.
  demo_data demo;
  size_t next_check = 0;
  bool desync = false;
  int64_t departed_at = -1;
  // A run whose frames stopped on an error ends with this code.
  int failed_code = 0;
  // Between a recorded frame's start and its checksum.
  bool in_recorded_frame = false;
  // The configuration file read, if any.
  config_status config;
  std::string config_file;
};
run_state run;

// Each run starts as a fresh process would: a browser page runs one game
// after another in the same process.
void reset_run() {
  run.opts = options{};
  run.frames_done = 0;
  run.demo = demo_data{};
  run.next_check = 0;
  run.desync = false;
  run.departed_at = -1;
  run.failed_code = 0;
  run.in_recorded_frame = false;
  run.config = config_status{};
  run.config_file.clear();
  reset_session();
  // SDL too, so that this run's window opens as the first did (SDL would
  // otherwise take the last window for the desktop's size).
  close_window();
  reset_window_state();
  reset_sound_state();
}

// --- frame hooks ------------------------------------------------------------

// Every frame a run hands to the game is counted (already while it runs:
// the end after a lost window counts on it), unless a stop abandoned it.
void counted_frame(double dt, double t) {
  run.frames_done += 1;
  game_frame(dt, t);
  if (frame_abandoned()) run.frames_done -= 1;
}

bool another_frame() {
  if (run.opts.frames >= 0 && run.frames_done >= run.opts.frames) return false;
  if (!run.opts.play_file.empty() && run.frames_done >= static_cast<int64_t>(run.demo.frames.size())) return false;
  return true;
}

void fixed_frame_times(double& dt, double& t) {
  dt = run.opts.fixed_dt;
  t = static_cast<double>(run.frames_done + 1) * run.opts.fixed_dt;
}

int64_t no_wait_read(int64_t, int64_t) { return timer_us(0); }
int64_t read_timer() { return timer_us(0); }
const frame_clock unlimited_clock{no_wait_read, read_timer};

// --- recording ----------------------------------------------------------------

void recording_event(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state) {
  run.recorder.event({kind, x, y, key, state});
  game_event(kind, x, y, key, state);
}

void recording_frame(double dt, double t) {
  run.recorder.frame(dt, t);
  run.in_recorded_frame = true;
  counted_frame(dt, t);
  if (!frame_abandoned()) run.recorder.after_frame(run.frames_done);
  run.in_recorded_frame = false;
}

// --- playing ------------------------------------------------------------------

void feed_events(const std::vector<demo_event>& events) {
  for (const demo_event& e : events) {
    if (exit_requested) return;
    game_event(e.kind, e.x, e.y, e.key, e.state);
  }
}

void playing_pump() {
  if (discard_window_events()) request_exit(0);
  if (!exit_requested) feed_events(run.demo.frames[run.frames_done].events);
  present();
}

void playing_frame_times(double& dt, double& t) {
  const demo_frame& f = run.demo.frames[run.frames_done];
  dt = f.dt;
  t = f.t;
}

// Compares the checksum due after this many frames, if one is.
void check_demo(int64_t frames) {
  const auto& checks = run.demo.checks;
  while (run.next_check < checks.size() && checks[run.next_check].frame == frames) {
    const uint64_t now = state_checksum();
    if (now != checks[run.next_check].checksum && !run.desync) {
      std::fprintf(stderr, "vorn: demo %s departs from its recording at frame %lld (checksum %s, recorded %s)\n",
                   run.opts.play_file.c_str(), static_cast<long long>(frames), checksum_hex(now).c_str(),
                   checksum_hex(checks[run.next_check].checksum).c_str());
      run.desync = true;
      run.departed_at = frames;
      request_exit(3);
    }
    ++run.next_check;
  }
}

void playing_frame(double dt, double t) {
  if (run.opts.timedemo) timedemo_frame_start();
  counted_frame(dt, t);
  if (frame_abandoned()) return;
  check_demo(run.frames_done);
  if (!export_frame(run.frames_done)) request_exit(1);
}

bool read_demo(std::string& error) {
  std::ifstream in(run.opts.play_file, std::ios::binary);
  if (!in) {
    error = "cannot open it";
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    error = "cannot read it";
    return false;
  }
  return parse_demo(text.str(), run.demo, error);
}

// After the last frame: the events that ended the recorded game, then the
// final checksum.
int finish_playing() {
  if (run.desync) return 3;
  if (run.frames_done < static_cast<int64_t>(run.demo.frames.size()) && run.opts.frames < 0) {
    std::fprintf(stderr, "vorn: demo %s ended after %lld of its %zu frames\n", run.opts.play_file.c_str(),
                 static_cast<long long>(run.frames_done), run.demo.frames.size());
    return 3;
  }
  if (!run.demo.complete && run.frames_done == static_cast<int64_t>(run.demo.frames.size())) {
    std::fprintf(stderr, "vorn: demo %s ends early (no end record): %lld frames played and checked\n",
                 run.opts.play_file.c_str(), static_cast<long long>(run.frames_done));
    return 0;
  }
  if (run.frames_done == static_cast<int64_t>(run.demo.frames.size())) {
    exit_requested = false;
    feed_events(run.demo.trailing);
    check_demo(run.frames_done);
  }
  return run.desync ? 3 : 0;
}

// --- the end of a run -----------------------------------------------------------

void print_summary() {
  int64_t nodes_alive = 0, links_alive = 0, links_burning = 0, particles_alive = 0;
  for (const noderec& n : nodes) nodes_alive += n.alive;
  for (const linkrec& l : links) {
    links_alive += l.alive;
    links_burning += l.alive && l.burning;
  }
  for (const partrec& p : particles) particles_alive += p.alive;
  std::printf(
      "{\"frames\":%lld,\"nodes\":%zu,\"nodes_alive\":%lld,\"links\":%zu,\"links_alive\":%lld,"
      "\"links_burning\":%lld,\"ships\":%zu,\"particles_alive\":%lld,\"lives\":%d,\"game_over\":%s,"
      "\"victory\":%s,\"checksum\":\"%s\"}\n",
      static_cast<long long>(run.frames_done), nodes.size(), static_cast<long long>(nodes_alive), links.size(),
      static_cast<long long>(links_alive), static_cast<long long>(links_burning), ships.size(),
      static_cast<long long>(particles_alive), lives, game_over ? "true" : "false", victory ? "true" : "false",
      checksum_hex(state_checksum()).c_str());
}

// The window went away from outside (or the display with it): the run ends
// as after a close request, here and now, since nothing may return into SDL
// or Xlib. The frame being recorded, if any, had drawn and presented, so its
// checksum is due.
[[noreturn]] void end_after_lost_window() {
  if (run.in_recorded_frame) run.recorder.after_frame(run.frames_done);
  if (run.opts.play_file.empty()) {
    on_event(ev_quit, 0, 0, 0, 0);
  } else {
    request_exit(0);
  }
  const int code = end_run();
  std::fflush(nullptr);
  _exit(code);
}

// Everything before the first frame: the window, the world, the sound, the
// demo files and the loop's hooks; 0 when the frames may start.
int start_run() {
  const bool playing = !run.opts.play_file.empty();
  const bool recording = !run.opts.record_file.empty();
  if (run.opts.headless) setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (!choose_video_driver()) {
    std::fprintf(stderr, "vorn: no X display is available (DISPLAY is not set); --headless runs without one\n");
    return 1;
  }
  frame_proc frame = playing ? playing_frame : recording ? recording_frame : counted_frame;
  event_proc event = recording ? recording_event : game_event;
  if (!open_window(screenx, screeny, 32, run.opts.fullscreen && !run.opts.headless, game_caption, frame, event,
                   run.opts.scale)) {
    return 1;
  }
  if (playing && (screen_w != run.demo.screen_w || screen_h != run.demo.screen_h)) {
    std::fprintf(stderr, "vorn: demo %s was recorded at %d x %d, but the window opened at %d x %d\n",
                 run.opts.play_file.c_str(), run.demo.screen_w, run.demo.screen_h, screen_w, screen_h);
    return 2;
  }
  // A pad plays live games only: replays feed their own events.
  if (!run.opts.headless && !playing) open_gamepad();
  caption_stats = true;
  frame_cap = run.opts.max_fps > 0 ? run.opts.max_fps : 60000;
  game_reset(false);
  if (!run.opts.no_sound && (!run.opts.headless || run.opts.sound)) start_sound(run.opts.volume);
  if (recording && !run.recorder.open(run.opts.record_file)) {
    std::fprintf(stderr, "vorn: cannot write demo %s\n", run.opts.record_file.c_str());
    return 1;
  }
  if (!run.opts.export_dir.empty() && !begin_frame_export(run.opts.export_dir, run.opts.export_every)) return 1;
  frame_hooks hooks;
  hooks.another_frame = another_frame;
  // Fixed frame times and replays run flat out, unless --max-fps paces them.
  if ((run.opts.fixed_dt > 0 || playing) && run.opts.max_fps <= 0) hooks.clock = &unlimited_clock;
  if (run.opts.fixed_dt > 0) hooks.frame_times = fixed_frame_times;
  if (playing) {
    hooks.pump = playing_pump;
    hooks.frame_times = playing_frame_times;
  }
  if (run.opts.timedemo) reset_timedemo(static_cast<int64_t>(run.demo.frames.size()));
  on_window_lost = end_after_lost_window;
  begin_frame_loop(hooks);
  return 0;
}

// Everything after the last frame; the run's exit code.
int finish_run() {
  const bool playing = !run.opts.play_file.empty();
  const bool recording = !run.opts.record_file.empty();
  stop_sound();
  if (run.opts.timedemo) timedemo_finish();
  int code = exit_code;
  if (playing) code = frame_export.failed ? 1 : finish_playing();
  // A frame that a stop abandoned left the world half-stepped: the demo ends
  // at its last checksum, as a killed game's would.
  if (recording && frame_abandoned()) {
    run.recorder.abandon();
  } else if (recording && !run.recorder.close(run.frames_done)) {
    std::fprintf(stderr, "vorn: cannot write demo %s\n", run.opts.record_file.c_str());
    return 1;
  }
  if (run.opts.timedemo) std::fputs(timedemo_report().c_str(), stdout);
  if (run.opts.summary && code == 0 && !frame_abandoned()) print_summary();
  return code;
}

int configure() {
  if (!run.opts.play_file.empty()) {
    std::string error;
    if (!read_demo(error)) {
      std::fprintf(stderr, "vorn: demo %s: %s\n", run.opts.play_file.c_str(), error.c_str());
      return 2;
    }
    apply_config_text(run.demo.settings);
    rules_version = run.demo.version;
    screenx = run.demo.screen_w;
    screeny = run.demo.screen_h;
    return 0;
  }
  const std::string file = run.opts.config_named ? run.opts.config_file : default_config_file();
  if (file.empty()) return 0;
  run.config = load_config(file, run.opts.config_named);
  // --write-config must not replace a file whose settings it could not read.
  if (!run.config.ok || (run.opts.write_config && !run.config.message.empty())) {
    std::fprintf(stderr, "vorn: %s\n", run.config.message.c_str());
    return 1;
  }
  if (!run.config.message.empty()) std::fprintf(stderr, "vorn: %s\n", run.config.message.c_str());
  if (run.config.read) run.config_file = file;
  return 0;
}

// --print-config: the settings on standard output, and on standard error
// which file they came from. Standard output redirected into that very file
// (same device and inode) was emptied by the shell before the game could
// read it: printing the defaults there would pass them off as the user's
// settings.
int print_settings() {
  struct stat out {};
  if (run.config.read && fstat(STDOUT_FILENO, &out) == 0 && static_cast<uint64_t>(out.st_dev) == run.config.device &&
      static_cast<uint64_t>(out.st_ino) == run.config.inode) {
    std::fprintf(stderr,
                 "vorn: standard output is %s, the configuration file being read: a shell redirection with '>' "
                 "empties it before the game reads it, so nothing is printed into it (vorn --write-config "
                 "writes the settings into their file)\n",
                 run.config_file.c_str());
    return 1;
  }
  if (run.config.read) {
    std::fprintf(stderr, "vorn: settings read from %s\n", run.config_file.c_str());
  } else if (run.opts.play_file.empty()) {
    const std::string user = user_config_file();
    std::fprintf(stderr,
                 "vorn: no configuration file read (looked for %s in the working directory%s%s); "
                 "these are the defaults\n",
                 config_file_name, user.empty() ? "" : " and ", user.c_str());
  }
  std::fputs(format_config().c_str(), stdout);
  return 0;
}

// --write-config: the settings in effect into the file named, else the file
// they were read from, else the user's file in the desktop's configuration
// folder (made when missing), else, without a home, the working directory's.
int write_settings() {
  std::string target = run.opts.write_config_file;
  if (target.empty()) target = run.config_file;
  if (target.empty()) {
    target = user_config_file();
    if (target.empty()) {
      target = config_file_name;
    } else if (const int err = make_user_config_folder(target)) {
      std::fprintf(stderr, "vorn: cannot make the folder of %s: %s\n", target.c_str(), std::strerror(err));
      return 1;
    }
  }
  if (const int err = write_config_file(target)) {
    std::fprintf(stderr, "vorn: cannot write the settings to %s: %s (the file is as it was)\n", target.c_str(),
                 std::strerror(err));
    return 1;
  }
  std::printf("vorn: settings written to %s\n", target.c_str());
  return 0;
}

// The font and the background live until the run ends; they are released
// on the way out, so that leak checkers see a clean exit.
void release_resources() {
  release_background();
  release_images();
  reset_workers();
}

// Runs `step`, turning an exception out of it into a message and exit code 1.
template <typename F>
int guarded(F step) {
  try {
    return step();
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "vorn: out of memory (a setting may ask for more than this machine has)\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorn: error: %s\n", e.what());
  }
  return 1;
}

// Options, the vector kernels and threads, the font, the configuration or
// the demo, then the start of the frames.
int begin_checked(int argc, char** argv) {
  reset_run();
  std::string error;
  if (!parse_options(argc, argv, run.opts, error)) {
    std::fprintf(stderr, "vorn: %s\n%s", error.c_str(), try_help_line);
    return 2;
  }
  if (run.opts.help) {
    std::fputs(usage_text().c_str(), stdout);
    return 0;
  }
  if (run.opts.version) {
    std::fputs(version_text().c_str(), stdout);
    return 0;
  }
  // The vector kernels (VORN_ISA may force a set) and the worker threads.
  if (!select_isa_from(std::getenv("VORN_ISA"), error)) {
    std::fprintf(stderr, "vorn: %s\n", error.c_str());
    return 1;
  }
  set_thread_count(run.opts.threads > 0 ? static_cast<int32_t>(run.opts.threads) : default_thread_count());
  return guarded([] {
    load_font();
    if (const int code = configure(); code != 0) return code;
    if (run.opts.write_config) {
      if (const int code = write_settings(); code != 0 || !run.opts.print_config) return code;
    }
    if (run.opts.print_config) return print_settings();
    const int code = start_run();
    return code != 0 ? code : run_continues;
  });
}

}  // namespace

int begin_run(int argc, char** argv) {
  const int code = begin_checked(argc, argv);
  if (code != run_continues) release_resources();
  return code;
}

bool run_pass() {
  if (run.failed_code != 0) return false;
  bool more = false;
  run.failed_code = guarded([&more] {
    more = frame_loop_pass();
    return 0;
  });
  return more && run.failed_code == 0;
}

int end_run() {
  const int code = run.failed_code != 0 ? run.failed_code : guarded(finish_run);
  release_resources();
  return code;
}

run_report last_run_report() { return {run.frames_done, run.departed_at}; }

int run_game(int argc, char** argv) {
  catch_stop_signals();
  const int code = begin_run(argc, argv);
  if (code != run_continues) return code;
  while (run_pass()) {
  }
  return end_run();
}

}  // namespace vorn
