// Replaying a demo. The file is first read through once, every line checked,
// before the first frame: a damaged line anywhere refuses the demo before
// anything is played, and the frames to play are known (all of them, or a
// cut demo's up to its last checksum). Then it is read again record by
// record while the game plays it: memory does not grow with its length.
//
// Each checksum record is compared right after its frame; the end checksum
// after the events that follow the last frame, as the recorder took it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/demo_reader.h"

namespace vorn {

class demo_replay {
 public:
  // Opens the demo (a file, or text in memory that outlives the replay) and
  // checks it whole. False with the reason.
  bool open(const std::string& file_name, std::string& error);
  bool open_text(std::string_view text, std::string& error);

  const demo_head& head() const { return head_; }
  int64_t frames() const { return frames_; }  // the frames to play
  bool complete() const { return complete_; }  // false: a cut demo, played to its last checksum
  int64_t played() const { return played_; }
  int64_t checks_matched() const { return matched_; }

  // The events before the next frame, one a call. False once the frame's
  // record is read (its times are then dt() and t()), or, after the last
  // frame of a whole demo, once the end record is read, or when the demo
  // fails (failed()).
  bool next_event(demo_event& e);
  double dt() const { return stop_.dt; }
  double t() const { return stop_.t; }

  // The game's state checksum, asked only where the demo has one to compare.
  using checksum_proc = uint64_t (*)();
  // After each frame: compares the frame's checksum record, if it has one.
  // False on a departure or a failure.
  bool after_frame(checksum_proc checksum);
  // After the events that follow the last frame: compares the end
  // checksum. False on a departure or a failure.
  bool check_end(checksum_proc checksum);

  // The recorded game and this one part (at departure_frame()).
  bool departed() const { return departed_; }
  int64_t departure_frame() const { return departure_frame_; }
  uint64_t departure_checksum() const { return departure_checksum_; }
  uint64_t recorded_checksum() const { return recorded_checksum_; }
  // The file could not be read, or changed while it played.
  bool failed() const { return failed_; }
  const std::string& failure() const { return failure_; }

 private:
  bool check_whole(std::string& error);
  bool read(demo_record& r);
  bool fail(const std::string& why);
  bool compare(int64_t frame, uint64_t checksum, uint64_t recorded);

  demo_reader reader_;
  demo_head head_;
  int64_t frames_ = 0;
  bool complete_ = false;
  int64_t played_ = 0;
  int64_t matched_ = 0;
  demo_record stop_;         // the record that ended the last run of events
  demo_record ahead_;        // read after a frame, when it was no checksum
  bool has_ahead_ = false;
  bool departed_ = false;
  int64_t departure_frame_ = 0;
  uint64_t departure_checksum_ = 0;
  uint64_t recorded_checksum_ = 0;
  bool failed_ = false;
  std::string failure_;
};

}  // namespace vorn
