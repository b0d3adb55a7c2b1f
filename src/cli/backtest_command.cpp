#include "cli/backtest_command.h"

#include <iostream>
#include <sstream>

#include "cli/history_output.h"
#include "collect/software_list.h"
#include "core/text.h"
#include "history/backtest.h"

namespace tolv::cli {

CLI::App* BacktestCommand::setup(CLI::App& app) {
  CLI::App* sub = app.add_subcommand(
      "backtest",
      "Replay a selection rule over the stored days: the Tolv counting of each day (only the programs of --list "
      "when given) or the day's Pirune selection, the picks within the odds range (--odds MIN-MAX) and \"ダブリの数\" "
      "range (--votes MIN-MAX; both default to TOLV.INI's) exactly as the grid lists them, 100 yen on each. Prints "
      "per day and in total: bets, hits, stake, return, 回収率, and the deepest drawdown. The picks of a day are "
      "those `create` + `bets send COURSE --rows all` (--wide) would send. CSV header: date,bets,hits,stake,return,"
      "roi, one line per stored day with results and a last line `total`.");
  sub->add_option("--from", from_, "First day YYYYMMDD (default: the first stored day)");
  sub->add_option("--to", to_, "Last day YYYYMMDD (default: the last stored day)");
  sub->add_option("--bet", bet_, "quinella (馬連, default), wide (ワイド) or bracket (枠連)")
      ->check(CLI::IsMember({"quinella", "wide", "bracket"}));
  sub->add_option("--list", list_, "Count only the programs of this software list (FILE.LST, from the home folder)");
  sub->add_option("--selection", selection_, "tolv (default) or pirune (the day's stored Pirune pairs)")
      ->check(CLI::IsMember({"tolv", "pirune"}));
  addFormatOption(sub, format_);
  sub->fallthrough();
  return sub;
}

int BacktestCommand::run(Context& ctx) {
  if (!checkPeriodDates(from_, to_)) return kExitUsage;
  const Settings& st = ctx.session.settings;
  BacktestQuery q;
  q.period = {from_, to_};
  q.oddsMin = st.oddsMin;
  q.oddsMax = st.oddsMax;
  q.votesMin = st.minW;
  q.votesMax = st.maxW;
  q.piruneOutput = st.pirune.output;
  q.bet = *parseHistoryBet(bet_);
  q.selection = selection_ == "pirune" ? Selection::Pirune : Selection::Tolv;
  if (!list_.empty()) {
    if (q.selection == Selection::Pirune) {
      std::cerr << "tolv-cli: --list counts the programs of the Tolv selection; the Pirune selection is the day's own\n";
      return kExitUsage;
    }
    const fs::path path = ctx.session.resolvePath(list_);
    if (!isRegularFile(path)) {
      ctx.ui.inform("ソフトリストがありません：" + path.string(), "【成績】", Icon::Exclamation);
      return kExitFailed;
    }
    for (const std::string& code : loadCodeList(path)) q.programs.push_back(static_cast<int>(valInt(code)));
    if (q.programs.empty()) {
      ctx.ui.inform("ソフトリストに採用されたソフトがありません：" + path.string(), "【成績】", Icon::Exclamation);
      return kExitFailed;
    }
  }
  std::string error;
  auto db = HistoryDb::open(historyDbPath(ctx.session), HistoryDb::Mode::ReadOnly, &error);
  std::optional<BacktestResult> result;
  if (db) result = runBacktest(*db, q, &error);
  if (!result) {
    ctx.ui.inform(error, "【成績】", Icon::Critical);
    return kExitFailed;
  }

  const OutputFormat f = parseFormat(format_);
  OutputTable t({"date", "bets", "hits", "stake", "return", "roi"}, {"日付", "買い目", "的中", "投資", "回収", "回収率"},
                {false, true, true, true, true, true});
  for (const BacktestDay& d : result->days) {
    t.add({d.date, std::to_string(d.bets), std::to_string(d.hits), yenCell(d.stake, f), yenCell(d.payout, f),
           rateCell(d.payout, d.stake, f)});
  }
  t.add({f == OutputFormat::Table ? "合計" : "total", std::to_string(result->bets), std::to_string(result->hits),
         yenCell(result->stake, f), yenCell(result->payout, f), rateCell(result->payout, result->stake, f)});
  const std::vector<bool> numeric{false, true, true, true, true, true};
  if (f == OutputFormat::Json) {
    std::ostringstream rows;
    t.print(rows, f, numeric);
    std::string days = rows.str();
    while (!days.empty() && days.back() == '\n') days.pop_back();
    std::cout << "{\"days\": " << days << ",\n \"deepest_drawdown\": " << result->deepestDrawdown
              << "}\n";
  } else {
    t.print(std::cout, f, numeric);
    if (f == OutputFormat::Table) std::cout << "最大ドローダウン  " << yenCell(result->deepestDrawdown, f) << "円\n";
  }
  return kExitDone;
}

}  // namespace tolv::cli
