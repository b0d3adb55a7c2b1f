// The pending-bet entry and file: reading, line encoding, the writer's
// question and messages.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "bets/pending_bet_file.h"
#include "core/pending_bet.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

PendingBetEntry bet(std::string course, std::string race, std::string type, std::string pick, std::string odds,
                    long yen) {
  return {std::move(course), std::move(race), std::move(type), std::move(pick), std::move(odds), stakeText(yen)};
}

std::vector<PendingBetEntry> threeBets() {
  return {bet("東京", " 1R", "馬連", "02-05", "  12.3", 1000), bet("東京", "11R", "枠連", "  3-6", "   5.4", 1000),
          bet("中山", "12R", "ワイド", "01-14", "", 1000)};
}

class PendingBet : public ::testing::Test {
 protected:
  TestHome h;
  RecordingUi ui;
  std::string old = sj("札幌, 5R,馬連    ,07-08,   9.9,   200円\r\n");
  // The day's file, already holding one bet.
  fs::path existing() {
    fs::path path = pendingBetPath(h.session);
    writeBytes(path, old);
    return path;
  }
  StepResult send(Answer a) {
    ui.answers.push_back(a);
    return WritePendingBets(h.session, ui, threeBets(), 3000);
  }
};

const std::vector<std::string> kThreeLines = {
    "東京, 1R,馬連    ,02-05,  12.3,  1000円",
    "東京,11R,枠連    ,  3-6,   5.4,  1000円",
    "中山,12R,ワイド   ,01-14,      ,  1000円",
};

TEST_F(PendingBet, EncodesEachFieldAtItsWidth) {
  EXPECT_EQ(encodePendingBetLine(bet("東京", "12R", "枠連", "3-6", "", 100)), "東京,12R,枠連    ,  3-6,      ,   100円");
  // Widths are characters: 馬連 + 4 spaces is 8 bytes, ワイド + 3 spaces 9.
  EXPECT_EQ(encodePendingBets({bet("東京", " 1R", "ワイド", "02-05", "   2.1", 100)}),
            sj("東京, 1R,ワイド   ,02-05,   2.1,   100円\r\n"));
  EXPECT_EQ(stakeText(100), "   100円");
  EXPECT_EQ(stakeText(1234567), "1234567円");  // never cut
}

TEST_F(PendingBet, DecodesTrimmedFieldsAndToleratesMissingOnes) {
  auto e = decodePendingBetLine("東京, 1R,馬連    ,02-05,  12.3,  1000円");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->course, "東京");
  EXPECT_EQ(e->race, "1R");
  EXPECT_EQ(e->type, "馬連");
  EXPECT_EQ(e->pick, "02-05");
  EXPECT_EQ(e->odds, "12.3");
  EXPECT_EQ(e->stake, "1000円");

  auto short_ = decodePendingBetLine("阪神,3R,枠連");
  ASSERT_TRUE(short_);
  EXPECT_EQ(short_->type, "枠連");
  EXPECT_EQ(short_->pick, "");
  EXPECT_EQ(short_->stake, "");

  EXPECT_FALSE(decodePendingBetLine(""));
  EXPECT_FALSE(decodePendingBetLine("   , 1R,馬連,02-05,,100円"));
  EXPECT_FALSE(decodePendingBetLine(",,,,,"));
  // Fields beyond the sixth are ignored.
  auto extra = decodePendingBetLine("東京,1R,馬連,02-05,,100円,junk");
  ASSERT_TRUE(extra);
  EXPECT_EQ(extra->stake, "100円");
}

TEST_F(PendingBet, NormalisesAsTheMaintenanceCommandsStoreIt) {
  auto n = normalizePendingBet(*decodePendingBetLine("東京,1R,拡連,2-5,3,500円"));
  EXPECT_EQ(encodePendingBetLine(n), "東京, 1R,ワイド   ,  2-5,     3,   500円");
  EXPECT_EQ(n.type, "ワイド   ");
  // Type cut to 6 bytes, then kept in 6 characters; a cut through a
  // double-byte character leaves '?'.
  EXPECT_EQ(normalizePendingBet({"東京", "1R", "馬連単複", "", "", ""}).type, "馬連単   ");
  EXPECT_EQ(normalizePendingBet({"東京", "1R", "馬連ﾀﾝﾌﾟｸ", "", "", ""}).type, "馬連ﾀﾝ  ");
  EXPECT_EQ(normalizePendingBet({"東京", "1R", "ﾜ馬連単", "", "", ""}).type, "ﾜ馬連?  ");
  // A missing stake stays blank; a long one is kept whole.
  EXPECT_EQ(normalizePendingBet({"東京", "1R", "馬連", "", "", ""}).stake, "       ");
  EXPECT_EQ(normalizePendingBet({"東京", "1R", "馬連", "", "", "1200000円"}).stake, "1200000円");
}

TEST_F(PendingBet, ReadsAnyLineEndAndSkipsBlankFirstFields) {
  fs::path p = h.home() / "bets.txt";
  writeBytes(p, sj("東京,1R,馬連,02-05,,100円\r\n\r\n ,2R,馬連,01-02,,100円\n阪神,3R,枠連\r中山,4R,ワイド,03-04,,200円"));
  std::string error;
  auto bets = readPendingBets(p, &error);
  ASSERT_EQ(bets.size(), 3u);
  EXPECT_EQ(bets[0].course, "東京");
  EXPECT_EQ(bets[1].course, "阪神");
  EXPECT_EQ(bets[1].pick, "");
  EXPECT_EQ(bets[2].stake, "200円");

  writeBytes(p, "");
  EXPECT_TRUE(readPendingBets(p).empty());

  error.clear();
  EXPECT_TRUE(readPendingBets(h.home() / "missing.txt", &error).empty());
  EXPECT_FALSE(error.empty());
}

TEST_F(PendingBet, PathFollowsTheSettingAndFindsAnyCase) {
  h.session.setMeetingDate("20020526");
  EXPECT_EQ(pendingBetPath(h.session), fs::path(h.session.dataFolder()) / "~B20020526.TXT");
  writeBytes(fs::path(h.session.dataFolder()) / "~b20020526.txt", "x");
  EXPECT_EQ(pendingBetPath(h.session).filename(), "~b20020526.txt");

  h.session.settings.pendingBetFolder = "Bets/";
  EXPECT_EQ(pendingBetPath(h.session), h.home() / "Bets" / "~B20020526.TXT");
}

// Two homes whose pending-bet folder is the same folder, appending at once:
// every bet reported written is in the file.
TEST(PendingBetSharing, ConcurrentAppendsLoseNoLine) {
  testing::TempDir shared;
  constexpr int kPerHome = 30;
  std::vector<std::unique_ptr<TestHome>> homes;
  for (int i = 0; i < 2; ++i) {
    homes.push_back(std::make_unique<TestHome>());
    homes.back()->session.settings.pendingBetFolder = shared.path().string() + "/";
  }
  std::atomic<int> written{0};
  auto appendAll = [&](int home) {
    RecordingUi ui;
    ui.answers.assign(kPerHome, Answer::Append);
    for (int n = 1; n <= kPerHome; ++n) {
      const std::string pick = (home == 0 ? "01-" : "02-") + std::string(n < 10 ? "0" : "") + std::to_string(n);
      if (WritePendingBets(homes[static_cast<std::size_t>(home)]->session, ui, {bet("東京", " 1R", "馬連", pick, "", 100)}) ==
          StepResult::Done)
        ++written;
    }
  };
  std::thread a(appendAll, 0), b(appendAll, 1);
  a.join();
  b.join();
  EXPECT_EQ(written, 2 * kPerHome);
  EXPECT_EQ(readPendingBets(pendingBetPath(homes[0]->session)).size(), static_cast<std::size_t>(2 * kPerHome));
}

TEST_F(PendingBet, NewFileIsWrittenAndReportedWithFullWidthCounts) {
  EXPECT_EQ(WritePendingBets(h.session, ui, threeBets(), 3000), StepResult::Done);
  EXPECT_EQ(readBytes(pendingBetPath(h.session)), sjLines(kThreeLines));
  EXPECT_TRUE(ui.questions.empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "ベット数［３BET］、購入金額［３０００円］の保留ＢＥＴを出力しました。");
  EXPECT_EQ(ui.messages[0].title, "");
}

TEST_F(PendingBet, NewFolderIsCreated) {
  h.session.settings.pendingBetFolder = "new/deeper/";
  EXPECT_EQ(WritePendingBets(h.session, ui, {bet("東京", " 1R", "馬連", "02-05", "", 100)}), StepResult::Done);
  EXPECT_EQ(readBytes(h.home() / "new" / "deeper" / "~B20020512.TXT"), sj("東京, 1R,馬連    ,02-05,      ,   100円\r\n"));
  EXPECT_EQ(ui.messages.at(0).text, "ベット数［１BET］、購入金額［１００円］の保留ＢＥＴを出力しました。");
}

TEST_F(PendingBet, AsksWithTheCounts) {
  fs::path path = existing();
  send(Answer::Abort);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text,
            "\r\n　ベット数［３］、購入金額［３０００円］の保留ＢＥＴを出力します。\r\n\r\n"
            "　既に「保留ＢＥＴファイル」が存在しますが、［上書き］または［追加］を選択してください！\r\n\r\n");
  EXPECT_EQ(ui.questions[0].title, "保留ＢＥＴへの出力確認！");
}

TEST_F(PendingBet, OverwriteLeavesOnlyTheNewBets) {
  fs::path path = existing();
  EXPECT_EQ(send(Answer::Overwrite), StepResult::Done);
  EXPECT_EQ(readBytes(path), sjLines(kThreeLines));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PendingBet, AppendKeepsTheOldLinesFirst) {
  fs::path path = existing();
  EXPECT_EQ(send(Answer::Append), StepResult::Done);
  EXPECT_EQ(readBytes(path), old + sjLines(kThreeLines));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PendingBet, AppendEndsAnUnfinishedLastLine) {
  fs::path path = existing();
  writeBytes(path, sj("札幌,5R,馬連,07-08,,200円"));
  EXPECT_EQ(send(Answer::Append), StepResult::Done);
  EXPECT_EQ(readBytes(path), sj("札幌,5R,馬連,07-08,,200円\r\n") + sjLines(kThreeLines));
}

TEST_F(PendingBet, CancelOrClosingLeavesTheFile) {
  fs::path path = existing();
  EXPECT_EQ(send(Answer::Abort), StepResult::Cancelled);
  EXPECT_EQ(send(Answer::Cancel), StepResult::Cancelled);
  EXPECT_EQ(WritePendingBets(h.session, ui, threeBets()), StepResult::Cancelled);  // default: 中止
  EXPECT_EQ(readBytes(path), old);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PendingBet, UnwritableFolderIsReported) {
  writeBytes(h.home() / "blocked", "a file, not a folder");
  h.session.settings.pendingBetFolder = "blocked/";
  EXPECT_EQ(WritePendingBets(h.session, ui, threeBets()), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "【トルブ】エラーメッセージ");
  EXPECT_NE(ui.messages[0].text.find("~B20020512.TXT"), std::string::npos);
}

}  // namespace
}  // namespace tolv
