#pragma once

#include "cli/command.h"

namespace tolv::cli {

// convert kol95|kol98|csv95|csv98 FILE [--out DIR] [--delete]: KOL predicted
// odds (an LZH archive) or TARGET CSV odds into PAT95 or PAT98 odds files.
class ConvertCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;

 private:
  std::string kind_, file_, out_;
  bool delete_ = false;
};

}  // namespace tolv::cli
