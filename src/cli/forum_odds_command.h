#pragma once

#include "cli/command.h"

namespace tolv::cli {

// forum-odds: converts the processing day's forum odds posts (ODDS FHwars)
// into PAT98 odds files in WarsOdds/.
class ForumOddsCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
};

}  // namespace tolv::cli
