#pragma once
// Program figures over the stored days: per program the days, races, picks
// and hits of one bet type, the stake (100 yen a pick), the return, hit rate
// and 回収率, the longest run of races without a hit and the last hit day.
//
// Counting: a program's pick counts once per race however often it was
// posted. A race counts for a program when it has a pick of the bet type
// there, a day when it has such a race; only days whose results are stored
// count. The longest run without a hit is the most races in a row (day,
// course code, race number order) in which the program picked and missed.
// Hits are judged as the day's grid judges them (markTolvHits).
//
// All money is integer yen; rates are ratios of integers (formatRatio).

#include <cstdint>
#include <string>
#include <vector>

#include "history/history_db.h"

namespace tolv {

inline constexpr std::int64_t kStakePerPick = 100;

struct ProgramFigures {
  int code = 0;         // WARS code
  std::string name;     // the latest stored short name (trimmed)
  int days = 0;
  int races = 0;
  int picks = 0;
  int hits = 0;
  std::int64_t stake = 0;    // yen
  std::int64_t payout = 0;   // yen returned
  int longestMiss = 0;
  std::string lastHit;  // yyyymmdd, empty when never
};

enum class ProgramSort { Roi, Hits, Picks };

struct ProgramQuery {
  DateRange period;
  HistoryBet bet = HistoryBet::Quinella;
  int minPicks = 0;
  ProgramSort sort = ProgramSort::Roi;
};

// Sorted by the key, largest first (回収率 compared exactly as fractions);
// ties by more picks, then the smaller code. Programs with fewer than
// minPicks picks are left out.
std::vector<ProgramFigures> programFigures(const HistoryDb& db, const ProgramQuery& query);

// num/den with four decimals, rounded half away from zero, from integers:
// "0.3450"; "0.0000" when den is 0.
std::string formatRatio(std::int64_t num, std::int64_t den);

// The same ratio as a percentage with two decimals, "34.50%".
std::string formatPercent(std::int64_t num, std::int64_t den);

// One point of a cumulative curve: the figures up to and with `date`.
struct CurvePoint {
  std::string date;
  std::int64_t stake = 0;   // cumulative
  std::int64_t payout = 0;  // cumulative
};

// Cumulative stake and return of each program in `codes` (same order), one
// point per stored day with results in the period (also days it did not bet,
// so that the curves share their x axis).
struct ProgramCurve {
  int code = 0;
  std::vector<CurvePoint> points;
};
std::vector<ProgramCurve> programCurves(const HistoryDb& db, const ProgramQuery& query, const std::vector<int>& codes);

}  // namespace tolv
