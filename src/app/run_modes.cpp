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
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/commands.h"
#include "app/demo.h"
#include "app/demo_recorder.h"
#include "app/demo_replay.h"
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
#include "base/printable.h"
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
  input_proc input = nullptr;
  int64_t frames_done = 0;
  demo_recorder recorder;
  // Playing.
  demo_replay replay;
  bool demo_quit = false;  // the demo's own events ended the game before its last frame
  std::string shown_name;  // the demo's name as messages show it
  // A run whose frames stopped on an error ends with this code.
  int failed_code = 0;
  // Between a recorded frame's start and its checksum.
  bool in_recorded_frame = false;
  // The configuration file read, if any.
  config_status config;
  std::string config_file;
};
std::unique_ptr<run_state> run;

// What the last run played, kept after its state is gone.
run_report last_report;

// Each run starts as a fresh process would: a browser page runs one game
// after another in the same process, and so do the tests.
void reset_run(input_proc input) {
  run = std::make_unique<run_state>();
  run->input = input;
  reset_session();
  // SDL too, so that this run's window opens as the first did (SDL would
  // otherwise take the last window for the desktop's size).
  close_window();
  reset_window_state();
  reset_sound_state();
  reset_timers();
  reset_frame_export();
}

// --- frame hooks ------------------------------------------------------------

// Every frame a run hands to the game is counted (already while it runs:
// the end after a lost window counts on it), unless a stop abandoned it.
void counted_frame(double dt, double t) {
  run->frames_done += 1;
  game_frame(dt, t);
  if (frame_abandoned()) run->frames_done -= 1;
}

bool another_frame() {
  if (run->opts.frames >= 0 && run->frames_done >= run->opts.frames) return false;
  if (!run->opts.play_file.empty() && run->frames_done >= run->replay.frames()) return false;
  return true;
}

void fixed_frame_times(double& dt, double& t) {
  dt = run->opts.fixed_dt;
  t = static_cast<double>(run->frames_done + 1) * run->opts.fixed_dt;
}

int64_t no_wait_read(int64_t, int64_t) { return timer_us(0); }
int64_t read_timer() { return timer_us(0); }
const frame_clock unlimited_clock{no_wait_read, read_timer};

// The window's events, after whatever the caller puts into its queue.
void input_pump() {
  run->input(run->frames_done);
  poll_events();
}

// --- recording ----------------------------------------------------------------

void recording_event(int32_t kind, int32_t x, int32_t y, int32_t key, uint16_t state) {
  run->recorder.event({kind, x, y, key, state});
  game_event(kind, x, y, key, state);
}

void recording_frame(double dt, double t) {
  run->recorder.frame(dt, t);
  run->in_recorded_frame = true;
  counted_frame(dt, t);
  if (!frame_abandoned()) run->recorder.after_frame(run->frames_done);
  run->in_recorded_frame = false;
}

// --- playing ------------------------------------------------------------------

// The viewer ends a replay by closing the window or with Escape (or a
// signal, which SDL turns into a close); the demo's events go to the game.
void playing_pump() {
  if (run->input) run->input(run->frames_done);
  if (discard_window_events()) request_exit(0);
  demo_event e;
  while (!exit_requested && run->replay.next_event(e)) {
    game_event(e.kind, e.x, e.y, e.key, e.state);
    run->demo_quit = exit_requested;
  }
  if (run->replay.failed()) request_exit(2);
  present();
}

void playing_frame_times(double& dt, double& t) {
  dt = run->replay.dt();
  t = run->replay.t();
}

void playing_frame(double dt, double t) {
  if (run->opts.timedemo) timedemo_frame_start();
  counted_frame(dt, t);
  if (frame_abandoned()) return;
  if (!run->replay.after_frame(state_checksum)) request_exit(run->replay.departed() ? 3 : 2);
  if (!export_frame(run->frames_done)) request_exit(1);
}

const char* demo_name() { return run->shown_name.c_str(); }

int demo_failed() {
  std::fprintf(stderr, "vorn: demo %s: %s\n", demo_name(), run->replay.failure().c_str());
  return 2;
}

int demo_departed() {
  const demo_replay& r = run->replay;
  std::fprintf(stderr, "vorn: demo %s departs from its recording at frame %lld (checksum %s, recorded %s)\n",
               demo_name(), static_cast<long long>(r.departure_frame()), checksum_hex(r.departure_checksum()).c_str(),
               checksum_hex(r.recorded_checksum()).c_str());
  return 3;
}

// How a replay ended: a departure, a failure, the demo's own end, a stop by
// the viewer before it, or the last checksum of a cut demo; after the last
// frame of a whole demo, the events that ended the recorded game, then the
// end checksum.
int finish_playing() {
  demo_replay& r = run->replay;
  if (r.failed()) return demo_failed();
  if (r.departed()) return demo_departed();
  const long long played = run->frames_done, total = r.frames();
  if (played < total) {
    if (run->demo_quit) {
      std::fprintf(stderr, "vorn: demo %s ended after %lld of its %lld frames\n", demo_name(), played, total);
      return 3;
    }
    if (run->opts.frames >= 0 && played >= run->opts.frames) return 0;
    const int64_t matched = r.checks_matched();
    const std::string checks = matched == 0   ? "no checksum was due yet"
                               : matched == 1 ? "the one checksum so far matched"
                                              : "all " + std::to_string(matched) + " checksums so far matched";
    std::fprintf(stderr, "vorn: demo %s stopped after %lld of its %lld frames; %s\n", demo_name(), played, total,
                 checks.c_str());
    return 0;
  }
  if (!r.complete()) {
    std::fprintf(stderr, "vorn: demo %s ends early (no end record): %lld frames played and checked\n", demo_name(),
                 played);
    return 0;
  }
  exit_requested = false;
  demo_event e;
  while (r.next_event(e)) {
    if (!exit_requested) game_event(e.kind, e.x, e.y, e.key, e.state);
  }
  if (!r.check_end(state_checksum)) return r.failed() ? demo_failed() : demo_departed();
  return 0;
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
      static_cast<long long>(run->frames_done), nodes.size(), static_cast<long long>(nodes_alive), links.size(),
      static_cast<long long>(links_alive), static_cast<long long>(links_burning), ships.size(),
      static_cast<long long>(particles_alive), lives, game_over ? "true" : "false", victory ? "true" : "false",
      checksum_hex(state_checksum()).c_str());
}

// The window went away from outside (or the display with it): the run ends
// as after a close request, here and now, since nothing may return into SDL
// or Xlib. The frame being recorded, if any, had drawn and presented, so its
// checksum is due.
[[noreturn]] void end_after_lost_window() {
  if (run->in_recorded_frame) run->recorder.after_frame(run->frames_done);
  if (run->opts.play_file.empty()) {
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
  const options& opts = run->opts;
  const bool playing = !opts.play_file.empty();
  const bool recording = !opts.record_file.empty();
  if (opts.headless) setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (!choose_video_driver()) {
    std::fprintf(stderr, "vorn: no X display is available (DISPLAY is not set); --headless runs without one\n");
    return 1;
  }
  // The file is taken before the window opens: a second game recording
  // into it is refused before it shows anything.
  if (recording && !run->recorder.claim(opts.record_file)) return 1;
  frame_proc frame = playing ? playing_frame : recording ? recording_frame : counted_frame;
  event_proc event = recording ? recording_event : game_event;
  if (!open_window(screenx, screeny, 32, opts.fullscreen && !opts.headless, game_caption, frame, event, opts.scale)) {
    return 1;
  }
  const demo_head& head = run->replay.head();
  if (playing && (screen_w != head.screen_w || screen_h != head.screen_h)) {
    std::fprintf(stderr, "vorn: demo %s was recorded at %d x %d, but the window opened at %d x %d\n", demo_name(),
                 head.screen_w, head.screen_h, screen_w, screen_h);
    return 2;
  }
  // A pad plays live games only: replays feed their own events.
  if (!opts.headless && !playing) open_gamepad();
  caption_stats = true;
  frame_cap = opts.max_fps > 0 ? opts.max_fps : 60000;
  screenshots_enabled = !playing || opts.screenshots;
  game_reset(false);
  if (!opts.no_sound && (!opts.headless || opts.sound)) start_sound(opts.volume);
  if (recording && !run->recorder.begin()) return 1;
  if (!opts.export_dir.empty() && !begin_frame_export(opts.export_dir, opts.export_every)) return 1;
  frame_hooks hooks;
  hooks.another_frame = another_frame;
  // Fixed frame times and replays run flat out, unless --max-fps paces them.
  if ((opts.fixed_dt > 0 || playing) && opts.max_fps <= 0) hooks.clock = &unlimited_clock;
  if (opts.fixed_dt > 0) hooks.frame_times = fixed_frame_times;
  if (run->input) hooks.pump = input_pump;
  if (playing) {
    hooks.pump = playing_pump;
    hooks.frame_times = playing_frame_times;
  }
  if (opts.timedemo) reset_timedemo(run->replay.frames());
  on_window_lost = end_after_lost_window;
  begin_frame_loop(hooks);
  return 0;
}

// Everything after the last frame; the run's exit code.
int finish_run() {
  const options& opts = run->opts;
  const bool playing = !opts.play_file.empty();
  const bool recording = !opts.record_file.empty();
  stop_sound();
  if (opts.timedemo) timedemo_finish();
  int code = exit_code;
  if (playing) code = frame_export.failed ? 1 : finish_playing();
  // A frame that a stop abandoned left the world half-stepped: the demo ends
  // at its last checksum, as a killed game's would.
  if (recording && frame_abandoned()) {
    run->recorder.abandon();
  } else if (recording && !run->recorder.close(run->frames_done) && code == 0) {
    code = 1;
  }
  if (opts.timedemo) std::fputs(timedemo_report().c_str(), stdout);
  if (opts.summary && code == 0 && !frame_abandoned()) print_summary();
  return code;
}

int configure() {
  const options& opts = run->opts;
  if (!opts.play_file.empty()) {
    std::string error;
    run->shown_name = printable(opts.play_file);
    if (!run->replay.open(opts.play_file, error)) {
      std::fprintf(stderr, "vorn: demo %s: %s\n", demo_name(), error.c_str());
      return 2;
    }
    const demo_head& head = run->replay.head();
    apply_config_text(head.settings);
    rules_version = head.version;
    screenx = head.screen_w;
    screeny = head.screen_h;
    return 0;
  }
  const std::string file = opts.config_named ? opts.config_file : default_config_file();
  if (file.empty()) return 0;
  run->config = load_config(file, opts.config_named);
  // --write-config must not replace a file whose settings it could not read.
  if (!run->config.ok || (opts.write_config && !run->config.message.empty())) {
    std::fprintf(stderr, "vorn: %s\n", run->config.message.c_str());
    return 1;
  }
  if (!run->config.message.empty()) std::fprintf(stderr, "vorn: %s\n", run->config.message.c_str());
  if (run->config.read) run->config_file = file;
  return 0;
}

// --print-config: the settings on standard output, and on standard error
// which file they came from. Standard output redirected into that very file
// (same device and inode) was emptied by the shell before the game could
// read it: printing the defaults there would pass them off as the user's
// settings.
int print_settings() {
  struct stat out {};
  if (run->config.read && fstat(STDOUT_FILENO, &out) == 0 && static_cast<uint64_t>(out.st_dev) == run->config.device &&
      static_cast<uint64_t>(out.st_ino) == run->config.inode) {
    std::fprintf(stderr,
                 "vorn: standard output is %s, the configuration file being read: a shell redirection with '>' "
                 "empties it before the game reads it, so nothing is printed into it (vorn --write-config "
                 "writes the settings into their file)\n",
                 printable(run->config_file).c_str());
    return 1;
  }
  if (run->config.read) {
    std::fprintf(stderr, "vorn: settings read from %s\n", printable(run->config_file).c_str());
  } else if (run->opts.play_file.empty()) {
    const std::string user = printable(user_config_file());
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
  std::string target = run->opts.write_config_file;
  if (target.empty()) target = run->config_file;
  if (target.empty()) {
    target = user_config_file();
    if (target.empty()) {
      target = config_file_name;
    } else if (const int err = make_user_config_folder(target)) {
      std::fprintf(stderr, "vorn: cannot make the folder of %s: %s\n", printable(target).c_str(), std::strerror(err));
      return 1;
    }
  }
  const std::string shown = printable(target);
  if (const int err = write_config_file(target)) {
    std::fprintf(stderr, "vorn: cannot write the settings to %s: %s (the file is as it was)\n", shown.c_str(),
                 std::strerror(err));
    return 1;
  }
  std::printf("vorn: settings written to %s\n", shown.c_str());
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
int begin_checked(int argc, char** argv, input_proc input) {
  reset_run(input);
  const options& opts = run->opts;
  std::string error;
  if (!parse_options(argc, argv, run->opts, error)) {
    std::fprintf(stderr, "vorn: %s\n%s", error.c_str(), try_help_line);
    return 2;
  }
  if (opts.help) {
    std::fputs(usage_text().c_str(), stdout);
    return 0;
  }
  if (opts.version) {
    std::fputs(version_text().c_str(), stdout);
    return 0;
  }
  // The vector kernels (VORN_ISA may force a set) and the worker threads.
  if (!select_isa_from(std::getenv("VORN_ISA"), error)) {
    std::fprintf(stderr, "vorn: %s\n", error.c_str());
    return 1;
  }
  set_thread_count(opts.threads > 0 ? static_cast<int32_t>(opts.threads) : default_thread_count());
  return guarded([&opts] {
    load_font();
    if (const int code = configure(); code != 0) return code;
    if (opts.write_config) {
      if (const int code = write_settings(); code != 0 || !opts.print_config) return code;
    }
    if (opts.print_config) return print_settings();
    const int code = start_run();
    return code != 0 ? code : run_continues;
  });
}

// The run's state goes with it (closing its files); its report stays.
int release_run(int code) {
  last_report.frames = run->frames_done;
  last_report.departed_at = run->replay.departed() ? run->replay.departure_frame() : -1;
  run.reset();
  release_resources();
  return code;
}

}  // namespace

int begin_run(int argc, char** argv, input_proc input) {
  const int code = begin_checked(argc, argv, input);
  return code != run_continues ? release_run(code) : code;
}

bool run_pass() {
  if (run->failed_code != 0) return false;
  bool more = false;
  run->failed_code = guarded([&more] {
    more = frame_loop_pass();
    return 0;
  });
  return more && run->failed_code == 0;
}

int end_run() { return release_run(run->failed_code != 0 ? run->failed_code : guarded(finish_run)); }

run_report last_run_report() { return last_report; }

int run_game(int argc, char** argv, input_proc input) {
  catch_stop_signals();
  int code = begin_run(argc, argv, input);
  if (code == run_continues) {
    while (run_pass()) {
    }
    code = end_run();
  }
  close_window();
  return code;
}

}  // namespace vorn
