#pragma once

#include "cli/command.h"

namespace tolv::cli {

// pirune: ぴるね作成, the Pirune selection and its two output files.
class PiruneCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
};

}  // namespace tolv::cli
