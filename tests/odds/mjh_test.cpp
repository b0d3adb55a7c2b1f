#include <gtest/gtest.h>

#include "core/records.h"
#include "odds/mjh.h"
#include "odds/pat_odds.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

// An RX line: the type, course and race, then text put at character columns.
struct Line {
  Line(const std::string& type, const std::string& course, const std::string& race) {
    put(1, type);
    put(4, course);
    put(7, race);
  }
  Line& put(std::size_t column, const std::string& text) {
    // Columns count characters: keep one string per column.
    std::size_t at = column - 1;
    std::size_t i = 0;
    while (i < text.size()) {
      std::size_t len = 1;
      unsigned char c = static_cast<unsigned char>(text[i]);
      if (c >= 0xF0) len = 4; else if (c >= 0xE0) len = 3; else if (c >= 0xC0) len = 2;
      if (cols.size() <= at) cols.resize(at + 1, " ");
      cols[at++] = text.substr(i, len);
      i += len;
    }
    return *this;
  }
  operator std::string() const {
    std::string s;
    for (const auto& c : cols) s += c;
    return s;
  }
  std::vector<std::string> cols;
};

int quinella(int a, int b) { return QuinellaPairIndex(a, b); }

TEST(Mjh, MeetingsRacesAndOddsRuns) {
  std::vector<std::string> text = {
      Line("01", "05", "  ").put(10, "2").put(12, "6"),
      Line("01", "08", "  ").put(10, "3").put(12, "1"),
      Line("01", "09", "  ").put(10, "1").put(12, "2"),
      Line("01", "10", "  ").put(10, "1").put(12, "1"),  // a fourth meeting is ignored
      Line("05", "05", "01").put(15, "ダ").put(24, "1400").put(29, "16").put(33, "00"),
      Line("05", "08", "11").put(15, "障").put(24, "3170").put(29, " 9").put(33, "01"),
      Line("06", "08", "11").put(10, "京都ハイジャンプ"),
      Line("10", "05", "01").put(12, " 3").put(57, "1"),
      Line("10", "05", "01").put(12, " 4").put(57, "0"),
      Line("10", "05", "01").put(12, "11").put(57, "1"),
      Line("10", "05", "01").put(12, "12").put(57, "1"),
      Line("10", "05", "01").put(12, "13").put(57, "1"),  // a fourth mark: no slot left
      Line("21", "05", "01").put(10, "3").put(12, "3").put(14, " 12.5"),
      Line("21", "05", "01").put(10, "5").put(12, "3").put(14, " 40.1"),  // written the other way round
      Line("22", "05", "01").put(10, "05").put(13, "02").put(16, "23.4"),
      Line("22", "05", "01").put(10, "07").put(13, "07").put(16, "99.9"),  // no pair
      Line("22", "05", "02").put(10, "01").put(13, "02").put(16, " 5.6"),  // the next race, directly
      Line("24", "05", "01").put(10, "02").put(13, "05").put(16, "7.8"),
      Line("99", "05", "01"),
  };
  auto records = parseMjhText(text);
  ASSERT_EQ(records.size(), 36u);
  EXPECT_EQ(records[12].courseCode, 8);
  EXPECT_EQ(records[12].meetingNumber, 3);
  EXPECT_EQ(records[35].raceNumber, 12);

  const MjhRecord& r1 = records[0];
  EXPECT_EQ(r1.surface, 2);
  EXPECT_EQ(r1.distance, "1400");
  EXPECT_EQ(r1.runners, 16);
  EXPECT_EQ(r1.flag, 0);
  EXPECT_EQ(r1.marked, (std::array<int, 3>{3, 11, 12}));
  EXPECT_EQ(r1.bracketOdds[15], " 12.5");            // 3-3 is pair 16
  EXPECT_EQ(r1.bracketOdds[BracketPairIndex(3, 5) - 1], " 40.1");
  EXPECT_EQ(r1.quinellaOdds[quinella(2, 5) - 1], "23.4");
  EXPECT_EQ(r1.wideOdds[quinella(2, 5) - 1], "7.8");
  EXPECT_EQ(r1.quinellaOdds[0], "");                  // 1-2 belongs to race 2
  EXPECT_EQ(records[1].quinellaOdds[0], " 5.6");
  EXPECT_EQ(records[1].wideOdds[0], "");              // no quinella-place line: blank

  const MjhRecord& r23 = records[12 + 10];
  EXPECT_EQ(r23.surface, 3);
  EXPECT_EQ(r23.flag, -1);
  EXPECT_EQ(r23.raceName, "京都ハイジャンプ");

  // The record's bytes: blanks where nothing was stored, zeros past the data.
  std::string bytes = r1.encode();
  ASSERT_EQ(bytes.size(), 1402u);
  EXPECT_EQ(bytes.substr(0, 10), std::string("\x05\0\x02\0\x06\0\x01\0\x02\0", 10));
  EXPECT_EQ(bytes.substr(234, 4), "    ");
  EXPECT_EQ(bytes.substr(1305), std::string(97, '\0'));
}

TEST(Mjh, ConvertsTheDaysTextFromTheOddsFolder) {
  TestHome h;
  h.session.settings.patFolder = "odds\\";
  EXPECT_FALSE(ConvertMjhData(h.session));
  EXPECT_FALSE(fs::exists(h.home() / "DATA/MJH20020512.DAT"));
  writeBytes(h.home() / "odds/rx020512.txt", sjLines({Line("01", "05", "  ").put(10, "2").put(12, "6")}));
  ASSERT_TRUE(ConvertMjhData(h.session));
  EXPECT_EQ(readBytes(h.home() / "DATA/MJH20020512.DAT").size(), 12u * 1402u);
  EXPECT_EQ(recordCount(h.home() / "DATA/MJH20020512.DAT", 1402), 12);
}

}  // namespace
}  // namespace tolv
