#pragma once
// What the track record window (成績分析, frmSeiseki) shows and does, kept
// free of widgets so the rules can be tested on their own: the period and
// bet type it asks for, the cells of its table and how they sort, the curves
// of its chart, and the list it adopts the selected programs into.
//
// The chart's curves are cumulative 回収率 (return / stake, in percent) day by
// day: programs of very different numbers of picks compare on one scale, and
// 100% is where a curve breaks even.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/session.h"
#include "core/ui.h"
#include "history/backtest.h"
#include "history/program_stats.h"

namespace tolv::ui {

inline constexpr std::string_view kTrackRecordTitle = "成績分析";

// Opens the home's history database for reading (tolv-cli may write it
// meanwhile). nullptr with the message to show when there is none, it holds
// no day yet or it cannot be read.
std::unique_ptr<HistoryDb> openTrackRecordDb(const Session& session, std::string* message);

// The stored days' period: the first and the last stored day ("" when none).
DateRange storedPeriod(const HistoryDb& db);

// The bet types in the order of the window's chooser: 馬連, ワイド, 枠連.
inline constexpr HistoryBet kTrackRecordBets[] = {HistoryBet::Quinella, HistoryBet::Wide, HistoryBet::Bracket};
std::string_view betCaption(HistoryBet bet);

// The columns of the figures table.
enum class FigureColumn {
  Code, Name, Days, Races, Picks, Hits, HitRate, Stake, Return, Roi, LongestMiss, LastHit
};
inline constexpr int kFigureColumnCount = 12;
std::string_view columnHeader(FigureColumn column);
// Numbers (every column but the name and the last hit day) are right-aligned.
bool isNumericColumn(FigureColumn column);
// The cell as shown: yen with thousands separators, rates as percentages,
// the last hit as yyyy/mm/dd ("" when never).
std::string cellText(const ProgramFigures& p, FigureColumn column);
// The value the column sorts by: numbers as numbers (rates as the exact
// ratio; a rate of no stake sorts below every other), texts by their text.
struct SortKey {
  double number = 0;
  std::string text;
};
SortKey sortKey(const ProgramFigures& p, FigureColumn column);

// A cumulative 回収率 curve: one point per stored day with results, skipped
// while nothing was staked yet.
struct RoiPoint {
  std::string date;  // yyyymmdd
  double percent = 0;
};
struct RoiCurve {
  std::string label;
  std::vector<RoiPoint> points;
  bool backtest = false;
};

// The ranges of the execution menu as the session holds them (MIN, MAX,
// MinW, MaxW) for a backtest of the bet type over the period.
BacktestQuery menuBacktestQuery(const Settings& settings, const DateRange& period, HistoryBet bet);

// One curve per program of `selected` (labelled "code name").
std::vector<RoiCurve> programRoiCurves(const HistoryDb& db, const ProgramQuery& query,
                                       const std::vector<ProgramFigures>& selected);
// The backtest of the execution menu's ranges over the query's period and bet
// type, labelled with the ranges (its totals into `backtest` when given);
// nullopt when the database cannot be read.
std::optional<RoiCurve> backtestRoiCurve(const HistoryDb& db, const Settings& settings, const ProgramQuery& query,
                                         BacktestResult* backtest = nullptr);

// The chart's curves: one per program of `codes` (labelled "code name"),
// then the backtest of the execution menu's ranges, labelled with them (its
// totals into `backtest` when given).
std::vector<RoiCurve> trackRecordCurves(const HistoryDb& db, const Settings& settings, const ProgramQuery& query,
                                        const std::vector<ProgramFigures>& selected,
                                        BacktestResult* backtest = nullptr);

// The programs the chart of `tolv --save-chart` shows: the first
// kChartTopPrograms of the whole stored period by 回収率 (馬連), among those with
// at least kChartMinPicks picks.
inline constexpr int kChartTopPrograms = 5;
inline constexpr int kChartMinPicks = 20;
std::vector<ProgramFigures> chartPrograms(const HistoryDb& db, ProgramQuery* query);

// "リストに採用": writes the selected programs, in the table's order, to the
// list `name` by the list editor's save rules (asking before it replaces a
// file). Nothing selected is refused with a message.
StepResult adoptPrograms(const Session& session, UserInterface& ui, const std::string& name,
                         const std::vector<ProgramFigures>& selected, fs::path* written = nullptr);

}  // namespace tolv::ui
