// Fuzz target of the demo reader. A demo is read consistent or not at all: a
// failure names a line, and an accepted demo is consistent (a screen size,
// valid events, finite times, checksums in frame order ending in the end
// record, or a cut demo ending at its last checksum), written out again by
// the recorder's line writers it reads back to the same data, losing its
// last byte makes a whole demo a cut one, and gaining a line makes it fail.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/demo.h"
#include "fuzz_check.h"

namespace {

using vorn::fuzz::require;

bool same_events(const std::vector<vorn::demo_event>& a, const std::vector<vorn::demo_event>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].kind != b[i].kind || a[i].x != b[i].x || a[i].y != b[i].y || a[i].key != b[i].key ||
        a[i].state != b[i].state)
      return false;
  }
  return true;
}

bool same_demo(const vorn::demo_data& a, const vorn::demo_data& b) {
  if (a.screen_w != b.screen_w || a.screen_h != b.screen_h || a.settings != b.settings ||
      a.frames.size() != b.frames.size() || a.checks.size() != b.checks.size() ||
      !same_events(a.trailing, b.trailing))
    return false;
  for (std::size_t i = 0; i < a.frames.size(); ++i) {
    if (std::bit_cast<uint64_t>(a.frames[i].dt) != std::bit_cast<uint64_t>(b.frames[i].dt) ||
        std::bit_cast<uint64_t>(a.frames[i].t) != std::bit_cast<uint64_t>(b.frames[i].t) ||
        !same_events(a.frames[i].events, b.frames[i].events))
      return false;
  }
  for (std::size_t i = 0; i < a.checks.size(); ++i) {
    if (a.checks[i].frame != b.checks[i].frame || a.checks[i].checksum != b.checks[i].checksum) return false;
  }
  return true;
}

void check_consistent(const vorn::demo_data& d) {
  require(d.screen_w >= 1 && d.screen_h >= 1, "an accepted demo has a screen size");
  require(d.version == 1 || d.version == 2, "a demo has a known version");
  if (d.complete)
    require(!d.checks.empty() && d.checks.back().frame == int64_t(d.frames.size()),
            "the end record counts every frame");
  else
    require(d.checks.empty() ? d.frames.empty() : d.checks.back().frame == int64_t(d.frames.size()),
            "a cut demo ends at its last checksum");
  for (std::size_t i = 1; i < d.checks.size(); ++i)
    require(d.checks[i - 1].frame <= d.checks[i].frame, "checksums are in frame order");
  for (const vorn::demo_frame& f : d.frames) {
    require(std::isfinite(f.dt) && std::isfinite(f.t), "frame times are finite");
    for (const vorn::demo_event& e : f.events) require(e.kind == 1 || (e.kind >= 3 && e.kind <= 7), "event kinds are valid");
  }
  require(d.settings.empty() || d.settings.back() == '\n', "settings are whole lines");
}

// The demo as the recorder writes it: settings first, then per frame its
// events and its time, each checksum after the frame it was taken at.
std::string write_demo(const vorn::demo_data& d) {
  std::string out = std::string(d.version == 1 ? vorn::demo_header_v1 : vorn::demo_header) + '\n';
  out += "screen " + std::to_string(d.screen_w) + ' ' + std::to_string(d.screen_h) + '\n';
  std::size_t start = 0;
  while (start < d.settings.size()) {
    const std::size_t nl = d.settings.find('\n', start);
    out += "set " + d.settings.substr(start, nl - start) + '\n';
    start = nl + 1;
  }
  // A cut demo is written without its end record, its last checksum kept.
  const std::size_t last = d.complete ? d.checks.size() - 1 : d.checks.size();
  std::size_t next_check = 0;
  auto checks_at = [&](int64_t frame) {
    for (; next_check < last && d.checks[next_check].frame == frame; ++next_check)
      out += vorn::demo_check_line(frame, d.checks[next_check].checksum);
  };
  checks_at(0);
  for (std::size_t i = 0; i < d.frames.size(); ++i) {
    for (const vorn::demo_event& e : d.frames[i].events) out += vorn::demo_event_line(e);
    out += vorn::demo_frame_line(d.frames[i].dt, d.frames[i].t);
    checks_at(int64_t(i) + 1);
  }
  for (const vorn::demo_event& e : d.trailing) out += vorn::demo_event_line(e);
  if (d.complete) out += vorn::demo_end_line(d.checks[last].frame, d.checks[last].checksum);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  vorn::demo_data demo;
  std::string error;
  if (!vorn::parse_demo(text, demo, error)) {
    require(error.rfind("line ", 0) == 0, "a refusal names its line");
    return 0;
  }
  check_consistent(demo);

  const std::string written = write_demo(demo);
  vorn::demo_data again;
  require(vorn::parse_demo(written, again, error), "a written demo reads again");
  require(same_demo(demo, again), "a written demo reads back to the same data");

  vorn::demo_data damaged;
  if (demo.complete) {
    require(!vorn::parse_demo(text.substr(0, size - 1), damaged, error) || !damaged.complete,
            "a demo cut short is refused or read as cut");
    require(!vorn::parse_demo(std::string(text) + "f 0.01 0.02\n", damaged, error),
            "a line after the end record is refused");
  }
  return 0;
}
