#pragma once

#include "cli/command.h"

namespace tolv::cli {

// extract: log extraction with the FILE settings of TOLV.INI.
class ExtractCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
};

}  // namespace tolv::cli
