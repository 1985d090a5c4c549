// The browser SDL's key codes become the desktop's symbols, so that a demo
// recorded in the page replays natively and the other way round.
#include <gtest/gtest.h>

#include "app/keys.h"

namespace vorn {
namespace {

constexpr int32_t scancode(int32_t s) { return s | 1 << 10; }

TEST(Keys, KeysWithACharacterKeepIt) {
  const int32_t keys[] = {'a', 'd', 'w', 'z', '0', '9', key_return, key_escape, key_space, 8, 9, 127};
  for (const int32_t c : keys) EXPECT_EQ(key_from_browser(c), c);
}

TEST(Keys, KeysWithoutACharacterTakeTheDesktopsSymbol) {
  EXPECT_EQ(key_from_browser(scancode(82)), key_arrow_up);
  EXPECT_EQ(key_from_browser(scancode(81)), key_arrow_down);
  EXPECT_EQ(key_from_browser(scancode(79)), 275);  // right
  EXPECT_EQ(key_from_browser(scancode(80)), 276);  // left
  // The browser's SDL gives a right-hand modifier the left one's code plus 4.
  EXPECT_EQ(key_from_browser(scancode(224)), key_lctrl);
  EXPECT_EQ(key_from_browser(scancode(228)), key_rctrl);
  EXPECT_EQ(key_from_browser(scancode(225)), key_lshift);
  EXPECT_EQ(key_from_browser(scancode(229)), key_rshift);
  EXPECT_EQ(key_from_browser(scancode(226)), key_lalt);
  EXPECT_EQ(key_from_browser(scancode(230)), key_ralt);
  // Runs of keys: their ends.
  EXPECT_EQ(key_from_browser(scancode(58)), 282);   // F1
  EXPECT_EQ(key_from_browser(scancode(69)), 293);   // F12
  EXPECT_EQ(key_from_browser(scancode(106)), 296);  // F15
  EXPECT_EQ(key_from_browser(scancode(98)), 256);   // keypad 0
  EXPECT_EQ(key_from_browser(scancode(89)), 257);   // keypad 1
  EXPECT_EQ(key_from_browser(scancode(97)), 265);   // keypad 9
  EXPECT_EQ(key_from_browser(scancode(88)), 271);   // keypad enter
  EXPECT_EQ(key_from_browser(scancode(57)), 301);   // caps lock
}

TEST(Keys, ScancodesWithoutASymbolAreUnknown) {
  for (const int32_t s : {0, 56, 70, 100, 107, 200, 232, 1023}) EXPECT_EQ(key_from_browser(scancode(s)), key_unknown) << s;
}

}  // namespace
}  // namespace vorn
