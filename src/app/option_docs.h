// The option and control tables written out for people: the --help text,
// and the same lists as roff for the manual page and as Markdown for the
// README, so that the three always agree.
#pragma once

#include <span>
#include <string>

namespace vorn {

// A key or pointer action and what it does.
struct control_doc {
  const char* input;  // "w or Up"
  const char* help;   // "thrust forwards"
};

// Every control, in the order --help lists them.
std::span<const control_doc> control_table();

// The whole --help text: usage, every option, the controls, the exit status.
std::string usage_text();

// The options as --help lists them (the README shows the same block).
std::string options_help();

// The manual page's OPTIONS and KEYS paragraphs (.TP entries).
std::string options_roff();
std::string controls_roff();

// The README's table of controls.
std::string controls_markdown();

}  // namespace vorn
