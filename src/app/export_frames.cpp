// The frame export: one PNG file per kept frame of the screen image.
#include "app/export_frames.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/window.h"
#include "base/printable.h"
#include "image/image.h"
#include "image/png_write.h"

namespace vorn {

frame_export_state frame_export;

namespace {

constexpr const char* name_prefix = "/frame-";

}  // namespace

bool begin_frame_export(const std::string& dir, int64_t every) {
  reset_frame_export();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec || !std::filesystem::is_directory(dir, ec)) {
    std::fprintf(stderr, "vorn: cannot make the frame directory %s: %s\n", printable(dir).c_str(),
                 ec ? ec.message().c_str() : "a file of that name is in the way");
    return false;
  }
  frame_export.dir = dir;
  frame_export.every = every > 0 ? every : 1;
  // Room for the directory, the prefix, up to 19 digits and ".png".
  frame_export.file_name.reserve(dir.size() + 32);
  return true;
}

bool export_frame(int64_t frame) {
  if (frame_export.dir.empty() || frame % frame_export.every != 0) return true;
  char number[32];
  std::snprintf(number, sizeof number, "%06lld.png", static_cast<long long>(frame));
  frame_export.file_name.assign(frame_export.dir).append(name_prefix).append(number);
  // save_png reports a failure itself, with its reason.
  if (!save_png(frame_export.file_name, screen.pixels, screen_w, screen_h, false)) {
    frame_export.failed = true;
    return false;
  }
  frame_export.written += 1;
  return true;
}

void reset_frame_export() { frame_export = frame_export_state{}; }

}  // namespace vorn
