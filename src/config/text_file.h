// Reading a settings file a piece at a time, with limits: only a regular
// file is read (a FIFO, a device or a directory is refused at once, without
// waiting on it), and only up to a size no settings file comes near.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vorn {

// The largest file read: 1 MiB, several hundred times a file that sets
// every key with a comment on each.
constexpr uint64_t max_text_file_bytes = uint64_t{1} << 20;

enum class text_file_outcome {
  read,         // read whole
  absent,       // no file of that name
  cannot_open,  // there, but opening it failed (reason: strerror)
  refused,      // not a regular file, or too large (reason says which)
  read_error,   // reading failed part way (reason: strerror)
};

struct text_file_result {
  text_file_outcome outcome = text_file_outcome::read;
  std::string reason;
  // The file opened, to tell whether another open file is the same one.
  uint64_t device = 0;
  uint64_t inode = 0;
};

// Reads the file and hands its bytes to `piece` in order, in pieces of up
// to 64 KiB; every piece but the last is full. A file larger than
// max_text_file_bytes is refused before any piece, or, if it grows while it
// is read, before the piece that would pass the limit.
text_file_result read_text_file(const std::string& path, const std::function<void(std::string_view)>& piece);

}  // namespace vorn
