// Reading a demo line by line, from a file or from memory: the header, the
// screen size and the settings first, then one record of play at a time.
// Memory stays the same however long the demo is: one buffer of the file,
// one line, the settings. Every line is checked as it is read, and any
// damage ends the reading with a reason naming the line.
//
// A demo without its end record (the recording game was killed) ends in a
// cut: an unfinished last line is dropped; whoever plays it stops at its
// last checksum record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/demo.h"

namespace vorn {

struct demo_head {
  int32_t version = 0;   // the format version, which is the rules version
  int32_t screen_w = 0;
  int32_t screen_h = 0;
  std::string settings;  // configuration text, one key=value a line
};

enum class demo_item { event, frame, check, end, cut };

struct demo_record {
  demo_item item = demo_item::cut;
  demo_event event{};    // event
  double dt = 0;         // frame
  double t = 0;
  int64_t frame = 0;     // check, end: the frames played when it was taken
  uint64_t checksum = 0;
};

class demo_reader {
 public:
  demo_reader() = default;
  demo_reader(const demo_reader&) = delete;
  demo_reader& operator=(const demo_reader&) = delete;
  ~demo_reader();

  // Opens a regular file (a FIFO, a device or a directory is refused: it
  // could block, never end, or is no demo). False with the reason.
  bool open(const std::string& file_name, std::string& error);
  // Reads from memory instead; the text must outlive the reader.
  void open_text(std::string_view text);
  // Back to the first line, for another pass.
  void rewind();

  // The header, the screen size and the settings, up to the first record of
  // play. False with the reason.
  bool read_head(demo_head& head, std::string& error);
  // The next record of play, after read_head: a cut or the end record is
  // the last (after the end record, the reader has made sure that nothing
  // follows). False with the reason on damage or a read error.
  bool next(demo_record& out, std::string& error);

  int64_t frames_read() const { return frames_; }
  int64_t last_check() const { return last_check_; }  // frame of the last checksum record, 0 before one
  int64_t line() const { return line_no_; }           // lines read

 private:
  enum class line_status { whole, unfinished, none, too_long, failed };
  line_status read_line(std::string_view& line);
  bool refill();
  bool fail(std::string& error, const std::string& why) const;
  bool line_failure(line_status status, std::string& error) const;
  bool parse_head_line(std::string_view line, demo_head& head, std::string& error);
  bool parse_play_line(std::string_view line, demo_record& out, std::string& error);
  bool play_line(std::string_view line, demo_record& out, std::string& error);
  void finish(const demo_record& last);
  void restart();

  int fd_ = -1;
  std::string_view text_;        // memory reading
  std::vector<char> buffer_;     // file reading: the bytes read and not yet taken
  const char* data_ = nullptr;   // the window of bytes not yet taken: data_[pos_ .. size_)
  size_t size_ = 0;
  size_t pos_ = 0;
  int read_errno_ = 0;
  std::string line_;             // a line that crosses the buffer's end is put together here
  int64_t line_no_ = 0;
  int64_t frames_ = 0;
  int64_t last_check_ = 0;
  bool after_frame_ = false;     // the last record was a frame (a checksum may follow)
  bool has_pending_ = false;     // read_head read the first record of play
  demo_record pending_;
  bool finished_ = false;        // the end record or the cut has been read
  demo_record final_;
};

// A whole demo held in memory (for checks and tests; a replay streams).
struct demo_frame {
  std::vector<demo_event> events;  // handed before the frame
  double dt;
  double t;
};

struct demo_check {
  int64_t frame;
  uint64_t checksum;
};

struct demo_data {
  demo_head head;
  bool complete = false;             // false: no end record, cut at the last checksum
  std::vector<demo_frame> frames;
  std::vector<demo_check> checks;    // the checksum records, in frame order
  std::vector<demo_event> trailing;  // events after the last frame
  uint64_t end_checksum = 0;
};

// Reads a whole demo, or a cut one up to its last checksum. False with a
// reason naming the line on any damage.
bool read_demo_text(std::string_view text, demo_data& out, std::string& error);

}  // namespace vorn
