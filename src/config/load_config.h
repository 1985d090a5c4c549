// The configuration loader: applies the key=value lines of the configuration
// file to the tunables.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// The file the game reads from its working directory at start-up.
inline constexpr const char* config_file_name = "vorn_config.txt";

// ok is false when the file exists and was opened but could not be read, or
// when a file that must exist does not; message then names the file and the
// reason, for the caller to show.
struct config_status {
  bool ok = true;
  std::string message;
};

// Applies every record of the file in file order, so a later line overrides
// an earlier one. A record's key is compared, exactly and case-sensitively,
// with the key table in its order; the first equal name applies: an integer
// tunable takes the record's ival, a real its rval, the flag its bval.
// Records with any other key are ignored. A missing file, or one that cannot
// be opened, leaves every tunable as it was and is no error, unless
// must_exist (a file the user named) makes a missing one an error. On a read
// error nothing is applied.
config_status load_config(const std::string& file_name, bool must_exist = false);

// Applies configuration text held in memory by the same rules (demos carry
// the settings they were recorded with this way).
void apply_config_text(std::string_view text);

}  // namespace vorn
