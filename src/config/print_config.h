// The settings in effect as configuration text (printed or written to a
// file), and the reference table of every key for the documentation; both
// are generated from the key table.
#pragma once

#include <string>

#include "config/tunables.h"

namespace vorn {

// A real as the configuration file writes it: the shortest text that reads
// back to exactly the same double, always starting with a sign or a digit
// and always holding a '.' or an 'e' (150.0 -> "150.0", 1e22 -> "1e+22",
// -0.0 -> "-0.0"), so the record parser reads it as a real. Infinities and
// NaN, which the number readers never produce, print as "inf", "-inf", "nan".
std::string format_real(double x);

// A tunable's value as the configuration file writes it: the flag as 1 or 0,
// integers in decimal, reals by format_real.
std::string format_tunable(const tunable& t);

// Every tunable as one key=value line, in the key table's order. Loading
// this text gives back exactly the same values.
std::string format_config();

// Writes format_config() into the file `path`, creating or replacing it
// whole: the old file stays as it was until the new one is complete and on
// the disk (base/file_write.h). 0, or the errno of what failed.
int write_config_file(const std::string& path);

// A Markdown table of every key: type, default and meaning, in table order.
std::string config_reference_markdown();
// The same reference as roff paragraphs (.TP), for the manual page.
std::string config_reference_roff();

}  // namespace vorn
