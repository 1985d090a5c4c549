// The record parser: a small reader of text lines made of a key, a separator
// character and a value, with line and block comments and numeric readings
// of the value. The configuration file is one such text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
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
  double rval = 0.0; // str_to_real(text) if it has '.' or 'e', else ival
  std::array<double, 2> pair{};
  std::array<double, 4> quad{};
  std::array<double, 5> quint{};
  std::array<double, 3> triple{};
};

using preca = std::vector<parserectyp>;

// Parses a whole text. '{' ... '}' is a comment block that may span lines;
// lines of fewer than two characters, and lines starting "//" or ";", are
// skipped; in a value "//" and ';' end the value. With keep_blanks off,
// spaces and tabs vanish from keys and values.
preca parse_records(const char* buffer, std::size_t size, bool keep_blanks, char separator);

// Reads the whole file as raw bytes and parses it. A file that cannot be
// opened yields no records and no message. If reading fails once the file is
// open (a directory of that name, a device error), the result is empty and,
// when read_error is given, *read_error says which file and why; otherwise
// *read_error is left empty.
preca load_records(const std::string& file_name, bool keep_blanks, char separator,
                   std::string* read_error = nullptr);

}  // namespace vorn
