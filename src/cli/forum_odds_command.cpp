#include "cli/forum_odds_command.h"

#include <iostream>

#include "odds/forum_odds.h"

namespace tolv::cli {

CLI::App* ForumOddsCommand::setup(CLI::App& app) {
  return app.add_subcommand("forum-odds",
                            "FHwarsオッズの変換: convert the processing day's odds posts in the "
                            "forum log ODDS FHwars (placeholders "
                            "%Y1 %Y2 %M1 %D1) into PAT98 odds files WarsOdds/ZO-???.JRA and "
                            "UO-???.JRA, after removing the folder's "
                            "*.JRA files. Prints the files written. Exit status 1 when FHwars is not "
                            "set, the log is missing or "
                            "unreadable, or a file cannot be written.");
}

int ForumOddsCommand::run(Context& ctx) {
  ForumOddsStats stats;
  StepResult r = convertForumOdds(ctx.session, ctx.ui, &stats);
  if (r == StepResult::Done && !ctx.quiet) {
    std::cout << "forum odds: " << stats.log.string() << " (" << stats.races << " races)\n";
    for (const fs::path& p : stats.files) std::cout << p.string() << "\n";
  }
  if (stats.cutRace) {
    std::cerr << "note: the log ends inside the odds post of " << *stats.cutRace << "; that race was not converted\n";
  }
  return exitStatus(r);
}

}  // namespace tolv::cli
