// The option table and the parser it drives: each option's value is read by
// its kind and range, so that a refusal always names what would be taken.
#include "app/options.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "base/real_text.h"
#include "base/workers.h"

namespace vorn {

namespace {

const option_spec table[] = {
    {"--config", nullptr, "FILE", option_value::text, 0, 0, false,
     [](options& o, const option_argument& a) {
       o.config_file = a.text;
       o.config_named = true;
     },
     "read the settings from FILE instead of vorn_config.txt (the working directory's, else the one in "
     "~/.config/vorn)",
     "A file named here must exist and be readable; the default vorn_config.txt may be absent."},
    {"--print-config", nullptr, nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.print_config = true; },
     "print every setting in effect as key=value and exit", ""},
    {"--write-config", nullptr, "[FILE]", option_value::optional_text, 0, 0, false,
     [](options& o, const option_argument& a) {
       o.write_config = true;
       if (a.text != nullptr) o.write_config_file = a.text;
     },
     "write every setting in effect into FILE, by default the file read (else "
     "~/.config/vorn/vorn_config.txt), and exit",
     ""},
    {"--headless", nullptr, nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.headless = true; },
     "run without a window (SDL's dummy video driver)", "Such a run is silent unless --sound is given."},
    {"--frames", nullptr, "N", option_value::whole, 0, INT64_MAX, false,
     [](options& o, const option_argument& a) { o.frames = a.whole; },
     "end normally after N frames (0: build the world and end)", ""},
    {"--fixed-dt", nullptr, "S", option_value::seconds, 0, 0, false,
     [](options& o, const option_argument& a) { o.fixed_dt = a.seconds; },
     "give every frame the time S seconds instead of the measured one",
     "Such a run goes as fast as it can, unless --max-fps paces it."},
    {"--summary", nullptr, nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.summary = true; },
     "at the end, print one JSON line describing the world", ""},
    {"--record", nullptr, "FILE", option_value::text, 0, 0, false,
     [](options& o, const option_argument& a) { o.record_file = a.text; }, "record a demo of this game into FILE",
     "One game at a time records into a file: a second one is refused before it plays. A write that fails (a "
     "full disk) stops the recording with a message; the game plays on and ends with status 1."},
    {"--play", nullptr, "FILE", option_value::text, 0, 0, false,
     [](options& o, const option_argument& a) { o.play_file = a.text; },
     "replay the demo FILE and check that it plays out the same",
     "A replay goes as fast as it can, unless --max-fps paces it. Only a regular file is read. Escape, closing "
     "the window, Ctrl-C or SIGTERM stop it with status 0 and a line saying how far it got."},
    {"--timedemo", nullptr, nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.timedemo = true; },
     "with --play: replay as fast as possible and print the timing",
     "The timing is one line: the frames, the seconds, the frames per second and the shortest, median and "
     "longest frame in microseconds."},
    {"--screenshots", nullptr, nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.screenshots = true; },
     "with --play: the demo's screenshot key takes screenshots", "A replay takes none otherwise."},
    {"--export-frames", nullptr, "DIR", option_value::text, 0, 0, false,
     [](options& o, const option_argument& a) { o.export_dir = a.text; },
     "with --play: write each frame as DIR/frame-NNNNNN.png", ""},
    {"--export-every", nullptr, "K", option_value::whole, 1, INT32_MAX, false,
     [](options& o, const option_argument& a) {
       o.export_every = a.whole;
       o.export_every_given = true;
     },
     "with --export-frames: keep only every K-th frame", ""},
    {"--threads", nullptr, "N", option_value::whole, 1, max_threads, true,
     [](options& o, const option_argument& a) { o.threads = a.whole; },
     "share the drawing and the work of large crowds among N threads (default: the processors, at most 8; "
     "more than 8 counts as 8)",
     "Every thread count plays the same game. A thread that would bring nothing, as on a machine whose "
     "processors are busy, is left out."},
    {"--scale", nullptr, "N", option_value::whole, 1, 8, false,
     [](options& o, const option_argument& a) { o.scale = static_cast<int32_t>(a.whole); },
     "show every pixel as an N x N block (1 to 8; default 1)",
     "If the window does not fit the desktop's work area, the largest scale that fits is used, with a note."},
    {"--fullscreen", nullptr, nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.fullscreen = true; },
     "start in fullscreen (F11 or Alt+Enter switches)", ""},
    {"--max-fps", nullptr, "N", option_value::whole, 1, 1000000, false,
     [](options& o, const option_argument& a) { o.max_fps = static_cast<int32_t>(a.whole); },
     "run at most N frames per second (1 to 1000000), sleeping in between", ""},
    {"--no-sound", nullptr, nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.no_sound = true; }, "play without sound", ""},
    {"--sound", nullptr, nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.sound = true; }, "play sound in a --headless run too", ""},
    {"--volume", nullptr, "N", option_value::whole, 0, 100, false,
     [](options& o, const option_argument& a) { o.volume = static_cast<int32_t>(a.whole); },
     "sound volume from 0 to 100 (default 70)", ""},
    {"--help", "-h", nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.help = true; }, "show this help and exit", ""},
    {"--version", nullptr, nullptr, option_value::none, 0, 0, false,
     [](options& o, const option_argument&) { o.version = true; },
     "show the version and exit", ""},
};

bool all_digits(const char* text) {
  if (*text == '\0') return false;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
  }
  return true;
}

// Digits only. A number too long for 64 bits sets `too_long` instead.
bool read_whole(const char* text, int64_t& out, bool& too_long) {
  if (!all_digits(text)) return false;
  const char* end = text + std::strlen(text);
  const auto res = std::from_chars(text, end, out);
  too_long = res.ec == std::errc::result_out_of_range;
  return res.ptr == end;
}

bool read_seconds(const char* text, double& out) {
  const char* end = text + std::strlen(text);
  const auto res = real_from_chars(text, end, out);
  return res.ec == std::errc() && res.ptr == end && std::isfinite(out) && out > 0;
}

// "a whole number from 1 to 8", "... 1 or more (more than 8 counts as 8)".
std::string range_text(const option_spec& s) {
  std::string text = "a whole number ";
  if (s.above_counts_as_high) {
    return text + std::to_string(s.low) + " or more (more than " + std::to_string(s.high) + " counts as " +
           std::to_string(s.high) + ")";
  }
  return text + "from " + std::to_string(s.low) + " to " + std::to_string(s.high);
}

// Reads the value of option s; false with the reason when it is refused.
bool read_value(const option_spec& s, const char* text, option_argument& a, std::string& error) {
  a.text = text;
  switch (s.kind) {
    case option_value::none: return true;
    case option_value::text:
    case option_value::optional_text:
      if (text == nullptr || *text != '\0') return true;
      error = std::string(s.name) + (std::strcmp(s.value, "DIR") == 0 ? " takes a folder name" : " takes a file name") +
              ", not an empty one";
      return false;
    case option_value::whole: {
      bool too_long = false;
      const bool number = read_whole(text, a.whole, too_long);
      if (number && s.above_counts_as_high && (too_long || a.whole > s.high)) {
        a.whole = s.high;
        too_long = false;
      }
      if (number && !too_long && a.whole >= s.low && a.whole <= s.high) return true;
      error = std::string(s.name) + " takes " + range_text(s) + ", not '" + text + "'";
      return false;
    }
    case option_value::seconds:
      if (read_seconds(text, a.seconds)) return true;
      error = std::string(s.name) + " takes a time in seconds above 0, not '" + text + "'";
      return false;
  }
  return false;
}

const option_spec* find_option(const char* arg) {
  for (const option_spec& s : table) {
    if (std::strcmp(arg, s.name) == 0 || (s.alias != nullptr && std::strcmp(arg, s.alias) == 0)) return &s;
  }
  return nullptr;
}

// The options that only make sense with another.
bool check_combinations(const options& o, std::string& error) {
  if (o.no_sound && o.sound) {
    error = "--sound and --no-sound cannot be used together";
  } else if (!o.record_file.empty() && !o.play_file.empty()) {
    error = "--record and --play cannot be used together";
  } else if (!o.export_dir.empty() && o.play_file.empty()) {
    error = "--export-frames needs --play FILE";
  } else if (o.export_every_given && o.export_dir.empty()) {
    error = "--export-every needs --export-frames DIR";
  } else if (o.write_config && !o.play_file.empty()) {
    error = "--write-config writes the configuration's settings, not a demo's (--print-config shows those)";
  } else if (o.timedemo && o.play_file.empty()) {
    error = "--timedemo times a demo: it needs --play FILE";
  } else if (o.screenshots && o.play_file.empty()) {
    error = "--screenshots is for replays (a game always takes them): it needs --play FILE";
  } else {
    return true;
  }
  return false;
}

}  // namespace

std::span<const option_spec> option_table() { return table; }

bool parse_options(int argc, char** argv, options& out, std::string& error) {
  out = options{};
  for (int i = 1; i < argc; ++i) {
    const option_spec* s = find_option(argv[i]);
    if (s == nullptr) {
      error = std::string("unknown option '") + argv[i] + "'";
      return false;
    }
    const char* text = "";
    if (s->kind == option_value::optional_text) {
      // The next argument, unless it is an option.
      text = i + 1 < argc && argv[i + 1][0] != '-' ? argv[++i] : nullptr;
    } else if (s->kind != option_value::none) {
      if (i + 1 >= argc) {
        error = std::string("option ") + argv[i] + " needs a value";
        return false;
      }
      text = argv[++i];
    }
    option_argument a;
    if (!read_value(*s, text, a, error)) return false;
    s->set(out, a);
  }
  return check_combinations(out, error);
}

}  // namespace vorn
