// Where the settings live: the working directory, then the desktop's
// configuration folder.
#include "config/config_path.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "config/load_config.h"

namespace vorn {

namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// Something is there under the name: a file, or an entry that cannot even
// be looked at. A dangling link, or a path through a plain file, is nothing.
bool is_there(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

// "/a/b//" -> "/a/b", "/" -> "": the folder, ready for "/" and a name.
std::string without_trailing_slashes(std::string s) {
  while (!s.empty() && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

std::string user_config_file() {
  std::string home = env("XDG_CONFIG_HOME");
  if (home.empty() || home[0] != '/') {
    const std::string user_home = env("HOME");
    if (user_home.empty()) return "";
    home = without_trailing_slashes(user_home) + "/.config";
  }
  return without_trailing_slashes(home) + "/vorn/" + config_file_name;
}

std::string default_config_file() {
  if (is_there(config_file_name)) return config_file_name;
  const std::string user = user_config_file();
  return !user.empty() && is_there(user) ? user : "";
}

int make_user_config_folder(const std::string& user_file) {
  const std::string folder = user_file.substr(0, user_file.rfind('/'));
  const std::string home = folder.substr(0, folder.rfind('/'));
  for (const std::string& f : {home, folder})
    if (!f.empty() && mkdir(f.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  return 0;
}

}  // namespace vorn
