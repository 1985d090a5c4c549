// Where the settings live: the working directory's vorn_config.txt first,
// then the user's own in the desktop's configuration folder
// ($XDG_CONFIG_HOME/vorn, by default ~/.config/vorn).
#pragma once

#include <string>

namespace vorn {

// $XDG_CONFIG_HOME/vorn/vorn_config.txt, or $HOME/.config/vorn/vorn_config.txt
// when XDG_CONFIG_HOME is unset, empty or not an absolute path (the desktop's
// rule); empty when HOME is unset or empty too.
std::string user_config_file();

// The file whose settings apply when none is named: vorn_config.txt when the
// working directory has one (even one that cannot be read), else the user's
// file when it is there, else empty (the defaults apply).
std::string default_config_file();

// Makes the folders of the user's file that are missing (the configuration
// folder and its vorn folder, private to the user); 0 or the errno.
int make_user_config_folder(const std::string& user_file);

}  // namespace vorn
