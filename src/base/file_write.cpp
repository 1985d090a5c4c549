// Files written whole through a temporary file beside the target: a rename
// replaces a file, a hard link takes a new name without replacing one.
#include "base/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vorn {

namespace {

// How many numbered names create_new_file tries before it gives up.
constexpr int max_numbered_names = 100000;

int error_or_io() { return errno != 0 ? errno : EIO; }

// A new temporary file beside `path` (the same folder, so that the final
// rename or link stays within one file system), named path.tmp-PID-K.
// Created with mode 0666 less the umask, as any new file would be.
int open_temp(const std::string& path, std::string& name, std::FILE*& f) {
  for (int k = 0; k < 100; ++k) {
    name = path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(k);
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;  // left by a crashed game of the same pid
      return errno;
    }
    f = fdopen(fd, "wb");
    if (f == nullptr) {
      const int err = errno;
      close(fd);
      unlink(name.c_str());
      return err;
    }
    return 0;
  }
  return EEXIST;
}

// Writes the content and closes the file; with `sync`, the data reaches the
// disk before this returns.
int fill(std::FILE* f, const content_writer& write, bool sync) {
  errno = 0;
  int err = write(f) && std::fflush(f) == 0 ? 0 : error_or_io();
  if (err == 0 && sync && fsync(fileno(f)) != 0) err = errno;
  if (std::fclose(f) != 0 && err == 0) err = error_or_io();
  return err;
}

// Gives the complete temporary file the name `name` unless a file has it
// (EEXIST). A hard link takes the name atomically; on a file system without
// hard links, a rename after a check that the name is free.
int take_new_name(const std::string& temp, const std::string& name) {
  if (link(temp.c_str(), name.c_str()) == 0) return 0;
  if (errno == EEXIST) return EEXIST;
  struct stat st {};
  if (lstat(name.c_str(), &st) == 0) return EEXIST;
  return rename(temp.c_str(), name.c_str()) == 0 ? 0 : errno;
}

// path with "-n" before its extension (n > 0), or path itself for n = 0.
std::string numbered_name(const std::string& path, int n) {
  if (n == 0) return path;
  const std::size_t dot = path.find_last_of("./");
  const std::size_t at = dot != std::string::npos && path[dot] == '.' ? dot : path.size();
  return path.substr(0, at) + "-" + std::to_string(n) + path.substr(at);
}

}  // namespace

int replace_file(const std::string& path, const content_writer& write) {
  std::string target = path;
  if (char* real = realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  std::string temp;
  std::FILE* f = nullptr;
  if (const int err = open_temp(target, temp, f)) return err;
  struct stat old {};
  if (stat(target.c_str(), &old) == 0) fchmod(fileno(f), old.st_mode & 07777);
  int err = fill(f, write, true);
  if (err == 0 && rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) unlink(temp.c_str());
  return err;
}

int create_new_file(const std::string& path, const content_writer& write, std::string& chosen) {
  chosen = path;
  std::string temp;
  std::FILE* f = nullptr;
  if (const int err = open_temp(path, temp, f)) return err;
  int err = fill(f, write, false);
  if (err == 0) {
    err = EEXIST;
    for (int n = 0; err == EEXIST && n < max_numbered_names; ++n) {
      chosen = numbered_name(path, n);
      err = take_new_name(temp, chosen);
    }
  }
  // After a link the temporary name is left over; after a rename it is gone.
  unlink(temp.c_str());
  return err;
}

}  // namespace vorn
