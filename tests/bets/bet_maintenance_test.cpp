// Removing and merging repeated pending bets, and sorting them.

#include <gtest/gtest.h>

#include "bets/bet_maintenance.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

class BetMaintenance : public ::testing::Test {
 protected:
  TestHome h;
  RecordingUi ui;
  fs::path path = pendingBetPath(h.session);
  void write(const std::vector<std::string>& lines) { writeBytes(path, sjLines(lines)); }
  std::string file() { return readBytes(path); }
};

TEST_F(BetMaintenance, MissingFileIsReportedByEveryCommand) {
  EXPECT_EQ(RemoveDuplicateBets(h.session, ui), StepResult::Failed);
  EXPECT_EQ(MergeDuplicateBets(h.session, ui), StepResult::Failed);
  EXPECT_EQ(SortPendingBets(h.session, ui), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 3u);
  for (const auto& m : ui.messages) {
    EXPECT_EQ(m.text, "保留ＢＥＴはありません！");
    EXPECT_EQ(m.title, "");
  }
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(BetMaintenance, RemoveKeepsTheFirstOccurrence) {
  write({"東京,11R,馬連    ,02-05,  12.3,  1000円", "東京,11R,馬連    ,03-05,   8.0,   500円",
         "東京,11R,馬連    ,02-05,  15.0,   500円"});
  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(RemoveDuplicateBets(h.session, ui), StepResult::Done);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text, "重複した買い目が １BETありました。\r\n最初に出現した買い目を残します。書き替えてよろしいですか？");
  EXPECT_EQ(ui.questions[0].title, "保留ＢＥＴの重複買い目削除");
  EXPECT_EQ(file(), sjLines({"東京,11R,馬連    ,02-05,  12.3,  1000円", "東京,11R,馬連    ,03-05,   8.0,   500円"}));
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(BetMaintenance, MergeAddsStakesIntoTheFirstAndKeepsItsOdds) {
  write({"東京,11R,馬連    ,02-05,  12.3,  1000円", "東京,11R,馬連    ,02-05,  15.0,   500円",
         "東京,12R,馬連    ,02-05,  15.0,   500円", "東京,11R,馬連    ,02-05,      ,  2000円"});
  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(MergeDuplicateBets(h.session, ui), StepResult::Done);
  EXPECT_EQ(ui.questions.at(0).text, "重複した買い目が ２BETありました。\r\n金額を統合してBET数を減らします。書き替えてよろしいですか？");
  EXPECT_EQ(ui.questions.at(0).title, "保留ＢＥＴの重複買い目統合");
  EXPECT_EQ(file(), sjLines({"東京,11R,馬連    ,02-05,  12.3,  3500円", "東京,12R,馬連    ,02-05,  15.0,   500円"}));
}

TEST_F(BetMaintenance, MergedStakeOverSixDigitsIsKeptWhole) {
  write({"東京,1R,馬連,02-05,,900000円", "東京,1R,馬連,02-05,,300000円", "東京,1R,馬連,02-05,,1000"});
  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(MergeDuplicateBets(h.session, ui), StepResult::Done);
  // A stake without its "円" still counts whole (1000, not 100).
  EXPECT_EQ(file(), sjLines({"東京, 1R,馬連    ,02-05,      ,1201000円"}));
}

TEST_F(BetMaintenance, KakurenReadsAsWideAndCompares) {
  write({"阪神, 9R,ワイド   ,04-09,   3.1,   200円", "阪神,9R,拡連,04-09,2.8,300円", "阪神,9R,拡連,04-10,2.8,300円"});
  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(RemoveDuplicateBets(h.session, ui), StepResult::Done);
  EXPECT_EQ(file(), sjLines({"阪神, 9R,ワイド   ,04-09,   3.1,   200円", "阪神, 9R,ワイド   ,04-10,   2.8,   300円"}));
}

TEST_F(BetMaintenance, NoDuplicatesLeavesTheFileAsItIs) {
  std::string raw = sj("東京,1R,馬連,02-05,,100円\n ,1R,馬連,02-05,,100円\n");
  writeBytes(path, raw);
  EXPECT_EQ(RemoveDuplicateBets(h.session, ui), StepResult::Done);
  EXPECT_EQ(MergeDuplicateBets(h.session, ui), StepResult::Done);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "重複した買い目はありませんでした。\r\n買い目として読めない １行は、そのまま残します。\r\n");
  EXPECT_EQ(ui.messages[0].title, "保留ＢＥＴの重複買い目削除");
  EXPECT_EQ(ui.messages[0].icon, Icon::Information);
  EXPECT_EQ(ui.messages[1].title, "保留ＢＥＴの重複買い目統合");
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(file(), raw);
}

TEST_F(BetMaintenance, CancelLeavesTheFile) {
  std::string raw = sj("東京,1R,馬連,02-05,,100円\r\n東京,1R,馬連,02-05,,100円\r\n");
  writeBytes(path, raw);
  ui.answers = {Answer::Cancel, Answer::Cancel};
  EXPECT_EQ(RemoveDuplicateBets(h.session, ui), StepResult::Cancelled);
  EXPECT_EQ(MergeDuplicateBets(h.session, ui), StepResult::Cancelled);
  EXPECT_EQ(file(), raw);
}

TEST_F(BetMaintenance, BlankFirstFieldsHoldNoEntries) {
  write({" ,1R,馬連,02-05,,100円", ",1R,馬連,02-05,,100円", ""});
  const std::string before = file();
  EXPECT_EQ(RemoveDuplicateBets(h.session, ui), StepResult::Done);
  EXPECT_EQ(ui.messages.at(0).text,
            "重複した買い目はありませんでした。\r\n買い目として読めない ２行は、そのまま残します。\r\n");
  EXPECT_EQ(SortPendingBets(h.session, ui), StepResult::Done);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(file(), before);
}

// A hand-edited file: a line that is not a whole entry is never read as one,
// never merged, and written back byte for byte (in its place for sort).
TEST_F(BetMaintenance, HandEditedLinesAreKeptAsTheyStand) {
  const std::vector<std::string> odd = {
      "; 今日の買い目",                            // a comment
      "東京,11R,三連単,04-05-06,,100円",           // a pick too long for the form
      "中山競馬場,1R,馬連,01-02,,100円",           // not a course name
      "中山,1R,馬連,01-02,,1,000円",               // a stake with a thousands comma
      ",1R,馬連,01-02,,100円",                     // an empty first field
      "中山,1R,馬連,01-02,,100円,メモ",            // a seventh field
  };
  std::string raw;
  raw += sj("中山,1R,馬連,01-02,,100円") + "\r\n";
  for (const auto& l : odd) raw += sj(l) + "\r\n";
  raw += std::string("\x85\x40 bytes of no character\r\n");
  raw += sj("中山,1R,馬連,01-02,  3.0,200円") + "\r\n";
  writeBytes(path, raw);

  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(MergeDuplicateBets(h.session, ui), StepResult::Done);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text,
            "重複した買い目が １BETありました。\r\n買い目として読めない ７行は、そのまま残します。\r\n"
            "金額を統合してBET数を減らします。書き替えてよろしいですか？");
  std::string merged = sj("中山, 1R,馬連    ,01-02,      ,   300円") + "\r\n";
  for (const auto& l : odd) merged += sj(l) + "\r\n";
  merged += std::string("\x85\x40 bytes of no character\r\n");
  EXPECT_EQ(file(), merged);

  // Sort: the odd lines keep their places, the entries move among theirs.
  raw = sj("東京,2R,馬連,01-02,,100円") + "\r\n" + sj("; メモ") + "\n" + sj("東京,1R,馬連,01-02,,100円") + "\r\n" +
        sj("東京,11R,三連単,04-05-06,,100円") + "\r\n" + sj("中山,1R,馬連,01-02,,100円");
  writeBytes(path, raw);
  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(SortPendingBets(h.session, ui), StepResult::Done);
  EXPECT_EQ(ui.questions.at(1).text,
            "ソート結果に基づき、保留ＢＥＴファイルを書き替えます。\r\n買い目として読めない ２行は、そのまま残します。"
            "\r\n書き替えてよろしいですか？\r\n");
  EXPECT_EQ(file(), sjLines({"東京, 1R,馬連    ,01-02,      ,   100円", "; メモ", "東京, 2R,馬連    ,01-02,      ,   100円",
                             "東京,11R,三連単,04-05-06,,100円", "中山, 1R,馬連    ,01-02,      ,   100円"}));
}

TEST_F(BetMaintenance, ManyEntriesAreAllKept) {
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) lines.push_back("東京,1R,馬連,02-05,,100円");
  lines.push_back("東京,2R,馬連,02-05,,100円");
  write(lines);
  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(MergeDuplicateBets(h.session, ui), StepResult::Done);
  EXPECT_EQ(ui.questions.at(0).text,
            "重複した買い目が ２９９９BETありました。\r\n金額を統合してBET数を減らします。書き替えてよろしいですか？");
  EXPECT_EQ(file(), sjLines({"東京, 1R,馬連    ,02-05,      ,300000円", "東京, 2R,馬連    ,02-05,      ,   100円"}));
}

TEST_F(BetMaintenance, NineDigitSortKeys) {
  auto key = [](std::string course, std::string race, std::string type, std::string pick) {
    return pendingBetSortKey(normalizePendingBet({course, race, type, pick, "", ""}));
  };
  EXPECT_EQ(key("東京", "11R", "馬連", "02-05"), 51140205L);
  EXPECT_EQ(key("東京", "1R", "枠連", "3-6"), 50130036L);
  EXPECT_EQ(key("小倉", "12R", "拡連", "01-18"), 101250118L);
  EXPECT_EQ(key("阪神", "3R", "ﾜｲﾄﾞ", "07-08"), 90350708L);
  EXPECT_EQ(key("札幌", "2R", "単勝", "5"), 10210005L);
  EXPECT_EQ(key("札幌", "2R", "複勝", "12"), 10220012L);
  EXPECT_EQ(key("どこ", "2R", "三連", "01-02"), 200000L);
  EXPECT_EQ(key("東京", "", "馬連", "-1-05"), 50040005L);
}

TEST_F(BetMaintenance, SortsByCourseRaceTypeAndPick) {
  write({"東京,11R,馬連,02-05,,100円", "中山,1R,馬連,01-02,,100円", "東京,2R,馬連,02-05,,100円",
         "東京,11R,枠連,3-6,,100円", "東京,11R,ワイド,01-02,,100円", "東京,11R,馬連,01-09,,100円"});
  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(SortPendingBets(h.session, ui), StepResult::Done);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text, "ソート結果に基づき、保留ＢＥＴファイルを書き替えます。\r\n書き替えてよろしいですか？\r\n");
  EXPECT_EQ(ui.questions[0].title, "保留ＢＥＴの並び替え");
  EXPECT_EQ(file(), sjLines({
                        "東京, 2R,馬連    ,02-05,      ,   100円",
                        "東京,11R,枠連    ,  3-6,      ,   100円",
                        "東京,11R,馬連    ,01-09,      ,   100円",
                        "東京,11R,馬連    ,02-05,      ,   100円",
                        "東京,11R,ワイド   ,01-02,      ,   100円",
                        "中山, 1R,馬連    ,01-02,      ,   100円",
                    }));
}

TEST_F(BetMaintenance, EqualKeysEndAsTheExchangeLeavesThem) {
  // Races 2, 2, 1: the exchange swaps the first and the third, so the two
  // race-2 bets end in reverse file order.
  write({"東京,2R,馬連,01-02,  1.0,100円", "東京,2R,馬連,01-02,  2.0,100円", "東京,1R,馬連,01-02,,100円"});
  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(SortPendingBets(h.session, ui), StepResult::Done);
  EXPECT_EQ(file(), sjLines({"東京, 1R,馬連    ,01-02,      ,   100円", "東京, 2R,馬連    ,01-02,   2.0,   100円",
                             "東京, 2R,馬連    ,01-02,   1.0,   100円"}));

  // Equal keys that need no exchange keep their order.
  write({"東京,1R,馬連,01-02,  1.0,100円", "東京,1R,馬連,01-02,  2.0,100円", "東京,2R,馬連,01-02,,100円"});
  ui.answers.push_back(Answer::Ok);
  EXPECT_EQ(SortPendingBets(h.session, ui), StepResult::Done);
  EXPECT_EQ(file(), sjLines({"東京, 1R,馬連    ,01-02,   1.0,   100円", "東京, 1R,馬連    ,01-02,   2.0,   100円",
                             "東京, 2R,馬連    ,01-02,      ,   100円"}));
}

TEST_F(BetMaintenance, SortCancelAndSingleEntry) {
  std::string raw = sj("東京,2R,馬連,01-02,,100円\r\n東京,1R,馬連,01-02,,100円\r\n");
  writeBytes(path, raw);
  ui.answers.push_back(Answer::Cancel);
  EXPECT_EQ(SortPendingBets(h.session, ui), StepResult::Cancelled);
  EXPECT_EQ(file(), raw);

  raw = sj("東京,2R,馬連,01-02,,100円");
  writeBytes(path, raw);
  EXPECT_EQ(SortPendingBets(h.session, ui), StepResult::Done);
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(file(), raw);
}

}  // namespace
}  // namespace tolv
