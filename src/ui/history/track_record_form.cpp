#include "ui/history/track_record_form.h"

#include <limits>

#include "core/numformat.h"
#include "core/text.h"
#include "history/suggested_list.h"

namespace tolv::ui {

std::unique_ptr<HistoryDb> openTrackRecordDb(const Session& session, std::string* message) {
  const fs::path path = historyDbPath(session);
  const std::string howTo =
      "\r\n\r\n開催日を取り込むと成績分析ができます。取り込みは\r\n"
      "  tolv-cli history import --from 開始日 --to 終了日\r\n"
      "で行います。";
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    if (message) *message = "成績の記録がまだありません：" + path.string() + howTo;
    return nullptr;
  }
  std::string error;
  auto db = HistoryDb::open(path, HistoryDb::Mode::ReadOnly, &error);
  if (!db) {
    if (message) *message = error;
    return nullptr;
  }
  if (db->days().empty()) {
    if (message) *message = "成績の記録に開催日がありません：" + path.string() + howTo;
    return nullptr;
  }
  return db;
}

DateRange storedPeriod(const HistoryDb& db) {
  const std::vector<StoredDay> days = db.days();
  if (days.empty()) return {};
  return {days.front().date, days.back().date};
}

std::string_view betCaption(HistoryBet bet) {
  switch (bet) {
    case HistoryBet::Quinella: return "馬連";
    case HistoryBet::Wide: return "ワイド";
    case HistoryBet::Bracket: return "枠連";
  }
  return "";
}

std::string_view columnHeader(FigureColumn column) {
  static constexpr std::string_view headers[kFigureColumnCount] = {
      "コード", "ソフト名", "日数", "レース", "点数", "的中", "的中率", "投資額", "払戻額", "回収率",
      "最長不的中", "最終的中日"};
  return headers[static_cast<int>(column)];
}

bool isNumericColumn(FigureColumn column) {
  return column != FigureColumn::Name && column != FigureColumn::LastHit;
}

namespace {

std::string yen(std::int64_t value) { return formatNumber(static_cast<double>(value), "#,##0"); }

// The exact ratio as a double for ordering; no stake sorts below any rate.
double ratio(std::int64_t num, std::int64_t den) {
  return den == 0 ? -std::numeric_limits<double>::infinity() : static_cast<double>(num) / static_cast<double>(den);
}

}  // namespace

std::string cellText(const ProgramFigures& p, FigureColumn column) {
  switch (column) {
    case FigureColumn::Code: return zeroPad(p.code, 4);
    case FigureColumn::Name: return p.name;
    case FigureColumn::Days: return std::to_string(p.days);
    case FigureColumn::Races: return std::to_string(p.races);
    case FigureColumn::Picks: return std::to_string(p.picks);
    case FigureColumn::Hits: return std::to_string(p.hits);
    case FigureColumn::HitRate: return formatPercent(p.hits, p.picks);
    case FigureColumn::Stake: return yen(p.stake);
    case FigureColumn::Return: return yen(p.payout);
    case FigureColumn::Roi: return formatPercent(p.payout, p.stake);
    case FigureColumn::LongestMiss: return std::to_string(p.longestMiss);
    case FigureColumn::LastHit:
      return p.lastHit.size() == 8 ? p.lastHit.substr(0, 4) + "/" + p.lastHit.substr(4, 2) + "/" + p.lastHit.substr(6, 2)
                                   : p.lastHit;
  }
  return "";
}

SortKey sortKey(const ProgramFigures& p, FigureColumn column) {
  switch (column) {
    case FigureColumn::Code: return {static_cast<double>(p.code), {}};
    case FigureColumn::Name: return {0, p.name};
    case FigureColumn::Days: return {static_cast<double>(p.days), {}};
    case FigureColumn::Races: return {static_cast<double>(p.races), {}};
    case FigureColumn::Picks: return {static_cast<double>(p.picks), {}};
    case FigureColumn::Hits: return {static_cast<double>(p.hits), {}};
    case FigureColumn::HitRate: return {ratio(p.hits, p.picks), {}};
    case FigureColumn::Stake: return {static_cast<double>(p.stake), {}};
    case FigureColumn::Return: return {static_cast<double>(p.payout), {}};
    case FigureColumn::Roi: return {ratio(p.payout, p.stake), {}};
    case FigureColumn::LongestMiss: return {static_cast<double>(p.longestMiss), {}};
    case FigureColumn::LastHit: return {0, p.lastHit};
  }
  return {};
}

BacktestQuery menuBacktestQuery(const Settings& settings, const DateRange& period, HistoryBet bet) {
  BacktestQuery q;
  q.period = period;
  q.bet = bet;
  // Blank boxes leave the query's open defaults, as an empty box bounds nothing.
  if (!settings.oddsMin.empty()) q.oddsMin = settings.oddsMin;
  if (!settings.oddsMax.empty()) q.oddsMax = settings.oddsMax;
  if (!settings.minW.empty()) q.votesMin = settings.minW;
  if (!settings.maxW.empty()) q.votesMax = settings.maxW;
  return q;
}

namespace {

template <typename Points>
std::vector<RoiPoint> roiPoints(const Points& points) {
  std::vector<RoiPoint> out;
  for (const auto& pt : points) {
    if (pt.stake <= 0) continue;
    out.push_back({pt.date, 100.0 * static_cast<double>(pt.payout) / static_cast<double>(pt.stake)});
  }
  return out;
}

struct Cumulative {
  std::string date;
  std::int64_t stake = 0;
  std::int64_t payout = 0;
};

}  // namespace

std::vector<RoiCurve> programRoiCurves(const HistoryDb& db, const ProgramQuery& query,
                                       const std::vector<ProgramFigures>& selected) {
  std::vector<RoiCurve> curves;
  std::vector<int> codes;
  for (const ProgramFigures& p : selected) codes.push_back(p.code);
  const std::vector<ProgramCurve> programs = programCurves(db, query, codes);
  for (std::size_t i = 0; i < programs.size() && i < selected.size(); ++i) {
    curves.push_back({cellText(selected[i], FigureColumn::Code) + " " + selected[i].name, roiPoints(programs[i].points)});
  }
  return curves;
}

std::optional<RoiCurve> backtestRoiCurve(const HistoryDb& db, const Settings& settings, const ProgramQuery& query,
                                         BacktestResult* backtest) {
  const BacktestQuery bq = menuBacktestQuery(settings, query.period, query.bet);
  const auto result = runBacktest(db, bq);
  if (!result) return std::nullopt;
  if (backtest) *backtest = *result;
  std::vector<Cumulative> points;
  for (const BacktestDay& d : result->days) points.push_back({d.date, d.cumulativeStake, d.cumulativePayout});
  return RoiCurve{"バックテスト（オッズ " + bq.oddsMin + "〜" + bq.oddsMax + "、ダブリ " + bq.votesMin + "〜" +
                      bq.votesMax + "）",
                  roiPoints(points), true};
}

std::vector<RoiCurve> trackRecordCurves(const HistoryDb& db, const Settings& settings, const ProgramQuery& query,
                                        const std::vector<ProgramFigures>& selected, BacktestResult* backtest) {
  std::vector<RoiCurve> curves = programRoiCurves(db, query, selected);
  if (auto b = backtestRoiCurve(db, settings, query, backtest)) curves.push_back(std::move(*b));
  return curves;
}

std::vector<ProgramFigures> chartPrograms(const HistoryDb& db, ProgramQuery* query) {
  ProgramQuery q;
  q.period = storedPeriod(db);
  q.minPicks = kChartMinPicks;
  q.sort = ProgramSort::Roi;
  std::vector<ProgramFigures> all = programFigures(db, q);
  if (all.size() > static_cast<std::size_t>(kChartTopPrograms)) all.resize(kChartTopPrograms);
  if (query) *query = q;
  return all;
}

StepResult adoptPrograms(const Session& session, UserInterface& ui, const std::string& name,
                         const std::vector<ProgramFigures>& selected, fs::path* written) {
  if (selected.empty()) {
    ui.inform("リストに採用するソフトを表で選んでください。", kTrackRecordTitle, Icon::Exclamation);
    return StepResult::Cancelled;
  }
  return writeSuggestedList(session, ui, name, suggestedListRows(selected, static_cast<int>(selected.size())),
                            written);
}

}  // namespace tolv::ui
