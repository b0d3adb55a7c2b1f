#include <gtest/gtest.h>

#include "output/output_fixture.h"
#include "output/tolv_text.h"
#include "output/tolv_wars.h"

namespace tolv::testing {
namespace {

std::string banner(const std::string& course, const std::string& date) {
  return pad76("《" + course + "》 " + date + " 今日もいただきィ～(^^)v  by【トルブ】Ver" + version());
}

// Two meetings with a schedule: headings with conditions and post times,
// picks filtered by both ranges, labels from the name table, odds shapes,
// the ninth label on a line of its own.
TEST(TolvText, TwoMeetingsWithSchedule) {
  OutputDay day;
  day.session.programNames = {{"0101", "ｱﾙﾌｧ  "}, {"0202", "馬太郎"}, {"0404", "ﾌﾞﾙｰｽﾀｰ"}, {"0101", "別名  "}};
  day.writeSchedule({
      race("東京", "3", "8", " 1", "芝", "1600", "16", "３上", "4", "10:05"),
      race("東京", "3", "8", " 2", "芝", "1400", "18", "２才", "03", "10:35"),
      race("東京", "3", "8", "11", "ダ", "2100", "12", "", "00", "15:25"),
      race("京都", "2", "4", "10", "障", "3000", "14", "４上", "62", "14:50"),
  });
  day.addMeeting("05", {
                           pickRecord("0501", "01-02", "  12.5", 3, {101, 202, 303}),
                           pickRecord("0501", "01-03", "  45.0", 2, {101, 404}),
                           pickRecord("0501", "02-03", "      ", 2, {1, 2}),  // no odds: below MIN
                           pickRecord("0502", "02-05", "  30.1", 1, {707}),  // one post: below MinW
                           pickRecord("0511", "   36", "   8.2", 2, {5, 6}),
                           pickRecord("0512", "03-07", "1234.5", 2, {1, 2}),
                       });
  day.addMeeting("08", {
                           pickRecord("0801", "01-02", "  ﾄﾘｹｼ", 5, {1, 2, 3, 4, 5}),
                           pickRecord("0810", "05-06", " 100.0", 9, {1, 2, 3, 4, 5, 6, 7, 8, 9}),
                       });
  ASSERT_EQ(day.listDay(), 2);
  RecordingUi ui;
  std::vector<fs::path> written;
  ASSERT_EQ(writeTolvText(day.session, ui, &written), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.busyDepth, 0);
  const fs::path out(day.session.outPutFolder());
  EXPECT_EQ(written, (std::vector<fs::path>{out / "W20020512_05.TXT", out / "W20020512_08.TXT"}));

  EXPECT_EQ(day.listing("05"),
            sjLines({
                rule('='),
                banner("東京", "2002年 5月12日(日)"),
                rule('='),
                "東京【　１Ｒ】 芝 1600m 16頭 ３上 500万 " + std::string(24, '+') + " 発走[10:05]",
                " < 3ｿﾌﾄ>01-02[ 12.5]:ｱﾙﾌｧ  /馬太郎/[0303]",
                " < 2ｿﾌﾄ>01-03[ 45.0]:ｱﾙﾌｧ  /ﾌﾞﾙｰｽﾀ",
                "東京【１１Ｒ】 ダ 2100m 12頭    ＯＰ  " + std::string(26, '+') + " 発走[15:25]",
                " < 2ｿﾌﾄ>   36[  8.2]:[0005]/[0006]",
                "東京【１２Ｒ】 " + std::string(61, '+'),
                " < 2ｿﾌﾄ>03-07[999.9]:[0001]/[0002]",
                rule('='),
                "",
            }));
  EXPECT_EQ(day.listing("08"),
            sjLines({
                rule('='),
                banner("京都", "2002年 5月12日(日)"),
                rule('='),
                "京都【１０Ｒ】 障 3000m 14頭 ４上ＪＧ２ " + std::string(24, '+') + " 発走[14:50]",
                " < 9ｿﾌﾄ>05-06[100.0]:[0001]/[0002]/[0003]/[0004]/[0005]/[0006]/[0007]/[0008]",
                std::string(21, ' ') + "[0009]",
                rule('='),
                "",
            }));
}

// A share count above 99 shows 99 and lists the 63 codes a record keeps,
// eight to a line; a scratched horse's odds and a one-digit month and day.
TEST(TolvText, ShareCountAbove99ListsTheStoredCodes) {
  OutputDay day("20020105");
  day.session.settings.oddsMin = "0";
  TolvRecord r = pickRecord("0901", "01-02", "  ﾄﾘｹｼ", 120);
  for (int i = 0; i < 63; ++i) r.programCodes[static_cast<std::size_t>(i)] = 1001 + i;
  r.programCodes[63] = 9999;  // never listed
  day.addMeeting("09", {r});
  day.listDay();
  RecordingUi ui;
  ASSERT_EQ(writeTolvText(day.session, ui), StepResult::Done);

  std::vector<std::string> expected = {rule('='), banner("阪神", "2002年 1月 5日(土)"), rule('='),
                                       "阪神【　１Ｒ】 " + std::string(61, '+')};
  std::string line = " <99ｿﾌﾄ>01-02[ ﾄﾘｹｼ]:";
  for (int i = 1; i <= 63; ++i) {
    if (i > 1 && i % 8 == 1) {
      expected.push_back(line);
      line = std::string(21, ' ');
    } else if (i > 1) {
      line += "/";
    }
    line += "[" + std::to_string(1000 + i) + "]";
  }
  expected.push_back(line);
  expected.push_back(rule('='));
  expected.emplace_back();
  EXPECT_EQ(day.listing("09"), sjLines(expected));
  EXPECT_EQ(expected.size(), 4u + 8u + 2u);
}

// With MJH data as the race-card source the heading names the race, up to its
// first "）", instead of age and class.
TEST(TolvText, MjhScheduleHeadingsCarryTheRaceName) {
  OutputDay day;
  day.session.settings.denFlag = 0;
  day.writeSchedule({
      race("東京", "3", "8", " 1", "芝", "1600", "18", "", "", "  :  ", "ＮＨＫマイルＣ（Ｇ１）ハンデ（牝）"),
      race("東京", "3", "8", " 2", "芝", "1200", "10", "", "", "  :  ", "メイクデビュー東京"),
  });
  day.addMeeting("05", {pickRecord("0501", "01-02", "  12.5", 2), pickRecord("0502", "03-04", "   3.5", 2)});
  day.listDay();
  RecordingUi ui;
  ASSERT_EQ(writeTolvText(day.session, ui), StepResult::Done);
  EXPECT_EQ(day.listing("05"),
            sjLines({
                rule('='),
                banner("東京", "2002年 5月12日(日)"),
                rule('='),
                "東京【　１Ｒ】 芝 1600m 18頭 ＮＨＫマイルＣ（Ｇ１） " + std::string(12, '+') + " 発走[  :  ]",
                " < 2ｿﾌﾄ>01-02[ 12.5]:[0000]/[0000]",
                "東京【　２Ｒ】 芝 1200m 10頭  " + std::string(34, '+') + " 発走[  :  ]",
                " < 2ｿﾌﾄ>03-04[  3.5]:[0000]/[0000]",
                rule('='),
                "",
            }));
}

// The writers work on the files the session holds. A later meeting whose
// file has gone keeps its banner and closing rule.
TEST(TolvText, MissingLaterDataFileGivesAnEmptyListing) {
  OutputDay day;
  const fs::path first = day.addMeeting("06", {pickRecord("0603", "01-02", "  12.5", 2, {870, 871})});
  day.session.courseCount = 2;
  day.session.courseCodes = {"06", "10", "0"};
  day.session.tolvFilePaths = {"", first.string(), (fs::path(day.session.dataFolder()) / "W20020512_10.DAT").string(), ""};
  day.session.programNames = {{"0870", "ｺﾛﾓﾁ "}};
  RecordingUi ui;
  std::vector<fs::path> written;
  ASSERT_EQ(writeTolvText(day.session, ui, &written), StepResult::Done);
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(day.listing("06"), sjLines({rule('='), banner("中山", "2002年 5月12日(日)"), rule('='),
                                        "中山【　３Ｒ】 " + std::string(61, '+'),
                                        " < 2ｿﾌﾄ>01-02[ 12.5]:ｺﾛﾓﾁ /[0871]", rule('='), ""}));
  EXPECT_EQ(day.listing("10"), sjLines({rule('='), banner("小倉", "2002年 5月12日(日)"), rule('='), rule('='), ""}));
  EXPECT_FALSE(fs::exists(fs::path(day.session.dataFolder()) / "W20020512_10.DAT"));
}

// Both writers stop before writing anything: without data file 1, and with
// a data file but no meeting.
TEST(TolvText, FailureMessagesOfBothWriters) {
  using Writer = StepResult (*)(Session&, UserInterface&);
  const Writer writers[] = {
      [](Session& s, UserInterface& ui) { return writeTolvText(s, ui); },
      [](Session& s, UserInterface& ui) { return writeTolvWars(s, ui); },
  };
  for (Writer write : writers) {
    OutputDay day;
    RecordingUi ui;
    EXPECT_EQ(write(day.session, ui), StepResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "「トルブ」データファイルが作成されていません！　中止します。");

    // Data file 1 is checked first, then the meetings.
    const fs::path p = day.addMeeting("05", {pickRecord("0501", "01-02", "  12.5", 2)});
    day.session.tolvFilePaths[1] = p.string();
    day.session.courseCount = 0;
    EXPECT_EQ(write(day.session, ui), StepResult::Failed);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "開催場所の確認が出来ません！　作者までご連絡ください<m(__)m>");
    EXPECT_TRUE(listFiles(day.session.outPutFolder()).empty());
    EXPECT_EQ(ui.busyDepth, 0);
  }
}

}  // namespace
}  // namespace tolv::testing
