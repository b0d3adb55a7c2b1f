#include <gtest/gtest.h>

#include "core/codes.h"
#include "core/cut_record.h"
#include "odds/pat_odds.h"
#include "output/output_fixture.h"
#include "output/pirune_output.h"

namespace tolv::testing {
namespace {

std::string cut(const std::string& course, const std::string& program, const std::string& race,
                std::array<std::string, 6> picks) {
  return CutRecord{course, program, race, "  ", picks}.encode();
}

std::string pad78(const std::string& s) { return padBytes(s, 78); }
std::string rule78(char c) { return std::string(78, c); }

const std::string kBanner = " 2002年 5月12日(日)   『ぴるね』for WIN  あっ＼(◎o◎)／！  by ころもち";
const std::string kSignature = " 『ぴるね』 by ころもち";

std::string warsHeader(const std::string& course, const std::string& round, const std::string& signature) {
  return pad76(course + " 2002年  " + round + "  5月 12日(日) [0870]" + signature);
}

struct PiruneDay : OutputDay {
  PiruneDay() {
    session.settings.patFolder = (home() / "pat").string() + "/";
    writeBytes(home() / "PIRUNE.LST", sjLines({"0870ﾍﾞｰｽ", "0101ｿﾌﾄA", "0202ｿﾌﾄB"}));
  }
  fs::path outFolder() const { return session.outPutFolder(); }
  std::string text() const { return readBytes(outFolder() / "HT20020512.txt"); }
  std::string wars() const { return readBytes(outFolder() / "HW20020512.0870"); }
};

// The odds of the two-course day, the same in every source.
struct DayOdds {
  std::string course;
  int race, a, b;
  std::string pat;  // as a PAT file holds it
  std::string csv;  // as TARGET CSV and MJH text hold it
};
const std::vector<DayOdds> kDayOdds = {
    {"05", 1, 1, 2, "  12.5", "12.5"},  {"05", 11, 3, 7, "1234.0", "1234"}, {"05", 11, 3, 12, "   3.4", "3.4"},
    {"05", 11, 7, 12, " 251.0", "251"}, {"08", 12, 1, 10, "   8.0", "8"},
};

void writeQuinella(const fs::path& p, const std::string& date, int race, bool pat98,
                   const std::vector<const DayOdds*>& odds) {
  auto fill = [&](PatQuinellaRecord& r) {
    r.header.date = date;
    r.header.race = TwoDigits(race);
    r.layOutPairs(18, '0');
    for (const DayOdds* o : odds) {
      int a = o->a, b = o->b;
      r.entries[static_cast<std::size_t>(QuinellaPairIndex(a, b) - 1)].odds = o->pat;
    }
  };
  if (pat98) {
    PatQuinella98Record r;
    fill(r);
    writeBytes(p, r.encode());
  } else {
    PatQuinella95Record r;
    fill(r);
    writeBytes(p, r.encode());
  }
}

// The odds files of one source for the day.
void writeOddsFiles(PiruneDay& d, const std::string& source) {
  const fs::path pat = d.home() / "pat";
  if (source == "0" || source == "1" || source == "2") {
    const fs::path folder = source == "2" ? fs::path(d.session.warsOddsFolder()) : pat;
    const std::vector<std::tuple<std::string, int, std::string>> files = {
        {"05", 1, "UO-581.JRA"}, {"05", 11, "UO-58B.JRA"}, {"08", 12, "UO-84C.JRA"}};
    for (const auto& [course, race, name] : files) {
      std::vector<const DayOdds*> odds;
      for (const auto& o : kDayOdds) {
        if (o.course == course && o.race == race) odds.push_back(&o);
      }
      writeQuinella(folder / name, "20020512", race, source != "0", odds);
    }
  } else if (source == "3") {
    // One line per race and row: the row's horse with every other horse.
    std::vector<std::vector<std::string>> rows;
    for (const auto& o : kDayOdds) {
      const std::string key = o.course + "02" + (o.course == "05" ? "38" : "24") + TwoDigits(o.race) + TwoDigits(o.a);
      if (rows.empty() || rows.back()[0] != key) rows.push_back(std::vector<std::string>(37));
      rows.back()[0] = key;
      rows.back()[1] = "18";
      rows.back()[static_cast<std::size_t>(10 + o.b - 1)] = o.csv;
    }
    std::vector<std::string> lines;
    for (const auto& fields : rows) {
      std::string line;
      for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
      lines.push_back(line);
    }
    writeBytes(pat / "OD020512.CSV", sjLines(lines));
  } else {
    std::vector<std::string> lines = {"01 05    3 8", "01 08    2 4"};
    for (const auto& o : kDayOdds) {
      lines.push_back("22 " + o.course + " " + TwoDigits(o.race) + " " + TwoDigits(o.a) + " " + TwoDigits(o.b) + " " +
                      rightChars("    " + o.csv, 4));
    }
    writeBytes(pat / "RX020512.TXT", sjLines(lines));
  }
}

class PiruneTwoCourseDay : public ::testing::TestWithParam<std::string> {};

// A day of two courses, whole files, for every odds source: the selection,
// the listing (one banner, a "-" rule between the courses, race 1 headed
// with a full-width space and １, odds 1234.0 printed as 999.9) and the WARS
// file (two headers separated by an empty line). A race without a pair in
// range has no heading and no race line.
TEST_P(PiruneTwoCourseDay, WholeFiles) {
  PiruneDay d;
  d.session.settings.oddsSource = GetParam();
  d.writeSchedule({
      race("東京", "3", "8", " 1", "芝", "1600", "16", "３上", "4", "10:05"),
      race("東京", "3", "8", "11", "ダ", "2100", "12", "３上", "00", "15:25"),
      race("京都", "2", "4", "12", "芝", "1200", "18", "４上", "5", "16:10"),
  });
  writeBytes(d.session.cutIndexPath(),
             cut("08", "0870", "12", {"01-10", "", "", "", "", ""}) + cut("08", "0101", "12", {"10-01", "", "", "", "", ""}) +
                 cut("05", "0870", "11", {"03-07", "03-12", "", "", "", ""}) +
                 cut("05", "0101", "11", {"03-07", "03-12", "", "", "", ""}) +
                 cut("05", "0202", "11", {"03-01", "", "", "", "", ""}) +
                 cut("05", "0870", "01", {"01-02", "01-03", "", "", "", ""}) +
                 cut("05", "0101", "01", {"02-05", "01-09", "", "", "", ""}) +
                 cut("05", "0202", "01", {"02-05", "", "", "", "", ""}) +
                 cut("05", "0870", "02", {"04-05", "", "", "", "", ""}) + cut("05", "0202", "02", {"04-05", "", "", "", "", ""}));
  writeOddsFiles(d, GetParam());

  RecordingUi ui;
  std::vector<fs::path> written;
  ASSERT_EQ(createPirune(d.session, ui, &written), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(ui.progressOpen);
  EXPECT_EQ(written, (std::vector<fs::path>{d.outFolder() / "HT20020512.txt", d.outFolder() / "HW20020512.0870"}));

  auto sel = [](const std::string& key, const std::vector<std::string>& slots) {
    std::string b = key;
    for (const auto& s : slots) b += s + "      ";
    return b + std::string(17 * (20 - slots.size()), ' ');
  };
  EXPECT_EQ(readBytes(d.session.dataFolder() + "HA20020512.DAT"),
            sel("0501", {"01-02  12.5"}) + sel("0502", {"04-05      "}) +
                sel("0511", {"03-071234.0", "03-12   3.4", "07-12 251.0"}) + sel("0812", {"01-10   8.0"}));

  EXPECT_EQ(d.text(), sjLines({
                          rule78('='),
                          pad78(kBanner),
                          rule78('-'),
                          "東京【　１Ｒ】 芝 1600m 16頭 ３上 500万 " + std::string(26, '/') + " 発走[10:05]",
                          pad78(" 01-02[ 12.5] "),
                          "東京【１１Ｒ】 ダ 2100m 12頭 ３上 ＯＰ  " + std::string(26, '/') + " 発走[15:25]",
                          pad78(" 03-07[999.9] 03-12[  3.4] 07-12[251.0] "),
                          rule78('-'),
                          "京都【１２Ｒ】 芝 1200m 18頭 ４上 900万 " + std::string(26, '/') + " 発走[16:10]",
                          pad78(" 01-10[  8.0] "),
                          rule78('-'),
                          "",
                      }));
  EXPECT_EQ(d.wars(), sjLines({
                          rule('-'),
                          warsHeader("東京", "3回  8日目", kSignature),
                          rule('-'),
                          pad76(" 1R   1  1- 2 "),
                          pad76("11R   3  3- 7  3-12  7-12 "),
                          "",
                          rule('-'),
                          warsHeader("京都", "2回  4日目", kSignature),
                          rule('-'),
                          pad76("12R   1  1-10 "),
                          "",
                      }));
}

INSTANTIATE_TEST_SUITE_P(PiruneOddsSources, PiruneTwoCourseDay, ::testing::Values("0", "1", "2", "3", "4"));

PiruneSelectionRecord record(const std::string& course, const std::string& race,
                             std::vector<PiruneCandidate> candidates) {
  return {course, race, std::move(candidates)};
}

// The output table: pairs in MIN..MAX in slot order, at most OUTPUT; a pair
// without odds is dropped by MIN 100 once SORTFLAG has put it first; at most
// 36 races; an empty slot is never a pick, whatever the range.
TEST(PiruneOutputTable, RangeLimitAndRaces) {
  Settings s;
  s.oddsMin = "100";
  s.oddsMax = "9999";
  s.pirune.output = "6";
  auto table = piruneOutputTable(s, {record("05", "01", {{"01-03", "      "}, {"02-03", " 120.5"}, {"01-02", " 251.0"}})});
  ASSERT_EQ(table.size(), 1u);
  ASSERT_EQ(table[0].entries.size(), 2u);
  EXPECT_EQ(table[0].entries[0].pair, "02-03");
  EXPECT_EQ(FormatPirunePickLine(table[0]), pad78(" 02-03[120.5] 01-02[251.0] "));

  s.oddsMin = "1";
  s.pirune.output = "2";
  table = piruneOutputTable(s, {record("05", "03", {{"01-02", "   1.5"}, {"01-03", "   2.5"}, {"01-04", "   3.5"},
                                                    {"01-05", "   4.5"}, {"01-06", "   5.5"}})});
  EXPECT_EQ(FormatPirunePickLine(table[0]), pad78(" 01-02[  1.5] 01-03[  2.5] "));
  EXPECT_EQ(FormatPiruneWarsRace(table[0]), pad76(" 3R   1  1- 2  1- 3 "));

  // MIN 0 (the menu's boxes are taken as typed): a race whose pairs are all
  // beyond MAX has no picks, though its blank slots would read 0.
  s.oddsMin = "0";
  s.oddsMax = "50";
  table = piruneOutputTable(s, {record("05", "04", {{"01-02", " 120.0"}})});
  EXPECT_FALSE(table[0].hasPicks());
  EXPECT_EQ(FormatPiruneWarsRace(table[0]), "");

  std::vector<PiruneSelectionRecord> many;
  for (int c = 1; c <= 4; ++c) {
    for (int r = 1; r <= 12; ++r) many.push_back(record(TwoDigits(c), TwoDigits(r), {{"01-02", "  10.0"}}));
  }
  table = piruneOutputTable(s, many);
  EXPECT_EQ(table.size(), 36u);
  EXPECT_EQ(table.back().courseCode, "03");
}

TEST(PiruneOutputNames, HkaModes) {
  TestHome h;
  WarsOutputSettings& p = h.session.settings.pirune;
  p.outFolder = (h.home() / "out").string() + "/";
  p.code = "0870";
  const fs::path out = h.home() / "out";
  EXPECT_EQ(piruneTextPath(h.session), out / "HT20020512.txt");
  p.ka1 = "3";
  EXPECT_EQ(piruneWarsPath(h.session), out / "HW20020512.0870");
  p.ka1 = "1";
  EXPECT_EQ(piruneWarsPath(h.session), out / "HW20020512_0870.TXT");
  p.ka1 = "2";
  p.ka2 = "dat";
  EXPECT_EQ(piruneWarsPath(h.session), out / "HW20020512_0870.dat");
  p.ka2 = "";
  EXPECT_EQ(piruneWarsPath(h.session), out / "HW20020512_0870");
}

// Without a schedule: headings carry no conditions and are cut to 78 bytes,
// the round comes from the PAT odds files ("?" without them); HEDAFLAG signs
// with ORGHEDA.
TEST(PiruneOutput, NoScheduleAndOwnHeader) {
  PiruneDay d;
  d.session.settings.pirune.hedaFlag = 1;
  d.session.settings.pirune.orgHeda = "俺のぴるね";
  PatQuinella95Record round;
  round.header.date = "20020512";
  round.header.meeting = " 3";
  round.header.day = " 8";
  writeBytes(d.home() / "pat" / "UO-581.JRA", round.encode());
  RecordingUi ui;
  std::vector<fs::path> written;
  ASSERT_EQ(WritePiruneOutput(d.session, ui,
                              {record("05", "01", {{"01-02", "  12.5"}}), record("09", "10", {{"05-06", "   9.9"}})},
                              &written),
            StepResult::Done);
  EXPECT_EQ(d.text(), sjLines({
                          rule78('='),
                          pad78(kBanner),
                          rule78('-'),
                          "東京【　１Ｒ】 " + std::string(63, '/'),
                          pad78(" 01-02[ 12.5] "),
                          rule78('-'),
                          "阪神【１０Ｒ】 " + std::string(63, '/'),
                          pad78(" 05-06[  9.9] "),
                          rule78('-'),
                          "",
                      }));
  EXPECT_EQ(d.wars(), sjLines({
                          rule('-'),
                          warsHeader("東京", "3回  8日目", " 俺のぴるね"),
                          rule('-'),
                          pad76(" 1R   1  1- 2 "),
                          "",
                          rule('-'),
                          warsHeader("阪神", "?回  ?日目", " 俺のぴるね"),
                          rule('-'),
                          pad76("10R   5  5- 6 "),
                          "",
                      }));
}

// No pair in range: the message, and the files of an earlier run stay.
TEST(PiruneOutput, NothingInRangeKeepsEarlierFiles) {
  PiruneDay d;
  writeBytes(d.outFolder() / "HT20020512.txt", "old text");
  writeBytes(d.outFolder() / "HW20020512.0870", "old wars");
  RecordingUi ui;
  std::vector<fs::path> written;
  EXPECT_EQ(WritePiruneOutput(d.session, ui, {record("05", "01", {{"01-02", "      "}})}, &written),
            StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "本日は『ぴるね』の買い目がありません！");
  EXPECT_EQ(ui.messages[0].title, "【ぴるね】の作成について");
  EXPECT_EQ(ui.messages[0].icon, Icon::Information);
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(d.text(), "old text");
  EXPECT_EQ(d.wars(), "old wars");
}

// The command stops at the list checks before the schedule is looked at.
TEST(PiruneOutput, CommandStopsBeforeTheScheduleCheck) {
  PiruneDay d;
  fs::remove(d.home() / "PIRUNE.LST");
  writeBytes(d.session.cutIndexPath(), cut("05", "0870", "01", {"01-02", "", "", "", "", ""}));
  // A schedule too short to use: the check would delete it.
  writeBytes(d.session.scheduleFilePath(), "short");
  RecordingUi ui;
  EXPECT_EQ(createPirune(d.session, ui), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "カレントフォルダに「リストファイル(PIRUNE.LST)」がありません！　中止します。");
  EXPECT_TRUE(fs::exists(d.session.scheduleFilePath()));
  writeBytes(d.home() / "PIRUNE.LST", sjLines({"0870", "0101"}));
  EXPECT_EQ(createPirune(d.session, ui), StepResult::Failed);  // nobody votes
  EXPECT_FALSE(fs::exists(d.session.scheduleFilePath()));
}

}  // namespace
}  // namespace tolv::testing
