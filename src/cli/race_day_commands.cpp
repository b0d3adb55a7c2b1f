#include "cli/race_day_commands.h"

#include <iostream>

namespace tolv::cli {

CLI::App* RaceDayCommand::setup(CLI::App& app) { return app.add_subcommand(name_, description_); }

int RaceDayCommand::run(Context& ctx) {
  RaceDayOutputs out;
  StepResult r = step_(ctx.session, ctx.ui, &out);
  if (r == StepResult::Cancelled && needsTolvFiles_) {
    // The menu does nothing here; a script is told why.
    std::cerr << "tolv-cli: no Tolv data files for " << ctx.session.meetingDate() << " in "
              << ctx.session.dataFolder() << " (run create first)\n";
    return kExitFailed;
  }
  if (!ctx.quiet) {
    for (const auto& p : out.listings) std::cout << "listing: " << p.string() << "\n";
    if (!out.wars.empty()) std::cout << "WARS file: " << out.wars.string() << "\n";
  }
  return exitStatus(r);
}

void addRaceDayCommands(std::vector<std::unique_ptr<Command>>& commands) {
  commands.push_back(std::make_unique<RaceDayCommand>(
      "create",
      "トルブ作成: count the picks of the day's cut index into the Tolv data files DATA/Wyyyymmdd_cc.DAT (building "
      "the meeting schedule when missing), import odds from the odds source of TOLV.INI, and write the text "
      "listings to OutPut/. Exit status 1 when the odds import stops with one of its messages (the listings are "
      "written all the same).",
      createTolv, false));
  commands.push_back(std::make_unique<RaceDayCommand>(
      "odds", "オッズ再読込: import odds into the day's Tolv data files again and rewrite the listings.", reloadOdds,
      true));
  commands.push_back(std::make_unique<RaceDayCommand>(
      "text", "トルブ再編: rewrite the text listings of the day's Tolv data files (with the --odds/--votes ranges).",
      rebuildListing, true));
  commands.push_back(std::make_unique<RaceDayCommand>(
      "wars", "WARS形式出力: write the day's WARS-format file for posting (WARS OUTFOLDER, named by WKA1/WKA2).",
      outputWars, false));
}

}  // namespace tolv::cli
