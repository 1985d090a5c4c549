// The help text and the manual page's lists, as generated from the option
// and control tables: everything listed, in column, within 80 columns, and
// roff that a formatter reads as text.
#include "app/option_docs.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/version.h"

namespace vorn {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(HelpText, ListsEveryOptionAndControlInColumn) {
  const std::string help = usage_text();
  for (const option_spec& s : option_table()) {
    EXPECT_NE(help.find(std::string("  ") + s.name), std::string::npos) << s.name;
    if (s.alias) {
      EXPECT_NE(help.find(std::string(", ") + s.alias), std::string::npos) << s.alias;
    }
  }
  for (const control_doc& c : control_table()) EXPECT_NE(help.find(c.input), std::string::npos) << c.input;
  // Every row of the two lists starts its text in one column: a line is
  // either an entry ("  NAME" then blanks up to it), a name alone, or a
  // continuation indented to it.
  constexpr size_t column = 23;
  bool in_list = false;
  for (const std::string& line : lines_of(help)) {
    EXPECT_LE(line.size(), 79u) << line;
    if (line == "Options:" || line == "Controls:") {
      in_list = true;
      continue;
    }
    if (line.empty()) in_list = false;
    if (!in_list) continue;
    ASSERT_GT(line.size(), 2u) << line;
    EXPECT_EQ(line.compare(0, 2, "  "), 0) << line;
    if (line.find("  ", 2) == std::string::npos) continue;  // a name too long for the column, alone
    EXPECT_NE(line[column], ' ') << line;
    EXPECT_EQ(line[column - 1], ' ') << line;
    EXPECT_EQ(line[column - 2], ' ') << line;
  }
}

TEST(HelpText, ManualPageListsAreRoffText) {
  for (const std::string& text : {options_roff(), controls_roff()}) {
    for (const std::string& line : lines_of(text)) {
      ASSERT_FALSE(line.empty());
      // A request, or text that does not start like one.
      if (line[0] == '.') {
        EXPECT_TRUE(line == ".TP" || line.rfind(".B ", 0) == 0 || line.rfind(".BI ", 0) == 0 ||
                    line.rfind(".BR ", 0) == 0)
            << line;
      }
      EXPECT_NE(line[0], '\'') << line;
      // Options' dashes are minus signs, never hyphens that may break a line.
      EXPECT_EQ(line.find(" --"), std::string::npos) << line;
    }
  }
  EXPECT_NE(options_roff().find(".BR \\-\\-help \", \" \\-h"), std::string::npos);
  EXPECT_NE(options_roff().find(".BI \\-\\-config \" FILE\""), std::string::npos);
}

TEST(HelpText, VersionNamesTheProductAndTheCaption) {
  EXPECT_EQ(version_text(), std::string("vorn ") + product_version + " (Vorn 110520)\n");
}

}  // namespace
}  // namespace vorn
