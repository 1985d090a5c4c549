// The game's key symbols: SDL 1.2's numbering on every platform, so that a
// demo recorded by one build replays in every other. The browser's SDL
// numbers the keys without a character otherwise; key_from_browser turns
// its codes into the game's symbols.
#pragma once

#include <cstdint>

namespace vorn {

constexpr int32_t key_unknown = 0;
constexpr int32_t key_return = 13;
constexpr int32_t key_escape = 27;
constexpr int32_t key_space = 32;
constexpr int32_t key_d = 'd';
constexpr int32_t key_m = 'm';
constexpr int32_t key_n = 'n';
constexpr int32_t key_p = 'p';
constexpr int32_t key_r = 'r';
constexpr int32_t key_s = 's';
constexpr int32_t key_w = 'w';
constexpr int32_t key_arrow_up = 273;
constexpr int32_t key_arrow_down = 274;
constexpr int32_t key_rshift = 303;
constexpr int32_t key_lshift = 304;
constexpr int32_t key_rctrl = 305;
constexpr int32_t key_lctrl = 306;
constexpr int32_t key_ralt = 307;
constexpr int32_t key_lalt = 308;

// The browser's SDL gives a key with a character its character (letters in
// lower case) and any other key its USB scancode plus 1 << 10. The game's
// symbol for such a code; key_unknown for a scancode SDL 1.2 has no symbol for.
int32_t key_from_browser(int32_t code);

}  // namespace vorn
