// Demos: a text file holding the settings a game was played with, then for
// every frame the events handed to the event handler and the exact frame
// time and total time, with a state checksum every 60 frames and at the end.
// Replaying it feeds the same events and times and compares the checksums.
//
// Format (one record per line, fields separated by single spaces):
//   vorn-demo 2                  first line: the format and its version
//   screen W H                   the window size the game ran at
//   set KEY=VALUE                one per tunable, as --print-config writes them
//   e KIND X Y KEY STATE         an event, handed before the next frame
//   f DT T                       a frame: its frame time and total time, shortest round-trip reals
//   c FRAME CHECKSUM             the state checksum after that frame (16 hex digits)
//   end FRAMES CHECKSUM          the last line: frames played and the final checksum
// Events after the last frame were handed before the game ended.
//
// Version 2 differs from version 1 only in the rules the game played by (its
// own arctangent instead of the C library's); both are read.
//
// A demo without its end record (the recording game was killed) is read up
// to its last checksum record: an unfinished last line is dropped, and so
// are the frames after that checksum. Every whole line must still be sound.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

struct demo_event {
  int32_t kind;
  int32_t x;
  int32_t y;
  int32_t key;
  uint16_t state;
};

struct demo_frame {
  std::vector<demo_event> events;  // handed before the frame
  double dt;
  double t;
};

struct demo_check {
  int64_t frame;  // frames played when it was taken
  uint64_t checksum;
};

struct demo_data {
  int32_t version = 0;                 // the format version, which is the rules version
  bool complete = false;               // false: no end record, cut at the last checksum
  int32_t screen_w = 0;
  int32_t screen_h = 0;
  std::string settings;                // configuration text, one key=value a line
  std::vector<demo_frame> frames;
  std::vector<demo_event> trailing;    // events after the last frame
  std::vector<demo_check> checks;      // in frame order, the final one last
};

constexpr const char* demo_header = "vorn-demo 2";
constexpr const char* demo_header_v1 = "vorn-demo 1";
constexpr int64_t demo_check_interval = 60;

// Reads a whole demo, or a cut one up to its last checksum. False with a
// reason naming the line on any damage: a demo is either read consistent,
// or not at all.
bool parse_demo(std::string_view text, demo_data& out, std::string& error);

// The text lines of a demo, for the recorder.
std::string demo_event_line(const demo_event& e);
std::string demo_frame_line(double dt, double t);
std::string demo_check_line(int64_t frame, uint64_t checksum);
std::string demo_end_line(int64_t frames, uint64_t checksum);

// A checksum as 16 hex digits.
std::string checksum_hex(uint64_t checksum);

}  // namespace vorn
