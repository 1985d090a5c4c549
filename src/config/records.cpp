// The record parser: lines, comments, keys, values and their readings.
#include "config/records.h"

#include <algorithm>
#include <cstring>

#include "config/numread.h"

namespace vorn {

namespace {

// Takes bytes of `piece` from `pos` on into `line`: CR and LF are dropped
// wherever they stand. True when the line is complete: after an LF, or once
// it holds max_line_length characters (the rest of the physical line is
// then the next line); false when the piece ran out first. Runs without CR
// are copied whole.
bool take_line(std::string_view piece, std::size_t& pos, std::string& line) {
  while (pos < piece.size() && line.size() < max_line_length) {
    const std::size_t room = std::min(piece.size() - pos, max_line_length - line.size());
    const char* start = piece.data() + pos;
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
      return true;
    }
  }
  return line.size() == max_line_length;
}

bool starts_number(const std::string& s) {
  return !s.empty() && (s[0] == '+' || s[0] == '-' || (s[0] >= '0' && s[0] <= '9'));
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
  if (!read_integer_literal(r.text, r.rval))
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

// One complete line: stored or not, by the rules above.
void parse_line(record_stream& s, const record_sink& sink) {
  if (skipped_line(s.line)) return;
  line_fields f;
  const std::size_t at = scan_key(s.line, s.keep_blanks, s.separator, s.in_block, f);
  if (at != std::string::npos) scan_value(s.line, at + 1, s.keep_blanks, s.in_block, f);
  if (!stored_line(s.in_block, f)) return;
  parserectyp r;
  store_record(r, s.line, f);
  sink(r);
}

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

}  // namespace

void feed_records(record_stream& s, std::string_view piece, const record_sink& sink) {
  std::size_t pos = 0;
  if (!s.started && !piece.empty()) {
    s.started = true;
    if (piece.substr(0, utf8_bom.size()) == utf8_bom) pos = utf8_bom.size();
  }
  while (pos < piece.size()) {
    if (!take_line(piece, pos, s.line)) break;
    parse_line(s, sink);
    s.line.clear();
  }
}

void end_records(record_stream& s, const record_sink& sink) {
  if (!s.line.empty()) parse_line(s, sink);
  s.line.clear();
}

preca parse_records(const char* buffer, std::size_t size, bool keep_blanks, char separator) {
  preca records;
  const record_sink keep = [&](const parserectyp& r) { records.push_back(r); };
  record_stream s;
  s.keep_blanks = keep_blanks;
  s.separator = separator;
  feed_records(s, std::string_view(buffer, size), keep);
  end_records(s, keep);
  return records;
}

}  // namespace vorn
