// Writing the option and control tables out as help text, roff and Markdown.
#include "app/option_docs.h"

#include "app/options.h"

namespace vorn {

namespace {

const control_doc controls[] = {
    {"mouse", "turn the ship towards the pointer"},
    {"button 1 (held)", "fire"},
    {"w or Up", "thrust forwards"},
    {"s or Down", "thrust backwards"},
    {"Space, Left Ctrl", "pause (releasing Space also stops firing)"},
    {"r", "respawn: spend a life and get a new ship"},
    {"p", "screenshot: screenshot-yymmdd_hh-nn-ss-zzz.bmp in the working directory, never over another file "
          "(a second one within the same millisecond is ...-zzz-1.bmp, then -2 ...)"},
    {"d", "debug view (nodes, ship circles, the world's seam)"},
    {"m", "switch between plain and anti-aliased lines"},
    {"n", "sound off and on"},
    {"Enter", "restart after \"Game Over\", exit after \"Victory!\""},
    {"F11, Alt+Enter", "switch between the window and fullscreen"},
    {"Escape", "quit; so does closing the window, or destroying it from outside"},
    {"gamepad", "left stick aims, right trigger fires, left trigger or A thrusts, B reverses, Start pauses, "
                "Back is Enter"},
};

// Help lines: the left column, then the text from this column on, wrapped
// before the 80th.
constexpr size_t text_column = 23;
constexpr size_t line_width = 79;

// "  LEFT" padded to the text column (or on a line of its own when it
// reaches it), then the text word-wrapped with continuation lines indented.
void add_row(std::string& out, const std::string& left, const std::string& text) {
  std::string line = "  " + left;
  if (line.size() + 2 > text_column) {
    out += line + '\n';
    line.clear();
  }
  line.resize(text_column, ' ');
  size_t at = 0;
  bool first_word = true;
  while (at < text.size()) {
    size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    if (!first_word && line.size() + 1 + word.size() > line_width) {
      out += line + '\n';
      line.assign(text_column, ' ');
      first_word = true;
    }
    if (!first_word) line += ' ';
    line += word;
    first_word = false;
    at = end + 1;
  }
  out += line + '\n';
}

std::string option_left(const option_spec& s) {
  std::string left = s.name;
  if (s.value != nullptr) left += std::string(" ") + s.value;
  if (s.alias != nullptr) left += std::string(", ") + s.alias;
  return left;
}

// Roff text: backslashes doubled, a dash that starts a word (an option's
// name) written as the minus sign, and a control character at the start of
// a line kept as text.
std::string roff_text(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool word_start = i == 0 || text[i - 1] == ' ' || text[i - 1] == '(' || text[i - 1] == '-';
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-' && word_start) {
      out += "\\-";
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

// "sound off and on" -> "Sound off and on."
std::string sentence(const std::string& text) {
  std::string s = text;
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  if (!s.empty() && s.back() != '.' && s.back() != '!') s += '.';
  return s;
}

}  // namespace

std::span<const control_doc> control_table() { return controls; }

std::string options_help() {
  std::string out;
  for (const option_spec& s : option_table()) add_row(out, option_left(s), s.help);
  return out;
}

std::string usage_text() {
  std::string out =
      "Usage: vorn [OPTION]...\n"
      "A soft-body space shooter: break the enemy darts apart, then reach the\n"
      "station's core with your beam.\n"
      "\n"
      "Options:\n";
  out += options_help();
  out += "\nControls:\n";
  for (const control_doc& c : controls) add_row(out, c.input, c.help);
  out +=
      "\n"
      "Exit status: 0 on a normal end, 1 on a start-up or run-time failure,\n"
      "2 on a bad command line or a damaged demo, 3 when a demo does not replay.\n";
  return out;
}

std::string options_roff() {
  std::string out;
  for (const option_spec& s : option_table()) {
    out += ".TP\n";
    const std::string name = roff_text(s.name);
    if (s.value != nullptr) {
      out += ".BI " + name + " \" " + s.value + "\"";
    } else {
      out += ".B" + std::string(s.alias != nullptr ? "R " : " ") + name;
    }
    if (s.alias != nullptr) out += " \", \" " + roff_text(s.alias);
    out += '\n' + roff_text(sentence(s.help)) + '\n';
    if (s.more[0] != '\0') out += roff_text(s.more) + '\n';
  }
  return out;
}

std::string controls_roff() {
  std::string out;
  for (const control_doc& c : controls) out += ".TP\n.B " + roff_text(c.input) + '\n' + roff_text(sentence(c.help)) + '\n';
  return out;
}

std::string controls_markdown() {
  std::string out = "| Input | Action |\n|---|---|\n";
  for (const control_doc& c : controls) out += std::string("| ") + c.input + " | " + c.help + " |\n";
  return out;
}

}  // namespace vorn
