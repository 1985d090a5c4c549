// The configuration loader: applies the key=value lines of a configuration
// file to the tunables, reading the file as it parses it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

// The file the game reads from its working directory at start-up.
inline constexpr const char* config_file_name = "vorn_config.txt";

// What came of loading a file. ok false: an error, to show before stopping;
// ok with a message: a warning to show (a file that is there but cannot be
// opened, when it need not exist), the tunables unchanged.
struct config_status {
  bool ok = true;
  std::string message;
  bool read = false;  // the file was read and applied
  // The file read, to tell whether another open file is the same one.
  uint64_t device = 0;
  uint64_t inode = 0;
};

// Applies every record of the file in file order, so a later line overrides
// an earlier one. A record's key is compared, exactly and case-sensitively,
// with the key table in its order; the first equal name applies: an integer
// tunable takes the record's ival, a real its rval, the flag its bval.
// Records with any other key are ignored. A missing file leaves every
// tunable as it was and is no error, unless must_exist (a file the user
// named) makes it one; so is a file that cannot be opened, which is
// otherwise a warning. A file that is not a regular one, one larger than
// 1 MiB and one whose reading fails are errors. On any error or warning
// nothing is applied. The message names the file and the reason.
config_status load_config(const std::string& file_name, bool must_exist = false);

// Applies configuration text held in memory by the same rules (demos carry
// the settings they were recorded with this way).
void apply_config_text(std::string_view text);

}  // namespace vorn
