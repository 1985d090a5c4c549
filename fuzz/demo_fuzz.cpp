// Fuzz target of the demo reader and the replay's checks. A demo is read
// consistent or not at all: a failure names a line, and an accepted demo is
// consistent (a screen size, valid events, finite times, checksums for
// frames 1 and up in increasing order, each right after its frame, the end
// record counting every frame, or a cut demo ending at its last checksum),
// written out again by the recorder's line writers it reads back to the same
// data, losing its last byte makes a whole demo a cut one, and gaining a
// line makes it fail. Replayed against a game whose checksum matches none
// recorded, a demo that holds a checksum always departs.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/demo.h"
#include "app/demo_reader.h"
#include "app/demo_replay.h"
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
  if (a.head.screen_w != b.head.screen_w || a.head.screen_h != b.head.screen_h ||
      a.head.settings != b.head.settings || a.head.version != b.head.version || a.complete != b.complete ||
      a.end_checksum != b.end_checksum || a.frames.size() != b.frames.size() || a.checks.size() != b.checks.size() ||
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
  require(d.head.screen_w >= 1 && d.head.screen_h >= 1, "an accepted demo has a screen size");
  require(d.head.version == 1 || d.head.version == 2, "a demo has a known version");
  const int64_t frames = int64_t(d.frames.size());
  for (std::size_t i = 0; i < d.checks.size(); ++i) {
    require(d.checks[i].frame >= 1 && d.checks[i].frame <= frames, "every checksum is for a frame played");
    require(i == 0 || d.checks[i - 1].frame < d.checks[i].frame, "checksums are in increasing frame order");
  }
  if (!d.complete)
    require(d.checks.empty() ? frames == 0 : d.checks.back().frame == frames, "a cut demo ends at its last checksum");
  for (const vorn::demo_frame& f : d.frames) {
    require(std::isfinite(f.dt) && std::isfinite(f.t), "frame times are finite");
    for (const vorn::demo_event& e : f.events) require(vorn::recordable_event(e), "event kinds are valid");
  }
  require(d.head.settings.empty() || d.head.settings.back() == '\n', "settings are whole lines");
}

// The demo as the recorder writes it: settings first, then per frame its
// events, its time and its checksum, if it has one.
std::string write_demo(const vorn::demo_data& d) {
  std::string out = std::string(d.head.version == 1 ? vorn::demo_header_v1 : vorn::demo_header) + '\n';
  out += "screen " + std::to_string(d.head.screen_w) + ' ' + std::to_string(d.head.screen_h) + '\n';
  std::size_t start = 0;
  while (start < d.head.settings.size()) {
    const std::size_t nl = d.head.settings.find('\n', start);
    out += "set " + d.head.settings.substr(start, nl - start) + '\n';
    start = nl + 1;
  }
  std::size_t next_check = 0;
  for (std::size_t i = 0; i < d.frames.size(); ++i) {
    for (const vorn::demo_event& e : d.frames[i].events) out += vorn::demo_event_line(e);
    out += vorn::demo_frame_line(d.frames[i].dt, d.frames[i].t);
    if (next_check < d.checks.size() && d.checks[next_check].frame == int64_t(i) + 1)
      out += vorn::demo_check_line(int64_t(i) + 1, d.checks[next_check++].checksum);
  }
  if (!d.complete) return out;
  for (const vorn::demo_event& e : d.trailing) out += vorn::demo_event_line(e);
  return out + vorn::demo_end_line(int64_t(d.frames.size()), d.end_checksum);
}

// The checksum of the game the demo is replayed against.
uint64_t game_checksum = 0;

// Replays the demo against a game whose checksum is game_checksum at every
// check; true when the replay departs.
bool departs(std::string_view text) {
  vorn::demo_replay replay;
  std::string error;
  require(replay.open_text(text, error), "an accepted demo opens for replay");
  vorn::demo_event e;
  while (replay.played() < replay.frames()) {
    while (replay.next_event(e)) {
    }
    require(!replay.failed(), "a replay reads what the first pass read");
    if (!replay.after_frame([] { return game_checksum; })) return true;
  }
  if (!replay.complete()) return false;
  while (replay.next_event(e)) {
  }
  return !replay.check_end([] { return game_checksum; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  vorn::demo_data demo;
  std::string error;
  if (!vorn::read_demo_text(text, demo, error)) {
    require(error.rfind("line ", 0) == 0, "a refusal names its line");
    return 0;
  }
  check_consistent(demo);

  const std::string written = write_demo(demo);
  vorn::demo_data again;
  require(vorn::read_demo_text(written, again, error), "a written demo reads again");
  require(same_demo(demo, again), "a written demo reads back to the same data");

  // Every checksum altered: a game whose checksum is none of those recorded.
  std::vector<uint64_t> recorded;
  for (const vorn::demo_check& c : demo.checks) recorded.push_back(c.checksum);
  if (demo.complete) recorded.push_back(demo.end_checksum);
  game_checksum = 0x0123456789abcdefULL;
  while (std::find(recorded.begin(), recorded.end(), game_checksum) != recorded.end()) ++game_checksum;
  require(departs(text) == !recorded.empty(), "a demo whose checksums were all altered departs");

  vorn::demo_data damaged;
  if (demo.complete) {
    require(!vorn::read_demo_text(text.substr(0, size - 1), damaged, error) || !damaged.complete,
            "a demo cut short is refused or read as cut");
    require(!vorn::read_demo_text(std::string(text) + "f 0.01 0.02\n", damaged, error),
            "a line after the end record is refused");
  }
  return 0;
}
