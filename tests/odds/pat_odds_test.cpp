#include <gtest/gtest.h>

#include <random>

#include "core/text.h"
#include "odds/pat_odds.h"
#include "odds/pat_fixture.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::sj;
using testing::TestHome;
using testing::writeBytes;

const std::string kSix(6, ' ');

std::string spaces(std::size_t n) { return std::string(n, ' '); }

// A header of race 11 of the second day of the third Tokyo meeting.
PatOddsHeader tokyoHeader(const std::string& date) {
  PatOddsHeader h;
  h.date = date;
  h.courseName = "東京";
  h.year = date.substr(0, 4);
  h.meeting = " 3";
  h.day = " 2";
  h.race = "11";
  h.time = "1530";
  return h;
}

// Expected bytes of tokyoHeader(date).
std::string tokyoHeaderBytes(const std::string& date) {
  return testing::patHeaderBytes({.date = date, .year = date.substr(0, 4)});
}

// --- names and positions ------------------------------------------------------

TEST(PatNames, NamesAndPatterns) {
  EXPECT_EQ(PatOddsName("05", "11", "3"), "53B");
  EXPECT_EQ(PatOddsName("10", "12", "11"), "A1C");  // only the day's last character
  EXPECT_EQ(PatOddsName("01", "01", "01"), "111");
  EXPECT_EQ(PatOddsName("09", " 9", " 4 "), "949");
  EXPECT_EQ(PatOddsPattern("10", "12"), "A?C");
  EXPECT_EQ(PatOddsPattern("01", "9"), "1?9");
  EXPECT_EQ(PatOddsPattern("06", "10"), "6?A");

  EXPECT_EQ(RaceLetter("10"), "A");
  EXPECT_EQ(RaceLetter("11"), "B");
  EXPECT_EQ(RaceLetter("13"), "D");
  EXPECT_EQ(RaceLetter("09"), "9");
  EXPECT_EQ(RaceLetter("14"), "4");

  // A missing part gives no name rather than a name of the wrong length.
  EXPECT_EQ(PatOddsName("", "11", "3"), "");
  EXPECT_EQ(PatOddsName("05", "11", "  "), "");
  EXPECT_EQ(PatOddsPattern("05", ""), "");

  EXPECT_EQ(RaceNumberOfPatLetter("A"), 10);
  EXPECT_EQ(RaceNumberOfPatLetter("b"), 11);
  EXPECT_EQ(RaceNumberOfPatLetter("C"), 12);
  EXPECT_EQ(RaceNumberOfPatLetter("7"), 7);
  EXPECT_EQ(RaceNumberOfPatLetter("?"), 0);
  EXPECT_EQ(RaceNumberOfPatLetter("AB"), 0);
}

TEST(PatPairIndex, QuinellaFollowsTheEighteenRunnerOrder) {
  int expected = 0;
  for (int a = 1; a <= 17; ++a) {
    for (int b = a + 1; b <= 18; ++b) {
      int x = a, y = b;
      ASSERT_EQ(QuinellaPairIndex(x, y), ++expected) << a << "-" << b;
    }
  }
  EXPECT_EQ(expected, 153);

  int a = 1, b = 2;
  EXPECT_EQ(QuinellaPairIndex(a, b), 1);
  a = 1, b = 18;
  EXPECT_EQ(QuinellaPairIndex(a, b), 17);
  a = 2, b = 3;
  EXPECT_EQ(QuinellaPairIndex(a, b), 18);
  a = 17, b = 18;
  EXPECT_EQ(QuinellaPairIndex(a, b), 153);

  a = 5, b = 2;  // swapped in the caller's variables
  EXPECT_EQ(QuinellaPairIndex(a, b), 20);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 5);

  for (auto [x, y] : {std::pair{4, 4}, {0, 5}, {5, 0}, {1, 19}, {19, 20}, {-1, 3}}) {
    a = x, b = y;
    EXPECT_EQ(QuinellaPairIndex(a, b), 0) << x << "-" << y;
  }
}

TEST(PatPairIndex, BracketFollowsTheOrderOneOneToEightEight) {
  int expected = 0;
  for (int a = 1; a <= 8; ++a) {
    for (int b = a; b <= 8; ++b) ASSERT_EQ(BracketPairIndex(a, b), ++expected) << a << "-" << b;
  }
  EXPECT_EQ(BracketPairIndex(3, 3), 16);
  EXPECT_EQ(BracketPairIndex(8, 8), 36);
  EXPECT_EQ(BracketPairIndex(9, 9), 0);
  EXPECT_EQ(BracketPairIndex(1, 9), 0);
  EXPECT_EQ(BracketPairIndex(0, 3), 0);
  EXPECT_EQ(BracketPairIndex(3, 2), 0);  // would be the slot of 2-8
}

// --- odds text ----------------------------------------------------------------

TEST(PatOddsText, FormatsAndAlignsOdds) {
  EXPECT_EQ(formatOdds(12.3, 6), "  12.3");
  EXPECT_EQ(formatOdds(12.3, 5), " 12.3");
  EXPECT_EQ(formatOdds(1, 6), "   1.0");
  EXPECT_EQ(formatOdds(12.25, 6), "  12.3");  // halves away from zero
  EXPECT_EQ(formatOdds(0.5, 6), "   0.5");
  EXPECT_EQ(formatOdds(0.5, 6, "####.0"), "    .5");
  EXPECT_EQ(formatOdds(9999.9, 6), "9999.9");
  // Too large for the field: the largest value it holds, never a cut number.
  EXPECT_EQ(formatOdds(1234.5, 5), "999.9");
  EXPECT_EQ(formatOdds(99999, 6), "9999.9");
  EXPECT_EQ(formatOdds(999.96, 5), "999.9");

  EXPECT_EQ(scratchedOdds(5), " ﾄﾘｹｼ");
  EXPECT_EQ(scratchedOdds(6), "  ﾄﾘｹｼ");
  EXPECT_EQ(sj(scratchedOdds(6)).size(), 6u);
  EXPECT_EQ(val(scratchedOdds(6)), 0);

  EXPECT_EQ(rightAlign6("12.3  "), "  12.3");
  EXPECT_EQ(rightAlign6(" ﾄﾘｹｼ"), "  ﾄﾘｹｼ");
  EXPECT_EQ(rightAlign6(""), kSix);
  EXPECT_EQ(rightAlign6("1234567"), "234567");

  EXPECT_EQ(PatHorseNumber(5), " 5");
  EXPECT_EQ(PatHorseNumber(5, '0'), "05");
  EXPECT_EQ(PatHorseNumber(12, '0'), "12");
  EXPECT_EQ(PatHorseNumber(0), "  ");
}

// --- records ------------------------------------------------------------------

TEST(PatRecords, HeaderBytes) {
  PatOddsHeader h = tokyoHeader("20020512");
  h.identifier = "20020512000000000000";
  h.reserved = "0 ";
  h.raceName = "天皇賞（秋）";
  const std::string bytes = h.encode();
  ASSERT_EQ(bytes.size(), kPatOddsHeaderLength);
  EXPECT_EQ(bytes, "2002051220020512000000000000" + sj("東京") + "2002 3 2110 1530" + sj("天皇賞（秋）") +
                       spaces(16) + spaces(64));

  PatOddsHeader back = PatOddsHeader::decode(bytes);
  EXPECT_EQ(back.date, "20020512");
  EXPECT_EQ(back.courseName, "東京");
  EXPECT_EQ(back.meeting, " 3");
  EXPECT_EQ(back.reserved, "0 ");
  EXPECT_EQ(back.time, "1530");
  EXPECT_EQ(trim(back.raceName), "天皇賞（秋）");
  EXPECT_EQ(back.encode(), bytes);

  // A race name longer than its field is cut at 28 bytes.
  h.raceName = "あいうえおかきくけこさしすせそ";  // 30 bytes
  EXPECT_EQ(h.encode().substr(48, 28), sj("あいうえおかきくけこさしすせ"));
}

TEST(PatRecords, BracketRecordBytes) {
  PatBracketRecord r;
  r.header = tokyoHeader("20020512");
  r.runners = "10";
  r.horses[0] = {" 1", formatOdds(12.3, 5), formatOdds(1.5, 5), formatOdds(2, 5), "0"};
  r.horses[1] = {" 2", scratchedOdds(5), "ﾄﾘｹｼ", "ﾄﾘｹｼ", " "};
  r.brackets[0] = {"1", "1", formatOdds(5.6, 5), "0 "};
  r.brackets[35] = {"8", "8", formatOdds(123.4, 5), "  "};
  const std::string bytes = r.encode();
  ASSERT_EQ(bytes.size(), kPatBracketRecordLength);

  std::string expected = tokyoHeaderBytes("20020512") + "10" + "0";
  expected += " 1 12.3  1.5  2.00";
  expected += " 2" + sj(" ﾄﾘｹｼﾄﾘｹｼ ﾄﾘｹｼ  ");
  expected += spaces(16 * 18);
  expected += " ";
  expected += "1-1  5.60 ";
  expected += spaces(34 * 10);  // entries without brackets are blank, separator included
  expected += "8-8123.4  ";
  EXPECT_EQ(bytes, expected);

  PatBracketRecord back = PatBracketRecord::decode(bytes);
  EXPECT_EQ(back.runners, "10");
  EXPECT_EQ(back.horses[0].win, " 12.3");
  EXPECT_EQ(back.horses[1].placeLow, "ﾄﾘｹｼ ");
  EXPECT_EQ(back.horses[17].horse, "  ");
  EXPECT_EQ(back.brackets[35].odds, "123.4");
  EXPECT_EQ(back.encode(), bytes);
}

TEST(PatRecords, LaidOutBracketsMatchTheirPairIndex) {
  PatBracketRecord r;
  r.layOutBrackets();
  for (int a = 1; a <= 8; ++a) {
    for (int b = a; b <= 8; ++b) {
      const PatBracketEntry& e = r.brackets[static_cast<std::size_t>(BracketPairIndex(a, b) - 1)];
      EXPECT_EQ(e.bracket1 + e.bracket2, std::to_string(a) + std::to_string(b));
    }
  }
  EXPECT_EQ(r.encode().substr(468 + 10 * 15, 10), "3-3       ");
}

TEST(PatRecords, Quinella95Bytes) {
  PatQuinella95Record r;
  r.header = tokyoHeader("20020512");
  r.runners = " 3";
  EXPECT_EQ(r.layOutPairs(3, ' '), 3);
  r.entries[0].odds = formatOdds(12.3, 6);
  r.entries[1].odds = scratchedOdds(6);
  r.entries[2].odds = formatOdds(1234.5, 6);
  r.entries[2].wideLow = "   9.9";  // not part of the PAT95 layout
  const std::string bytes = r.encode();
  ASSERT_EQ(bytes.size(), kPatQuinella95RecordLength);

  std::string expected = tokyoHeaderBytes("20020512") + " " + " 3";
  expected += " 1- 2  12.3 ";
  expected += " 1- 3" + sj("  ﾄﾘｹｼ") + " ";
  expected += " 2- 31234.5 ";
  expected += spaces(150 * 12);
  expected += " ";
  EXPECT_EQ(bytes, expected);

  PatQuinella95Record back = PatQuinella95Record::decode(bytes);
  EXPECT_EQ(back.runners, " 3");
  EXPECT_EQ(back.entries[1].odds, "  ﾄﾘｹｼ");
  EXPECT_EQ(back.entries[2].wideLow, "");
  EXPECT_FALSE(back.entries[3].used());
  EXPECT_EQ(back.encode(), bytes);
}

TEST(PatRecords, Quinella98Bytes) {
  PatQuinella98Record r;
  r.header = tokyoHeader("20020512");
  r.runners = " 3";
  r.layOutPairs(3, '0');
  r.entries[0] = {"01", "02", formatOdds(12.3, 6), formatOdds(4, 6), formatOdds(4.8, 6)};
  r.entries[1].odds = r.entries[1].wideLow = r.entries[1].wideHigh = scratchedOdds(6);
  const std::string bytes = r.encode();
  ASSERT_EQ(bytes.size(), kPatQuinella98RecordLength);

  std::string expected = tokyoHeaderBytes("20020512") + " 3" + "11";
  expected += "0001-02  12.3   4.0   4.8";
  expected += "0001-03" + sj("  ﾄﾘｹｼ  ﾄﾘｹｼ  ﾄﾘｹｼ");
  expected += "0002-03" + spaces(18);
  expected += spaces(150 * 25);
  expected += "\r\n";
  EXPECT_EQ(bytes, expected);

  PatQuinella98Record back = PatQuinella98Record::decode(bytes);
  EXPECT_EQ(back.entries[0].first, "01");
  EXPECT_EQ(back.entries[0].wideHigh, "   4.8");
  EXPECT_EQ(back.entries[1].wideLow, "  ﾄﾘｹｼ");
  EXPECT_EQ(back.encode(), bytes);
}

TEST(PatRecords, LaidOutPairsMatchTheirPairIndexAndClearTheRest) {
  PatQuinella98Record r;
  EXPECT_EQ(r.layOutPairs(18, '0'), 153);
  for (int a = 1; a <= 17; ++a) {
    for (int b = a + 1; b <= 18; ++b) {
      int x = a, y = b;
      const PatQuinellaEntry& e = r.entries[static_cast<std::size_t>(QuinellaPairIndex(x, y) - 1)];
      ASSERT_EQ(val(e.first), a);
      ASSERT_EQ(val(e.second), b);
    }
  }
  r.entries[10].odds = "  99.9";
  EXPECT_EQ(r.layOutPairs(16, ' '), 120);
  EXPECT_EQ(r.entries[10].odds, "");  // a new layout starts every entry afresh
  EXPECT_EQ(r.entries[119].first + r.entries[119].second, "1516");
  EXPECT_FALSE(r.entries[120].used());
  EXPECT_EQ(r.encode().substr(144 + 25 * 120, 25), spaces(25));
  EXPECT_EQ(r.layOutPairs(1, ' '), 0);
  EXPECT_EQ(r.layOutPairs(40, ' '), 153);
}

TEST(PatRecords, ShortAndGarbageInputDecodesWithoutReadingPastTheEnd) {
  PatQuinella98Record r;
  r.header = tokyoHeader("20020512");
  r.layOutPairs(4, '0');
  r.entries[0].odds = "  12.3";
  const std::string whole = r.encode();

  // Cut inside the first entry's odds: what is there is read, the rest is blank.
  PatQuinella98Record cut = PatQuinella98Record::decode(std::string_view(whole).substr(0, 144 + 10));
  EXPECT_EQ(cut.header.date, "20020512");
  EXPECT_EQ(cut.entries[0].second, "02");
  EXPECT_EQ(cut.entries[0].odds, "  1");
  EXPECT_EQ(cut.entries[0].wideLow, "");
  EXPECT_EQ(cut.entries[1].first, "");

  EXPECT_EQ(PatBracketRecord::decode("2002").header.date, "2002");
  EXPECT_EQ(PatQuinella95Record::decode("").entries[152].odds, "");

  // Bytes that are not CP932 text read as '?', and encoding gives whole records again.
  std::mt19937 rng(7);
  std::string garbage(kPatQuinella98RecordLength, '\0');
  for (char& c : garbage) c = static_cast<char>(rng() & 0xFF);
  EXPECT_EQ(PatQuinella98Record::decode(garbage).encode().size(), kPatQuinella98RecordLength);
  EXPECT_EQ(PatQuinella95Record::decode(garbage).encode().size(), kPatQuinella95RecordLength);
  EXPECT_EQ(PatBracketRecord::decode(garbage).encode().size(), kPatBracketRecordLength);
}

// --- lookups ------------------------------------------------------------------

// A PAT95 quinella file whose pair 3-7 is written with the given horse fields.
std::string quinella95With(const std::string& date, const std::string& first, const std::string& second) {
  PatQuinella95Record r;
  r.header = tokyoHeader(date);
  r.runners = "10";
  r.layOutPairs(10, '0');
  r.entries[0].odds = "   5.0";
  r.entries[1] = {first, second, "  12.3", {}, {}};
  r.entries[2] = {" 4", " 5", "  ﾄﾘｹｼ", {}, {}};
  r.entries[3] = {" 4", " 6", "12.3  ", {}, {}};  // not right-aligned in the file
  return r.encode();
}

TEST(PatLookup, Pat95QuinellaMatchesHorseNumbersByValue) {
  for (auto [first, second] : {std::pair<std::string, std::string>{" 3", " 7"}, {"03", "07"}, {"3 ", "7 "}}) {
    TestHome home;
    writeBytes(home.home() / "odds" / "UO-52B.JRA", quinella95With("20020512", first, second));
    const fs::path pattern = home.home() / "odds" / "UO-5?B.JRA";
    EXPECT_EQ(LookupPat95Odds(home.session, pattern, "馬", "03-07"), "  12.3") << "[" << first << "-" << second << "]";
    EXPECT_EQ(LookupPat95Odds(home.session, pattern, "馬", "04-05"), "  ﾄﾘｹｼ");
    EXPECT_EQ(LookupPat95Odds(home.session, pattern, "馬", "04-06"), "  12.3");
    EXPECT_EQ(LookupPat95Odds(home.session, pattern, "馬", "05-09"), kSix);  // laid out, no odds
    EXPECT_EQ(LookupPat95Odds(home.session, pattern, "馬", "12-13"), kSix);  // no such entry
  }
}

TEST(PatLookup, Pat98QuinellaGivesBothOddsOrNeither) {
  TestHome home;
  PatQuinella98Record r;
  r.header = tokyoHeader("20020512");
  r.layOutPairs(10, '0');
  r.entries[0] = {"01", "02", "  25.0", "   8.8", "  10.6"};
  r.entries[1] = {"01", "03", "      ", "   3.0", "   3.6"};  // odds blank, bounds not
  writeBytes(home.home() / "odds" / "UO-52B.JRA", r.encode());
  const fs::path pattern = home.home() / "odds" / "UO-5?B.JRA";

  std::string wide = "x";
  EXPECT_EQ(LookupPat98Odds(home.session, pattern, "馬", "01-02", wide), "  25.0");
  EXPECT_EQ(wide, "   8.8");
  wide = "x";
  EXPECT_EQ(LookupPat98Odds(home.session, pattern, "馬", "01-03", wide), kSix);
  EXPECT_EQ(wide, kSix);
  wide = "x";
  EXPECT_EQ(LookupPat98Odds(home.session, pattern, "馬", "09-10", wide), kSix);
  EXPECT_EQ(wide, kSix);
  wide = "x";
  EXPECT_EQ(LookupPat98Odds(home.session, home.home() / "odds" / "UO-6?B.JRA", "馬", "01-02", wide), kSix);
  EXPECT_EQ(wide, kSix);
}

TEST(PatLookup, WinPlaceAndBracketFromTheBracketFile) {
  TestHome home;
  PatBracketRecord r;
  r.header = tokyoHeader("20020512");
  r.runners = "18";
  for (int n = 1; n <= 18; ++n) {
    r.horses[static_cast<std::size_t>(n - 1)] = {PatHorseNumber(n), formatOdds(n + 0.5, 5), formatOdds(n, 5),
                                                 formatOdds(n * 2, 5), "0"};
  }
  r.horses[4] = {" 5", scratchedOdds(5), "ﾄﾘｹｼ", "ﾄﾘｹｼ", " "};
  r.layOutBrackets();
  r.brackets[0].odds = formatOdds(3.4, 5);
  r.brackets[static_cast<std::size_t>(BracketPairIndex(3, 6) - 1)].odds = formatOdds(45.6, 5);
  writeBytes(home.home() / "odds" / "ZO-52B.JRA", r.encode());
  const fs::path pattern = home.home() / "odds" / "ZO-5?B.JRA";
  auto lookup = [&](std::string_view kind, std::string_view pick) {
    return LookupPat95Odds(home.session, pattern, kind, pick);
  };

  EXPECT_EQ(lookup("単", "3"), "   3.5");
  EXPECT_EQ(lookup("単", " 3"), "   3.5");
  EXPECT_EQ(lookup("単", "18"), "  18.5");
  EXPECT_EQ(lookup("複", "03"), "   3.0");
  EXPECT_EQ(lookup("単", "5"), "  ﾄﾘｹｼ");
  EXPECT_EQ(lookup("複", "5"), "  ﾄﾘｹｼ");
  EXPECT_EQ(lookup("枠", "   11"), "   3.4");
  EXPECT_EQ(lookup("枠", "   36"), "  45.6");
  EXPECT_EQ(lookup("枠", "36"), "  45.6");
  EXPECT_EQ(lookup("枠", "   63"), kSix);
  // Horse numbers outside 1-18 have no entry.
  for (std::string_view pick : {"19", "0", "-1", "", "3.5"}) {
    EXPECT_EQ(lookup("単", pick), kSix) << pick;
    EXPECT_EQ(lookup("複", pick), kSix) << pick;
  }
  EXPECT_EQ(lookup("三", "3"), kSix);

  // The PAT98 lookup reads the same file for these kinds; no quinella-place odds.
  std::string wide = "x";
  EXPECT_EQ(LookupPat98Odds(home.session, pattern, "単", "3", wide), "   3.5");
  EXPECT_EQ(wide, kSix);
}

TEST(PatLookup, TakesTheFirstFileOfTheProcessingDay) {
  TestHome home("20020512");
  const fs::path odds = home.home() / "odds";
  // Day 1 and day 11 of a meeting share a name; the other day's file is listed first.
  writeBytes(odds / "UO-51B.JRA", quinella95With("20020511", " 3", " 7").replace(143 + 12 + 5, 6, " 999.9"));
  writeBytes(odds / "UO-52B.JRA", quinella95With("20020512", " 3", " 7"));
  writeBytes(odds / "UO-53B.JRA", quinella95With("20020512", " 3", " 7").replace(143 + 12 + 5, 6, "  77.7"));

  PatOddsReader reader(home.session);
  EXPECT_EQ(reader.lookup95(odds / "UO-5?B.JRA", "馬", "03-07"), "  12.3");
  EXPECT_EQ(reader.quinellaFile(odds / "UO-5?B.JRA", PatQuinellaLayout::Pat95), odds / "UO-52B.JRA");
  ASSERT_NE(reader.quinellaRecord(odds / "UO-5?B.JRA", PatQuinellaLayout::Pat95), nullptr);
  EXPECT_EQ(reader.quinellaRecord(odds / "UO-5?B.JRA", PatQuinellaLayout::Pat95)->header.race, "11");

  // Only files of another day: no odds.
  TestHome other("20020519");
  EXPECT_EQ(LookupPat95Odds(other.session, odds / "UO-5?B.JRA", "馬", "03-07"), kSix);
  EXPECT_FALSE(PatOddsReader(other.session).quinellaFile(odds / "UO-5?B.JRA", PatQuinellaLayout::Pat95));
}

// A misnamed or copied file of the day (UO-51B.JRA holding race 2) is passed
// over: the race number of the record must be the one the pattern names.
TEST(PatLookup, TakesOnlyAFileOfTheRaceSought) {
  TestHome home("20020512");
  const fs::path odds = home.home() / "odds";
  const std::string race11 = quinella95With("20020512", " 3", " 7");
  const std::string race2 = std::string(race11).replace(40, 2, " 2").replace(143 + 12 + 5, 6, " 999.9");
  writeBytes(odds / "UO-51B.JRA", race2);
  EXPECT_EQ(LookupPat95Odds(home.session, odds / "UO-5?B.JRA", "馬", "03-07"), kSix);
  EXPECT_FALSE(PatOddsReader(home.session).quinellaFile(odds / "UO-5?B.JRA", PatQuinellaLayout::Pat95));
  // Race " 2" and "02" are the same race 2.
  EXPECT_EQ(LookupPat95Odds(home.session, odds / "UO-5?2.JRA", "馬", "03-07"), kSix);
  writeBytes(odds / "UO-512.JRA", race2);
  EXPECT_EQ(LookupPat95Odds(home.session, odds / "UO-5?2.JRA", "馬", "03-07"), " 999.9");

  writeBytes(odds / "UO-52B.JRA", race11);
  PatOddsReader reader(home.session);
  EXPECT_EQ(reader.lookup95(odds / "UO-5?B.JRA", "馬", "03-07"), "  12.3");
  EXPECT_EQ(reader.quinellaFile(odds / "UO-5?B.JRA", PatQuinellaLayout::Pat95), odds / "UO-52B.JRA");

  // The bracket files the same way.
  PatBracketRecord b;
  b.header = PatOddsHeader::decode(race11);
  b.horses[0] = {" 1", "  3.5", "  1.1", "  1.9", "0"};
  std::string bracket11 = b.encode();
  writeBytes(odds / "ZO-51B.JRA", std::string(bracket11).replace(40, 2, "02"));
  EXPECT_EQ(LookupPat95Odds(home.session, odds / "ZO-5?B.JRA", "単", "1"), kSix);
  writeBytes(odds / "ZO-52B.JRA", bracket11);
  EXPECT_EQ(LookupPat95Odds(home.session, odds / "ZO-5?B.JRA", "単", "1"), "   3.5");
}

TEST(PatLookup, NamesAndFoldersAreMatchedLikeWindowsPaths) {
  TestHome home;
  writeBytes(home.home() / "Odds" / "uo-53b.jra", quinella95With("20020512", " 3", " 7"));
  const std::string folder = (home.home() / "Odds").string();
  for (const std::string& pattern : {folder + "/UO-5?B.JRA", folder + "//UO-5?B.JRA", folder + "\\UO-5?B.JRA",
                                     (home.home() / "ODDS").string() + "//uo-5?b.JRA", folder + "/UO-53B.JRA"}) {
    EXPECT_EQ(LookupPat95Odds(home.session, pattern, "馬", "03-07"), "  12.3") << pattern;
  }
  EXPECT_EQ(LookupPat95Odds(home.session, "UO-5?B.JRA", "馬", "03-07"), kSix);  // no folder
  EXPECT_EQ(LookupPat95Odds(home.session, home.home() / "missing" / "UO-5?B.JRA", "馬", "03-07"), kSix);
}

TEST(PatLookup, UnusableFilesGiveBlankOddsOrArePassedOver) {
  TestHome home;
  const fs::path odds = home.home() / "odds";
  const std::string whole = quinella95With("20020512", " 3", " 7");

  // Truncated: shorter than its record.
  writeBytes(odds / "UO-52B.JRA", whole.substr(0, 1000));
  EXPECT_EQ(LookupPat95Odds(home.session, odds / "UO-5?B.JRA", "馬", "03-07"), kSix);
  // The PAT98 layout is longer than this PAT95 file.
  writeBytes(odds / "UO-52B.JRA", whole);
  std::string wide;
  EXPECT_EQ(LookupPat98Odds(home.session, odds / "UO-5?B.JRA", "馬", "03-07", wide), kSix);
  // An empty file and a file of garbage.
  writeBytes(odds / "ZO-52B.JRA", "");
  EXPECT_EQ(LookupPat95Odds(home.session, odds / "ZO-5?B.JRA", "単", "1"), kSix);
  std::mt19937 rng(11);
  std::string garbage = "20020512";
  while (garbage.size() < kPatQuinella98RecordLength) garbage.push_back(static_cast<char>(rng() & 0xFF));
  writeBytes(odds / "UO-54B.JRA", garbage);
  writeBytes(odds / "ZO-54B.JRA", garbage);
  for (std::string_view pick : {"03-07", "01-02", "00-00", "  -  "}) {
    EXPECT_EQ(lenChars(LookupPat95Odds(home.session, odds / "UO-54B.JRA", "馬", pick)), 6u) << pick;
    EXPECT_EQ(lenChars(LookupPat98Odds(home.session, odds / "UO-54B.JRA", "馬", pick, wide)), 6u) << pick;
    EXPECT_EQ(lenChars(wide), 6u);
  }
  for (std::string_view kind : {"単", "複", "枠"}) {
    EXPECT_EQ(lenChars(LookupPat95Odds(home.session, odds / "ZO-54B.JRA", kind, "   11")), 6u);
  }

  // A truncated file of the day listed first is passed over for a whole one.
  fs::remove(odds / "UO-54B.JRA");
  writeBytes(odds / "UO-51B.JRA", whole.substr(0, kPatQuinella95RecordLength - 1));
  EXPECT_EQ(LookupPat95Odds(home.session, odds / "UO-5?B.JRA", "馬", "03-07"), "  12.3");
}

TEST(PatLookup, AReaderReadsEachFileOnce) {
  TestHome home;
  const fs::path odds = home.home() / "odds";
  writeBytes(odds / "UO-52B.JRA", quinella95With("20020512", " 3", " 7"));
  PatOddsReader reader(home.session);
  EXPECT_EQ(reader.meetingDate(), "20020512");
  EXPECT_EQ(reader.lookup95(odds / "UO-5?B.JRA", "馬", "03-07"), "  12.3");

  // Later changes to the folder are not seen by the same reader.
  fs::remove(odds / "UO-52B.JRA");
  EXPECT_EQ(reader.lookup95(odds / "UO-5?B.JRA", "馬", "04-06"), "  12.3");
  EXPECT_EQ(reader.lookup95(odds / "UO-5?B.JRA", "馬", "03-07"), "  12.3");
  EXPECT_EQ(PatOddsReader(home.session).lookup95(odds / "UO-5?B.JRA", "馬", "03-07"), kSix);

  // The same file read in the other layout is a separate reading.
  std::string wide;
  EXPECT_EQ(reader.lookup98(odds / "UO-5?B.JRA", "馬", "03-07", wide), kSix);
}

}  // namespace
}  // namespace tolv
