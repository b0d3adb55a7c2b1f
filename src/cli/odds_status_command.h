#pragma once

#include "cli/command.h"

namespace tolv::cli {

// odds-status: the odds acquisition status of the processing day.
class OddsStatusCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
};

}  // namespace tolv::cli
