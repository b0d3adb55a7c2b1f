// Program figures and backtests of a small made-up history, computed by hand:
// three programs (A 0100, B 0200, C 0300) over three days of course 05.

#include <gtest/gtest.h>

#include "history/backtest.h"
#include "history/program_stats.h"
#include "history_fixture.h"

namespace tolv {
namespace {

using testing::HistoryHome;
using testing::Post;
using testing::Result;

constexpr const char* kDay1 = "20260104";
constexpr const char* kDay2 = "20260105";
constexpr const char* kDay3 = "20260111";
constexpr const char* kDay4 = "20260112";  // no results yet

// Day 1: A posts race 1 twice (its picks count once per race); C has a
// bracket pick. Day 2: A misses both races. Day 3: A hits, B misses.
class MadeUpHistory : public ::testing::Test {
 protected:
  void SetUp() override {
    h.writeDay(kDay1,
               {{"0100", "0501", {"01-02", "01-03"}},
                {"0100", "0501", {"01-02", "01-03"}},
                {"0200", "0501", {"02-03"}},
                {"0300", "0501", {"   12"}},
                {"0100", "0502", {"05-06"}},
                {"0200", "0502", {"03-04", "03-05"}},
                {"0300", "0502", {"07-08"}}},
               {{"0501", "01-02", 500, {{"01-02", 200}, {"01-03", 300}, {"02-03", 400}}, "12", 450},
                {"0502", "03-04", 1200, {{"03-04", 500}, {"03-05", 600}, {"04-05", 700}}}});
    h.writeDay(kDay2,
               {{"0100", "0501", {"01-02"}},
                {"0200", "0501", {"05-06"}},
                {"0300", "0501", {"03-04"}},
                {"0100", "0502", {"01-02"}},
                {"0300", "0502", {"09-10"}}},
               {{"0501", "05-06", 3000, {{"05-06", 800}, {"05-07", 900}, {"06-07", 1000}}},
                {"0502", "09-10", 2000, {{"09-10", 700}, {"09-11", 800}, {"10-11", 900}}}});
    h.writeDay(kDay3, {{"0100", "0501", {"02-04"}}, {"0200", "0501", {"01-02"}}},
               {{"0501", "02-04", 800, {{"02-04", 300}, {"02-06", 400}, {"04-06", 500}}}});
    // Would be a hit for everyone, but its results have not come.
    h.writeDay(kDay4, {{"0100", "0501", {"01-02"}}, {"0200", "0501", {"01-02"}}, {"0300", "0501", {"01-02"}}}, {});
    db = h.open();
    ASSERT_TRUE(db);
    for (const char* d : {kDay1, kDay2, kDay3, kDay4}) ASSERT_EQ(h.import(*db, d), StepResult::Done) << d;
  }

  const ProgramFigures& find(const std::vector<ProgramFigures>& all, int code) {
    for (const auto& p : all) {
      if (p.code == code) return p;
    }
    static const ProgramFigures none;
    ADD_FAILURE() << "no program " << code;
    return none;
  }

  HistoryHome h;
  std::unique_ptr<HistoryDb> db;
};

TEST_F(MadeUpHistory, QuinellaFiguresByHand) {
  const std::vector<ProgramFigures> all = programFigures(*db, {});
  ASSERT_EQ(all.size(), 3u);
  // 回収率 B 4200/500, C 2000/300, A 1300/600.
  EXPECT_EQ(all[0].code, 200);
  EXPECT_EQ(all[1].code, 300);
  EXPECT_EQ(all[2].code, 100);

  const ProgramFigures& a = find(all, 100);
  EXPECT_EQ(a.name, "A");
  EXPECT_EQ(a.days, 3);
  EXPECT_EQ(a.races, 5);
  EXPECT_EQ(a.picks, 6);  // day 1 race 1 posted twice: two picks, not four
  EXPECT_EQ(a.hits, 2);
  EXPECT_EQ(a.stake, 600);
  EXPECT_EQ(a.payout, 1300);
  EXPECT_EQ(a.longestMiss, 3);  // day 1 race 2, day 2 races 1 and 2
  EXPECT_EQ(a.lastHit, kDay3);

  const ProgramFigures& b = find(all, 200);
  EXPECT_EQ(b.days, 3);
  EXPECT_EQ(b.races, 4);
  EXPECT_EQ(b.picks, 5);
  EXPECT_EQ(b.hits, 2);
  EXPECT_EQ(b.payout, 4200);
  EXPECT_EQ(b.longestMiss, 1);
  EXPECT_EQ(b.lastHit, kDay2);

  const ProgramFigures& c = find(all, 300);  // its bracket pick is no quinella pick
  EXPECT_EQ(c.days, 2);
  EXPECT_EQ(c.races, 3);
  EXPECT_EQ(c.picks, 3);
  EXPECT_EQ(c.hits, 1);
  EXPECT_EQ(c.payout, 2000);
  EXPECT_EQ(c.longestMiss, 2);  // across the day boundary
  EXPECT_EQ(c.lastHit, kDay2);

  EXPECT_EQ(formatRatio(a.hits, a.picks), "0.3333");
  EXPECT_EQ(formatRatio(a.payout, a.stake), "2.1667");
  EXPECT_EQ(formatRatio(c.payout, c.stake), "6.6667");
  EXPECT_EQ(formatRatio(b.payout, b.stake), "8.4000");
  EXPECT_EQ(formatPercent(c.payout, c.stake), "666.67%");
}

TEST_F(MadeUpHistory, WideAndBracketFiguresByHand) {
  ProgramQuery q;
  q.bet = HistoryBet::Wide;
  const std::vector<ProgramFigures> wide = programFigures(*db, q);
  // A: 01-02 200, 01-03 300 | - | 02-04 300. B: 02-03 400, 03-04 500, 03-05 600 | 05-06 800 | -.
  // C: - | 09-10 700.
  EXPECT_EQ(find(wide, 100).hits, 3);
  EXPECT_EQ(find(wide, 100).payout, 800);
  EXPECT_EQ(find(wide, 100).longestMiss, 3);
  EXPECT_EQ(find(wide, 200).hits, 4);
  EXPECT_EQ(find(wide, 200).payout, 2300);
  EXPECT_EQ(find(wide, 200).longestMiss, 1);
  EXPECT_EQ(find(wide, 300).payout, 700);

  q.bet = HistoryBet::Bracket;
  const std::vector<ProgramFigures> bracket = programFigures(*db, q);
  ASSERT_EQ(bracket.size(), 1u);
  EXPECT_EQ(bracket[0].code, 300);
  EXPECT_EQ(bracket[0].picks, 1);
  EXPECT_EQ(bracket[0].payout, 450);
  EXPECT_EQ(bracket[0].lastHit, kDay1);
}

TEST_F(MadeUpHistory, PeriodMinimumPicksAndSortKeys) {
  ProgramQuery q;
  q.period = {kDay2, kDay3};
  std::vector<ProgramFigures> all = programFigures(*db, q);
  EXPECT_EQ(find(all, 100).picks, 3);
  EXPECT_EQ(find(all, 100).longestMiss, 2);
  EXPECT_EQ(find(all, 300).days, 1);

  q = {};
  q.minPicks = 5;
  all = programFigures(*db, q);
  ASSERT_EQ(all.size(), 2u);  // C has 3 picks
  q.minPicks = 0;
  q.sort = ProgramSort::Picks;
  all = programFigures(*db, q);
  EXPECT_EQ(all[0].code, 100);
  EXPECT_EQ(all[1].code, 200);
  // Hits: A and B both 2; the tie goes to more picks, A (6) before B (5).
  q.sort = ProgramSort::Hits;
  all = programFigures(*db, q);
  EXPECT_EQ(all[0].code, 100);
  EXPECT_EQ(all[1].code, 200);
  EXPECT_EQ(all[2].code, 300);
}

TEST_F(MadeUpHistory, DayWithoutResultsCountsNowhere) {
  const auto days = db->days();
  ASSERT_EQ(days.size(), 4u);
  EXPECT_FALSE(days[3].hasResults());
  EXPECT_TRUE(days[0].hasResults());
  const BacktestResult r = *runBacktest(*db, {});
  ASSERT_EQ(r.days.size(), 3u);
  EXPECT_EQ(r.days.back().date, kDay3);

  // Once its results come, a re-import counts it.
  h.writeDay(kDay4, {{"0100", "0501", {"01-02"}}, {"0200", "0501", {"01-02"}}, {"0300", "0501", {"01-02"}}},
             {{"0501", "01-02", 700, {}}});
  ASSERT_EQ(h.import(*db, kDay4), StepResult::Done);
  EXPECT_EQ(find(programFigures(*db, {}), 300).lastHit, kDay4);
  EXPECT_EQ(runBacktest(*db, {})->days.size(), 4u);
}

TEST_F(MadeUpHistory, BacktestByHand) {
  BacktestQuery q;
  BacktestResult r = *runBacktest(*db, q);
  // Day 1: 01-02 01-03 02-03 | 05-06 03-04 03-05 07-08; hits 500 + 1200.
  ASSERT_EQ(r.days.size(), 3u);
  EXPECT_EQ(r.days[0].bets, 7);
  EXPECT_EQ(r.days[0].hits, 2);
  EXPECT_EQ(r.days[0].stake, 700);
  EXPECT_EQ(r.days[0].payout, 1700);
  // Day 2: 01-02 05-06 03-04 | 01-02 09-10; day 3: 02-04 01-02.
  EXPECT_EQ(r.days[1].bets, 5);
  EXPECT_EQ(r.days[1].payout, 5000);
  EXPECT_EQ(r.days[2].bets, 2);
  EXPECT_EQ(r.days[2].payout, 800);
  EXPECT_EQ(r.bets, 14);
  EXPECT_EQ(r.hits, 5);
  EXPECT_EQ(r.stake, 1400);
  EXPECT_EQ(r.payout, 7500);
  EXPECT_EQ(r.days[1].cumulativeStake, 1200);
  EXPECT_EQ(r.days[1].cumulativePayout, 6700);

  // Votes from 2: only A's twice-posted picks of day 1 race 1 (one hit, one miss).
  q.votesMin = "2";
  r = *runBacktest(*db, q);
  EXPECT_EQ(r.bets, 2);
  EXPECT_EQ(r.hits, 1);
  EXPECT_EQ(r.payout, 500);
  EXPECT_EQ(r.deepestDrawdown, 100);

  // The list of B alone: B's picks with B's counts.
  q = {};
  q.programs = {200};
  r = *runBacktest(*db, q);
  EXPECT_EQ(r.bets, 5);
  EXPECT_EQ(r.hits, 2);
  EXPECT_EQ(r.payout, 4200);
  // B: day 1 -100 (02-03) +1100 (03-04) -100 (03-05); day 2 +2900; day 3 -100.
  EXPECT_EQ(r.deepestDrawdown, 100);

  q = {};
  q.bet = HistoryBet::Bracket;
  r = *runBacktest(*db, q);
  EXPECT_EQ(r.bets, 1);
  EXPECT_EQ(r.payout, 450);
}

TEST_F(MadeUpHistory, OddsRangeUsesTheTolvFilesOdds) {
  const std::vector<Post> day1 = {{"0100", "0501", {"01-02", "01-03"}}, {"0100", "0501", {"01-02", "01-03"}},
                                  {"0200", "0501", {"02-03"}},          {"0300", "0501", {"   12"}},
                                  {"0100", "0502", {"05-06"}},          {"0200", "0502", {"03-04", "03-05"}},
                                  {"0300", "0502", {"07-08"}}};
  h.writeTolvFiles(kDay1, day1, {{"050101-02", "   4.5"}, {"050203-04", "  11.8"}, {"050207-08", "  60.2"}});
  ASSERT_EQ(h.import(*db, kDay1), StepResult::Done);
  BacktestQuery q;
  q.period = {kDay1, kDay1};
  q.oddsMin = "4.5";
  q.oddsMax = "60";
  const std::vector<BacktestPick> picks = backtestDayPicks(*db, kDay1, q);
  ASSERT_EQ(picks.size(), 2u);
  EXPECT_EQ(picks[0].pick, "01-02");
  EXPECT_EQ(picks[0].odds, "   4.5");
  EXPECT_TRUE(picks[0].hit);
  EXPECT_EQ(picks[1].pick, "03-04");
  EXPECT_EQ(picks[1].payout, 1200);
  EXPECT_EQ(db->days().front().pricedPicks, 3);
}

TEST_F(MadeUpHistory, CurvesShareTheDaysAxis) {
  const std::vector<ProgramCurve> curves = programCurves(*db, {}, {300, 100});
  ASSERT_EQ(curves.size(), 2u);
  EXPECT_EQ(curves[0].code, 300);
  ASSERT_EQ(curves[0].points.size(), 3u);
  EXPECT_EQ(curves[0].points[0].stake, 100);
  EXPECT_EQ(curves[0].points[1].payout, 2000);
  EXPECT_EQ(curves[0].points[2].stake, 300);  // no pick on day 3: the curve stays
  EXPECT_EQ(curves[1].points[2].payout, 1300);
}

TEST_F(MadeUpHistory, ReimportIsIdempotent) {
  const auto before = programFigures(*db, {});
  const BacktestResult backtestBefore = *runBacktest(*db, {});
  for (const char* d : {kDay1, kDay2, kDay3}) ASSERT_EQ(h.import(*db, d), StepResult::Done);
  const auto after = programFigures(*db, {});
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].code, before[i].code);
    EXPECT_EQ(after[i].picks, before[i].picks);
    EXPECT_EQ(after[i].payout, before[i].payout);
    EXPECT_EQ(after[i].longestMiss, before[i].longestMiss);
  }
  EXPECT_EQ(db->days().size(), 4u);
  EXPECT_EQ(runBacktest(*db, {})->payout, backtestBefore.payout);
}

TEST(FormatRatio, RoundsHalfUpFromIntegers) {
  EXPECT_EQ(formatRatio(1, 3), "0.3333");
  EXPECT_EQ(formatRatio(2, 3), "0.6667");
  EXPECT_EQ(formatRatio(1, 20000), "0.0001");  // 0.00005 rounds up
  EXPECT_EQ(formatRatio(1, 20001), "0.0000");
  EXPECT_EQ(formatRatio(0, 100), "0.0000");
  EXPECT_EQ(formatRatio(5, 0), "0.0000");
  EXPECT_EQ(formatRatio(123456789012LL, 100), "1234567890.1200");
  EXPECT_EQ(formatPercent(1, 3), "33.33%");
}

}  // namespace
}  // namespace tolv
