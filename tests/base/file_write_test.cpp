// Files written whole: new files never replace one, replaced files stay
// whole until the new content is complete, and a failure leaves no
// temporary file behind.
#include "base/file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "support/file_size_limit.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

class FileWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vorn-write-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static content_writer text(const std::string& s) {
    return [s](std::FILE* f) { return std::fwrite(s.data(), 1, s.size(), f) == s.size(); };
  }
  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.insert(e.path().filename().string());
    return out;
  }
  fs::path dir_;
};

TEST_F(FileWrite, NewFilesNeverReplaceOne) {
  std::ofstream(path("shot-2.bmp")) << "someone else's";
  std::string chosen;
  for (const char* content : {"first", "second", "third"}) {
    ASSERT_EQ(create_new_file(path("shot.bmp"), text(content), chosen), 0);
    EXPECT_EQ(read(chosen), content);
  }
  EXPECT_EQ(chosen, path("shot-3.bmp"));
  EXPECT_EQ(read(path("shot.bmp")), "first");
  EXPECT_EQ(read(path("shot-1.bmp")), "second");
  EXPECT_EQ(read(path("shot-2.bmp")), "someone else's");
  EXPECT_EQ(names(), (std::set<std::string>{"shot.bmp", "shot-1.bmp", "shot-2.bmp", "shot-3.bmp"}));

  // A content that fails takes no name and leaves nothing behind.
  EXPECT_EQ(create_new_file(path("shot.bmp"), [](std::FILE*) { errno = 0; return false; }, chosen), EIO);
  EXPECT_EQ(create_new_file(path("gone/shot.bmp"), text("x"), chosen), ENOENT);
  EXPECT_EQ(names().size(), 4u);
}

// A replaced file keeps its permissions and its links; a failed
// replacement leaves the old file whole and no temporary file behind.
TEST_F(FileWrite, ReplacementsAreWhole) {
  const std::string real = path("real.txt");
  std::ofstream(real) << "old";
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.txt", path("link.txt").c_str()), 0);
  ASSERT_EQ(replace_file(path("link.txt"), text("new")), 0);
  EXPECT_TRUE(fs::is_symlink(path("link.txt")));
  EXPECT_EQ(read(real), "new");
  struct stat st {};
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A file size limit fails the write part way, as a full disk would.
  const int err =
      vorn_test::with_file_size_limit(100, [&] { return replace_file(real, text(std::string(5000, 'x'))); });
  EXPECT_EQ(err, EFBIG);
  EXPECT_EQ(read(real), "new");
  fs::create_directory(path("folder"));
  EXPECT_EQ(replace_file(path("folder"), text("x")), EISDIR);
  EXPECT_EQ(names(), (std::set<std::string>{"real.txt", "link.txt", "folder"}));
}

}  // namespace
}  // namespace vorn
