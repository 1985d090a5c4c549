// Parsing the command line.
#include "app/options.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "base/real_text.h"

namespace vorn {

namespace {

bool read_count(const char* text, int64_t& out) {
  const char* end = text + std::strlen(text);
  const auto res = std::from_chars(text, end, out);
  return res.ec == std::errc() && res.ptr == end && out >= 0;
}

bool read_seconds(const char* text, double& out) {
  const char* end = text + std::strlen(text);
  const auto res = real_from_chars(text, end, out);
  return res.ec == std::errc() && res.ptr == end && std::isfinite(out) && out > 0;
}

bool read_whole(const char* text, int64_t low, int64_t high, int64_t& out) {
  return read_count(text, out) && out >= low && out <= high;
}

}  // namespace

bool parse_options(int argc, char** argv, options& out, std::string& error) {
  out = options{};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char*& v) {
      if (i + 1 >= argc) {
        error = "option " + arg + " needs a value";
        return false;
      }
      v = argv[++i];
      return true;
    };
    const char* v = nullptr;
    if (arg == "--help" || arg == "-h") {
      out.help = true;
    } else if (arg == "--version") {
      out.version = true;
    } else if (arg == "--print-config") {
      out.print_config = true;
    } else if (arg == "--write-config") {
      out.write_config = true;
      // FILE is optional: the next argument, unless it is an option.
      if (i + 1 < argc && argv[i + 1][0] != '-') {
        out.write_config_file = argv[++i];
        if (out.write_config_file.empty()) {
          error = "--write-config takes a file name, not an empty one";
          return false;
        }
      }
    } else if (arg == "--headless") {
      out.headless = true;
    } else if (arg == "--fullscreen") {
      out.fullscreen = true;
    } else if (arg == "--summary") {
      out.summary = true;
    } else if (arg == "--config") {
      if (!value(v)) return false;
      out.config_file = v;
      out.config_named = true;
    } else if (arg == "--frames") {
      if (!value(v)) return false;
      if (!read_count(v, out.frames)) {
        error = "--frames takes a whole number of frames, 0 or more, not '" + std::string(v) + "'";
        return false;
      }
    } else if (arg == "--fixed-dt") {
      if (!value(v)) return false;
      if (!read_seconds(v, out.fixed_dt)) {
        error = "--fixed-dt takes a time in seconds above 0, not '" + std::string(v) + "'";
        return false;
      }
    } else if (arg == "--record") {
      if (!value(v)) return false;
      out.record_file = v;
    } else if (arg == "--play") {
      if (!value(v)) return false;
      out.play_file = v;
    } else if (arg == "--threads") {
      if (!value(v)) return false;
      if (!read_count(v, out.threads) || out.threads < 1) {
        error = "--threads takes a whole number of threads, 1 or more, not '" + std::string(v) + "'";
        return false;
      }
    } else if (arg == "--no-sound") {
      out.no_sound = true;
    } else if (arg == "--sound") {
      out.sound = true;
    } else if (arg == "--volume") {
      if (!value(v)) return false;
      int64_t volume = 0;
      if (!read_count(v, volume) || volume > 100) {
        error = "--volume takes a whole number from 0 to 100, not '" + std::string(v) + "'";
        return false;
      }
      out.volume = static_cast<int32_t>(volume);
    } else if (arg == "--scale" || arg == "--max-fps" || arg == "--export-every") {
      if (!value(v)) return false;
      int64_t n = 0;
      const bool scale = arg == "--scale";
      if (!read_whole(v, 1, scale ? 8 : arg == "--max-fps" ? 1000000 : INT32_MAX, n)) {
        error = arg + (scale ? " takes a whole number from 1 to 8" : " takes a whole number above 0") + ", not '" +
                std::string(v) + "'";
        return false;
      }
      if (scale) out.scale = static_cast<int32_t>(n);
      if (arg == "--max-fps") out.max_fps = static_cast<int32_t>(n);
      if (arg == "--export-every") out.export_every = n;
    } else if (arg == "--export-frames") {
      if (!value(v)) return false;
      out.export_dir = v;
    } else if (arg == "--timedemo") {
      out.timedemo = true;
    } else {
      error = "unknown option '" + arg + "'";
      return false;
    }
  }
  if (out.no_sound && out.sound) {
    error = "--sound and --no-sound cannot be used together";
    return false;
  }
  if (!out.record_file.empty() && !out.play_file.empty()) {
    error = "--record and --play cannot be used together";
    return false;
  }
  if (!out.export_dir.empty() && out.play_file.empty()) {
    error = "--export-frames needs --play FILE";
    return false;
  }
  if (out.write_config && !out.play_file.empty()) {
    error = "--write-config writes the configuration's settings, not a demo's (--print-config shows those)";
    return false;
  }
  if (out.timedemo && out.play_file.empty()) {
    error = "--timedemo times a demo: it needs --play FILE";
    return false;
  }
  return true;
}

std::string usage_text() {
  return "Usage: vorn [OPTION]...\n"
         "A soft-body space shooter: break the enemy darts apart, then reach the\n"
         "station's core with your beam.\n"
         "\n"
         "Options:\n"
         "  --config FILE     read the settings from FILE instead of vorn_config.txt\n"
         "                    (the working directory's, else the one in ~/.config/vorn)\n"
         "  --print-config    print every setting in effect as key=value and exit\n"
         "  --write-config [FILE]  write every setting in effect into FILE, by default\n"
         "                    the file read (else ~/.config/vorn/vorn_config.txt), and exit\n"
         "  --headless        run without a window (SDL's dummy video driver)\n"
         "  --frames N        end normally after N frames (0: build the world and end)\n"
         "  --fixed-dt S      give every frame the time S seconds instead of the measured one\n"
         "  --summary         at the end, print one JSON line describing the world\n"
         "  --record FILE     record a demo of this game into FILE\n"
         "  --play FILE       replay the demo FILE and check that it plays out the same\n"
         "  --threads N       share the drawing and the work of large crowds among N\n"
         "                    threads (default: the processors, at most 8; 1: the\n"
         "                    game's own thread only)\n"
         "  --no-sound        play without sound\n"
         "  --sound           play sound in a --headless run too\n"
         "  --volume N        sound volume from 0 to 100 (default 70)\n"
         "  --scale N         show every pixel as an N x N block (1 to 8; default 1)\n"
         "  --fullscreen      start in fullscreen (F11 or Alt+Enter switches)\n"
         "  --max-fps N       run at most N frames per second, sleeping in between\n"
         "  --export-frames DIR  with --play: write each frame as DIR/frame-NNNNNN.png\n"
         "  --export-every K  with --export-frames: keep only every K-th frame\n"
         "  --timedemo        with --play: replay as fast as possible and print the timing\n"
         "  --help            show this help and exit\n"
         "  --version         show the version and exit\n"
         "\n"
         "Controls:\n"
         "  mouse             turn the ship towards the pointer\n"
         "  button 1 (held)   fire\n"
         "  w or Up           thrust forwards      s or Down   thrust backwards\n"
         "  Space, Left Ctrl  pause               r           respawn (spends a life)\n"
         "  p                 screenshot (BMP)    d           debug view\n"
         "  m                 plain or smooth lines  n           sound off and on\n"
         "  Enter             restart after Game Over, exit after Victory\n"
         "  F11, Alt+Enter    fullscreen or window\n"
         "  Escape            quit\n"
         "  gamepad           left stick aims, right trigger fires, left trigger or A\n"
         "                    thrusts, B reverses, Start pauses, Back is Enter\n"
         "\n"
         "Exit status: 0 on a normal end, 1 on a start-up or run-time failure,\n"
         "2 on a bad command line or a damaged demo, 3 when a demo does not replay.\n";
}

std::string version_text() { return "vorn 110520\n"; }

}  // namespace vorn
