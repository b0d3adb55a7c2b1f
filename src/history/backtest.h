#pragma once
// Backtest of a selection rule over the stored days: the Tolv counting of
// each day (restricted to the programs of a list when given), the picks that
// pass the output ranges exactly as the listings and the grid select them
// (PassesOutputRange), of one bet type as the grid sends them, 100 yen on
// each, hits as `hits` marks them (markTolvHits).
//
// On any stored day the picks equal what `create` + `bets send COURSE --rows
// all` (and `--wide`) send for the bet type, course by course in the grid's
// order (backtestDayPicks).
//
// With Selection::Pirune the day's stored Pirune selection (the pairs the
// day's `pirune` step chose, with their odds) is bet instead, the odds range
// applied to the pairs' odds; it cannot be restricted to another list.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/history_db.h"

namespace tolv {

enum class Selection { Tolv, Pirune };

struct BacktestQuery {
  DateRange period;
  // The ranges as the execution menu's boxes hold them (compared with Val).
  std::string oddsMin = "0", oddsMax = "9999";
  std::string votesMin = "0", votesMax = "9999";
  HistoryBet bet = HistoryBet::Quinella;
  // The WARS codes of the list; empty = every stored program.
  std::vector<int> programs;
  Selection selection = Selection::Tolv;
  // Pirune: the most pairs per race, OUTPUT of the Pirune settings ("1".."6").
  std::string piruneOutput = "6";
};

struct BacktestDay {
  std::string date;  // yyyymmdd
  int bets = 0;
  int hits = 0;
  std::int64_t stake = 0;
  std::int64_t payout = 0;
  // Running totals up to and with this day (the curve of the chart).
  std::int64_t cumulativeStake = 0;
  std::int64_t cumulativePayout = 0;
};

struct BacktestResult {
  std::vector<BacktestDay> days;  // the stored days with results, in date order
  int bets = 0;
  int hits = 0;
  std::int64_t stake = 0;
  std::int64_t payout = 0;
  // The deepest fall of the running balance (return - stake, bet by bet in
  // day, course, grid order) below its earlier peak (the start counts as a
  // peak of 0); 0 or positive yen.
  std::int64_t deepestDrawdown = 0;
};

// nullopt with a message when the database cannot be read.
std::optional<BacktestResult> runBacktest(const HistoryDb& db, const BacktestQuery& query, std::string* error = nullptr);

// One pick the backtest bets on a day.
struct BacktestPick {
  std::string courseCode;  // "05"
  std::string raceKey;     // "0511"
  std::string pick;        // as in the Tolv file, "02-05" or "   36"
  int shareCount = 0;
  std::string odds;        // the odds the grid shows (quinella-place odds for wide)
  bool hit = false;
  std::int64_t payout = 0;  // yen for 100, when hit
};
std::vector<BacktestPick> backtestDayPicks(const HistoryDb& db, const std::string& date, const BacktestQuery& query);

}  // namespace tolv
