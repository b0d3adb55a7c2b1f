#include "cli/batch_command.h"

#include <unistd.h>

#include <iostream>

#include "core/text.h"
#include "history/history_db.h"

namespace tolv::cli {

namespace {

// "done", "cancelled", or "stopped" with the message the step stopped with,
// on one line.
std::string resultText(const BatchStepRun& run) {
  switch (run.result) {
    case StepResult::Done:
      return "done";
    case StepResult::Failed:
      break;
    case StepResult::Cancelled:
      return "cancelled";
  }
  std::string message;
  for (const std::string& line : splitLines(run.message)) {
    const std::string t = trim(line);
    if (t.empty()) continue;
    message += (message.empty() ? "" : " ") + t;
  }
  return message.empty() ? "stopped" : "stopped: " + message;
}

std::string clockText(int seconds) {
  TimeOfDay t{seconds / 3600, seconds / 60 % 60, seconds % 60};
  return t.text();
}

}  // namespace

BatchCommand::BatchCommand(PadFileStep pad) : pad_(std::move(pad)) {}

CLI::App* BatchCommand::setup(CLI::App& app) {
  CLI::App* sub = app.add_subcommand(
      "batch",
      "一括処理: run the steps chosen in the section 一括処理 of TOLV.INI, in this order: forum odds conversion "
      "(WARSオッズ変換, only when ODDS PAT is 2), log extraction (ログ読み込み), Tolv creation (トルブ作成), "
      "WARS-format output (WARS出力), Pirune creation (ぴるね作成), PAD file (PAD作成), the day into the history "
      "database (履歴取り込み). Missing keys: the first five on, PAD and 履歴取り込み off. 自動終了 is ignored. Exit status 1 when the day has no Tolv data file at the WARS step "
      "(the run stops there), when any step stopped with one of its messages, or when --at is not a valid time.");
  sub->add_option("--at", at_,
                  "Start when the clock reaches HH:MM:SS today (hh 00-23, mm and ss 00-59); a time already passed "
                  "starts at once. A countdown is shown on stderr when it is a terminal.");
  return sub;
}

int BatchCommand::run(Context& ctx) {
  // A fresh program: the forum-odds flag is off unless the odds source reads it.
  BatchChoices choices = loadBatchSettings(ctx.session);
  BatchStart start;
  start.timer = !at_.empty();
  start.timeText = at_;

  const bool showCountdown = !ctx.quiet && isatty(STDERR_FILENO) == 1;
  bool countdownShown = false;
  int lastShown = -1;
  BatchCountdown countdown = [&](int secondsLeft) {
    if (!showCountdown || secondsLeft == lastShown) return;
    lastShown = secondsLeft;
    countdownShown = true;
    std::cerr << "\r一括処理の開始まで " << clockText(secondsLeft) << "（予約 " << at_ << "）" << std::flush;
  };

  SystemBatchClock clock;
  BatchOutcome outcome;
  BatchSteps steps = standardBatchSteps(pad_);
  steps.history = importProcessingDay;
  StepResult r = startBatch(ctx.session, ctx.ui, choices, start, clock, steps, countdown, &outcome);
  if (countdownShown) std::cerr << "\r\033[K" << std::flush;

  if (!ctx.quiet) {
    for (const auto& step : outcome.ran) {
      std::cout << batchStepKey(step.step) << ": " << resultText(step) << "\n";
    }
    if (!outcome.padFile.empty()) std::cout << "PAD file: " << outcome.padFile.string() << "\n";
  }
  if (r == StepResult::Done && outcome.anyStepFailed()) return kExitFailed;
  return exitStatus(r);
}

}  // namespace tolv::cli
