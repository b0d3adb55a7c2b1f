#include "odds/target_csv.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "support/test_support.h"

namespace tolv {
namespace {

using testing::sj;
using testing::TestHome;
using testing::writeBytes;

using Records = std::vector<std::vector<std::string>>;
const std::string kSix(6, ' ');

// A CSV line of `count` fields: the key, then the given fields (1-based
// numbers), the rest empty.
std::string csvLine(const std::string& key, const std::map<int, std::string>& fields, int count) {
  std::string line = key;
  for (int n = 2; n <= count; ++n) {
    line += ",";
    if (auto it = fields.find(n); it != fields.end()) line += it->second;
  }
  return line;
}

// Key of race 11 at Tokyo (05) in 2002, meeting 3, day 2, row `row`.
std::string tokyoKey(const std::string& row, const std::string& yy = "02") { return "05" + yy + "3211" + row; }

// --- reading ------------------------------------------------------------------

TEST(TargetCsvReader, QuotedFieldsLineEndsAndBlanks) {
  EXPECT_EQ(parseCsv("a,b,c"), (Records{{"a", "b", "c"}}));
  // CR LF, LF and CR all end a line; the last line needs no end.
  EXPECT_EQ(parseCsv("a,b\r\nc\nd,e\rf"), (Records{{"a", "b"}, {"c"}, {"d", "e"}, {"f"}}));
  // Quoted fields hold commas, line breaks and doubled quotes.
  EXPECT_EQ(parseCsv("\"x,y\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\nnext"),
            (Records{{"x,y", "say \"hi\"", "two\r\nlines"}, {"next"}}));
  // Empty fields, a trailing comma, and empty quotes.
  EXPECT_EQ(parseCsv(",a,,\"\","), (Records{{"", "a", "", "", ""}}));
  // Blanks around a field are not part of it; inside quotes they are.
  EXPECT_EQ(parseCsv("  a  ,\t\" b \" ,c d"), (Records{{"a", " b ", "c d"}}));
  // Text after a closing quote joins the field; a quote inside a plain field is a character.
  EXPECT_EQ(parseCsv("\"ab\"cd,e\"f"), (Records{{"abcd", "e\"f"}}));
  // Lines with nothing on them are no records.
  EXPECT_EQ(parseCsv("\r\n\r\na\n\n  \nb\r\n"), (Records{{"a"}, {"b"}}));
  EXPECT_EQ(parseCsv(""), Records{});
  // An unclosed quote runs to the end of the text.
  EXPECT_EQ(parseCsv("a,\"b,c\nd"), (Records{{"a", "b,c\nd"}}));
  // At most maxFields fields are kept; the rest of the line is dropped, not carried over.
  EXPECT_EQ(parseCsv("1,2,3,4\n5,6", 2), (Records{{"1", "2"}, {"5", "6"}}));
}

TEST(TargetCsvReader, FormatByTheFirstLineAndRecordsMadeToItsFieldCount) {
  std::string seventy(70, ','), seventyOne(71, ',');
  EXPECT_FALSE(isLongTargetCsv(seventy));
  EXPECT_TRUE(isLongTargetCsv(seventyOne));
  EXPECT_TRUE(isLongTargetCsv(seventyOne + "\r\na"));
  EXPECT_FALSE(isLongTargetCsv("a\r\n" + seventyOne));  // only the first line counts
  EXPECT_FALSE(isLongTargetCsv(""));

  // Short format: a short line is filled up and a long line cut, without
  // shifting the lines after them.
  TargetCsvFile shortFile =
      parseTargetCsv(csvLine("k1", {{11, "5.5"}}, 37) + "\r\nk2,2,3\r\n" + csvLine("k3", {{37, "last"}}, 40) + "\r\n" +
                     csvLine("k4", {{11, "6.6"}}, 37) + "\r\n");
  EXPECT_FALSE(shortFile.longFormat);
  ASSERT_EQ(shortFile.records.size(), 4u);
  for (const auto& r : shortFile.records) EXPECT_EQ(r.size(), 37u);
  EXPECT_EQ(shortFile.records[0][10], "5.5");
  EXPECT_EQ(shortFile.records[1][2], "3");
  EXPECT_EQ(shortFile.records[1][36], "");
  EXPECT_EQ(shortFile.records[2][36], "last");
  EXPECT_EQ(shortFile.records[3][0], "k4");
  EXPECT_EQ(shortFile.records[3][10], "6.6");

  TargetCsvFile longFile = parseTargetCsv(csvLine("k1", {{73, "end"}}, 73) + "\r\nk2\r\n");
  EXPECT_TRUE(longFile.longFormat);
  ASSERT_EQ(longFile.records.size(), 2u);
  EXPECT_EQ(longFile.records[0][72], "end");
  EXPECT_EQ(longFile.records[1].size(), 73u);
}

TEST(TargetCsvReader, ReadsCp932AndSurvivesGarbage) {
  TestHome h;
  const fs::path file = h.home() / "OD020512.CSV";
  writeBytes(file, sj("\"東京,芝\",ﾄﾘｹｼ\r\n") + std::string("\x85\x40,x\r\n", 6));
  auto read = readTargetCsvFile(file);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->records.size(), 2u);
  EXPECT_EQ(read->records[0][0], "東京,芝");
  EXPECT_EQ(read->records[0][1], "ﾄﾘｹｼ");
  EXPECT_EQ(read->records[1][0], "?@");  // an invalid lead byte reads as '?'

  std::string error;
  EXPECT_FALSE(readTargetCsvFile(h.home() / "missing.csv", &error));
  EXPECT_FALSE(error.empty());

  std::mt19937 rng(7);
  const std::string alphabet = ",\"\r\n \t0a";
  for (int round = 0; round < 200; ++round) {
    std::string text;
    std::size_t n = rng() % 400;
    for (std::size_t i = 0; i < n; ++i) {
      text.push_back(round % 2 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng() % 256));
    }
    TargetCsvFile f = parseTargetCsv(text);
    for (const auto& r : f.records) ASSERT_EQ(r.size(), f.fieldCount());
    std::string wide;
    TargetCsvOdds(f).lookup("馬", "01-02", "0511", "20020512", wide);
  }
}

// --- lookups ------------------------------------------------------------------

TEST(TargetCsvLookup, ShortFormatQuinellaAndBracket) {
  std::string text = csvLine(tokyoKey("01"), {{12, "12.3"}, {13, "0"}, {14, "ﾄﾘｹｼ"}, {28, "99999"}, {30, "7.25"}}, 37) +
                     "\r\n" + csvLine(tokyoKey("01"), {{12, "55.5"}}, 37) + "\r\n" +  // a later record of the same key
                     csvLine(tokyoKey("03"), {{31, "8"}, {11, "4.0"}}, 37) + "\r\n";
  TargetCsvOdds odds(parseTargetCsv(text));
  ASSERT_FALSE(odds.longFormat());
  std::string wide = "x";

  // Quinella: row = first horse, field 10 + the second horse; the first record wins.
  EXPECT_EQ(odds.lookup("馬", "01-02", "0511", "20020512", wide), "  12.3");
  EXPECT_EQ(wide, kSix);  // the short format has no quinella-place odds
  EXPECT_EQ(odds.lookup("馬", " 1- 2", "0511", "20020512", wide), "  12.3");
  EXPECT_EQ(odds.lookup("馬", "01-03", "0511", "20020512", wide), kSix);      // value 0
  EXPECT_EQ(odds.lookup("馬", "01-04", "0511", "20020512", wide), kSix);      // no number
  EXPECT_EQ(odds.lookup("馬", "01-05", "0511", "20020512", wide), kSix);      // empty field
  EXPECT_EQ(odds.lookup("馬", "01-18", "0511", "20020512", wide), "9999.9");  // too large: capped, not cut
  EXPECT_EQ(odds.lookup("馬", "03-01", "0511", "20020512", wide), "   4.0");
  // A second horse outside 1-18 would point at a bracket field: no odds.
  EXPECT_EQ(odds.lookup("馬", "01-20", "0511", "20020512", wide), kSix);
  // Another race, course or year: no key matches.
  EXPECT_EQ(odds.lookup("馬", "01-02", "0510", "20020512", wide), kSix);
  EXPECT_EQ(odds.lookup("馬", "01-02", "0611", "20020512", wide), kSix);
  EXPECT_EQ(odds.lookup("馬", "01-02", "0511", "20030512", wide), kSix);

  // Bracket: row = "0" + the first bracket, field 28 + the second.
  EXPECT_EQ(odds.lookup("枠", "   12", "0511", "20020512", wide), "   7.3");
  EXPECT_EQ(wide, kSix);
  EXPECT_EQ(odds.lookup("枠", "   33", "0511", "20020512", wide), "   8.0");
  EXPECT_EQ(odds.lookup("枠", "   19", "0511", "20020512", wide), kSix);  // bracket 9: field 37
  EXPECT_EQ(odds.lookup("枠", "   21", "0511", "20020512", wide), kSix);  // no row 02

  EXPECT_EQ(odds.lookup("単", "01-02", "0511", "20020512", wide), kSix);
}

TEST(TargetCsvLookup, LongFormatGivesTheQuinellaPlaceLowerBound) {
  // Horse 2 of row 01: quinella field 12, quinella-place bounds 40 and 41.
  TargetCsvOdds odds(parseTargetCsv(
      csvLine(tokyoKey("01"), {{12, "12.0"}, {40, "3.45"}, {41, "4.9"}, {29, "2.2"}, {13, "6.0"}}, 73) + "\r\n"));
  ASSERT_TRUE(odds.longFormat());
  std::string wide;
  EXPECT_EQ(odds.lookup("馬", "01-02", "0511", "20020512", wide), "  12.0");
  EXPECT_EQ(wide, "   3.5");
  EXPECT_EQ(odds.lookup("馬", "01-03", "0511", "20020512", wide), "   6.0");
  EXPECT_EQ(wide, kSix);  // bounds of horse 3 are empty
  EXPECT_EQ(odds.lookup("枠", "   11", "0511", "20020512", wide), "   2.2");
  EXPECT_EQ(wide, kSix);  // never for bracket picks
  EXPECT_EQ(odds.lookup("馬", "01-02", "0511", "19990512", wide), kSix);
  EXPECT_EQ(wide, kSix);
}

TEST(TargetCsvLookup, SingleLookupsAndTheDaysFile) {
  TestHome h;
  h.session.settings.patFolder = "Odds\\";
  const fs::path expected = h.home() / "Odds/OD020512.CSV";
  EXPECT_EQ(targetCsvOddsPath(h.session), expected);

  std::string wide = "x";
  EXPECT_EQ(LookupTargetCsvOdds(expected, "馬", "01-02", "0511", "20020512", wide), kSix);
  EXPECT_EQ(wide, kSix);

  // A name of another case is found.
  writeBytes(h.home() / "Odds/od020512.csv", csvLine(tokyoKey("01"), {{12, "12.3"}}, 37) + "\r\n");
  const fs::path found = targetCsvOddsPath(h.session);
  EXPECT_EQ(found.filename(), "od020512.csv");
  EXPECT_EQ(LookupTargetCsvOdds(found, "馬", "01-02", "0511", "20020512", wide), "  12.3");
}

}  // namespace
}  // namespace tolv
