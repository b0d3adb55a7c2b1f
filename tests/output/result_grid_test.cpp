// The result grid: rows that pass the ranges, cells and colours, hits,
// selection, pending bets of the selection and of a WARS-format file.

#include <gtest/gtest.h>

#include "bets/pending_bet_file.h"
#include "core/pending_bet.h"
#include "core/tolv_record.h"
#include "output/result_grid.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::RecordingUi;
using testing::TestHome;
using testing::writeBytes;

TolvRecord rec(const std::string& key, const std::string& pick, const std::string& odds, int count) {
  TolvRecord r;
  r.raceKey = key;
  r.pick = pick;
  r.odds = odds;
  r.wideOdds = "   3.1";
  r.shareCount = count;
  for (int i = 0; i < count && i < kMaxListedPrograms; ++i) r.programCodes[static_cast<std::size_t>(i)] = 100 + i;
  return r;
}

class ResultGrid : public ::testing::Test {
 protected:
  ResultGrid() {
    Settings& s = h.session.settings;
    s.oddsMin = "5";
    s.oddsMax = "100";
    s.minW = "2";
    s.maxW = "200";
    s.stakeBracket = "300";
    s.stakeQuinella = "1000";
    s.stakeWide = "500";
  }
  void writeCourse(const std::string& code, const std::vector<TolvRecord>& records) {
    ASSERT_TRUE(writeTolvFile(tolvDataPath(h.session.dataFolder(), h.session.meetingDate(), code), records));
  }
  TestHome h{"20020512"};
  RecordingUi ui;
};

TEST_F(ResultGrid, RowsPassTheRangesAndCellsFollowTheLayout) {
  TolvRecord hit = rec("0511", "02-05", "  12.3", 3);
  hit.hitFlag = -1;
  hit.payout = "  1230";
  TolvRecord many = rec("0501", "01-02", "   8.0", 120);
  many.programCodes[10] = 0;  // the listing stops at the first empty slot
  writeCourse("05", {hit, rec("0501", "03-04", "   2.0", 5), rec("0501", "03-05", "  20.0", 1), many,
                     rec("0502", "   36", "  50.0", 4)});
  auto g = buildResultGrid(h.session, "05", GridMode::Quinella);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->pickCount(), 3);
  ASSERT_EQ(g->rows.size(), 5u);  // header, three picks, closing row
  for (const auto& row : g->rows) EXPECT_EQ(row.size(), 68u);
  const auto& head = g->rows[0];
  EXPECT_EQ(head[0].text, "東京");
  EXPECT_EQ(head[0].fore, kGridRed);
  EXPECT_EQ(head[1].text, "買目");
  EXPECT_EQ(head[2].text, "ODDS");
  EXPECT_EQ(head[3].text, "Ｗ");
  EXPECT_EQ(head[4].text, "１");
  EXPECT_EQ(head[67].text, "６４");

  const auto& r1 = g->rows[1];  // the hit
  EXPECT_EQ(r1[0].text, "11Ｒ");
  EXPECT_EQ(r1[0].back, kGridRed);
  EXPECT_EQ(r1[0].fore, kGridWhite);
  EXPECT_EQ(r1[2].text, "1230");
  EXPECT_EQ(r1[2].back, kGridMagenta);
  EXPECT_EQ(r1[2].fore, kGridBlue);
  EXPECT_EQ(r1[3].text, "3");
  EXPECT_EQ(r1[3].back, kGridBlue);
  EXPECT_EQ(r1[4].text, "[0100]");
  EXPECT_EQ(r1[6].text, "[0102]");
  EXPECT_EQ(r1[7].text, "");

  const auto& r2 = g->rows[2];
  EXPECT_EQ(r2[0].text, " １Ｒ");
  EXPECT_EQ(r2[1].text, "01-02");
  EXPECT_EQ(r2[1].back, kGridWhite);
  EXPECT_EQ(r2[1].fore, kGridRed);
  EXPECT_EQ(r2[2].text, "   8.0");
  EXPECT_EQ(r2[2].back, kGridYellow);
  EXPECT_EQ(r2[13].text, "[0109]");
  EXPECT_EQ(r2[14].text, "");

  const auto& closing = g->rows[4];
  EXPECT_EQ(closing[1].text, "");
  EXPECT_EQ(closing[2].back, kGridYellow);
  EXPECT_EQ(closing[3].back, kGridBlue);

  // Quinella-place mode shows the wide odds but filters by the odds.
  auto w = buildResultGrid(h.session, "05", GridMode::QuinellaPlace);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->pickCount(), 3);
  EXPECT_EQ(w->rows[0][2].text, "ワイド");
  EXPECT_EQ(w->rows[1][2].text, "   3.1");  // no quinella-place hit
  EXPECT_EQ(w->rows[1][0].back, kGridWhite);

  EXPECT_FALSE(buildResultGrid(h.session, "06", GridMode::Quinella));
}

TEST_F(ResultGrid, CourseCodesOfTheDay) {
  writeCourse("09", {});
  writeCourse("05", {});
  writeCourse("08", {});
  writeCourse("04", {});
  writeBytes(fs::path(h.session.dataFolder()) / "W20020512_11.DAT", "");
  writeBytes(fs::path(h.session.dataFolder()) / "W20020519_01.DAT", "");
  EXPECT_EQ(gridCourseCodes(h.session), (std::vector<std::string>{"04", "05", "08"}));
}

TEST_F(ResultGrid, SelectionTogglesAndBecomesPendingBets) {
  writeCourse("05", {rec("0501", "05-02", "  12.3", 3), rec("0502", "   36", "  50.0", 4),
                     rec("0512", "   11", "  20.0", 4)});
  auto g = buildResultGrid(h.session, "05", GridMode::Quinella);
  ASSERT_TRUE(g);
  EXPECT_TRUE(selectedPendingBets(h.session, *g).empty());
  EXPECT_EQ(SendGridSelection(h.session, ui, *g), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "買い目が選択されていません！");
  EXPECT_FALSE(fs::exists(pendingBetPath(h.session)));

  g->toggleAll();
  for (int r = 1; r <= 3; ++r) EXPECT_TRUE(g->isSelected(r));
  g->toggleRow(1);
  EXPECT_FALSE(g->isSelected(1));
  g->toggleRow(1);
  auto bets = selectedPendingBets(h.session, *g);
  ASSERT_EQ(bets.size(), 3u);
  EXPECT_EQ(bets[0].course, "東京");
  EXPECT_EQ(bets[0].race, " 1R");
  EXPECT_EQ(bets[0].type, "馬連  ");
  EXPECT_EQ(bets[0].pick, "05-02");  // the grid keeps the pick's order
  EXPECT_EQ(bets[0].odds, "  12.3");
  EXPECT_EQ(bets[0].stake, "  1000円");
  EXPECT_EQ(bets[1].type, "枠連  ");
  EXPECT_EQ(bets[1].pick, "  3-6");
  EXPECT_EQ(bets[1].stake, "   300円");
  EXPECT_EQ(bets[2].race, "12R");
  EXPECT_EQ(bets[2].pick, "  1-1");

  g->toggleAll();
  EXPECT_FALSE(g->isSelected(2));
  g->toggleRow(2);
  ui.messages.clear();
  ASSERT_EQ(SendGridSelection(h.session, ui, *g), StepResult::Done);
  auto written = readPendingBets(pendingBetPath(h.session));
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].pick, "3-6");

  auto w = buildResultGrid(h.session, "05", GridMode::QuinellaPlace);
  w->toggleRow(1);
  bets = selectedPendingBets(h.session, *w);
  ASSERT_EQ(bets.size(), 1u);
  EXPECT_EQ(bets[0].type, "ワイド");
  EXPECT_EQ(bets[0].odds, "   3.1");
  EXPECT_EQ(bets[0].stake, "   500円");
}

TEST_F(ResultGrid, WarsPicksBecomePendingBets) {
  const std::vector<std::string> lines = {
      "----------",
      "東京 2002年  3回  8日目  5月 12日(日) [7777]",
      "----------",
      " 1R     05-02    36 01-01 02-07*",
      "11R     03-04 XX-01 09-10",
      "",
      "京都 2002年  2回  4日目  5月 12日(日) [7777]",
      "----------",
      "12R     10-12",
  };
  auto bets = warsPendingBets(h.session, lines, nullptr);
  ASSERT_EQ(bets.size(), 6u);
  EXPECT_EQ(bets[0].course, "東京");
  EXPECT_EQ(bets[0].race, " 1R");
  EXPECT_EQ(bets[0].type, "馬連");
  EXPECT_EQ(bets[0].pick, "02-05");
  EXPECT_EQ(bets[0].stake, "  1000円");
  EXPECT_EQ(bets[1].type, "枠連");
  EXPECT_EQ(bets[1].pick, "  3-6");
  EXPECT_EQ(bets[1].stake, "   300円");
  EXPECT_EQ(bets[2].pick, "02-07");  // "01-01" is passed over, the hit mark ignored
  EXPECT_EQ(bets[3].pick, "03-04");  // "XX-01" has no value: passed over
  EXPECT_EQ(bets[3].race, "11R");
  EXPECT_EQ(bets[4].pick, "09-10");
  EXPECT_EQ(bets[5].course, "京都");
  EXPECT_EQ(bets[5].pick, "10-12");  // the file's last line counts too

  // Without odds files on hand the odds are blank.
  const fs::path wars = h.home() / "OutPut" / "wars.txt";
  writeBytes(wars, testing::sjLines(lines));
  ASSERT_EQ(SendWarsPicks(h.session, ui, wars), StepResult::Done);
  auto written = readPendingBets(pendingBetPath(h.session));
  ASSERT_EQ(written.size(), 6u);
  EXPECT_EQ(written[0].odds, "");
  EXPECT_EQ(SendWarsPicks(h.session, ui, h.home() / "missing.txt"), StepResult::Failed);
  EXPECT_EQ(ui.messages.back().text, "「保留ＢＥＴ」ファイルへの出力に失敗しました(ﾟﾟ;) アｾアｾ");
}

}  // namespace
}  // namespace tolv
