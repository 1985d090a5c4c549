// The record parser: a small reader of text lines made of a key, a separator
// character and a value, with line and block comments and numeric readings
// of the value. The configuration file is one such text, parsed as it is read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// Lines, and so keys and values, never exceed this many characters; a longer
// physical line continues as the next line.
constexpr std::size_t max_line_length = 250;

// One stored line. The numeric fields are filled only when `text` starts
// with '+', '-' or a digit; otherwise they stay zero and `bval` false.
struct parserectyp {
  std::string key;   // before the separator; blanks removed unless kept
  std::string text;  // the value as collected, comments left out
  std::string line;  // the whole line as read, without CR and LF
  int32_t ival = 0;  // str_to_int(text)
  bool bval = false; // ival > 0
  // The exact value of a complete integer literal (read_integer_literal),
  // else str_to_real(text) if it has '.' or 'e', else ival.
  double rval = 0.0;
  std::array<double, 2> pair{};
  std::array<double, 4> quad{};
  std::array<double, 5> quint{};
  std::array<double, 3> triple{};
};

using preca = std::vector<parserectyp>;

// What the parser carries from one piece of a text to the next, so that a
// file can be parsed as it is read, holding no more than one line.
struct record_stream {
  bool keep_blanks = false;
  char separator = '=';
  bool in_block = false;  // inside a '{' ... '}' comment block
  bool started = false;   // the text's first piece has been seen
  std::string line;       // the line gathered so far
};

// Receives each stored record, in text order.
using record_sink = std::function<void(const parserectyp&)>;

// Parses the next piece of a text; a line may run on into the next piece.
// '{' ... '}' is a comment block that may span lines; lines of fewer than
// two characters, and lines starting "//" or ";", are skipped; in a value
// "//" and ';' end the value. With keep_blanks off, spaces and tabs vanish
// from keys and values. A UTF-8 byte-order mark at the very start of the
// text is skipped (it must arrive whole in the first piece).
void feed_records(record_stream& s, std::string_view piece, const record_sink& sink);
// The end of the text: its last line, when no LF ended it.
void end_records(record_stream& s, const record_sink& sink);

// Parses a whole text held in memory.
preca parse_records(const char* buffer, std::size_t size, bool keep_blanks, char separator);

}  // namespace vorn
