// Files written whole: the content goes into a temporary file beside its
// target and takes the target's name only once it is complete, so a failed
// write (a full disk, a crash) never leaves a partial file under that name.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace vorn {

// Writes the whole content into f; false when a write failed (errno then
// tells why, or is 0 for "I/O error").
using content_writer = std::function<bool(std::FILE* f)>;

// Creates or replaces the file `path`. The content is on the disk (fsync)
// before it takes the name, so until then the old file stays whole. An old
// file keeps its permissions; a link is followed, and the file it names is
// replaced while the link stays. Returns 0, or the errno of what failed
// (the temporary file is then removed).
int replace_file(const std::string& path, const content_writer& write);

// Creates a new file, never replacing one: under `path` if no file has that
// name, else under the first free of path-1, path-2, ... (the number before
// the extension: "shot.bmp", "shot-1.bmp", "shot-2.bmp"). Each name is
// taken atomically, so two writers at once get two names. Returns 0 and the
// name in `chosen`, or the errno of what failed.
int create_new_file(const std::string& path, const content_writer& write, std::string& chosen);

}  // namespace vorn
