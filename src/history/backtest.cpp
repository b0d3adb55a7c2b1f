#include "history/backtest.h"

#include <algorithm>

#include "core/settings.h"
#include "core/text.h"
#include "history/history_store.h"
#include "history/program_stats.h"
#include "output/output_range.h"
#include "output/pirune_output.h"
#include "output/result_grid.h"

namespace tolv {

namespace {

Settings rangeSettings(const BacktestQuery& q) {
  Settings s;
  s.oddsMin = q.oddsMin;
  s.oddsMax = q.oddsMax;
  s.minW = q.votesMin;
  s.maxW = q.votesMax;
  s.pirune.output = q.piruneOutput;
  return s;
}

// The Pirune pairs the day's output lists within the odds range, as records.
std::vector<TolvRecord> piruneRecords(history::Connection& c, const std::string& date, const Settings& settings) {
  std::vector<TolvRecord> out;
  for (const PiruneOutputRace& race : piruneOutputTable(settings, history::loadPiruneSelection(c, date))) {
    for (const PiruneCandidate& e : race.entries) {
      TolvRecord r;
      r.raceKey = race.courseCode + race.raceNo;
      r.pick = e.pair;
      r.odds = e.odds;
      out.push_back(std::move(r));
    }
  }
  return out;
}

}  // namespace

std::vector<BacktestPick> backtestDayPicks(const HistoryDb& db, const std::string& date, const BacktestQuery& query) {
  history::Connection& c = db.impl().conn;
  const Settings settings = rangeSettings(query);
  // The list's programs as flags by code: a pick's posters are checked in place.
  std::vector<char> listed;
  for (int code : query.programs) {
    if (code < 0) continue;
    if (static_cast<std::size_t>(code) >= listed.size()) listed.resize(static_cast<std::size_t>(code) + 1);
    listed[static_cast<std::size_t>(code)] = 1;
  }

  std::vector<TolvRecord> records;
  if (query.selection == Selection::Pirune) {
    records = piruneRecords(c, date, settings);
  } else {
    records = history::loadPicks(c, date, query.programs.empty() ? nullptr : &listed);
    std::erase_if(records, [&](const TolvRecord& r) { return !PassesOutputRange(r, settings); });
  }
  markTolvHits(records, history::loadResults(c, date));

  std::vector<BacktestPick> out;
  for (const TolvRecord& r : records) {
    const bool bracket = isGridBracketPick(r.pick);
    if (bracket != (query.bet == HistoryBet::Bracket)) continue;
    const bool wide = query.bet == HistoryBet::Wide;
    BacktestPick p;
    p.courseCode = r.courseCode();
    p.raceKey = r.raceKey;
    p.pick = r.pick;
    p.shareCount = r.shareCount;
    p.odds = wide ? r.wideOdds : r.odds;
    p.hit = (wide ? r.wideHitFlag : r.hitFlag) == -1;
    if (p.hit) p.payout = valInt(wide ? r.widePayout : r.payout);
    out.push_back(std::move(p));
  }
  return out;
}

std::optional<BacktestResult> runBacktest(const HistoryDb& db, const BacktestQuery& query, std::string* error) {
  try {
    BacktestResult result;
    std::int64_t balance = 0, peak = 0;
    for (const std::string& date : history::daysWithResults(db.impl().conn, query.period)) {
      BacktestDay day;
      day.date = date;
      for (const BacktestPick& p : backtestDayPicks(db, date, query)) {
        ++day.bets;
        day.stake += kStakePerPick;
        if (p.hit) {
          ++day.hits;
          day.payout += p.payout;
        }
        balance += p.payout - kStakePerPick;
        peak = std::max(peak, balance);
        result.deepestDrawdown = std::max(result.deepestDrawdown, peak - balance);
      }
      result.bets += day.bets;
      result.hits += day.hits;
      result.stake += day.stake;
      result.payout += day.payout;
      day.cumulativeStake = result.stake;
      day.cumulativePayout = result.payout;
      result.days.push_back(std::move(day));
    }
    return result;
  } catch (const history::SqliteError& e) {
    if (error) *error = "履歴データベースを読めません：" + db.path().string() + "\r\n" + e.what();
    return std::nullopt;
  }
}

}  // namespace tolv
