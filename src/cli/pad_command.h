#pragma once

#include "cli/command.h"

namespace tolv::cli {

// pad: PAD作成, the forum-autopilot (PAD) file of the day's outputs.
class PadCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
};

}  // namespace tolv::cli
