// The game's command line.
#pragma once

#include <cstdint>
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
  int64_t threads = 0;                // --threads N: threads for the crowd's work; 0: the default
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
  bool timedemo = false;              // with play_file: as fast as possible, timed
};

// Parses the arguments after the program name. False with a one-line reason
// on a bad option or value.
bool parse_options(int argc, char** argv, options& out, std::string& error);

// The --help text: usage, every option and the controls.
std::string usage_text();

// The --version text.
std::string version_text();

}  // namespace vorn
