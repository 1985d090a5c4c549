// Writing a demo while a game is played: the header and settings, then the
// events and frame times as they are handed to the game, a checksum every
// 60 frames and the end record. The file is flushed after the settings and
// after every checksum, so a killed game leaves a demo that replays up to
// its last checksum.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/demo.h"

namespace vorn {

class demo_recorder {
 public:
  demo_recorder() = default;
  demo_recorder(const demo_recorder&) = delete;
  demo_recorder& operator=(const demo_recorder&) = delete;
  ~demo_recorder();

  // Creates the file and writes the header, the screen size and every
  // setting in effect. False when the file cannot be created.
  bool open(const std::string& file_name);
  bool is_open() const { return file_ != nullptr; }

  void event(const demo_event& e);
  // Before the frame is run.
  void frame(double dt, double t);
  // After the frame is run: the checksum when a check is due.
  void after_frame(int64_t frames_done);
  // Writes the end record and closes the file. False when anything could
  // not be written.
  bool close(int64_t frames_done);
  // Closes the file without the end record, as a killed game would leave
  // it: a replay plays it up to its last checksum.
  void abandon();

 private:
  void write(const std::string& text);
  void flush();
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace vorn
