// Reading a settings file a piece at a time: opened without blocking (a FIFO
// with no writer would otherwise hold start-up for ever), checked to be a
// regular file of sane size, then read in full pieces.
#include "config/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vorn {

namespace {

constexpr std::size_t piece_bytes = std::size_t{1} << 16;

// What a file that is not a regular one is, for the refusal (open() itself
// refuses sockets).
std::string kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
  return "a device";
}

// Fills buf from fd until it is full or the file ends; -1 on a read error.
// (A regular file's read is not cut short by signals.)
ssize_t read_full(int fd, char* buf, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd, buf + got, size - got);
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

text_file_result read_open_file(int fd, const std::function<void(std::string_view)>& piece) {
  text_file_result res;
  struct stat st {};
  if (fstat(fd, &st) != 0) return {text_file_outcome::read_error, std::strerror(errno)};
  res.device = static_cast<uint64_t>(st.st_dev);
  res.inode = static_cast<uint64_t>(st.st_ino);
  if (!S_ISREG(st.st_mode)) {
    res.outcome = text_file_outcome::refused;
    res.reason = kind_of(st.st_mode) + ", not a regular file";
    return res;
  }
  std::string buf(piece_bytes, '\0');
  uint64_t total = 0;
  for (;;) {
    const ssize_t got = read_full(fd, buf.data(), buf.size());
    if (got < 0) {
      res.outcome = text_file_outcome::read_error;
      res.reason = std::strerror(errno);
      return res;
    }
    // The size the file claims, or what it gave so far where that is more
    // (files of /proc claim 0; a file may grow while it is read).
    total += static_cast<uint64_t>(got);
    const uint64_t size = std::max(total, static_cast<uint64_t>(st.st_size));
    if (size > max_text_file_bytes) {
      res.outcome = text_file_outcome::refused;
      res.reason = "larger than 1 MiB (" + std::to_string(size) + " bytes)";
      return res;
    }
    if (got > 0) piece(std::string_view(buf.data(), static_cast<std::size_t>(got)));
    if (static_cast<std::size_t>(got) < buf.size()) return res;
  }
}

}  // namespace

text_file_result read_text_file(const std::string& path, const std::function<void(std::string_view)>& piece) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    return {err == ENOENT ? text_file_outcome::absent : text_file_outcome::cannot_open, std::strerror(err)};
  }
  text_file_result res = read_open_file(fd, piece);
  close(fd);
  return res;
}

}  // namespace vorn
