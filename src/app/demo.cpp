// Writing demo lines.
#include "app/demo.h"

#include <charconv>
#include <cmath>

#include "base/real_text.h"

namespace vorn {

namespace {

template <typename T>
void append_number(std::string& out, T v) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

// The shortest text that reads back bit for bit.
void append_real(std::string& out, double v) {
  char buf[32];
  const auto res = real_to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

void append_hex(std::string& out, uint64_t v) {
  static constexpr char digits[] = "0123456789abcdef";
  for (int shift = 60; shift >= 0; shift -= 4) out += digits[(v >> shift) & 15];
}

template <typename F>
std::string line_of(F append) {
  std::string out;
  append(out);
  return out;
}

}  // namespace

bool recordable_event(const demo_event& e) {
  return (e.kind == 1 || (e.kind >= 3 && e.kind <= 7)) && e.key >= 0 && e.key <= 0xFFFF;
}

bool recordable_time(double seconds) { return std::isfinite(seconds); }

std::string checksum_hex(uint64_t checksum) {
  return line_of([&](std::string& s) { append_hex(s, checksum); });
}

void append_event_line(std::string& out, const demo_event& e) {
  out += "e ";
  append_number(out, e.kind);
  out += ' ';
  append_number(out, e.x);
  out += ' ';
  append_number(out, e.y);
  out += ' ';
  append_number(out, e.key);
  out += ' ';
  append_number(out, e.state);
  out += '\n';
}

void append_frame_line(std::string& out, double dt, double t) {
  out += "f ";
  append_real(out, dt);
  out += ' ';
  append_real(out, t);
  out += '\n';
}

namespace {

// "TAG COUNT CHECKSUM": the shape of both checksum records.
void append_count_and_checksum(std::string& out, const char* tag, int64_t count, uint64_t checksum) {
  out += tag;
  out += ' ';
  append_number(out, count);
  out += ' ';
  append_hex(out, checksum);
  out += '\n';
}

}  // namespace

void append_check_line(std::string& out, int64_t frame, uint64_t checksum) {
  append_count_and_checksum(out, "c", frame, checksum);
}

void append_end_line(std::string& out, int64_t frames, uint64_t checksum) {
  append_count_and_checksum(out, "end", frames, checksum);
}

std::string demo_event_line(const demo_event& e) {
  return line_of([&](std::string& s) { append_event_line(s, e); });
}
std::string demo_frame_line(double dt, double t) {
  return line_of([&](std::string& s) { append_frame_line(s, dt, t); });
}
std::string demo_check_line(int64_t frame, uint64_t checksum) {
  return line_of([&](std::string& s) { append_check_line(s, frame, checksum); });
}
std::string demo_end_line(int64_t frames, uint64_t checksum) {
  return line_of([&](std::string& s) { append_end_line(s, frames, checksum); });
}

}  // namespace vorn
