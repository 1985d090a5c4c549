// The record parser: line reading, comments, blocks, keys, values and which
// numeric fields a stored line fills.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "config/records.h"

namespace vorn {
namespace {

preca parse(const std::string& s, bool keep_blanks = false, char separator = '=') {
  return parse_records(s.data(), s.size(), keep_blanks, separator);
}

TEST(ParseRecords, BlanksCommentsAndCrLf) {
  const std::string text =
      "screenx = 1024\n\tScreenX=7\nspawn_x=1 5 0\n}\n{\n// dt_max=1\n;dt_max=1\n"
      "dt_max=0.02 // faster\ndt_beta=0.03;faster\nx=1/2\n";
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const preca r = parse(text);
  const preca rc = parse(crlf);
  ASSERT_EQ(r.size(), 6u);  // the lone '{' opened no block
  ASSERT_EQ(rc.size(), 6u);
  for (std::size_t i = 0; i < r.size(); ++i) EXPECT_EQ(r[i].line, rc[i].line);
  EXPECT_EQ(r[0].key, "screenx");
  EXPECT_EQ(r[0].line, "screenx = 1024");
  EXPECT_EQ(r[0].ival, 1024);
  EXPECT_EQ(r[1].key, "ScreenX");
  EXPECT_EQ(r[2].text, "150");
  EXPECT_EQ(r[3].rval, 0.02);
  EXPECT_EQ(r[4].text, "0.03");
  EXPECT_EQ(r[5].text, "1/2");
}

TEST(ParseRecords, BlockCommentsAndTheEndBraceRule) {
  const preca r = parse("enemy_count=7 {seven} \n"
                        "enemy_count=8 {eight}\n"
                        "def_lives=5 {\n"
                        "def_lives=9\n"
                        "still } screenx=640\n"
                        "a{b=1\n"
                        "c}=2\n"
                        "k{x}=3\n");
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[0].key, "enemy_count");
  EXPECT_EQ(r[0].ival, 7);
  EXPECT_EQ(r[1].key, "def_lives");
  EXPECT_EQ(r[1].ival, 5);
  EXPECT_EQ(r[2].key, "screenx");  // after the block closed mid-line
  EXPECT_EQ(r[3].key, "");         // 'a{' opened a block that "c}" closed
  EXPECT_EQ(r[3].ival, 2);
  EXPECT_EQ(r[4].key, "k");
  // A block closed by the line's last character, before any separator, drops
  // the line as well.
  const preca closed = parse("ab{note}\nk=1");
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0].key, "k");
}

TEST(ParseRecords, NumericFieldsOnlyForSignOrDigit) {
  const preca r = parse("dt_max=.05\ndebug\nspawn_x=1e2\nspawn_y=150\n"
                        "def_lives=2.9\nn=-3.5\nh=0x20\n");
  ASSERT_EQ(r.size(), 7u);
  EXPECT_EQ(r[0].rval, 0.0);
  EXPECT_EQ(r[1].text, "");
  EXPECT_FALSE(r[1].bval);
  EXPECT_EQ(r[2].rval, 100.0);
  EXPECT_EQ(r[3].rval, 150.0);
  EXPECT_EQ(r[4].ival, 2);
  EXPECT_EQ(r[4].rval, 2.9);
  EXPECT_EQ(r[5].ival, 3);
  EXPECT_TRUE(r[5].bval);  // from the broken reading 3
  EXPECT_EQ(r[5].rval, -3.5);
  EXPECT_EQ(r[6].rval, 32.0);  // 'x' is no real flag
}

TEST(ParseRecords, KeptBlanksAndComponents) {
  const preca r = parse("pos:  1.5 2\t3,4 5 \nname : a b\np:1,2,3\n", true, ':');
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].text, "1.5 2\t3,4 5 ");
  EXPECT_EQ(r[0].quint, (std::array<double, 5>{1.5, 2, 3, 4, 5}));
  EXPECT_EQ(r[1].key, "name ");
  EXPECT_EQ(r[1].text, "a b");
  EXPECT_EQ(r[2].triple, (std::array<double, 3>{1, 2, 3}));
  EXPECT_EQ(r[2].quad, (std::array<double, 4>{}));  // only two separators
  EXPECT_EQ(parse("q=1 2 3")[0].pair, (std::array<double, 2>{}));  // blanks gone
}

TEST(ParseRecords, LongLinesSplitEvery250Characters) {
  const std::string pad(240, 'k');
  const std::string first = pad + "=123456789";  // 250 characters
  const preca r = parse(first + "x=77\n" + std::string(250, 'z') + "\ny=1");
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0].key, pad);
  EXPECT_EQ(r[0].ival, 123456789);
  EXPECT_EQ(r[1].key, "x");
  EXPECT_EQ(r[1].ival, 77);
  EXPECT_EQ(r[2].key, std::string(250, 'z'));  // its LF then ends an empty line
  EXPECT_EQ(r[3].key, "y");                    // no final LF
  EXPECT_TRUE(parse("").empty());
  EXPECT_TRUE(parse("\r\n\n\r\n").empty());
  // CRs anywhere are dropped and do not count towards the 250.
  const preca crs = parse("\r" + pad.substr(0, 120) + "\r\r" + pad.substr(120) + "=1234567\r89x=5");
  ASSERT_EQ(crs.size(), 2u);
  EXPECT_EQ(crs[0].key, pad);
  EXPECT_EQ(crs[0].ival, 123456789);
  EXPECT_EQ(crs[1].ival, 5);
}

// A file is parsed as it is read: however the text is cut into pieces
// (lines, CRs, the 250-character split and comment blocks running across
// the cuts), the records are those of the whole text.
TEST(ParseRecords, TextInPiecesParsesLikeTheWholeText) {
  std::string text = "\xEF\xBB\xBF" "a=1\r\n{ block\n over=2 }\nb=0x1e\n" + std::string(600, 'k') + "=7\r\n";
  for (int i = 0; i < 40; ++i)
    text += "key" + std::to_string(i) + "=" + std::to_string(i * 37) + (i % 3 ? "\n" : "\r\n");
  text += "last=5";
  const preca whole = parse(text);
  ASSERT_EQ(whole.size(), 46u);  // the long line is three
  EXPECT_EQ(whole[0].key, "a");  // the byte-order mark skipped
  for (const std::size_t cut : {1u, 2u, 3u, 7u, 250u, 251u}) {
    preca pieces;
    record_stream s;
    const record_sink keep = [&](const parserectyp& r) { pieces.push_back(r); };
    for (std::size_t at = 0; at < text.size(); at += cut) {
      // The mark must come whole in the first piece.
      const std::size_t n = at == 0 ? std::max<std::size_t>(cut, 3) : cut;
      feed_records(s, std::string_view(text).substr(at, n), keep);
      if (at == 0) at += n - cut;
    }
    end_records(s, keep);
    ASSERT_EQ(pieces.size(), whole.size()) << cut;
    for (std::size_t i = 0; i < whole.size(); ++i) {
      EXPECT_EQ(pieces[i].line, whole[i].line) << cut;
      EXPECT_EQ(pieces[i].ival, whole[i].ival) << cut;
    }
  }
  // Only the very start holds a mark.
  EXPECT_EQ(parse("x=1\n\xEF\xBB\xBFy=2")[1].key, "\xEF\xBB\xBFy");
}

}  // namespace
}  // namespace vorn
