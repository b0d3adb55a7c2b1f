#include <gtest/gtest.h>

#include "collect/extraction.h"
#include "collect/wars_post.h"
#include "core/cut_record.h"
#include "core/records.h"
#include "odds/pat_odds.h"
#include "output/output_fixture.h"
#include "output/tolv_wars.h"

namespace tolv::testing {
namespace {

std::string header(const std::string& course, const std::string& round, const std::string& date,
                   const std::string& signature) {
  return pad76(course + " 2002年  " + round + date + signature);
}

std::string tolvSignature(const std::string& code = "7777") { return " [" + code + "] 【トルブ】Ver" + version(); }

// Writes a UO- file holding one quinella record of `date` with the round.
void writeQuinellaFile(const fs::path& p, const std::string& date, const std::string& meeting, const std::string& day,
                       bool pat98) {
  PatOddsHeader h;
  h.date = date;
  h.meeting = meeting;
  h.day = day;
  if (pat98) {
    PatQuinella98Record r;
    r.header = h;
    writeBytes(p, r.encode());
  } else {
    PatQuinella95Record r;
    r.header = h;
    writeBytes(p, r.encode());
  }
}

// Two meetings with a schedule: one file, each meeting with its header and
// an empty line; race lines annotated after byte 45 when the schedule knows
// the race; races without picks in range left out.
TEST(TolvWars, TwoMeetingsWithSchedule) {
  OutputDay day;
  day.writeSchedule({
      race("東京", "3", "8", " 1", "芝", "1600", "16", "３上", "4", "10:05"),
      race("東京", "3", "8", "11", "ダ", "2100", "12", "", "00", "15:25"),
      race("京都", "2", "4", "10", "障", "3000", "14", "４上", "62", "14:50"),
  });
  day.addMeeting("05", {
                           pickRecord("0501", "01-02", "  12.5", 3),
                           pickRecord("0501", "01-03", "  45.0", 2),
                           pickRecord("0502", "02-05", "  30.1", 1),  // below MinW: no race line
                           pickRecord("0511", "   36", "   8.2", 2),
                           pickRecord("0512", "03-07", "1234.5", 2),
                       });
  day.addMeeting("08", {pickRecord("0810", "05-06", " 100.0", 9)});
  ASSERT_EQ(day.listDay(), 2);
  RecordingUi ui;
  fs::path written;
  ASSERT_EQ(writeTolvWars(day.session, ui, &written), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.busyDepth, 0);
  EXPECT_EQ(written, fs::path(day.session.outPutFolder()) / "Tolv_WARS20020512.7777");
  EXPECT_EQ(readBytes(written),
            sjLines({
                rule('-'),
                header("東京", "3回  8日目", "  5月 12日(日)", tolvSignature()),
                rule('-'),
                padBytes(" 1R     01-02 01-03", 45) + "|芝1600m 16頭 ３上  500万 10:05",
                pad76(padBytes("11R        36", 45) + "|ダ2100m 12頭 " + "  " + " " + " ＯＰ " + " " + "15:25"),
                pad76("12R     03-07"),
                "",
                rule('-'),
                header("京都", "2回  4日目", "  5月 12日(日)", tolvSignature()),
                rule('-'),
                padBytes("10R     05-06", 45) + "|障3000m 14頭 ４上 ＪＧ２ 14:50",
                "",
            }));
  EXPECT_TRUE(listFiles(day.session.workFolder()).empty());
}

// Without a schedule the round comes from the day's PAT quinella files (the
// first of the day in directory order, either layout) or stays "?"; race
// lines carry no annotation.
TEST(TolvWars, RoundFromPatOddsWithoutSchedule) {
  OutputDay day;
  day.session.settings.patFolder = "Odds\\";
  const fs::path odds = day.home() / "odds";
  writeQuinellaFile(odds / "UO-501.JRA", "20020512", "04", "09", false);
  writeBytes(odds / "UO-502.JRA", readBytes(odds / "UO-501.JRA").substr(0, 1979));  // short: passed over
  fs::remove(odds / "UO-501.JRA");
  writeQuinellaFile(odds / "UO-51A.JRA", "20020505", " 3", " 7", false);  // another day
  writeQuinellaFile(odds / "uo-58b.jra", "20020512", "03", "08", false);
  writeQuinellaFile(odds / "UO-59C.JRA", "20020512", "03", "09", false);
  writeQuinellaFile(odds / "UO-A4C.JRA", "20020512", "02", "04", true);
  day.addMeeting("05", {pickRecord("0501", "01-02", "  12.5", 2)});
  day.addMeeting("09", {pickRecord("0912", "11-12", "  22.0", 2)});
  day.addMeeting("10", {pickRecord("1012", "07-08", "  99.9", 2)});
  ASSERT_EQ(day.listDay(), 3);

  EXPECT_EQ(FindRoundFromPatOdds(day.session, "05").meeting, "3");
  EXPECT_EQ(FindRoundFromPatOdds(day.session, "05").day, "8");
  EXPECT_EQ(FindRoundFromPatOdds(day.session, "00").meeting, "?");

  RecordingUi ui;
  fs::path written;
  ASSERT_EQ(writeTolvWars(day.session, ui, &written), StepResult::Done);
  EXPECT_EQ(readBytes(written), sjLines({
                                    rule('-'),
                                    header("東京", "3回  8日目", "  5月 12日(日)", tolvSignature()),
                                    rule('-'),
                                    pad76(" 1R     01-02"),
                                    "",
                                    rule('-'),
                                    header("阪神", "?回  ?日目", "  5月 12日(日)", tolvSignature()),
                                    rule('-'),
                                    pad76("12R     11-12"),
                                    "",
                                    rule('-'),
                                    header("小倉", "2回  4日目", "  5月 12日(日)", tolvSignature()),
                                    rule('-'),
                                    pad76("12R     07-08"),
                                    "",
                                }));

  // A schedule that exists but does not know the course shows "?", without
  // asking the PAT files.
  day.writeSchedule({race("京都", "2", "4", " 1", "芝", "1600", "16", "３上", "4", "10:05"),
                     race("京都", "2", "4", " 2", "芝", "1600", "16", "３上", "4", "10:35")});
  ASSERT_EQ(writeTolvWars(day.session, ui, &written), StepResult::Done);
  EXPECT_NE(readBytes(written).find(sj(header("東京", "?回  ?日目", "  5月 12日(日)", tolvSignature()))),
            std::string::npos);
}

// At most OUTPUT picks per race, counted again for every race; a meeting
// without a pick in range keeps its header, then two empty lines; the user's
// own header text.
TEST(TolvWars, OutputLimitEmptyMeetingAndOwnHeader) {
  OutputDay day("20020105");
  auto& wars = day.session.settings.wars;
  wars.output = "2";
  wars.code = "1234";
  wars.hedaFlag = 1;
  wars.orgHeda = "万券狙いの予想です";
  day.addMeeting("06", {
                           pickRecord("0601", "01-02", "   5.0", 9),
                           pickRecord("0601", "01-03", "   6.0", 8),
                           pickRecord("0601", "01-04", "   7.0", 7),
                           pickRecord("0601", "01-05", "   8.0", 6),
                           pickRecord("0602", "02-03", "   9.0", 5),
                           pickRecord("0602", "02-04", "  10.0", 4),
                           pickRecord("0602", "02-05", "  11.0", 3),
                       });
  day.addMeeting("07", {pickRecord("0701", "01-02", "      ", 5)});  // no odds: nothing in range
  day.listDay();
  RecordingUi ui;
  fs::path written;
  ASSERT_EQ(writeTolvWars(day.session, ui, &written), StepResult::Done);
  const std::string own = " [1234] 万券狙いの予想です";
  EXPECT_EQ(readBytes(written), sjLines({
                                    rule('-'),
                                    header("中山", "?回  ?日目", "  1月  5日(土)", own),
                                    rule('-'),
                                    pad76(" 1R     01-02 01-03"),
                                    pad76(" 2R     02-03 02-04"),
                                    "",
                                    rule('-'),
                                    header("中京", "?回  ?日目", "  1月  5日(土)", own),
                                    rule('-'),
                                    "",
                                    "",
                                }));
}

// The file's name by WKA1 and WKA2, in OUTFOLDER.
TEST(TolvWars, FileNames) {
  OutputDay day("20020105");
  auto& wars = day.session.settings.wars;
  EXPECT_EQ(wars.code, "7777");
  EXPECT_EQ(warsFileName("Tolv_WARS", "20020105", wars), "Tolv_WARS20020105.7777");
  wars.ka1 = "3";
  EXPECT_EQ(warsFileName("Tolv_WARS", "20020105", wars), "Tolv_WARS20020105.7777");
  wars.ka1 = "1";
  EXPECT_EQ(warsFileName("Tolv_WARS", "20020105", wars), "Tolv_WARS20020105_7777.TXT");
  wars.ka1 = "2";
  EXPECT_EQ(warsFileName("Tolv_WARS", "20020105", wars), "Tolv_WARS20020105_7777");
  wars.ka2 = "wrs";
  EXPECT_EQ(warsFileName("Tolv_WARS", "20020105", wars), "Tolv_WARS20020105_7777.wrs");

  wars.ka1 = "3";
  wars.outFolder = "Wars\\Out\\";
  fs::create_directories(day.home() / "wars" / "out");
  day.addMeeting("05", {pickRecord("0501", "01-02", "  12.5", 2)});
  day.listDay();
  RecordingUi ui;
  fs::path written;
  ASSERT_EQ(writeTolvWars(day.session, ui, &written), StepResult::Done);
  EXPECT_EQ(written, day.home() / "wars" / "out" / "Tolv_WARS20020105.7777");
  EXPECT_TRUE(fs::exists(written));

  // A folder that cannot be written to is reported, naming the file.
  wars.outFolder = (day.home() / "missing" / "").string();
  ASSERT_EQ(writeTolvWars(day.session, ui), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("Tolv_WARS20020105.7777"), std::string::npos);
}

// What we post reads back through log extraction: every header is
// recognised for the day and every pick reaches the cut index.
TEST(TolvWars, ReadsBackThroughLogExtraction) {
  OutputDay day;
  day.writeSchedule({race("東京", "3", "8", " 1", "芝", "1600", "16", "３上", "4", "10:05"),
                     race("阪神", "2", "4", "12", "ダ", "1200", "16", "３上", "5", "16:10")});
  day.addMeeting("05", {pickRecord("0501", "01-02", "  12.5", 3), pickRecord("0501", "01-03", "  45.0", 2),
                        pickRecord("0501", "01-04", "  45.0", 2), pickRecord("0501", "01-05", "  45.0", 2),
                        pickRecord("0501", "01-06", "  45.0", 2), pickRecord("0501", "01-07", "  45.0", 2),
                        pickRecord("0501", "01-08", "  45.0", 2), pickRecord("0503", "   36", "   8.0", 2)});
  day.addMeeting("09", {pickRecord("0912", "11-12", "  22.0", 2)});
  day.listDay();
  RecordingUi ui;
  fs::path written;
  ASSERT_EQ(writeTolvWars(day.session, ui, &written), StepResult::Done);

  auto lines = readTextLines(written);
  ASSERT_TRUE(lines);
  const MeetingDay meetingDay{"2002", "05", "12"};
  std::vector<std::string> courses;
  for (const auto& l : *lines) {
    if (auto h = parseHeader(trim(l), meetingDay)) {
      courses.push_back(h->courseCode);
      EXPECT_EQ(h->programCode, "7777");
    }
  }
  EXPECT_EQ(courses, (std::vector<std::string>{"05", "09"}));

  ExtractionForm form;
  form.logPaths[0] = written.string();
  form.ticked[0] = true;
  form.style = CutFileStyle::None;
  ASSERT_EQ(startExtraction(day.session, ui, form), StepResult::Done);
  auto cut = readRecords(day.session.cutIndexPath(), kCutRecordLength);
  ASSERT_TRUE(cut);
  ASSERT_EQ(cut->size(), 3u);
  const CutRecord r1 = CutRecord::decode((*cut)[0]);
  EXPECT_EQ(r1.courseCode + r1.programCode + r1.raceNo, "05777701");
  EXPECT_EQ(r1.picks, (std::array<std::string, 6>{"01-02", "01-03", "01-04", "01-05", "01-06", "01-07"}));
  const CutRecord r2 = CutRecord::decode((*cut)[1]);
  EXPECT_EQ(r2.raceNo + r2.picks[0] + r2.picks[1], "03   36     ");
  const CutRecord r3 = CutRecord::decode((*cut)[2]);
  EXPECT_EQ(r3.courseCode + r3.raceNo + r3.picks[0] + r3.picks[1], "091211-12     ");
}

}  // namespace
}  // namespace tolv::testing
