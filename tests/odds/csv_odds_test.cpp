#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "odds/csv_odds.h"
#include "odds/pat_fixture.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

std::string spaces(std::size_t n) { return std::string(n, ' '); }

std::string f1(double v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}
std::string odds(double v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%*.1f", width, v);
  return buf;
}

// Quinella odds of row r with horse h, and bracket odds of bracket r with b.
double quinella(int r, int h) { return r == 1 && h == 3 ? 2.5 : r == 3 && h == 4 ? 0 : r * 10 + h; }
double bracket(int r, int b) { return r == 1 && b == 1 ? 0 : 100 + r * 10 + b; }

// One line of race `race` of 東京 3回2日目 (key 0502 3 2 race row) with
// `runners` runners; `fields` cuts it short, `kind` is field 3.
std::string line(int race, int row, int runners, bool longFormat, std::size_t fields = 0,
                 const std::string& kind = "1", double win = 0) {
  char key[16];
  std::snprintf(key, sizeof key, "050232%02d%02d", race, row);
  std::vector<std::string> f{key, std::to_string(runners), kind, "935", "x", "", "y"};
  f.push_back(row == 2 ? "" : f1(win ? win : row + 0.5));
  f.push_back(f1(1.0 + row / 10.0));
  f.push_back(f1(2.0 + row / 10.0));
  for (int h = 1; h <= 18; ++h) f.push_back(f1(quinella(row, h)));
  for (int b = 1; b <= 8; ++b) f.push_back(f1(bracket(row, b)));
  f.push_back("");
  if (longFormat) {
    for (int h = 1; h <= 18; ++h) {
      f.push_back("1.0");
      f.push_back("2.0");
    }
  }
  if (fields) f.resize(fields);
  std::string s;
  for (std::size_t i = 0; i < f.size(); ++i) s += (i ? "," : "") + f[i];
  return s;
}

// Race 11 of 10 runners (row 9 cut after its place bounds, and a record of
// kind 6 for row 1 last), race 12 of 8 runners.
std::string csvText(bool longFormat) {
  std::vector<std::string> lines;
  for (int row = 1; row <= 10; ++row) lines.push_back(line(11, row, 10, longFormat, row == 9 ? 10 : 0));
  for (int row = 1; row <= 8; ++row) lines.push_back(line(12, row, 8, longFormat));
  lines.push_back(line(11, 1, 10, longFormat, 0, "6", 77.7));
  return sjLines(lines);
}

std::string header(const std::string& race, const std::string& date = "20020512") {
  return testing::patHeaderBytes({.date = date,
                                  .taken = date + "000000000000",
                                  .year = date.substr(0, 4),
                                  .meeting = "03",
                                  .day = "02",
                                  .race = race,
                                  .time = " 935"});
}

std::string expectedBracket(const std::string& race, int runners) {
  std::string s = header(race) + (runners < 10 ? " " : "") + std::to_string(runners) + "0";
  for (int row = 1; row <= 18; ++row) {
    if (row > runners) {
      s += spaces(18);
      continue;
    }
    char horse[4];
    std::snprintf(horse, sizeof horse, "%2d", row);
    s += horse + (row == 2 ? spaces(5) : odds(row + 0.5, 5)) + odds(1.0 + row / 10.0, 5) +
         odds(2.0 + row / 10.0, 5) + "0";
  }
  s += " ";
  for (int a = 1; a <= 8; ++a) {
    for (int b = a; b <= 8; ++b) {
      s += std::to_string(a) + "-" + std::to_string(b) + (bracket(a, b) ? odds(bracket(a, b), 5) : spaces(5)) + "0 ";
    }
  }
  return s;
}

std::string expectedQuinella(bool pat98) {
  std::string s = header("11") + (pat98 ? "1011" : " 10");
  for (int a = 1; a <= 10; ++a) {
    for (int b = a + 1; b <= 10; ++b) {
      char pair[8];
      std::snprintf(pair, sizeof pair, "%02d-%02d", a, b);
      const double q = a == 9 ? 0 : quinella(a, b);  // row 9 has no quinella fields
      std::string o = q ? odds(q, 6) : spaces(6);
      if (!pat98) {
        s += std::string(pair) + o + " ";
        continue;
      }
      s += "00" + std::string(pair) + o;
      s += q ? odds(std::max(q / 3, 1.0), 6) + odds(std::max(q / 2, 2.0), 6) : spaces(12);
    }
  }
  return pat98 ? s + spaces(25 * 108) + "\r\n" : s + spaces(12 * 108) + " ";
}

struct CsvHome : TestHome {
  RecordingUi ui;
  fs::path out, csv;
  CsvHome() : TestHome("20020512"), out(home() / "conv"), csv(home() / "OD020512.CSV") {
    fs::create_directories(out);
  }
  StepResult convert(PatQuinellaLayout layout, OddsConversionResult* r = nullptr) {
    return convertCsvOdds(session, ui, csv, layout, {"conv", false}, r);
  }
};

TEST(CsvOdds, LongFileToPat98Files) {
  CsvHome h;
  writeBytes(h.csv, csvText(true));
  OddsConversionResult r;
  ASSERT_EQ(h.convert(PatQuinellaLayout::Pat98, &r), StepResult::Done);
  EXPECT_TRUE(h.ui.messages.empty());
  EXPECT_EQ(r.records, 18);  // the record of kind 6 is skipped
  EXPECT_EQ(r.topLabel, "変換作業は終了しました！");
  EXPECT_EQ(readBytes(h.out / "ZO-52B.JRA"), expectedBracket("11", 10));
  EXPECT_EQ(readBytes(h.out / "UO-52B.JRA"), expectedQuinella(true));
  // 8 runners: the bracket file only.
  EXPECT_EQ(readBytes(h.out / "ZO-52C.JRA"), expectedBracket("12", 8));
  EXPECT_FALSE(fs::exists(h.out / "UO-52C.JRA"));

  ASSERT_EQ(h.ui.details.size(), 18u);
  EXPECT_EQ(h.ui.details[0], "東京 3回 2日目 11Ｒ  10立て  (TARGET形式CSVオッズ)");
  EXPECT_EQ(h.ui.captions.front(), "ＣＳＶオッズを読み取り中！");
  EXPECT_FALSE(h.ui.progressOpen);
}

TEST(CsvOdds, ShortFileToPat95Files) {
  CsvHome h;
  writeBytes(h.csv, csvText(false));
  ASSERT_EQ(h.convert(PatQuinellaLayout::Pat95), StepResult::Done);
  EXPECT_EQ(readBytes(h.out / "ZO-52B.JRA"), expectedBracket("11", 10));
  EXPECT_EQ(readBytes(h.out / "UO-52B.JRA"), expectedQuinella(false));
}

TEST(CsvOdds, FilesOnHandAreUpdated) {
  CsvHome h;
  // A file of the day keeps what no row changes; a file of another day, or
  // of the other layout, is started afresh.
  PatBracketRecord day;
  day.header.date = "20020512";
  day.header.race = "11";
  day.runners = "18";
  day.horses[17] = {"18", " 99.9", "  9.9", " 19.9", "0"};
  writeBytes(h.out / "ZO-52B.JRA", day.encode());
  PatBracketRecord old = day;
  old.header.date = "20010512";
  writeBytes(h.out / "zo-52c.jra", old.encode());
  PatQuinella95Record other;
  other.header.date = "20020512";
  writeBytes(h.out / "UO-52B.JRA", other.encode());

  writeBytes(h.csv, csvText(false));
  ASSERT_EQ(h.convert(PatQuinellaLayout::Pat98), StepResult::Done);
  std::string kept = expectedBracket("11", 10);
  kept.replace(0, 140, day.header.encode());
  kept.replace(140, 2, "18");
  kept.replace(143 + 17 * 18, 18, "18 99.9  9.9 19.90");
  EXPECT_EQ(readBytes(h.out / "ZO-52B.JRA"), kept);
  EXPECT_EQ(readBytes(h.out / "zo-52c.jra"), expectedBracket("12", 8));
  EXPECT_FALSE(fs::exists(h.out / "ZO-52C.JRA"));
  EXPECT_EQ(readBytes(h.out / "UO-52B.JRA"), expectedQuinella(true));
}

TEST(CsvOdds, DatesFromTheFileName) {
  EXPECT_EQ(csvOddsDate("OD991231.CSV"), "19991231");
  EXPECT_EQ(csvOddsDate("/x/od021231.csv"), "20021231");
  EXPECT_EQ(csvOddsDate("OD400101.CSV"), "19400101");
  EXPECT_EQ(csvOddsDate("OD391231.CSV"), "20391231");
  EXPECT_FALSE(csvOddsDate("ODDS.CSV").has_value());
  EXPECT_FALSE(csvOddsDate("OD0212X1.CSV").has_value());
  EXPECT_FALSE(csvOddsDate("OD021231.TXT").has_value());
  EXPECT_EQ(csvConversionHeading("19991231"), "1999年12月31日のＣＳＶオッズをＰＡＴ形式に変換します…");
}

TEST(CsvOdds, BadInput) {
  {
    CsvHome h;  // no such file
    EXPECT_EQ(h.convert(PatQuinellaLayout::Pat98), StepResult::Failed);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_NE(h.ui.messages[0].text.find("OD020512.CSV"), std::string::npos);
  }
  {
    CsvHome h;  // a name without a date
    h.csv = h.home() / "odds.csv";
    writeBytes(h.csv, csvText(false));
    EXPECT_EQ(h.convert(PatQuinellaLayout::Pat98), StepResult::Failed);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_NE(h.ui.messages[0].text.find("odds.csv"), std::string::npos);
    EXPECT_TRUE(listFiles(h.out).empty());
  }
  {
    CsvHome h;  // no output folder
    writeBytes(h.csv, csvText(false));
    EXPECT_EQ(convertCsvOdds(h.session, h.ui, h.csv, PatQuinellaLayout::Pat98, {"gone/", false}),
              StepResult::Failed);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_EQ(h.ui.messages[0].text, "設定されたフォルダが見つかりません！");
  }
  {
    CsvHome h;  // lines of garbage, keys naming no race, short lines, quotes
    writeBytes(h.csv, sjLines({"garbage", "", "\"0502321101\",12", "99023211,10,1", "0502,,,,,", "050232AB01,9,1",
                               "0502321201,x,1,,,,,abc,-1,\"a,5\"", "\"unclosed"}));
    OddsConversionResult r;
    ASSERT_EQ(h.convert(PatQuinellaLayout::Pat98, &r), StepResult::Done);
    std::vector<std::string> names;
    for (const auto& p : listFiles(h.out)) names.push_back(p.filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"UO-52B.JRA", "ZO-52B.JRA", "ZO-52C.JRA"}));
    // Row 1 of race 12: no number of runners, no odds: blank fields, no quinella file.
    const std::string twelve = readBytes(h.out / "ZO-52C.JRA");
    ASSERT_EQ(twelve.size(), kPatBracketRecordLength);
    EXPECT_EQ(twelve.substr(140, 3), " x0");
    EXPECT_EQ(twelve.substr(143, 18), " 1" + spaces(15) + "0");
    // Race 11 of 12 runners: its pairs laid out, without odds.
    const std::string eleven = readBytes(h.out / "UO-52B.JRA");
    ASSERT_EQ(eleven.size(), kPatQuinella98RecordLength);
    EXPECT_EQ(eleven.substr(144, 25), "0001-02" + spaces(18));
    EXPECT_EQ(eleven.substr(144 + 25 * 65, 25), "0011-12" + spaces(18));
    EXPECT_EQ(eleven.substr(144 + 25 * 66, 25), spaces(25));
  }
}

}  // namespace
}  // namespace tolv
