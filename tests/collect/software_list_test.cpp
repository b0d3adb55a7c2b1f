#include <gtest/gtest.h>

#include "collect/software_list.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

TEST(SoftwareList, CountsOnlyLinesStartingWithACode) {
  auto entries = parseSoftwareList({"0870ぴるね", "#0870ABC", ":1234ABCDEF", "12", "", "abcd", "0000ZERO", "9999ﾄﾙﾌﾞ"}, 1024);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].code, "0870");
  EXPECT_EQ(entries[0].name, "ぴるね");
  EXPECT_EQ(entries[1].code, "12  ");
  EXPECT_EQ(entries[1].name, "      ");
  EXPECT_EQ(entries[2].code, "9999");
  EXPECT_EQ(entries[2].name, "ﾄﾙﾌﾞ  ");
}

TEST(SoftwareList, NameCutThroughADoubleByteKeepsAReplacement) {
  auto entries = parseSoftwareList({"0001ABCDE漢字"}, 10);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "ABCDE?");
}

TEST(SoftwareList, LimitsAndFallbackFile) {
  TestHome h;
  // No TOLVSOFT.LST: the names come from warssoft.lst.
  writeBytes(h.home() / "warssoft.lst", sjLines({"0101予想A", "0102予想B"}));
  auto names = loadProgramNames(h.session);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1].name, "予想B ");

  std::vector<std::string> lines;
  for (int i = 1; i <= 1100; ++i) lines.push_back(std::to_string(1000 + i) + "P");
  writeBytes(h.home() / "TOLVSOFT.LST", sjLines(lines));
  EXPECT_EQ(loadProgramNames(h.session).size(), 1024u);
  writeBytes(h.home() / "PIRUNE.LST", sjLines(lines));
  auto codes = loadCodeList(h.home() / "PIRUNE.LST");
  ASSERT_EQ(codes.size(), 256u);
  EXPECT_EQ(codes[255], "1256");
  EXPECT_TRUE(loadCodeList(h.home() / "MISSING.LST").empty());
}

}  // namespace
}  // namespace tolv
