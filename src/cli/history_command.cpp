#include "cli/history_command.h"

#include <iostream>

#include "cli/history_output.h"
#include "core/dates.h"
#include "history/history_db.h"

namespace tolv::cli {

CLI::App* HistoryCommand::setup(CLI::App& app) {
  CLI::App* history = app.add_subcommand(
      "history", "The history database history.sqlite of the home folder: every imported day's picks per program, "
                 "race results and odds, for `stats` and `backtest`.");
  history->require_subcommand(1);
  history->fallthrough();
  import_ = history->add_subcommand(
      "import",
      "Store a day (the processing day, --date D, or every day from --from D1 to --to D2 that has a cut index): "
      "its cut index DATA/yyyymmdd.DAT, its results DATA/Seiyyyymmdd.DAT (missing: stored as \"no results yet\") "
      "and the odds of its Tolv data files. Run after extract, create and hits; a re-import replaces the day. A day "
      "whose files are damaged is refused with a message naming the file (exit status 1) and the database keeps "
      "what it had.");
  import_->add_option("--from", from_, "First day YYYYMMDD of a range");
  import_->add_option("--to", to_, "Last day YYYYMMDD of a range (default: the processing day)");
  import_->fallthrough();
  list_ = history->add_subcommand("list", "The stored days and what each holds.");
  addFormatOption(list_, format_);
  list_->fallthrough();
  return history;
}

namespace {

std::unique_ptr<HistoryDb> openDb(Context& ctx, HistoryDb::Mode mode) {
  std::string error;
  auto db = HistoryDb::open(historyDbPath(ctx.session), mode, &error);
  if (!db) ctx.ui.inform(error, "【成績】", Icon::Critical);
  return db;
}

int importDays(Context& ctx, const std::string& from, const std::string& to) {
  if (!checkPeriodDates(from, to)) return kExitUsage;
  if (from.empty() && !to.empty()) {
    std::cerr << "tolv-cli: history import --to needs --from (one day: --date)\n";
    return kExitUsage;
  }
  auto db = openDb(ctx, HistoryDb::Mode::ReadWrite);
  if (!db) return kExitFailed;
  std::vector<std::string> dates;
  const bool range = !from.empty();
  if (range) {
    const std::string last = to.empty() ? ctx.session.meetingDate() : to;
    for (Date d = *parseYmd(from); toYmd(d) <= last; d = addDays(d, 1)) {
      ctx.session.setMeetingDate(toYmd(d));
      // Days without races have no cut index: a range passes them over.
      if (isRegularFile(ctx.session.cutIndexPath())) dates.push_back(toYmd(d));
    }
    if (dates.empty()) {
      ctx.ui.inform("取り込む日がありません（" + from + "〜" + last + " にカットインデックスがありません）。", "【成績】");
      return kExitFailed;
    }
  } else {
    dates.push_back(ctx.session.meetingDate());
  }
  int failed = 0;
  for (const std::string& date : dates) {
    StoredDay day;
    if (importHistoryDay(ctx.session, ctx.ui, *db, date, &day) != StepResult::Done) {
      ++failed;
      continue;
    }
    if (!ctx.quiet) {
      std::cout << date << ": " << day.posts << " posts, " << day.programs << " programs, " << day.picks << " picks ("
                << day.pricedPicks << " with odds), "
                << (day.hasResults() ? std::to_string(day.results) + " results" : std::string("no results yet"))
                << '\n';
    }
  }
  return failed ? kExitFailed : kExitDone;
}

int listDays(Context& ctx, OutputFormat format) {
  auto db = openDb(ctx, HistoryDb::Mode::ReadOnly);
  if (!db) return kExitFailed;
  OutputTable t({"date", "courses", "posts", "programs", "picks", "priced", "results", "imported"},
                {"日付", "開催", "予想", "ソフト", "買い目", "オッズ", "成績", "取り込み(UTC)"},
                {false, false, true, true, true, true, true, false});
  for (const StoredDay& d : db->days()) {
    t.add({d.date, d.courses, std::to_string(d.posts), std::to_string(d.programs), std::to_string(d.picks),
           std::to_string(d.pricedPicks),
           format == OutputFormat::Table && !d.hasResults() ? "未着" : std::to_string(d.results), d.imported});
  }
  t.print(std::cout, format, {false, false, true, true, true, true, true, false});
  return kExitDone;
}

}  // namespace

int HistoryCommand::run(Context& ctx) {
  if (import_->parsed()) return importDays(ctx, from_, to_);
  return listDays(ctx, parseFormat(format_));
}

}  // namespace tolv::cli
