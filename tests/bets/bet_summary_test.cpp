// The pending-bet summary: buckets, labels, heading and bad input.

#include <gtest/gtest.h>

#include "bets/bet_summary.h"
#include "core/pending_bet.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::RecordingUi;
using testing::sj;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

class BetSummary : public ::testing::Test {
 protected:
  TestHome h{"20020526"};
  RecordingUi ui;
  PendingBetSummary summary;
  void write(std::string_view bytes) { writeBytes(pendingBetPath(h.session), bytes); }
};

TEST_F(BetSummary, CountsAndSumsPerBucket) {
  write(sjLines({"東京,11R,馬連    ,02-05,  12.3,  1000円", "東京,11R,馬連    ,03-05,   8.0,  1000円",
                 "東京,11R,ワイド   ,02-05,   3.0,   500円"}));
  ASSERT_EQ(SummarisePendingBets(h.session, ui, summary), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(summary.countLabel(3), " 2");
  EXPECT_EQ(summary.sumLabel(3), "2,000");
  EXPECT_EQ(summary.countLabel(4), " 1");
  EXPECT_EQ(summary.sumLabel(4), "500");
  EXPECT_EQ(summary.countLabel(0), " 0");
  EXPECT_EQ(summary.sumLabel(0), "0");
  EXPECT_EQ(summary.countLabel(5), " 3");
  EXPECT_EQ(summary.sumLabel(5), "2,500円");
  EXPECT_EQ(summary.heading, "2002年 5月 26日 の保留ＢＥＴ内訳です…");
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(BetSummary, EveryKindHasItsRow) {
  write(sj("東京,1R,単勝,5,,100円\n東京,1R,複勝,5,,200円\r東京,1R,枠連,3-6,,300円\r\n"
           "東京,1R,馬連,01-02,,400円\n東京,1R,拡連,01-02,,500円\n東京,1R,ﾜｲﾄﾞ,01-02,,600円\n"
           " ,1R,三連,1-2-3,,999円\n"));
  ASSERT_EQ(SummarisePendingBets(h.session, ui, summary), StepResult::Done);
  const long counts[] = {1, 1, 1, 1, 2};
  const long sums[] = {100, 200, 300, 400, 1100};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(summary.buckets[i].count, counts[i]) << i;
    EXPECT_EQ(summary.buckets[i].sum, sums[i]) << i;
  }
  EXPECT_EQ(summary.sumLabel(5), "2,100円");
  EXPECT_EQ(PendingBetSummary::kRowCaptions[4], "ワイド");
}

TEST_F(BetSummary, EmptyFileShowsZeros) {
  write("");
  ASSERT_EQ(SummarisePendingBets(h.session, ui, summary), StepResult::Done);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(summary.countLabel(i), " 0");
    EXPECT_EQ(summary.sumLabel(i), "0");
  }
  EXPECT_EQ(summary.countLabel(5), " 0");
  EXPECT_EQ(summary.sumLabel(5), "0円");
}

TEST_F(BetSummary, UnknownTypeStopsWithItsMessage) {
  write(sjLines({"東京,1R,馬連,01-02,,400円", "東京,1R,三連複,01-02-03,,100円"}));
  EXPECT_EQ(SummarisePendingBets(h.session, ui, summary), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "保留ＢＥＴの内容が変です(O.O;)(o｡o;)。処理を中止します！");
  EXPECT_EQ(ui.messages[0].title, "");
  EXPECT_EQ(summary.totalCount(), 0);
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(BetSummary, LineWithMissingTypeIsUnknown) {
  write(sjLines({"東京,1R"}));
  EXPECT_EQ(SummarisePendingBets(h.session, ui, summary), StepResult::Failed);
  EXPECT_EQ(ui.messages.at(0).text, "保留ＢＥＴの内容が変です(O.O;)(o｡o;)。処理を中止します！");
}

TEST_F(BetSummary, StakeIsTheLeadingNumber) {
  // A stake longer than the maintenance field still counts whole; a stake
  // without a number counts 0.
  write(sjLines({"東京,1R,馬連,01-02,,1200000円", "東京,1R,馬連,01-03,,円", "東京,1R,馬連,01-04"}));
  ASSERT_EQ(SummarisePendingBets(h.session, ui, summary), StepResult::Done);
  EXPECT_EQ(summary.countLabel(3), " 3");
  EXPECT_EQ(summary.sumLabel(5), "1,200,000円");
}

TEST_F(BetSummary, MissingFile) {
  EXPECT_EQ(SummarisePendingBets(h.session, ui, summary), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "保留ＢＥＴはありません！");
}

}  // namespace
}  // namespace tolv
