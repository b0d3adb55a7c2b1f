#pragma once
// One small class per tolv-cli command. Each adds its subcommand and options
// to the parser and runs on the started session.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "core/session.h"
#include "core/ui.h"

namespace tolv::cli {

// Exit status of tolv-cli.
inline constexpr int kExitDone = 0;    // the step ran to its end (or was cancelled)
inline constexpr int kExitFailed = 1;  // it stopped with one of its messages
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInUse = 3;  // the home folder is in use by another tolv or tolv-cli

struct Context {
  Session& session;
  UserInterface& ui;
  bool quiet = false;
};

class Command {
 public:
  virtual ~Command() = default;
  // Adds the subcommand to `app`; the returned subcommand is the one parsed.
  virtual CLI::App* setup(CLI::App& app) = 0;
  virtual int run(Context& ctx) = 0;
  // Whether the command takes the home folder's instance lock. The history
  // commands write nothing but the history database, which SQLite locks
  // itself, so they run beside an open desktop program.
  virtual bool takesHomeLock() const { return true; }
};

// Every command of tolv-cli.
std::vector<std::unique_ptr<Command>> allCommands();

// The exit status of a step's result.
int exitStatus(StepResult r);

}  // namespace tolv::cli
