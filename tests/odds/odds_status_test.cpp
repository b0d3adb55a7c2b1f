#include <gtest/gtest.h>

#include "odds/odds_status.h"
#include "odds/pat_odds.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::RecordingUi;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

std::string bracketFile(const std::string& date) {
  PatBracketRecord r;
  r.header.date = date;
  return r.encode();
}
std::string quinella98File(const std::string& date) {
  PatQuinella98Record r;
  r.header.date = date;
  return r.encode();
}
std::string quinella95File(const std::string& date) {
  PatQuinella95Record r;
  r.header.date = date;
  return r.encode();
}

// The grid as the tolv-cli prints it: one line per row, cells joined by tabs.
std::vector<std::string> rowsOf(const OddsStatusGrid& g) {
  std::vector<std::string> out;
  for (const auto& row : g.rows) {
    std::string line = row.courseName + "\t" + row.betType;
    for (int r = 1; r <= kStatusRaces; ++r) line += "\t" + row.cell(r);
    out.push_back(line);
  }
  return out;
}

struct StatusHome : TestHome {
  RecordingUi ui;
  fs::path odds;
  explicit StatusHome(const std::string& source) : TestHome("20020512"), odds(home() / "odds") {
    fs::create_directories(odds);
    session.settings.oddsSource = source;
    session.settings.patFolder = "odds/";
  }
  OddsStatusGrid run(StepResult expected = StepResult::Done) {
    OddsStatusGrid g;
    EXPECT_EQ(showOddsStatus(session, ui, g), expected);
    return g;
  }
};

TEST(OddsStatus, PatFilesOfTheDay) {
  StatusHome h("1");
  writeBytes(h.odds / "UO-53B.JRA", quinella98File("20020512"));
  writeBytes(h.odds / "uo-a3c.jra", quinella95File("20020512"));  // either layout, either case
  writeBytes(h.odds / "ZO-531.JRA", bracketFile("20020512"));
  writeBytes(h.odds / "ZO-53A.JRA", bracketFile("20020512"));
  // Not counted: another day, a cut-off file, no course or race letter.
  writeBytes(h.odds / "UO-531.JRA", quinella98File("20020511"));
  writeBytes(h.odds / "ZO-632.JRA", bracketFile("20020512").substr(0, 500));
  writeBytes(h.odds / "ZO-03B.JRA", bracketFile("20020512"));
  writeBytes(h.odds / "ZO-B3B.JRA", bracketFile("20020512"));
  writeBytes(h.odds / "ZO-53D.JRA", bracketFile("20020512"));
  writeBytes(h.odds / "ZO-53?.JRA", bracketFile("20020512"));

  const OddsStatusGrid g = h.run();
  EXPECT_TRUE(h.ui.messages.empty());
  EXPECT_EQ(g.heading, "2002年05月12日(日) のオッズ取得状況");
  EXPECT_EQ(rowsOf(g), (std::vector<std::string>{
                           "東京\t枠連\t○\t×\t×\t×\t×\t×\t×\t×\t×\t○\t×\t×",
                           "東京\t馬連\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t○\t×",
                           "小倉\t馬連\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t○",
                       }));
  EXPECT_EQ(g.rows[0].betTypeColour, 0xFF00FFu);
  EXPECT_EQ(g.rows[1].betTypeColour, 0x0000FFu);
  EXPECT_EQ(g.rows[1].cellColour(11), 0xFF0000u);
  EXPECT_EQ(g.rows[1].cellColour(10), 0x000000u);

  const auto header = OddsStatusGrid::headerRow();
  ASSERT_EQ(header.size(), 14u);
  EXPECT_EQ(header[0], "競馬場");
  EXPECT_EQ(header[1], "種別");
  EXPECT_EQ(header[2], " 1R");
  EXPECT_EQ(header[13], "12R");
}

TEST(OddsStatus, SourcesAndEmptyFolders) {
  {
    StatusHome h("1");  // nothing on hand: the header row only
    EXPECT_TRUE(h.run().rows.empty());
  }
  {
    StatusHome h("2");  // forum odds are read from WarsOddsFolder
    writeBytes(h.odds / "UO-53B.JRA", quinella98File("20020512"));
    writeBytes(fs::path(h.session.warsOddsFolder()) / "UO-61C.JRA", quinella98File("20020512"));
    EXPECT_EQ(rowsOf(h.run()),
              (std::vector<std::string>{"中山\t馬連\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t○"}));
  }
  {
    StatusHome h("1");
    h.session.setMeetingDate("2002051");
    h.run(StepResult::Failed);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_EQ(h.ui.messages[0].text, "処理日付が特定できません！　作者までご連絡ください<m(__)m>。");
  }
}

TEST(OddsStatus, TargetCsv) {
  StatusHome h("3");
  h.run(StepResult::Failed);
  ASSERT_EQ(h.ui.messages.size(), 1u);
  EXPECT_EQ(h.ui.messages[0].text, "「TARGET」のCSV形式オッズが指定されていますが、ファイルが見つかりません！");
  EXPECT_EQ(h.ui.messages[0].title, "【トルブ】ファイル検索エラー");
  EXPECT_EQ(h.ui.messages[0].icon, Icon::Critical);

  // 東京 1R of 8 runners, 2R of 9, 阪神 12R of 16; a line of garbage and a
  // race number out of range count only their course.
  writeBytes(h.odds / "od020512.csv", sjLines({"0502320101,8,1", "0502320102,8,1", "0502320201,9,1",
                                               "0902521201,16", "garbage,20", "0902521501,10"}));
  const OddsStatusGrid g = h.run();
  EXPECT_EQ(rowsOf(g), (std::vector<std::string>{
                           "東京\t枠連\t○\t○\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×",
                           "東京\t馬連\t×\t○\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×",
                           "阪神\t枠連\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t○",
                           "阪神\t馬連\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t○",
                       }));
}

TEST(OddsStatus, MjhText) {
  StatusHome h("4");
  h.run(StepResult::Failed);
  ASSERT_EQ(h.ui.messages.size(), 1u);
  EXPECT_EQ(h.ui.messages[0].text, "「ＭＪＨ」形式オッズが指定されていますが、ファイルが見つかりません！");
  EXPECT_EQ(h.ui.messages[0].title, "【トルブ】ファイル検索エラー");

  // Course in characters 4-5, race in 7-8.
  writeBytes(h.odds / "RX020512.TXT", sjLines({"00 header", "21 06 01 1-2  12.3", "22 06 03 01-02  45.6",
                                               "22 06 13 01-02", "21 07 00", "22 11 05", "10 08 05", "22"}));
  EXPECT_EQ(rowsOf(h.run()), (std::vector<std::string>{
                                 "中山\t枠連\t○\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×\t×",
                                 "中山\t馬連\t×\t×\t○\t×\t×\t×\t×\t×\t×\t×\t×\t×",
                             }));
}

}  // namespace
}  // namespace tolv
