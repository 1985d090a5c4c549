// The --version text.
#include "app/version.h"

namespace vorn {

std::string version_text() { return std::string("vorn ") + product_version + " (" + game_caption + ")\n"; }

}  // namespace vorn
