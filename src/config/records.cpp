// The record parser: lines, comments, keys, values and their readings.
#include "config/records.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "config/numread.h"

namespace vorn {

namespace {

// Takes the next line from buffer[pos...] into `line`: CR and LF are dropped
// wherever they stand; the line ends after an LF, at the end of the buffer,
// or once max_line_length characters are taken (the rest of the physical
// line is then the next line). Runs without CR are copied whole.
void read_line(const char* buffer, std::size_t size, std::size_t& pos, std::string& line) {
  line.clear();
  while (pos < size && line.size() < max_line_length) {
    const std::size_t room = std::min(size - pos, max_line_length - line.size());
    const char* start = buffer + pos;
    const char* stop = static_cast<const char*>(std::memchr(start, '\n', room));
    const std::size_t run = stop ? static_cast<std::size_t>(stop - start) : room;
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', run));
    if (cr) {
      line.append(start, cr);
      pos += static_cast<std::size_t>(cr - start) + 1;
      continue;
    }
    line.append(start, run);
    pos += run;
    if (stop) {
      ++pos;
      break;
    }
  }
}

bool starts_number(const std::string& s) {
  return !s.empty() && (s[0] == '+' || s[0] == '-' || (s[0] >= '0' && s[0] <= '9'));
}

// At most one record per line: the number of lines, for one allocation
// instead of repeated growth.
std::size_t count_lines(const char* buffer, std::size_t size) {
  std::size_t lines = 1;
  for (std::size_t at = 0; at < size; ++at) lines += buffer[at] == '\n';
  return lines;
}

// Lines of fewer than two characters and lines starting "//" or ";" are
// skipped whole, before any scanning (so they neither open nor close a
// comment block).
bool skipped_line(const std::string& line) {
  return line.size() <= 1 || (line[0] == '/' && line[1] == '/') || line[0] == ';';
}

// What the scan of one line gathers.
struct line_fields {
  std::string key;
  std::string text;
  // The line's block state changed on its last character in a way that
  // still lets it be stored (see stored_line).
  bool end_brace = false;
  bool real_flag = false;  // the value has a '.' or an 'e'
  int components = 0;      // component separators seen: ',' and kept spaces
};

// The key: the line's characters before the first separator outside a
// comment block, tabs left out, and spaces too unless keep_blanks. Returns
// the separator's index, or npos when the line has none. in_block is the
// block state, carried from line to line.
std::size_t scan_key(const std::string& line, bool keep_blanks, char separator, bool& in_block,
                     line_fields& f) {
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = line[i];
    if (in_block) {
      if (c == '}') {
        in_block = false;
        if (i == n - 1) f.end_brace = true;
      }
    } else if (c == '\t' || (c == ' ' && !keep_blanks)) {
      continue;
    } else if (c == '{') {
      in_block = true;
    } else if (c == separator) {
      return i;
    } else {
      f.key.push_back(c);
    }
  }
  return std::string::npos;
}

// "//" or ';' at line[i] ends the value.
bool value_comment_at(const std::string& line, std::size_t i) {
  const char c = line[i];
  return (c == '/' && i + 1 < line.size() && line[i + 1] == '/') || c == ';';
}

// A character of the value outside any comment. Blanks are taken only with
// keep_blanks and once the value has begun, a space then counting as a
// component separator; ',' separates components; '.' and 'e' mark a real.
void take_value_char(char c, bool keep_blanks, line_fields& f) {
  switch (c) {
    case ' ':
      if (!f.text.empty() && keep_blanks) {
        ++f.components;
        f.text.push_back(c);
      }
      break;
    case '\t':
      if (!f.text.empty() && keep_blanks) f.text.push_back(c);
      break;
    case ',':
      ++f.components;
      f.text.push_back(c);
      break;
    case '.':
    case 'e':
      f.real_flag = true;
      f.text.push_back(c);
      break;
    default:
      f.text.push_back(c);
  }
}

// The value: the line's characters from line[from] on, comment blocks left
// out, up to a "//" or ';' outside a block or the line's end.
void scan_value(const std::string& line, std::size_t from, bool keep_blanks, bool& in_block,
                line_fields& f) {
  const std::size_t n = line.size();
  for (std::size_t i = from; i < n; ++i) {
    const char c = line[i];
    if (in_block) {
      if (c == '}') {
        in_block = false;
        f.end_brace = i == n - 1;
      }
      continue;
    }
    if (value_comment_at(line, i)) break;
    if (c == '{') {
      in_block = true;
      if (i == n - 1) f.end_brace = true;
    } else {
      take_value_char(c, keep_blanks, f);
    }
  }
}

// A line is stored when the block state at its end matches end_brace: a
// plain line (no block, no end_brace), or a value ending in an opening '{'.
// A line left inside a block, or whose last character closes one, is a
// comment.
bool stored_line(bool in_block, const line_fields& f) { return in_block == f.end_brace; }

// The numeric readings of a value that starts like a number.
void read_numbers(parserectyp& r, bool real_flag, int components) {
  r.ival = str_to_int(r.text);
  r.rval = real_flag ? str_to_real(r.text) : static_cast<double>(r.ival);
  if (components >= 1) r.pair = str_to_pair(r.text);
  if (components >= 2) r.triple = str_to_triple(r.text);
  if (components >= 3) r.quad = str_to_quad(r.text);
  if (components >= 4) r.quint = str_to_quint(r.text);
  r.bval = r.ival > 0;
}

// The record of a stored line: its key, its value and the line itself,
// with the value's numeric readings.
void store_record(parserectyp& r, const std::string& line, line_fields& f) {
  r.key = std::move(f.key);
  r.text = std::move(f.text);
  r.line = line;
  if (starts_number(r.text)) read_numbers(r, f.real_flag, f.components);
}

}  // namespace

preca parse_records(const char* buffer, std::size_t size, bool keep_blanks, char separator) {
  preca records;
  records.reserve(count_lines(buffer, size));
  bool in_block = false;
  std::size_t pos = 0;
  std::string line;
  while (pos < size) {
    read_line(buffer, size, pos, line);
    if (skipped_line(line)) continue;
    line_fields f;
    const std::size_t at = scan_key(line, keep_blanks, separator, in_block, f);
    if (at != std::string::npos) scan_value(line, at + 1, keep_blanks, in_block, f);
    if (stored_line(in_block, f)) store_record(records.emplace_back(), line, f);
  }
  return records;
}

preca load_records(const std::string& file_name, bool keep_blanks, char separator,
                   std::string* read_error) {
  if (read_error) read_error->clear();
  std::FILE* f = std::fopen(file_name.c_str(), "rb");
  if (!f) return {};
  std::vector<char> buffer;
  char chunk[4096];
  int error = 0;
  for (;;) {
    errno = 0;
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, f);
    buffer.insert(buffer.end(), chunk, chunk + got);
    if (got < sizeof chunk) {
      if (std::ferror(f)) error = errno != 0 ? errno : EIO;
      break;
    }
  }
  std::fclose(f);
  if (error != 0) {
    if (read_error) *read_error = "cannot read \"" + file_name + "\": " + std::strerror(error);
    return {};
  }
  return parse_records(buffer.data(), buffer.size(), keep_blanks, separator);
}

}  // namespace vorn
