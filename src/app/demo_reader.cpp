// The demo reader: lines out of a buffer refilled from the file, each parsed
// and checked against what came before it.
#include "app/demo_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "base/printable.h"
#include "base/real_text.h"

namespace vorn {

namespace {

constexpr size_t read_size = 1 << 16;
constexpr size_t max_fields = 7;

// Splits a line at single spaces into at most max_fields fields; a line
// with more has its count set past max_fields (every record refuses it).
struct line_fields {
  std::string_view at[max_fields];
  size_t count = 0;
};

line_fields split(std::string_view line) {
  line_fields f;
  size_t start = 0;
  for (;;) {
    const size_t sp = line.find(' ', start);
    const size_t end = sp == std::string_view::npos ? line.size() : sp;
    if (f.count == max_fields) {
      f.count = max_fields + 1;
      return f;
    }
    f.at[f.count++] = line.substr(start, end - start);
    if (sp == std::string_view::npos) return f;
    start = sp + 1;
  }
}

template <typename T>
bool read_int(std::string_view s, T& out, int base = 10) {
  if (s.empty()) return false;
  const auto res = std::from_chars(s.data(), s.data() + s.size(), out, base);
  return res.ec == std::errc() && res.ptr == s.data() + s.size();
}

bool read_real(std::string_view s, double& out) {
  if (s.empty()) return false;
  const auto res = real_from_chars(s.data(), s.data() + s.size(), out);
  return res.ec == std::errc() && res.ptr == s.data() + s.size() && recordable_time(out);
}

// What a file that opened is when it is no regular file (a socket does not open).
const char* file_kind(mode_t m) {
  return S_ISDIR(m) ? "a directory" : S_ISFIFO(m) ? "a FIFO" : S_ISCHR(m) ? "a character device" : "a block device";
}

}  // namespace

demo_reader::~demo_reader() {
  if (fd_ >= 0) ::close(fd_);
}

bool demo_reader::open(const std::string& file_name, std::string& error) {
  // Not blocking: opening a FIFO would otherwise wait for a writer.
  fd_ = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
    error = std::string("cannot open it: ") + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = std::string("cannot read it: not a regular file but ") + file_kind(st.st_mode);
    return false;
  }
  buffer_.resize(read_size);
  line_.reserve(demo_max_line);
  restart();
  return true;
}

void demo_reader::open_text(std::string_view text) {
  text_ = text;
  line_.reserve(demo_max_line);
  restart();
}

// A failed seek shows as a read error at the next line.
void demo_reader::rewind() {
  restart();
  if (fd_ >= 0 && ::lseek(fd_, 0, SEEK_SET) < 0) read_errno_ = errno;
}

void demo_reader::restart() {
  data_ = fd_ >= 0 ? buffer_.data() : text_.data();
  size_ = fd_ >= 0 ? 0 : text_.size();
  pos_ = 0;
  read_errno_ = 0;
  line_no_ = frames_ = last_check_ = 0;
  after_frame_ = has_pending_ = finished_ = false;
}

// Memory holds everything from the start; a file is read a buffer at a time.
bool demo_reader::refill() {
  if (fd_ < 0 || read_errno_ != 0) return false;
  ssize_t n = 0;
  do {
    n = ::read(fd_, buffer_.data(), buffer_.size());
  } while (n < 0 && errno == EINTR);
  if (n < 0) read_errno_ = errno;
  if (n <= 0) return false;
  size_ = static_cast<size_t>(n);
  pos_ = 0;
  return true;
}

// A line within the buffer is handed out where it lies; one that crosses
// the buffer's end is put together in line_. Either stays valid until the
// next read.
demo_reader::line_status demo_reader::read_line(std::string_view& line) {
  line_.clear();
  bool assembling = false;
  for (;;) {
    if (pos_ == size_ && !refill()) {
      if (read_errno_ != 0) return line_status::failed;
      line = line_;
      return assembling ? line_status::unfinished : line_status::none;
    }
    const char* start = data_ + pos_;
    const auto* nl = static_cast<const char*>(std::memchr(start, '\n', size_ - pos_));
    const size_t n = nl ? static_cast<size_t>(nl - start) : size_ - pos_;
    if (line_.size() + n > demo_max_line) return line_status::too_long;
    pos_ += nl ? n + 1 : n;
    if (nl && !assembling) {
      line = std::string_view(start, n);
      return line_status::whole;
    }
    line_.append(start, n);
    assembling = true;
    if (nl) {
      line = line_;
      return line_status::whole;
    }
  }
}

bool demo_reader::fail(std::string& error, const std::string& why) const {
  error = "line " + std::to_string(line_no_) + ": " + why;
  return false;
}

// A line that is too long, or a read that failed, ends the reading.
bool demo_reader::line_failure(line_status status, std::string& error) const {
  if (status == line_status::too_long)
    error = "line " + std::to_string(line_no_ + 1) + ": longer than " + std::to_string(demo_max_line) + " bytes";
  else
    error = "cannot read it after line " + std::to_string(line_no_) + ": " + std::strerror(read_errno_);
  return false;
}

bool demo_reader::read_head(demo_head& head, std::string& error) {
  head = demo_head{};
  for (;;) {
    std::string_view line;
    const line_status status = read_line(line);
    if (status == line_status::too_long || status == line_status::failed) return line_failure(status, error);
    if (status != line_status::whole) {
      // The file ends before any play: a cut (its unfinished line dropped),
      // unless not even the header and the screen size are whole.
      if (status == line_status::none && line_no_ == 0) return fail(error, "the demo is empty");
      if (status == line_status::unfinished && line_no_ < 2) {
        ++line_no_;
        return fail(error, "the demo is cut short (no line end)");
      }
      if (head.screen_w == 0) return fail(error, "the demo has no screen size");
      finish(demo_record{});
      return true;
    }
    ++line_no_;
    if (line_no_ == 1) {
      if (line == demo_header) {
        head.version = 2;
      } else if (line == demo_header_v1) {
        head.version = 1;
      } else {
        return fail(error, "not a demo of this game's format (expected \"" + std::string(demo_header) + "\")");
      }
      continue;
    }
    const std::string_view tag = split(line).at[0];
    if (tag == "screen" || tag == "set") {
      if (!parse_head_line(line, head, error)) return false;
      continue;
    }
    if (head.screen_w == 0) return fail(error, "the demo has no screen size");
    has_pending_ = play_line(line, pending_, error);
    return has_pending_;
  }
}

bool demo_reader::parse_head_line(std::string_view line, demo_head& head, std::string& error) {
  const line_fields f = split(line);
  if (f.at[0] == "screen") {
    if (f.count != 3 || !read_int(f.at[1], head.screen_w) || !read_int(f.at[2], head.screen_h) ||
        head.screen_w < 1 || head.screen_h < 1 || head.screen_w > demo_max_screen ||
        head.screen_h > demo_max_screen)
      return fail(error, "bad screen size");
    return true;
  }
  if (line.size() < 5 || line.find('=') == std::string_view::npos) return fail(error, "bad setting");
  if (head.settings.size() + line.size() - 3 > demo_max_settings)
    return fail(error, "the settings are longer than " + std::to_string(demo_max_settings) + " bytes");
  head.settings.append(line.substr(4));
  head.settings.push_back('\n');
  return true;
}

bool demo_reader::parse_play_line(std::string_view line, demo_record& out, std::string& error) {
  const line_fields f = split(line);
  const std::string_view tag = f.at[0];
  const bool after_frame = after_frame_;
  after_frame_ = false;
  if (tag == "e") {
    int32_t state = 0;
    demo_event& e = out.event;
    if (f.count != 6 || !read_int(f.at[1], e.kind) || !read_int(f.at[2], e.x) || !read_int(f.at[3], e.y) ||
        !read_int(f.at[4], e.key) || !read_int(f.at[5], state) || state < 0 || state > 0xFFFF ||
        !recordable_event(e))
      return fail(error, "bad event");
    e.state = static_cast<uint16_t>(state);
    out.item = demo_item::event;
    return true;
  }
  if (tag == "f") {
    if (f.count != 3 || !read_real(f.at[1], out.dt) || !read_real(f.at[2], out.t)) return fail(error, "bad frame");
    out.item = demo_item::frame;
    ++frames_;
    after_frame_ = true;
    return true;
  }
  if (tag == "c" || tag == "end") {
    if (f.count != 3 || !read_int(f.at[1], out.frame) || f.at[2].size() != 16 || !read_int(f.at[2], out.checksum, 16))
      return fail(error, "bad checksum record");
    if (tag == "end") {
      if (out.frame != frames_)
        return fail(error, "the end record counts " + std::to_string(out.frame) + " frames, but the demo has " +
                               std::to_string(frames_));
      out.item = demo_item::end;
      return true;
    }
    // Each checksum directly after the frame it names: a replay then meets
    // every one, and none can be set where no replay would look.
    if (out.frame < 1) return fail(error, "a checksum before the first frame");
    if (out.frame == last_check_) return fail(error, "two checksums for one frame");
    if (out.frame != frames_)
      return fail(error, "a checksum for the wrong frame (" + std::to_string(out.frame) + ", after frame " +
                             std::to_string(frames_) + ")");
    if (!after_frame) return fail(error, "a checksum that does not follow its frame's record");
    out.item = demo_item::check;
    last_check_ = out.frame;
    return true;
  }
  if (tag == "set") return fail(error, "a setting after the first frame");
  if (tag == "screen") return fail(error, "a screen size after the first frame");
  return fail(error, "unknown record '" + printable(tag.substr(0, 20)) + "'");
}

void demo_reader::finish(const demo_record& last) {
  final_ = last;
  finished_ = true;
}

bool demo_reader::play_line(std::string_view line, demo_record& out, std::string& error) {
  if (!parse_play_line(line, out, error)) return false;
  if (out.item != demo_item::end) return true;
  // Nothing may follow the end record, not even an unfinished line.
  const line_status after = read_line(line);
  if (after == line_status::failed) return line_failure(after, error);
  if (after != line_status::none) {
    ++line_no_;
    return fail(error, "text after the end record");
  }
  finish(out);
  return true;
}

bool demo_reader::next(demo_record& out, std::string& error) {
  if (has_pending_) {
    out = pending_;
    has_pending_ = false;
    return true;
  }
  if (finished_) {
    out = final_;
    return true;
  }
  std::string_view line;
  const line_status status = read_line(line);
  if (status == line_status::too_long || status == line_status::failed) return line_failure(status, error);
  if (status != line_status::whole) {
    out = demo_record{};
    finish(out);
    return true;
  }
  ++line_no_;
  return play_line(line, out, error);
}

bool read_demo_text(std::string_view text, demo_data& out, std::string& error) {
  out = demo_data{};
  demo_reader reader;
  reader.open_text(text);
  if (!reader.read_head(out.head, error)) return false;
  std::vector<demo_event> pending;
  for (;;) {
    demo_record r;
    if (!reader.next(r, error)) return false;
    switch (r.item) {
      case demo_item::event: pending.push_back(r.event); break;
      case demo_item::frame: out.frames.push_back({std::move(pending), r.dt, r.t}); pending.clear(); break;
      case demo_item::check: out.checks.push_back({r.frame, r.checksum}); break;
      case demo_item::end:
        out.complete = true;
        out.trailing = std::move(pending);
        out.end_checksum = r.checksum;
        return true;
      case demo_item::cut:
        out.frames.resize(static_cast<size_t>(reader.last_check()));
        return true;
    }
  }
}

}  // namespace vorn
