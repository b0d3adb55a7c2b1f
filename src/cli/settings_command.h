#pragma once

#include "cli/command.h"

namespace tolv::cli {

// settings: prints every setting as loaded (after defaults and validation).
class SettingsCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;
};

// defaults save|restore: the saved defaults of the settings.
class DefaultsCommand : public Command {
 public:
  CLI::App* setup(CLI::App& app) override;
  int run(Context& ctx) override;

 private:
  std::string action_;
};

}  // namespace tolv::cli
