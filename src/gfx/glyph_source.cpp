// Reader of the font's glyph source: checks every rule the font relies on
// (cell order, cell size, the character of each cell, ink only in rows 0..8
// and inside the advance) and lays the cells out as the font image.
#include "gfx/glyph_source.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <utility>

#include "gfx/glyph_map.h"

namespace vorn {

namespace {

struct source_lines {
  std::string_view text;
  size_t pos = 0;
  int32_t number = 0;

  // The next line that is neither blank nor a comment; false at the end.
  bool next(std::string_view& line) {
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      line = text.substr(pos, end - pos);
      pos = end + 1;
      ++number;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (!line.empty() && line.front() != ';') return true;
    }
    return false;
  }
};

std::string at(int32_t line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

// Splits off the next space-separated word of rest.
std::string_view take_word(std::string_view& rest) {
  size_t start = rest.find_first_not_of(' ');
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  rest.remove_prefix(start);
  size_t end = rest.find(' ');
  std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
  return word;
}

bool to_number(std::string_view word, int32_t& value) {
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && ptr == word.data() + word.size();
}

// Checks a cell header "cell N code C label" or "cell N empty" for cell
// `expected`; sets advance to the columns the glyph may use plus one.
bool parse_header(std::string_view line, int32_t number, int32_t expected, int32_t& advance,
                  std::string& error) {
  std::string_view rest = line;
  int32_t cell = -1;
  if (line.front() == '#' || line.front() == '.') {
    error = at(number, "a glyph row where the header of cell " + std::to_string(expected) +
                           " belongs: cell " + std::to_string(expected - 1) + " has more than " +
                           std::to_string(font_cell_size) + " rows");
    return false;
  }
  if (take_word(rest) != "cell" || !to_number(take_word(rest), cell)) {
    error = at(number, "expected a cell header \"cell <number> code <byte> <label>\"");
    return false;
  }
  if (cell != expected) {
    error = at(number, "expected cell " + std::to_string(expected) + ", found cell " +
                           std::to_string(cell));
    return false;
  }
  std::string_view kind = take_word(rest);
  if (cell == empty_cell) {
    if (kind != "empty") {
      error = at(number, "cell " + std::to_string(empty_cell) + " is the empty cell: \"cell " +
                             std::to_string(empty_cell) + " empty\"");
      return false;
    }
    advance = 1;  // no column may hold ink
    return true;
  }
  int32_t code = -1;
  if (kind != "code" || !to_number(take_word(rest), code) || code < 0 || code > 255) {
    error = at(number, "expected \"code <byte>\" after the cell number");
    return false;
  }
  if (glyph_cell(static_cast<uint8_t>(code)) != cell) {
    error = at(number, "code " + std::to_string(code) + " belongs to cell " +
                           std::to_string(glyph_cell(static_cast<uint8_t>(code))) +
                           ", not cell " + std::to_string(cell));
    return false;
  }
  advance = glyph_advance(static_cast<uint8_t>(code));
  return true;
}

// Rows 9 and 10 stay empty so that text lines never touch.
constexpr int32_t last_ink_row = 8;

bool parse_row(std::string_view line, int32_t number, int32_t cell, int32_t row, int32_t advance,
               glyph_sheet& sheet, std::string& error) {
  const std::string where = "cell " + std::to_string(cell) + " row " + std::to_string(row);
  if (line.size() != static_cast<size_t>(font_cell_size)) {
    error = at(number, where + " is " + std::to_string(line.size()) +
                           " characters wide, expected " + std::to_string(font_cell_size) +
                           " (or the cell has fewer than " + std::to_string(font_cell_size) +
                           " rows)");
    return false;
  }
  for (int32_t k = 0; k < font_cell_size; ++k) {
    const char c = line[k];
    if (c == '.') continue;
    if (c != '#') {
      error = at(number, where + ": unexpected character '" + std::string(1, c) +
                             "'; glyph rows hold only '#' and '.'");
      return false;
    }
    if (row > last_ink_row) {
      error = at(number, where + " has ink; rows 9 and 10 must stay empty");
      return false;
    }
    if (k > advance - 2) {
      error = at(number, where + " has ink in column " + std::to_string(k) +
                             (cell == empty_cell ? "; the empty cell has no ink"
                                                 : "; with advance " + std::to_string(advance) +
                                                       " ink may use columns 0 to " +
                                                       std::to_string(advance - 2)));
      return false;
    }
    const int32_t x = (cell % font_grid_columns) * font_cell_size + k;
    const int32_t y = (cell / font_grid_columns) * font_cell_size + row;
    sheet[x + y * font_image_w] = 1;
  }
  return true;
}

}  // namespace

bool parse_glyph_source(std::string_view text, glyph_sheet& sheet, std::string& error) {
  glyph_sheet result(static_cast<size_t>(font_image_w * font_image_h), 0);
  source_lines lines{text};
  std::string_view line;
  for (int32_t cell = 0; cell < font_cells; ++cell) {
    if (!lines.next(line)) {
      error = at(lines.number, "the file ends before cell " + std::to_string(cell) + " (" +
                                   std::to_string(font_cells) + " cells expected)");
      return false;
    }
    int32_t advance = 0;
    if (!parse_header(line, lines.number, cell, advance, error)) return false;
    for (int32_t row = 0; row < font_cell_size; ++row) {
      if (!lines.next(line)) {
        error = at(lines.number, "the file ends inside cell " + std::to_string(cell));
        return false;
      }
      if (!parse_row(line, lines.number, cell, row, advance, result, error)) return false;
    }
  }
  if (lines.next(line)) {
    error = at(lines.number, "unexpected text after the last cell (or a cell with more than " +
                                 std::to_string(font_cell_size) + " rows)");
    return false;
  }
  sheet = std::move(result);
  return true;
}

bool read_glyph_source(const std::string& path, glyph_sheet& sheet, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    error = "cannot read " + path;
    return false;
  }
  if (!parse_glyph_source(text.str(), sheet, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace vorn
