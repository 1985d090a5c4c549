// The replay: a checking pass, then the records in step with the frames.
#include "app/demo_replay.h"

namespace vorn {

bool demo_replay::open(const std::string& file_name, std::string& error) {
  return reader_.open(file_name, error) && check_whole(error);
}

bool demo_replay::open_text(std::string_view text, std::string& error) {
  reader_.open_text(text);
  return check_whole(error);
}

// Reads every record once; then back to the start, past the head again.
bool demo_replay::check_whole(std::string& error) {
  if (!reader_.read_head(head_, error)) return false;
  demo_record r;
  do {
    if (!reader_.next(r, error)) return false;
  } while (r.item != demo_item::end && r.item != demo_item::cut);
  complete_ = r.item == demo_item::end;
  frames_ = complete_ ? reader_.frames_read() : reader_.last_check();
  reader_.rewind();
  demo_head again;
  return reader_.read_head(again, error);
}

bool demo_replay::fail(const std::string& why) {
  failed_ = true;
  failure_ = why;
  return false;
}

bool demo_replay::read(demo_record& r) {
  if (has_ahead_) {
    r = ahead_;
    has_ahead_ = false;
    return true;
  }
  std::string error;
  return reader_.next(r, error) || fail(error);
}

bool demo_replay::next_event(demo_event& e) {
  demo_record r;
  if (!read(r)) return false;
  if (r.item == demo_item::event) {
    e = r.event;
    return true;
  }
  stop_ = r;
  // What the first pass read must come again: a frame while frames are
  // left, then the end record.
  const demo_item expected = played_ < frames_ ? demo_item::frame : demo_item::end;
  if (r.item != expected) fail("the demo changed while it was replayed (line " + std::to_string(reader_.line()) + ")");
  return false;
}

bool demo_replay::compare(int64_t frame, uint64_t checksum, uint64_t recorded) {
  if (checksum == recorded) {
    ++matched_;
    return true;
  }
  departed_ = true;
  departure_frame_ = frame;
  departure_checksum_ = checksum;
  recorded_checksum_ = recorded;
  return false;
}

bool demo_replay::after_frame(checksum_proc checksum) {
  ++played_;
  demo_record r;
  if (!read(r)) return false;
  if (r.item == demo_item::check) return compare(played_, checksum(), r.checksum);
  ahead_ = r;
  has_ahead_ = true;
  return true;
}

bool demo_replay::check_end(checksum_proc checksum) {
  if (failed_) return false;
  return compare(played_, checksum(), stop_.checksum);
}

}  // namespace vorn
