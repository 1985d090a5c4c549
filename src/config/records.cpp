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

}  // namespace

preca parse_records(const char* buffer, std::size_t size, bool keep_blanks, char separator) {
  preca records;
  // At most one record per line: one allocation instead of repeated growth.
  std::size_t lines = 1;
  for (std::size_t at = 0; at < size; ++at) lines += buffer[at] == '\n';
  records.reserve(lines);
  bool in_block = false;
  std::size_t pos = 0;
  std::string line;
  while (pos < size) {
    read_line(buffer, size, pos, line);
    const std::size_t n = line.size();
    if (n <= 1) continue;
    if ((line[0] == '/' && line[1] == '/') || line[0] == ';') continue;

    // end_brace: the line's block state changed on its last character in a
    // way that still lets it be stored (see the storing rule below).
    bool end_brace = false;
    std::string key;
    std::size_t i = 0;
    bool found_separator = false;
    for (; i < n; ++i) {
      const char c = line[i];
      if (in_block) {
        if (c == '}') {
          in_block = false;
          if (i == n - 1) end_brace = true;
        }
      } else if (c == '\t' || (c == ' ' && !keep_blanks)) {
        continue;
      } else if (c == '{') {
        in_block = true;
      } else if (c == separator) {
        found_separator = true;
        break;
      } else {
        key.push_back(c);
      }
    }

    std::string text;
    bool real_flag = false;
    int components = 0;  // component separators seen: ',' and kept spaces
    if (found_separator) {
      for (i = i + 1; i < n; ++i) {
        const char c = line[i];
        if (in_block) {
          if (c == '}') {
            in_block = false;
            end_brace = i == n - 1;
          }
          continue;
        }
        if ((c == '/' && i + 1 < n && line[i + 1] == '/') || c == ';') break;
        switch (c) {
          case '{':
            in_block = true;
            if (i == n - 1) end_brace = true;
            break;
          case ' ':
            if (!text.empty() && keep_blanks) {
              ++components;
              text.push_back(c);
            }
            break;
          case '\t':
            if (!text.empty() && keep_blanks) text.push_back(c);
            break;
          case ',':
            ++components;
            text.push_back(c);
            break;
          case '.':
          case 'e':
            real_flag = true;
            text.push_back(c);
            break;
          default:
            text.push_back(c);
        }
      }
    }

    // Stored when the block state at the line's end matches end_brace: a
    // plain line (no block, no end_brace), or a value ending in an opening
    // '{'. A line left inside a block, or whose last character closes one,
    // is a comment.
    if (in_block != end_brace) continue;

    parserectyp& r = records.emplace_back();
    r.key = std::move(key);
    r.text = std::move(text);
    r.line = line;
    if (starts_number(r.text)) {
      r.ival = str_to_int(r.text);
      r.rval = real_flag ? str_to_real(r.text) : static_cast<double>(r.ival);
      if (components >= 1) r.pair = str_to_pair(r.text);
      if (components >= 2) r.triple = str_to_triple(r.text);
      if (components >= 3) r.quad = str_to_quad(r.text);
      if (components >= 4) r.quint = str_to_quint(r.text);
      r.bval = r.ival > 0;
    }
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
