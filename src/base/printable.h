// Text that came from a file or the command line, made safe to echo in a
// message: a control byte or a byte that is not part of well-formed UTF-8
// would move the terminal's cursor or change its colours, so it is shown as
// \xNN instead (and a backslash as \\, so that the escapes stay unambiguous).
#pragma once

#include <string>
#include <string_view>

namespace vorn {

std::string printable(std::string_view text);

}  // namespace vorn
