// The decoder against the PngSuite images and their reference pixel dumps
// (MANIFEST.tsv lists each file's expected outcome), and the pngdump tool.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "image/png.h"
#include "image/registry.h"

namespace vorn {
namespace {

const std::string suite = VORN_TESTDATA_DIR "/pngsuite/";

// Exactly the file's size, so that the address sanitizer catches a read past the end.
std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  std::vector<uint8_t> data(size_t(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(data.data()), std::streamsize(data.size()));
  return data;
}

struct entry {
  std::string name;  // without ".png"
  int width, height, colour_type;
  std::string expected;
  std::vector<uint8_t> png() const { return read_file(suite + name + ".png"); }
  std::vector<uint8_t> rgba() const { return read_file(suite + name + ".rgba"); }
};

std::vector<entry> entries(const std::string& category) {
  std::ifstream in(suite + "MANIFEST.tsv");
  std::vector<entry> out;
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::istringstream cols(line);
    entry e;
    int depth, interlace;
    cols >> e.name >> e.width >> e.height >> e.colour_type >> depth >> interlace >> e.expected;
    e.name.resize(e.name.size() - 4);
    if (e.expected == category) out.push_back(e);
  }
  EXPECT_FALSE(out.empty()) << category;
  return out;
}

// Decoded pixels as the dump stores them (little-endian 0xAARRGGBB); empty on failure.
std::vector<uint8_t> decode(const std::vector<uint8_t>& data, bool through_registry,
                            bool opaque = true) {
  int32_t w = 0, h = 0;
  uint32_t* px = nullptr;
  if (through_registry) {
    load_image_from_memory(data.data(), int32_t(data.size()), w, h, px, 0);
  } else {
    png_decode_memory(data.data(), int32_t(data.size()), false, opaque, 0, w, h, px, 0);
  }
  std::vector<uint8_t> out;
  for (size_t i = 0; px != nullptr && i < size_t(w) * size_t(h); ++i) {
    for (int k = 0; k < 4; ++k) out.push_back(uint8_t(px[i] >> (8 * k)));
  }
  std::free(px);
  return out;
}

class PngSuite : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::is_directory(suite)) << "the PngSuite images are missing from " << suite;
    reset_image_formats();
    register_builtin_formats();
  }
  void TearDown() override { reset_image_formats(); }
};

TEST_F(PngSuite, PlainAndInterlacedImagesMatchTheirDumps) {
  for (const char* category : {"pixels", "interlaced-scrambled"}) {
    for (const entry& e : entries(category)) {
      SCOPED_TRACE(e.name);
      std::vector<uint8_t> want = e.rgba();
      ASSERT_EQ(want.size(), size_t(4 * e.width * e.height));
      EXPECT_TRUE(decode(e.png(), true) == want);
      // Not opaque: alpha 0, except for images with their own alpha.
      for (size_t i = 3; e.colour_type != 6 && i < want.size(); i += 4) want[i] = 0;
      EXPECT_TRUE(decode(e.png(), false, false) == want);
    }
  }
}

TEST_F(PngSuite, UnsupportedImagesFail) {
  for (const entry& e : entries("reject")) EXPECT_TRUE(decode(e.png(), true).empty()) << e.name;
}

TEST_F(PngSuite, CorruptImagesFailOrMatchTheirDumps) {
  for (const entry& e : entries("corrupt-undefined")) {
    EXPECT_TRUE(decode(e.png(), true).empty()) << e.name;  // the probe sees the broken signature
    const std::vector<uint8_t> direct = decode(e.png(), false);
    EXPECT_TRUE(direct.empty() || direct == e.rgba()) << e.name;
  }
}

int run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(PngSuite, PngdumpWritesTheDump) {
  const std::string tool = VORN_BINARY_DIR "/pngdump";
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "no " << tool;
  const std::string out = "pngdump_test.rgba";
  EXPECT_EQ(run(tool + " " + suite + "basn3p04.png " + out + " >/dev/null"), 0);
  EXPECT_TRUE(read_file(out) == read_file(suite + "basn3p04.rgba"));
  std::filesystem::remove(out);
  EXPECT_EQ(run(tool + " " + suite + "basn4a08.png " + out + " 2>/dev/null"), 1);
  EXPECT_EQ(run(tool + " " + suite + "missing.png " + out + " 2>/dev/null"), 1);
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(run(tool + " 2>/dev/null"), 2);
}

}  // namespace
}  // namespace vorn
