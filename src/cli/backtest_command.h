#pragma once

#include "cli/command.h"

namespace tolv::cli {

// backtest: what a selection rule would have returned over the stored days.
class BacktestCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
  bool takesHomeLock() const override { return false; }

 private:
  std::string from_, to_, bet_ = "quinella", list_, selection_ = "tolv", format_;
};

}  // namespace tolv::cli
