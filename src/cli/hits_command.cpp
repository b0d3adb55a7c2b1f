#include "cli/hits_command.h"

#include <iostream>

#include "output/race_results.h"

namespace tolv::cli {

CLI::App* HitsCommand::setup(CLI::App& app) {
  return app.add_subcommand(
      "hits",
      "的中判定: copy the processing day's race results from the PAT results files ks-?????.JRA in PATFolder "
      "(PAT98 or PAT95 layout by ODDS PAT 1 or 0) into DATA/Seiyyyymmdd.DAT and mark the winning picks and their "
      "payouts in the day's Tolv data files. Other odds sources (2, 3, 4) only show a notice (exit status 1).");
}

int HitsCommand::run(Context& ctx) {
  int results = 0;
  const StepResult r = checkHits(ctx.session, ctx.ui, &results);
  if (r == StepResult::Done && !ctx.quiet) {
    std::cout << "results file: " << resultsFilePath(ctx.session).string() << " (" << results << " races)\n";
  }
  return exitStatus(r);
}

}  // namespace tolv::cli
