#pragma once

#include <string>

#include "cli/command.h"

namespace tolv::cli {

// show: the file viewer's view commands.
class ShowCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;

 private:
  std::string kind_;
};

}  // namespace tolv::cli
