// Browser key codes to the game's (SDL 1.2's) key symbols.
#include "app/keys.h"

namespace vorn {

namespace {

constexpr int32_t scancode_flag = 1 << 10;

struct scancode_symbol {
  int32_t first_scancode;
  int32_t last_scancode;
  int32_t first_symbol;  // the symbols run on in step with the scancodes
};

// USB scancodes and the SDL 1.2 symbols of the same keys.
constexpr scancode_symbol scancode_symbols[] = {
    {57, 57, 301},     // caps lock
    {58, 69, 282},     // F1 .. F12
    {71, 71, 302},     // scroll lock
    {73, 73, 277},     // insert
    {74, 74, 278},     // home
    {75, 75, 280},     // page up
    {77, 77, 279},     // end
    {78, 78, 281},     // page down
    {79, 79, 275},     // right
    {80, 80, 276},     // left
    {81, 81, key_arrow_down},
    {82, 82, key_arrow_up},
    {83, 83, 300},     // num lock
    {84, 88, 267},     // keypad / * - + enter
    {89, 97, 257},     // keypad 1 .. 9
    {98, 98, 256},     // keypad 0
    {99, 99, 266},     // keypad .
    {101, 101, 319},   // menu
    {104, 106, 294},   // F13 .. F15
    {224, 224, key_lctrl},
    {225, 225, key_lshift},
    {226, 226, key_lalt},
    {227, 227, 311},   // left super
    {228, 228, key_rctrl},
    {229, 229, key_rshift},
    {230, 230, key_ralt},
    {231, 231, 312},   // right super
};

}  // namespace

int32_t key_from_browser(int32_t code) {
  if ((code & scancode_flag) == 0) return code & 0xFFFF;
  const int32_t scancode = code & ~scancode_flag;
  for (const scancode_symbol& s : scancode_symbols) {
    if (scancode >= s.first_scancode && scancode <= s.last_scancode) {
      return s.first_symbol + (scancode - s.first_scancode);
    }
  }
  return key_unknown;
}

}  // namespace vorn
