#pragma once

#include "cli/command.h"

namespace tolv::cli {

// history import|list: the history database history.sqlite of the home.
class HistoryCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
  bool takesHomeLock() const override { return false; }

 private:
  CLI::App* import_ = nullptr;
  CLI::App* list_ = nullptr;
  std::string from_, to_, format_;
};

}  // namespace tolv::cli
