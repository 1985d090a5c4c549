// Echoing file text in messages: what a terminal would act on is escaped,
// and readable text (UTF-8 included) is left as it is.
#include <gtest/gtest.h>

#include <string>

#include "base/printable.h"

namespace vorn {
namespace {

TEST(Printable, ControlBytesAndBrokenUtf8AreEscapedReadableTextIsKept) {
  using namespace std::string_literals;
  const struct {
    std::string in, out;
  } cases[] = {
      {"demo 1.txt", "demo 1.txt"},
      {"a\x1b[31mred", "a\\x1b[31mred"},         // a colour change
      {"line\nnext\r\t", "line\\x0anext\\x0d\\x09"},
      {"nul\0in"s, "nul\\x00in"},
      {"del\x7f", "del\\x7f"},
      {"back\\slash", "back\\\\slash"},
      {"gr\xc3\xbc\xc3\x9f", "gr\xc3\xbc\xc3\x9f"},  // two-byte characters
      {"\xe2\x82\xac \xf0\x9f\x9a\x80", "\xe2\x82\xac \xf0\x9f\x9a\x80"},  // three and four bytes
      {"\xc2\x9b", "\\xc2\\x9b"},                // a C1 control (CSI)
      {"\xc0\xaf", "\\xc0\\xaf"},                // an overlong '/'
      {"\xe0\x80\xaf", "\\xe0\\x80\\xaf"},       // overlong, three bytes
      {"\xed\xa0\x80", "\\xed\\xa0\\x80"},       // a surrogate
      {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},  // beyond U+10FFFF
      {"\xe2\x82", "\\xe2\\x82"},                // cut short at the end
      {"\xe2(x", "\\xe2(x"},                     // a lead byte without its continuation
      {"\xff\xfe", "\\xff\\xfe"},
  };
  for (const auto& c : cases) EXPECT_EQ(printable(c.in), c.out) << c.out;
}

}  // namespace
}  // namespace vorn
