// Reading and writing demo text.
#include "app/demo.h"

#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "base/real_text.h"

namespace vorn {

namespace {

std::string real_text(double v) {
  char buf[64];
  const auto res = real_to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

// Splits a line at single spaces. After a space, start is at most the
// line's size, so the loop ends only at the last field.
std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (;;) {
    const size_t sp = line.find(' ', start);
    const size_t end = sp == std::string_view::npos ? line.size() : sp;
    out.push_back(line.substr(start, end - start));
    if (sp == std::string_view::npos) break;
    start = sp + 1;
  }
  return out;
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
  return res.ec == std::errc() && res.ptr == s.data() + s.size() && std::isfinite(out);
}

bool valid_kind(int32_t k) { return k == 1 || (k >= 3 && k <= 7); }

}  // namespace

std::string checksum_hex(uint64_t checksum) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016" PRIx64, checksum);
  return buf;
}

std::string demo_event_line(const demo_event& e) {
  return "e " + std::to_string(e.kind) + ' ' + std::to_string(e.x) + ' ' + std::to_string(e.y) + ' ' +
         std::to_string(e.key) + ' ' + std::to_string(e.state) + '\n';
}

std::string demo_frame_line(double dt, double t) { return "f " + real_text(dt) + ' ' + real_text(t) + '\n'; }

std::string demo_check_line(int64_t frame, uint64_t checksum) {
  return "c " + std::to_string(frame) + ' ' + checksum_hex(checksum) + '\n';
}

std::string demo_end_line(int64_t frames, uint64_t checksum) {
  return "end " + std::to_string(frames) + ' ' + checksum_hex(checksum) + '\n';
}

bool parse_demo(std::string_view text, demo_data& out, std::string& error) {
  out = demo_data{};
  std::vector<demo_event> pending;
  bool ended = false;
  size_t pos = 0;
  int64_t line_no = 0;
  size_t frames_at_check = 0;  // frames read when the last checksum record came
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(line_no) + ": " + why;
    return false;
  };
  while (pos < text.size()) {
    const size_t nl = text.find('\n', pos);
    ++line_no;
    if (nl == std::string_view::npos) {
      // An unfinished last line: the cut of a recording that was killed.
      if (ended) return fail("text after the end record");
      if (line_no <= 2) return fail("the demo is cut short (no line end)");
      break;
    }
    const std::string_view line = text.substr(pos, nl - pos);
    pos = nl + 1;
    if (ended) return fail("text after the end record");
    if (line_no == 1) {
      if (line == demo_header) {
        out.version = 2;
      } else if (line == demo_header_v1) {
        out.version = 1;
      } else {
        return fail("not a demo of this game's format (expected \"" + std::string(demo_header) + "\")");
      }
      continue;
    }
    const auto f = fields(line);
    const std::string_view tag = f[0];
    if (tag == "screen") {
      if (f.size() != 3 || !read_int(f[1], out.screen_w) || !read_int(f[2], out.screen_h) || out.screen_w < 1 ||
          out.screen_h < 1 || out.screen_w > 16384 || out.screen_h > 16384)
        return fail("bad screen size");
    } else if (tag == "set") {
      if (line.size() < 5 || line.find('=') == std::string_view::npos) return fail("bad setting");
      if (!out.frames.empty() || !pending.empty()) return fail("a setting after the first frame");
      out.settings.append(line.substr(4));
      out.settings.push_back('\n');
    } else if (tag == "e") {
      demo_event e{};
      int32_t state = 0;
      if (f.size() != 6 || !read_int(f[1], e.kind) || !valid_kind(e.kind) || !read_int(f[2], e.x) ||
          !read_int(f[3], e.y) || !read_int(f[4], e.key) || e.key < 0 || e.key > 0xFFFF ||
          !read_int(f[5], state) || state < 0 || state > 0xFFFF)
        return fail("bad event");
      e.state = static_cast<uint16_t>(state);
      pending.push_back(e);
    } else if (tag == "f") {
      demo_frame fr{};
      if (f.size() != 3 || !read_real(f[1], fr.dt) || !read_real(f[2], fr.t)) return fail("bad frame");
      fr.events = std::move(pending);
      pending.clear();
      out.frames.push_back(std::move(fr));
    } else if (tag == "c" || tag == "end") {
      demo_check c{};
      if (f.size() != 3 || !read_int(f[1], c.frame) || f[2].size() != 16 || !read_int(f[2], c.checksum, 16))
        return fail("bad checksum record");
      if (c.frame != static_cast<int64_t>(out.frames.size())) return fail("a checksum for the wrong frame");
      if (!out.checks.empty() && out.checks.back().frame == c.frame && tag == "c")
        return fail("two checksums for one frame");
      out.checks.push_back(c);
      frames_at_check = out.frames.size();
      if (tag == "end") {
        out.trailing = std::move(pending);
        pending.clear();
        ended = true;
      }
    } else {
      return fail("unknown record '" + std::string(tag.substr(0, 20)) + "'");
    }
  }
  if (line_no == 0) return fail("the demo is empty");
  if (out.screen_w == 0) return fail("the demo has no screen size");
  out.complete = ended;
  if (!ended) out.frames.resize(frames_at_check);
  return true;
}

}  // namespace vorn
