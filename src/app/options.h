// The game's command line: one table of options drives the parsing, the
// messages for refused values, the --help text and the option lists of the
// manual page and the README (see option_docs.h).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vorn {

struct options {
  bool help = false;
  bool version = false;
  bool print_config = false;
  bool write_config = false;          // write the settings in effect to a file and exit
  std::string write_config_file;      // that file; empty: where they were read from (run_modes)
  bool headless = false;              // SDL's dummy video driver, no window
  bool summary = false;               // one JSON line on standard output at a normal end
  std::string config_file;            // --config FILE
  int64_t frames = -1;                // end after this many frames; -1: run until quit
  double fixed_dt = 0.0;              // > 0: every frame takes this time instead of the measured one
  std::string record_file;            // write a demo
  std::string play_file;              // replay a demo
  int64_t threads = 0;                // --threads N (1 to 8): threads for the crowd's work; 0: the default
  // Sound: on unless --no-sound; in --headless runs only with --sound.
  bool no_sound = false;
  bool sound = false;
  int32_t volume = 70;                // 0..100
  bool config_named = false;          // --config given: its file must exist
  int32_t scale = 1;                  // each screen pixel shows as a scale x scale block
  bool fullscreen = false;            // start in fullscreen
  int32_t max_fps = 0;                // > 0: at most this many frames per second
  std::string export_dir;             // with --play: write the frames there as PNG
  int64_t export_every = 1;           // keep every this many-th frame
  bool export_every_given = false;    // --export-every was on the command line
  bool timedemo = false;              // with play_file: as fast as possible, timed
  bool screenshots = false;           // with play_file: the demo's screenshot key takes screenshots
};

// What an option takes after its name.
enum class option_value {
  none,     // a switch
  text,     // a file or folder name, never empty
  optional_text,  // a file name if the next argument is not an option; never empty
  whole,    // a whole number in [low, high] (digits only)
  seconds,  // a finite real above 0
};

// A value as read, handed to the option's setter.
struct option_argument {
  const char* text = nullptr;
  int64_t whole = 0;
  double seconds = 0.0;
};

struct option_spec {
  const char* name;         // "--scale"
  const char* alias;        // another spelling ("-h"), or nullptr
  const char* value;        // the value's name in the help ("N", "FILE"); nullptr for a switch
  option_value kind;
  int64_t low;              // whole: the least value taken
  int64_t high;             // whole: the greatest value taken
  bool above_counts_as_high;  // whole: a greater value (however long) counts as high
  void (*set)(options& o, const option_argument& a);
  const char* help;         // its line in --help (lower case, no full stop)
  const char* more;         // further sentences for the manual page, or ""
};

// Every option, in the order --help lists them.
std::span<const option_spec> option_table();

// Parses the arguments after the program name. False with a one-line reason
// on a bad option or value; every refused number names the range taken.
bool parse_options(int argc, char** argv, options& out, std::string& error);

// The line under a command-line error.
constexpr const char* try_help_line = "Try 'vorn --help' for more information.\n";

}  // namespace vorn
