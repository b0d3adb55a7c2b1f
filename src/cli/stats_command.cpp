#include "cli/stats_command.h"

#include <iostream>

#include "cli/history_output.h"
#include "core/text.h"
#include "history/program_stats.h"
#include "history/suggested_list.h"

namespace tolv::cli {

namespace {

void addFigureOptions(CLI::App* sub, std::string& from, std::string& to, std::string& bet, int& minPicks) {
  sub->add_option("--from", from, "First day YYYYMMDD (default: the first stored day)");
  sub->add_option("--to", to, "Last day YYYYMMDD (default: the last stored day)");
  sub->add_option("--bet", bet,
                  "quinella (馬連, default): the quinella picks; wide (ワイド): the same picks judged as "
                  "quinella-place; bracket (枠連): the bracket picks")
      ->check(CLI::IsMember({"quinella", "wide", "bracket"}));
  sub->add_option("--min-picks", minPicks, "Leave out programs with fewer picks")->check(CLI::NonNegativeNumber);
  sub->fallthrough();
}

}  // namespace

CLI::App* StatsCommand::setup(CLI::App& app) {
  CLI::App* stats = app.add_subcommand("stats", "Figures of the prediction programs over the stored history days.");
  stats->require_subcommand(1);
  stats->fallthrough();
  programs_ = stats->add_subcommand(
      "programs",
      "Per program: days, races, picks, hits, hit rate (hits/picks), stake (100 yen a pick), return, 回収率 "
      "(return/stake), the longest run of races without a hit, the last hit day. A pick counts once per race; only "
      "days with results count. Sorted largest first by --sort (ties: more picks, then the smaller code). CSV "
      "header: code,name,days,races,picks,hits,hit_rate,stake,return,roi,longest_miss,last_hit.");
  addFigureOptions(programs_, from_, to_, bet_, minPicks_);
  programs_->add_option("--sort", sort_, "roi (default), hits or picks")->check(CLI::IsMember({"roi", "hits", "picks"}));
  addFormatOption(programs_, format_);
  suggest_ = stats->add_subcommand(
      "suggest-list",
      "The best --top N programs (by 回収率, as `stats programs`) as a software list: printed, or written with "
      "--write NAME.LST into the home folder by the list editor's rules (atomic; an existing list is replaced "
      "only after a yes, see --answer).");
  addFigureOptions(suggest_, from_, to_, bet_, minPicks_);
  suggest_->add_option("--top", top_, "How many programs")->required()->check(CLI::PositiveNumber);
  suggest_->add_option("--write", write_, "The list file to write, NAME.LST in the home folder");
  return stats;
}

int StatsCommand::run(Context& ctx) {
  if (!checkPeriodDates(from_, to_)) return kExitUsage;
  std::string error;
  auto db = HistoryDb::open(historyDbPath(ctx.session), HistoryDb::Mode::ReadOnly, &error);
  if (!db) {
    ctx.ui.inform(error, "【成績】", Icon::Critical);
    return kExitFailed;
  }
  ProgramQuery q;
  q.period = {from_, to_};
  q.bet = *parseHistoryBet(bet_);
  q.minPicks = minPicks_;
  q.sort = sort_ == "hits" ? ProgramSort::Hits : sort_ == "picks" ? ProgramSort::Picks : ProgramSort::Roi;
  const std::vector<ProgramFigures> figures = programFigures(*db, q);

  if (suggest_->parsed()) {
    const std::vector<ListRow> rows = suggestedListRows(figures, top_);
    if (rows.empty()) {
      ctx.ui.inform("条件に合うソフトがありません。", "【成績】");
      return kExitFailed;
    }
    if (write_.empty()) {
      for (const ListRow& r : rows) std::cout << *writeListLine(r) << '\n';
      return kExitDone;
    }
    fs::path written;
    const StepResult r = writeSuggestedList(ctx.session, ctx.ui, write_, rows, &written);
    if (r == StepResult::Done && !ctx.quiet) std::cout << "list: " << written.string() << " (" << rows.size() << " programs)\n";
    return exitStatus(r);
  }

  const OutputFormat f = parseFormat(format_);
  OutputTable t({"code", "name", "days", "races", "picks", "hits", "hit_rate", "stake", "return", "roi", "longest_miss",
                 "last_hit"},
                {"コード", "ソフト名", "日数", "レース", "買い目", "的中", "的中率", "投資", "回収", "回収率", "最長不的中",
                 "最終的中"},
                {false, false, true, true, true, true, true, true, true, true, true, false});
  for (const ProgramFigures& p : figures) {
    t.add({zeroPad(p.code, 4), p.name, std::to_string(p.days), std::to_string(p.races), std::to_string(p.picks),
           std::to_string(p.hits), rateCell(p.hits, p.picks, f), yenCell(p.stake, f), yenCell(p.payout, f),
           rateCell(p.payout, p.stake, f), std::to_string(p.longestMiss), p.lastHit});
  }
  t.print(std::cout, f, {false, false, true, true, true, true, true, true, true, true, true, false});
  return kExitDone;
}

}  // namespace tolv::cli
