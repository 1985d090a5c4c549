// Demos: a text file holding the settings a game was played with, then for
// every frame the events handed to the event handler and the exact frame
// time and total time, with a state checksum every 60 frames and at the end.
// Replaying it feeds the same events and times and compares the checksums.
//
// Format (one record per line, fields separated by single spaces, at most
// demo_max_line bytes a line):
//   vorn-demo 2                  first line: the format and its version
//   screen W H                   the game's screen size (1 to 16384 a side)
//   set KEY=VALUE                one per tunable, as --print-config writes them
//   e KIND X Y KEY STATE         an event, handed before the next frame
//   f DT T                       a frame: its frame time and total time, shortest round-trip reals
//   c FRAME CHECKSUM             right after frame FRAME's record: the state checksum then (16 hex digits)
//   end FRAMES CHECKSUM          the last line: frames played and the checksum after the events before it
// The screen size and the settings come before the first event or frame.
// Checksum records name frames in increasing order, each the frame just
// read, so a replay meets every one of them. Events after the last frame
// were handed before the game ended; the end checksum was taken after them.
//
// Version 2 differs from version 1 only in the rules the game played by (its
// own arctangent instead of the C library's); both are read.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

struct demo_event {
  int32_t kind;
  int32_t x;
  int32_t y;
  int32_t key;
  uint16_t state;
};

constexpr const char* demo_header = "vorn-demo 2";
constexpr const char* demo_header_v1 = "vorn-demo 1";
constexpr int64_t demo_check_interval = 60;
// Lines are short (an event line is at most 40 bytes); a longer one is damage.
constexpr size_t demo_max_line = 4096;
// The settings a demo carries, all lines together.
constexpr size_t demo_max_settings = 1 << 20;
constexpr int32_t demo_max_screen = 16384;

// What a demo can hold, so what the recorder may write: the event kinds the
// window hands (1 quit, 3 key up, 4 key down, 5 pointer moved, 6 button up,
// 7 button down), key symbols of 16 bits, and finite times.
bool recordable_event(const demo_event& e);
bool recordable_time(double seconds);

// The text lines of a demo, appended to `out` (which allocates nothing once
// its capacity has grown), or returned.
void append_event_line(std::string& out, const demo_event& e);
void append_frame_line(std::string& out, double dt, double t);
void append_check_line(std::string& out, int64_t frame, uint64_t checksum);
void append_end_line(std::string& out, int64_t frames, uint64_t checksum);
std::string demo_event_line(const demo_event& e);
std::string demo_frame_line(double dt, double t);
std::string demo_check_line(int64_t frame, uint64_t checksum);
std::string demo_end_line(int64_t frames, uint64_t checksum);

// A checksum as 16 hex digits.
std::string checksum_hex(uint64_t checksum);

}  // namespace vorn
