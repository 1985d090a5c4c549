// The game's two versions: the product's, from the build (the package, the
// manual page and the AppStream data carry it), and the caption's, the
// game's own name shown in its window's title.
#pragma once

#include <string>

#include "app/product_version.h"

namespace vorn {

constexpr const char* game_caption = "Vorn 110520";

// The --version text: "vorn 1.0 (Vorn 110520)".
std::string version_text();

}  // namespace vorn
