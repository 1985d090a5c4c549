// Writing a demo while a game is played: the header and settings, then the
// events and frame times as they are handed to the game, a checksum every
// 60 frames and the end record.
//
// One game records into a file at a time: the file is locked from before
// the game starts until the recording ends, and a second game asked to
// record into it is refused. The lines are written out after the settings
// and after every checksum, so a game killed later leaves a demo that
// replays up to its last checksum. A write that fails (a full disk), or a
// frame time that no demo can hold, stops the recording there with one line
// on standard error: what is on disk still replays up to its last checksum,
// the game plays on, and close() reports the failure.
#pragma once

#include <cstdint>
#include <string>

#include "app/demo.h"

namespace vorn {

class demo_recorder {
 public:
  demo_recorder() = default;
  demo_recorder(const demo_recorder&) = delete;
  demo_recorder& operator=(const demo_recorder&) = delete;
  ~demo_recorder();

  // Takes the file for this recording: creates it when missing and locks it
  // against other games, without changing it yet. False, with one line on
  // standard error, when it cannot be opened or another game records into it.
  bool claim(const std::string& file_name);
  // Empties the claimed file and writes the header, the screen size and
  // every setting in effect. False, with one line on standard error, when
  // that cannot be written.
  bool begin();
  bool open(const std::string& file_name) { return claim(file_name) && begin(); }
  // Begun, and not stopped by a failure.
  bool is_open() const { return fd_ >= 0 && begun_ && !stopped_; }

  void event(const demo_event& e);
  // Before the frame is run.
  void frame(double dt, double t);
  // After the frame is run: the checksum when a check is due.
  void after_frame(int64_t frames_done);
  // Writes the end record and closes the file. False when the recording
  // stopped early or the end could not be written (reported on standard error).
  bool close(int64_t frames_done);
  // Closes the file without the end record or the lines not yet written
  // out, as a killed game would leave it: a replay plays it up to its last
  // checksum.
  void abandon();

 private:
  int write_out();
  void save();
  void stop(const std::string& why);

  std::string name_;
  int fd_ = -1;
  bool created_ = false;   // the file did not exist before claim()
  bool begun_ = false;
  bool stopped_ = false;
  std::string buffer_;     // lines not yet written out
  int64_t frames_ = 0;     // frame records written into the buffer
  int64_t check_ = 0;      // the frame of the last checksum in the buffer
  int64_t saved_check_ = 0;  // the frame of the last checksum written out
};

}  // namespace vorn
