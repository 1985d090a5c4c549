// The floors of the source tree: every folder of src/ includes only the
// folders below it, and only the window and platform layers include SDL.
// The table here is the one the README's Layout table shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace vorn {
namespace {

namespace fs = std::filesystem;

struct floor_rule {
  std::string folder;
  std::set<std::string> may_include;  // other folders only; each lies lower
  bool sdl = false;                   // may include SDL's headers
};

// Bottom up.
const std::vector<floor_rule> floors = {
    {"base", {}},
    {"platform", {"base"}, true},
    {"config", {"base"}},
    {"audio", {"base"}},
    {"image", {"base"}},
    {"world", {"base", "platform", "config"}},
    {"gfx", {"base", "config", "image", "world"}},
    {"sim", {"base", "platform", "config", "image", "world", "gfx"}},
    {"app", {"base", "platform", "config", "audio", "image", "world", "gfx", "sim"}, true},
};

// Every include of a folder's file that breaks the rules, as
// "file: include". A folder missing from the table is itself a breach.
std::vector<std::string> breaches(const fs::path& src) {
  std::vector<std::string> found;
  for (const fs::directory_entry& dir : fs::directory_iterator(src)) {
    if (!dir.is_directory()) continue;
    const std::string folder = dir.path().filename().string();
    const auto rule = std::find_if(floors.begin(), floors.end(),
                                   [&](const floor_rule& f) { return f.folder == folder; });
    if (rule == floors.end()) {
      found.push_back(folder + ": a folder with no place among the layers");
      continue;
    }
    for (const fs::directory_entry& file : fs::recursive_directory_iterator(dir.path())) {
      if (!file.is_regular_file()) continue;
      std::ifstream in(file.path());
      std::string line;
      while (std::getline(in, line)) {
        const size_t at = line.find_first_not_of(" \t");
        if (at == std::string::npos || line.compare(at, 8, "#include") != 0) continue;
        const size_t open = line.find_first_of("\"<", at + 8);
        if (open == std::string::npos) continue;
        const std::string name = line.substr(open + 1, line.find_first_of("\">", open + 1) - open - 1);
        const std::string where = folder + "/" + file.path().filename().string() + ": " + name;
        if (line[open] == '<') {
          if (name.rfind("SDL", 0) == 0 && !rule->sdl) found.push_back(where);
          continue;
        }
        const size_t slash = name.find('/');
        if (slash == std::string::npos) continue;
        const std::string target = name.substr(0, slash);
        if (target != folder && !rule->may_include.count(target)) found.push_back(where);
      }
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

TEST(layers, EveryFolderMayIncludeOnlyFoldersBelowIt) {
  // The table itself must read bottom up, or the rules could hold a cycle.
  for (size_t i = 0; i < floors.size(); ++i) {
    for (const std::string& lower : floors[i].may_include) {
      const auto at = std::find_if(floors.begin(), floors.end(),
                                   [&](const floor_rule& f) { return f.folder == lower; });
      ASSERT_LT(at - floors.begin(), static_cast<ptrdiff_t>(i)) << floors[i].folder << " -> " << lower;
    }
  }
}

TEST(layers, TheSourceTreeKeepsItsFloors) {
  const std::vector<std::string> found = breaches(fs::path(VORN_SOURCE_DIR) / "src");
  std::string list;
  for (const std::string& b : found) list += "\n  " + b;
  EXPECT_TRUE(found.empty()) << "includes against the layering:" << list;
}

// The check itself finds a reach upwards, SDL outside its two layers, and a
// folder that was never placed; includes within a folder are always fine.
TEST(layers, TheCheckFindsEveryKindOfBreach) {
  const int seed = ::testing::UnitTest::GetInstance()->random_seed();
  const fs::path root = fs::temp_directory_path() / ("vorn_layers_" + std::to_string(seed));
  fs::remove_all(root);
  fs::create_directories(root / "world");
  fs::create_directories(root / "gfx");
  fs::create_directories(root / "tools");
  std::ofstream(root / "world" / "a.cpp") << "#include \"world/b.h\"\n  #include \"app/window.h\"\n#include <vector>\n";
  std::ofstream(root / "gfx" / "c.cpp") << "#include <SDL.h>\n#include \"world/world.h\"\n";
  std::ofstream(root / "tools" / "d.cpp") << "\n";
  const std::vector<std::string> want = {"gfx/c.cpp: SDL.h", "tools: a folder with no place among the layers",
                                         "world/a.cpp: app/window.h"};
  EXPECT_EQ(breaches(root), want);
  fs::remove_all(root);
}

}  // namespace
}  // namespace vorn
