#include "cli/odds_status_command.h"

#include <iostream>

#include "odds/odds_status.h"

namespace tolv::cli {

CLI::App* OddsStatusCommand::setup(CLI::App& app) {
  return app.add_subcommand(
      "odds-status",
      "オッズの取得状況: which races of the processing day have odds on hand in the odds source of TOLV.INI "
      "(ODDS PAT). Prints the heading, then the grid: a header row and one row per course and bet type, cells "
      "separated by tabs, ○ where odds exist and × where they do not.");
}

int OddsStatusCommand::run(Context& ctx) {
  OddsStatusGrid grid;
  const StepResult r = showOddsStatus(ctx.session, ctx.ui, grid);
  if (r != StepResult::Done) return exitStatus(r);
  std::cout << grid.heading << "\n";
  const auto header = OddsStatusGrid::headerRow();
  for (std::size_t i = 0; i < header.size(); ++i) std::cout << (i ? "\t" : "") << header[i];
  std::cout << "\n";
  for (const auto& row : grid.rows) {
    std::cout << row.courseName << "\t" << row.betType;
    for (int race = 1; race <= kStatusRaces; ++race) std::cout << "\t" << row.cell(race);
    std::cout << "\n";
  }
  return kExitDone;
}

}  // namespace tolv::cli
