#include "cli/bets_command.h"

#include <cctype>
#include <iostream>
#include <sstream>

#include "bets/bet_export.h"
#include "bets/bet_maintenance.h"
#include "bets/bet_summary.h"
#include "core/codes.h"
#include "core/text.h"
#include "output/result_grid.h"
#include "output/viewers.h"

namespace tolv::cli {

CLI::App* BetsCommand::setup(CLI::App& app) {
  CLI::App* bets = app.add_subcommand("bets", "Work on the processing day's pending-bet file (保留ＢＥＴ).");
  bets->require_subcommand(1);
  dedupe_ = bets->add_subcommand("dedupe", "Remove repeated bets, keeping the first of each.");
  merge_ = bets->add_subcommand("merge", "Fold repeated bets into their first occurrence, adding the stakes.");
  sort_ = bets->add_subcommand("sort", "Order the bets by course, race, bet type and pick.");
  summary_ = bets->add_subcommand(
      "summary", "Print the heading, then caption, count and sum of every bet type (tab-separated), then 合計.");
  export_ = bets->add_subcommand("export", "Export the pending bets to パッとベッと, Bet Auto or 馬券塾.");
  export_->add_option("target", exportTarget_, "patbet, betauto or bakenjuku")
      ->required()
      ->check(CLI::IsMember({"patbet", "betauto", "bakenjuku"}));
  export_->add_flag("--wide", wide_, "bakenjuku: write quinella lines as quinella-place (ワ)");
  export_->add_flag("--clipboard", clipboard_, "bakenjuku: print the clipboard text instead of writing the file");
  send_ = bets->add_subcommand(
      "send",
      "保留BETへ出力 from the result grid of a course: COURSE as its code (05) or name (東京); rows numbered from 1 "
      "in the order the grid shows them (the picks within the odds and vote ranges).");
  send_->add_option("course", course_, "course code or name")->required();
  send_->add_flag("--wide", sendWide_, "the quinella-place grid (ワイド bets)");
  send_->add_option("--rows", rows_, "all, or row numbers separated by commas");
  sendWars_ = bets->add_subcommand(
      "send-wars", "Send the picks of the day's WARS-format file (as the viewer shows it) to the pending bets.");
  sendWars_->add_option("kind", warsKind_, "tolv or pirune")->required()->check(CLI::IsMember({"tolv", "pirune"}));
  return bets;
}

namespace {

constexpr std::string_view kNoDataFileMessage = "指定された日付のデータファイルが見つかりません！";

int sendGrid(Context& ctx, const std::string& course, bool wide, const std::string& rows) {
  std::string code = course;
  if (code.size() == 1 && std::isdigit(static_cast<unsigned char>(code[0]))) code = "0" + code;
  if (!(code.size() == 2 && std::isdigit(static_cast<unsigned char>(code[0])) &&
        std::isdigit(static_cast<unsigned char>(code[1])))) {
    code = CourseCodeOfNameOrEmpty(course);
  }
  if (code.empty() || valInt(code) < 1 || valInt(code) > 10) {
    std::cerr << "unknown course: " << course << '\n';
    return kExitUsage;
  }
  std::optional<ResultGrid> grid = buildResultGrid(ctx.session, code, wide ? GridMode::QuinellaPlace : GridMode::Quinella);
  if (!grid) {
    ctx.ui.inform(kNoDataFileMessage);
    return kExitFailed;
  }
  if (rows == "all") {
    grid->toggleAll();
  } else if (!rows.empty()) {
    std::istringstream in(rows);
    std::string item;
    while (std::getline(in, item, ',')) {
      const std::string t = trim(item);
      const bool digits = !t.empty() && t.find_first_not_of("0123456789") == std::string::npos;
      const long n = digits ? valInt(t) : 0;
      if (n < 1 || n > grid->pickCount()) {
        std::cerr << "no row " << item << " (the grid has " << grid->pickCount() << " rows)\n";
        return kExitUsage;
      }
      if (!grid->isSelected(static_cast<int>(n))) grid->toggleRow(static_cast<int>(n));
    }
  }
  return exitStatus(SendGridSelection(ctx.session, ctx.ui, *grid));
}

}  // namespace

int BetsCommand::run(Context& ctx) {
  Session& s = ctx.session;
  UserInterface& ui = ctx.ui;
  if (dedupe_->parsed()) return exitStatus(RemoveDuplicateBets(s, ui));
  if (merge_->parsed()) return exitStatus(MergeDuplicateBets(s, ui));
  if (sort_->parsed()) return exitStatus(SortPendingBets(s, ui));
  if (summary_->parsed()) {
    PendingBetSummary summary;
    const StepResult r = SummarisePendingBets(s, ui, summary);
    if (r != StepResult::Done) return exitStatus(r);
    std::cout << summary.heading << '\n';
    for (std::size_t i = 0; i < PendingBetSummary::kRowCaptions.size(); ++i) {
      std::cout << PendingBetSummary::kRowCaptions[i] << '\t' << summary.countLabel(i) << '\t' << summary.sumLabel(i)
                << '\n';
    }
    std::cout << "合計\t" << summary.countLabel(5) << '\t' << summary.sumLabel(5) << '\n';
    return kExitDone;
  }
  if (send_->parsed()) return sendGrid(ctx, course_, sendWide_, rows_);
  if (sendWars_->parsed()) {
    std::optional<ViewerContent> shown =
        LoadViewer(s, ui, warsKind_ == "tolv" ? ViewerKind::TolvWars : ViewerKind::PiruneWars);
    if (!shown) return kExitFailed;
    return exitStatus(SendWarsPicks(s, ui, shown->path));
  }
  if (export_->parsed()) {
    if (exportTarget_ == "patbet") return exitStatus(ExportPatBet(s, ui));
    if (exportTarget_ == "betauto") return exitStatus(ExportBetAuto(s, ui));
    std::optional<BakenjukuSheet> sheet = openBakenjuku(s, ui);
    if (!sheet) return kExitFailed;
    const std::vector<std::string> lines = bakenjukuOutputLines(s, *sheet, wide_);
    if (clipboard_) {
      std::cout << bakenjukuClipboardText(lines);
      return kExitDone;
    }
    return exitStatus(writeBakenjukuFile(s, ui, lines));
  }
  return kExitUsage;
}

}  // namespace tolv::cli
