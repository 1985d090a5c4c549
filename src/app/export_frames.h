// Writing the frames of a replayed demo as numbered PNG files
// (DIR/frame-NNNNNN.png, numbered by the frame), for videos and animations.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

struct frame_export_state {
  std::string dir;         // empty: nothing is exported
  int64_t every = 1;       // frames whose number is a multiple of this are written
  std::string file_name;   // reused, so that writing a frame allocates no name
  int64_t written = 0;
  bool failed = false;     // a frame could not be written; the replay stops
};
extern frame_export_state frame_export;

// Makes the directory (and its parents) where needed. False, with one line
// on standard error, when it cannot be made.
bool begin_frame_export(const std::string& dir, int64_t every);

// Writes the screen as the frame numbered `frame` when it is due. False,
// with one line on standard error, when the file cannot be written.
bool export_frame(int64_t frame);

void reset_frame_export();

}  // namespace vorn
