#pragma once

#include <functional>
#include <string>

#include "cli/command.h"
#include "output/race_day.h"

namespace tolv::cli {

// create, odds, text and wars: the execution menu's Tolv commands.
class RaceDayCommand : public Command {
 public:
  using Step = std::function<StepResult(Session&, UserInterface&, RaceDayOutputs*)>;
  RaceDayCommand(std::string name, std::string description, Step step, bool needsTolvFiles)
      : name_(std::move(name)), description_(std::move(description)), step_(std::move(step)),
        needsTolvFiles_(needsTolvFiles) {}
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;

 private:
  std::string name_, description_;
  Step step_;
  bool needsTolvFiles_;
};

void addRaceDayCommands(std::vector<std::unique_ptr<Command>>& commands);

}  // namespace tolv::cli
