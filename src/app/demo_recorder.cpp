// The demo recorder.
#include "app/demo_recorder.h"

#include <sstream>

#include "app/state_hash.h"
#include "app/window.h"
#include "config/print_config.h"

namespace vorn {

demo_recorder::~demo_recorder() {
  if (file_) std::fclose(file_);
}

void demo_recorder::write(const std::string& text) {
  if (file_ && std::fputs(text.c_str(), file_) < 0) failed_ = true;
}

bool demo_recorder::open(const std::string& file_name) {
  file_ = std::fopen(file_name.c_str(), "w");
  if (!file_) return false;
  failed_ = false;
  write(std::string(demo_header) + '\n');
  write("screen " + std::to_string(screen_w) + ' ' + std::to_string(screen_h) + '\n');
  std::istringstream settings(format_config());
  for (std::string line; std::getline(settings, line);) write("set " + line + '\n');
  flush();
  return !failed_;
}

void demo_recorder::event(const demo_event& e) { write(demo_event_line(e)); }

void demo_recorder::frame(double dt, double t) { write(demo_frame_line(dt, t)); }

void demo_recorder::after_frame(int64_t frames_done) {
  if (frames_done % demo_check_interval != 0) return;
  write(demo_check_line(frames_done, state_checksum()));
  flush();
}

// Hands the buffered lines to the system, so that a game killed later leaves
// every frame up to this checksum on disk.
void demo_recorder::flush() {
  if (file_ && std::fflush(file_) != 0) failed_ = true;
}

bool demo_recorder::close(int64_t frames_done) {
  if (!file_) return false;
  write(demo_end_line(frames_done, state_checksum()));
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed && !failed_;
}

void demo_recorder::abandon() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace vorn
