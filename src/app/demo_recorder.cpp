// The demo recorder: lines gathered in a buffer and written out with
// write(2), so that every failure is seen where it happens.
#include "app/demo_recorder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/state_hash.h"
#include "base/printable.h"
#include "base/view.h"
#include "config/print_config.h"

namespace vorn {

namespace {

// Written out before it grows past this, whatever the checksums.
constexpr size_t buffer_limit = 1 << 15;

}  // namespace

demo_recorder::~demo_recorder() { abandon(); }

// What was written out stays; a file this recording created but never
// began is removed again.
void demo_recorder::abandon() {
  if (fd_ < 0) return;
  if (created_ && !begun_) ::unlink(name_.c_str());
  ::close(fd_);
  fd_ = -1;
}

bool demo_recorder::claim(const std::string& file_name) {
  name_ = file_name;
  // Not blocking on a FIFO without a reader (then blocking again for the
  // writes), and never emptying the file before it is locked.
  constexpr int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  fd_ = ::open(file_name.c_str(), flags | O_CREAT | O_EXCL, 0666);
  created_ = fd_ >= 0;
  if (fd_ < 0 && errno == EEXIST) fd_ = ::open(file_name.c_str(), flags);
  const char* why = nullptr;
  if (fd_ < 0 || ::fcntl(fd_, F_SETFL, 0) != 0) {
    why = std::strerror(errno);
  } else if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    // (A file system that cannot lock at all still records.)
    why = "another game is recording into it";
  }
  if (why == nullptr) return true;
  std::fprintf(stderr, "vorn: cannot record into %s: %s\n", printable(file_name).c_str(), why);
  abandon();
  return false;
}

bool demo_recorder::begin() {
  if (screen_w < 1 || screen_h < 1 || screen_w > demo_max_screen || screen_h > demo_max_screen) {
    std::fprintf(stderr, "vorn: cannot record a game on a screen of %d x %d (a demo holds at most %d x %d)\n",
                 screen_w, screen_h, demo_max_screen, demo_max_screen);
    return false;
  }
  begun_ = true;
  buffer_.reserve(buffer_limit + demo_max_line);
  buffer_.assign(demo_header).append("\nscreen ");
  buffer_.append(std::to_string(screen_w)).append(" ").append(std::to_string(screen_h)).append("\n");
  const std::string settings = format_config();
  for (size_t start = 0; start < settings.size();) {
    const size_t end = std::min(settings.find('\n', start), settings.size());
    buffer_.append("set ").append(settings, start, end - start).append("\n");
    start = end + 1;
  }
  // A regular file is emptied now that it is ours; a pipe or a device is
  // written as it is.
  struct stat st {};
  const int err = ::fstat(fd_, &st) != 0 || (S_ISREG(st.st_mode) && ::ftruncate(fd_, 0) != 0) ? errno : write_out();
  if (err == 0) return true;
  stopped_ = true;
  std::fprintf(stderr, "vorn: cannot write demo %s: %s\n", printable(name_).c_str(), std::strerror(err));
  return false;
}

// Hands the buffer to the system, so that a game killed later leaves it on
// disk. 0, or the error of the write that failed.
int demo_recorder::write_out() {
  for (size_t done = 0; done < buffer_.size();) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    done += static_cast<size_t>(n);
  }
  buffer_.clear();
  saved_check_ = check_;
  return 0;
}

void demo_recorder::save() {
  if (const int err = write_out(); err != 0) stop(std::string("cannot write it: ") + std::strerror(err));
}

void demo_recorder::stop(const std::string& why) {
  if (stopped_) return;
  stopped_ = true;
  std::fprintf(stderr,
               "vorn: demo %s: %s; the recording stops after frame %lld (the demo replays up to frame %lld), "
               "the game plays on\n",
               printable(name_).c_str(), why.c_str(), static_cast<long long>(frames_),
               static_cast<long long>(saved_check_));
}

void demo_recorder::event(const demo_event& e) {
  if (!is_open()) return;
  if (!recordable_event(e)) {
    save();
    stop("an event of kind " + std::to_string(e.kind) + " with key " + std::to_string(e.key) +
         " cannot be recorded");
    return;
  }
  append_event_line(buffer_, e);
  if (buffer_.size() > buffer_limit) save();
}

void demo_recorder::frame(double dt, double t) {
  if (!is_open()) return;
  if (!recordable_time(dt) || !recordable_time(t)) {
    char times[120];
    std::snprintf(times, sizeof times, "the time of frame %lld (dt %g s, total %g s) cannot be recorded",
                  static_cast<long long>(frames_ + 1), dt, t);
    save();
    stop(times);
    return;
  }
  append_frame_line(buffer_, dt, t);
  frames_ += 1;
  if (buffer_.size() > buffer_limit) save();
}

void demo_recorder::after_frame(int64_t frames_done) {
  if (!is_open() || frames_done % demo_check_interval != 0) return;
  append_check_line(buffer_, frames_done, state_checksum());
  check_ = frames_done;
  save();
}

bool demo_recorder::close(int64_t frames_done) {
  if (fd_ < 0) return false;
  int err = 0;
  const bool whole = is_open();
  if (whole) {
    append_end_line(buffer_, frames_done, state_checksum());
    err = write_out();
  }
  if (::close(fd_) != 0 && err == 0) err = errno;
  fd_ = -1;
  if (err != 0) std::fprintf(stderr, "vorn: cannot write demo %s: %s\n", printable(name_).c_str(), std::strerror(err));
  return whole && err == 0;
}

}  // namespace vorn
