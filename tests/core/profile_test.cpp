#include <gtest/gtest.h>

#include "core/profile.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::sj;
using testing::sjLines;
using testing::TempDir;
using testing::writeBytes;

ProfileFile profileOf(std::string_view bytes) { return ProfileFile::fromBytes("TOLV.INI", bytes); }

TEST(Profile, ReadsNamesIgnoringCaseAndBlanks) {
  const ProfileFile p = profileOf(sjLines({
      "[FILE]",
      "LogFile1 =  C:\\logs\\wars.log  ",
      "  DenFlag\t=\t2",
      "[ Odds ]",
      "pat=1",
      "Quoted=\"  spaced  \"",
      "Half=\"open",
      "Single='x'",
      "Empty=",
      "NoEquals",
  }));
  EXPECT_EQ(p.get("FILE", "LogFile1"), "C:\\logs\\wars.log");
  EXPECT_EQ(p.get("file", "LOGFILE1"), "C:\\logs\\wars.log");
  EXPECT_EQ(p.get("FILE", "DenFlag"), "2");
  EXPECT_EQ(p.get("ODDS", "PAT"), "1");
  EXPECT_EQ(p.get("odds", "Quoted"), "  spaced  ");  // one pair of quotes removed
  EXPECT_EQ(p.get("ODDS", "Half"), "\"open");
  EXPECT_EQ(p.get("ODDS", "Single"), "x");
  EXPECT_EQ(p.get("ODDS", "Empty"), "");
  EXPECT_TRUE(p.has("ODDS", "Empty"));
  EXPECT_FALSE(p.has("ODDS", "NoEquals"));
  EXPECT_FALSE(p.has("FILE", "PAT"));  // a key belongs to its own section only
  EXPECT_EQ(p.get("NONE", "PAT"), "");
}

TEST(Profile, FirstKeyWinsAndCommentsAreSkipped) {
  const ProfileFile p = profileOf(sjLines({
      "[ODDS]",
      ";MIN=1",
      "  ; MAX=2",
      "MIN=150",
      "min=300",
  }));
  EXPECT_EQ(p.get("ODDS", "MIN"), "150");
  EXPECT_EQ(p.get("ODDS", ";MIN"), "");
  EXPECT_EQ(p.get("ODDS", "MAX"), "");
}

TEST(Profile, ValuesAreCappedAt1023Bytes) {
  const std::string longValue(2000, 'v');
  const ProfileFile p = profileOf("[S]\r\nK=" + longValue + "\r\nNext=1\r\n");
  EXPECT_EQ(p.get("S", "K"), std::string(1023, 'v'));
  EXPECT_EQ(p.get("S", "Next"), "1");
}

TEST(Profile, MissingFileIsEmptyAndWritingCreatesIt) {
  TempDir d;
  const fs::path ini = d / "TOLV.INI";
  auto p = ProfileFile::load(ini);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->bytes(), "");
  EXPECT_EQ(readProfileString(ini, "FILE", "DenFlag"), "");
  ASSERT_TRUE(writeProfileString(ini, "FILE", "DenFlag", "3"));
  EXPECT_EQ(readBytes(ini), "[FILE]\r\nDenFlag=3\r\n");
  EXPECT_EQ(readProfileString(ini, "file", "denflag"), "3");
}

TEST(Profile, WritingAKeyKeepsEveryOtherByte) {
  // Mixed line ends, comments, blank lines and a last line without an end.
  const std::string original = "; settings\r\n"
                               "[FILE]\n"
                               "LogFile1 = a.log\r\n"
                               "\r\n"
                               "[ODDS]\r\n"
                               "PAT = 1\n"
                               ";comment\r\n"
                               "MIN=100\r\n"
                               "  \r\n"
                               "\r\n"
                               "[BET]\r"
                               "BetOutFlag=0";
  ProfileFile p = profileOf(original);
  EXPECT_EQ(p.bytes(), original);

  // An existing key is replaced in place, keeping its line end.
  p.set("ODDS", "PAT", "2");
  std::string want = original;
  want.replace(want.find("PAT = 1"), 7, "PAT=2");
  EXPECT_EQ(p.bytes(), want);

  // A new key goes at the end of its section, before its trailing blank lines.
  p.set("odds", "MAX", "9999");
  want.insert(want.find("MIN=100\r\n") + 9, "MAX=9999\r\n");
  EXPECT_EQ(p.bytes(), want);

  // After a last line without an end, the line is ended first.
  p.set("BET", "BetAuto", "x");
  want += "\r\nBetAuto=x\r\n";
  EXPECT_EQ(p.bytes(), want);

  // A new section goes at the end of the file.
  p.set("WARS", "CODE", "7777");
  want += "[WARS]\r\nCODE=7777\r\n";
  EXPECT_EQ(p.bytes(), want);
  EXPECT_EQ(p.get("ODDS", "PAT"), "2");
  EXPECT_EQ(p.get("ODDS", "MAX"), "9999");
  EXPECT_EQ(p.get("FILE", "LogFile1"), "a.log");
}

TEST(Profile, NewKeyInASectionFollowedByAnother) {
  ProfileFile p = profileOf("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  p.set("A", "z", "3");
  EXPECT_EQ(p.bytes(), "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n");
  ProfileFile empty = profileOf("[A]\r\n[B]\r\n");
  empty.set("A", "k", "v");
  EXPECT_EQ(empty.bytes(), "[A]\r\nk=v\r\n[B]\r\n");
  // A last line without an end, then a new section.
  ProfileFile open = profileOf("[A]\r\nx=1");
  open.set("B", "y", "2");
  EXPECT_EQ(open.bytes(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

TEST(Profile, ValuesNeverSpanLines) {
  ProfileFile p = profileOf("[WARS]\r\n");
  p.set("WARS", "ORGHEDA", "line1\r\nline2");
  EXPECT_EQ(p.bytes(), "[WARS]\r\nORGHEDA=line1  line2\r\n");
  EXPECT_EQ(p.get("WARS", "ORGHEDA"), "line1  line2");
}

TEST(Profile, KanjiSectionAndKeyNamesRoundTripInCp932) {
  TempDir d;
  const fs::path ini = d / "TOLV.INI";
  writeBytes(ini, sjLines({"[BET]", "保留ＢＥＴ=D:\\保留\\", "馬連=300", "[ぴるね]", "CODE=0870"}));
  EXPECT_EQ(readProfileString(ini, "BET", "保留ＢＥＴ"), "D:\\保留\\");
  EXPECT_EQ(readProfileString(ini, "ぴるね", "CODE"), "0870");
  ASSERT_TRUE(writeProfileString(ini, "ぴるね", "OUTPUT", "3"));
  ASSERT_TRUE(writeProfileString(ini, "BET", "保留ＢＥＴ", "/home/bets/"));
  ASSERT_TRUE(writeProfileString(ini, "一括処理", "予約時間", "094500"));
  EXPECT_EQ(readBytes(ini), sjLines({"[BET]", "保留ＢＥＴ=/home/bets/", "馬連=300", "[ぴるね]", "CODE=0870",
                                     "OUTPUT=3", "[一括処理]", "予約時間=094500"}));
}

TEST(Profile, TrailBytesAreNeverTakenForSyntax) {
  // 評 and 転 end in the byte of ']'; 枠 and 賂 differ only in a trail byte
  // that looks like 'g' / 'G'.
  const ProfileFile p = profileOf(sjLines({"[評価]", "転=1", "[BET]", "賂連=500", "枠連=200"}));
  EXPECT_EQ(p.get("評価", "転"), "1");
  EXPECT_EQ(p.get("BET", "枠連"), "200");
  EXPECT_EQ(p.get("BET", "賂連"), "500");
  ProfileFile q = profileOf(sjLines({"[BET]", "賂連=500"}));
  q.set("BET", "枠連", "300");
  EXPECT_EQ(q.bytes(), sjLines({"[BET]", "賂連=500", "枠連=300"}));
}

TEST(Profile, SaveWritesTheFileAtomically) {
  TempDir d;
  writeBytes(d / "TOLV.INI", "[A]\nx=1\n");
  auto p = ProfileFile::load(d / "TOLV.INI");
  ASSERT_TRUE(p);
  p->set("A", "x", "2");
  ASSERT_TRUE(p->save());
  EXPECT_EQ(readBytes(d / "TOLV.INI"), "[A]\nx=2\n");
  // A folder in place of the file cannot be read.
  fs::create_directory(d / "DIR.INI");
  EXPECT_FALSE(ProfileFile::load(d / "DIR.INI"));
  EXPECT_FALSE(writeProfileString(d / "DIR.INI", "A", "x", "1"));
}

}  // namespace
}  // namespace tolv
