#pragma once

#include "cli/command.h"

namespace tolv::cli {

// hits: the execution menu's "的中判定".
class HitsCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
};

}  // namespace tolv::cli
