#pragma once

#include "cli/command.h"

namespace tolv::cli {

// stats programs|suggest-list: the programs' figures over the stored days,
// and a software list of the best of them.
class StatsCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
  bool takesHomeLock() const override { return false; }

 private:
  CLI::App* programs_ = nullptr;
  CLI::App* suggest_ = nullptr;
  std::string from_, to_, bet_ = "quinella", sort_ = "roi", format_, write_;
  int minPicks_ = 0;
  int top_ = 0;
};

}  // namespace tolv::cli
