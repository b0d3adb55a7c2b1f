#pragma once

#include <string>

#include "cli/command.h"

namespace tolv::cli {

// bets: tidying, summing up and exporting the day's pending-bet file.
class BetsCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;

 private:
  CLI::App* dedupe_ = nullptr;
  CLI::App* merge_ = nullptr;
  CLI::App* sort_ = nullptr;
  CLI::App* summary_ = nullptr;
  CLI::App* export_ = nullptr;
  CLI::App* send_ = nullptr;
  CLI::App* sendWars_ = nullptr;
  std::string course_, rows_, warsKind_;
  std::string exportTarget_;
  bool wide_ = false;
  bool clipboard_ = false;
  bool sendWide_ = false;
};

}  // namespace tolv::cli
