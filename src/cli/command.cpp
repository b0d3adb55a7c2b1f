#include "cli/command.h"

#include "cli/backtest_command.h"
#include "cli/batch_command.h"
#include "cli/bets_command.h"
#include "cli/convert_command.h"
#include "cli/extract_command.h"
#include "cli/forum_odds_command.h"
#include "cli/history_command.h"
#include "cli/hits_command.h"
#include "cli/odds_status_command.h"
#include "cli/pad_command.h"
#include "cli/pirune_command.h"
#include "cli/race_day_commands.h"
#include "cli/schedule_command.h"
#include "cli/settings_command.h"
#include "cli/show_command.h"
#include "cli/stats_command.h"
#include "output/pad_file.h"

namespace tolv::cli {

std::vector<std::unique_ptr<Command>> allCommands() {
  std::vector<std::unique_ptr<Command>> c;
  c.push_back(std::make_unique<ExtractCommand>());
  c.push_back(std::make_unique<ScheduleCommand>());
  addRaceDayCommands(c);
  c.push_back(std::make_unique<ForumOddsCommand>());
  c.push_back(std::make_unique<ConvertCommand>());
  c.push_back(std::make_unique<OddsStatusCommand>());
  c.push_back(std::make_unique<HitsCommand>());
  c.push_back(std::make_unique<BetsCommand>());
  c.push_back(std::make_unique<ShowCommand>());
  c.push_back(std::make_unique<PiruneCommand>());
  c.push_back(std::make_unique<PadCommand>());
  c.push_back(std::make_unique<SettingsCommand>());
  c.push_back(std::make_unique<DefaultsCommand>());
  c.push_back(std::make_unique<BatchCommand>(writePadFile));
  c.push_back(std::make_unique<HistoryCommand>());
  c.push_back(std::make_unique<StatsCommand>());
  c.push_back(std::make_unique<BacktestCommand>());
  return c;
}

int exitStatus(StepResult r) { return r == StepResult::Failed ? kExitFailed : kExitDone; }

}  // namespace tolv::cli
