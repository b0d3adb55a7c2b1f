#pragma once

#include "cli/command.h"

namespace tolv::cli {

// schedule: builds the day's meeting schedule from the configured race card.
class ScheduleCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
};

}  // namespace tolv::cli
