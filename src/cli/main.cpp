// tolv-cli: every step of the race day, headless, for scripts, cron and tests.

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "cli/command.h"
#include "cli/terminal_ui.h"
#include "collect/start.h"
#include "core/dates.h"
#include "core/startup.h"
#include "output/output_range.h"
#include "tolv/build_info.h"

namespace {

using namespace tolv;

fs::path defaultHome() {
  if (const char* h = std::getenv("TOLV_HOME"); h && *h) return h;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return fs::path(x) / "tolv";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / ".local" / "share" / "tolv";
}

// The day taken as today: TOLV_TODAY (YYYYMMDD) when set, for replaying a
// past race day (it decides the default processing day and which pending-bet
// files start-up purges as older than a week); else the clock's.
std::optional<Date> programToday(std::string* bad) {
  const char* t = std::getenv("TOLV_TODAY");
  if (!t || !*t) return today();
  if (auto d = parseYmd(t)) return d;
  *bad = t;
  return std::nullopt;
}

// "MIN-MAX" into its two texts.
bool splitRange(const std::string& text, std::string& lo, std::string& hi) {
  std::size_t dash = text.find('-');
  if (dash == std::string::npos) return false;
  lo = text.substr(0, dash);
  hi = text.substr(dash + 1);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "tolv-cli — the race-day steps of トルブ without windows.\n"
      "Reads and writes the files of the home folder (TOLV.INI, the *.LST lists, DATA/, OutPut/, Work/, WarsOdds/)."};
  app.require_subcommand(1);
  app.footer(
      "Home folder: --home DIR, else $TOLV_HOME, else $XDG_DATA_HOME/tolv (~/.local/share/tolv).\n"
      "Today: TOLV_TODAY=YYYYMMDD replays a past day (default processing day, pending-bet purge).\n"
      "Exit status: 0 the step ran to its end (also when a question was answered Cancel or No);\n"
      "             1 it stopped with one of its messages; 2 usage;\n"
      "             3 the home folder is in use by another tolv or tolv-cli (see --wait).\n"
      "Messages go to stderr (title, then text); questions are answered by --answer, at a terminal\n"
      "prompt, or, with no terminal, with the cautious answer (Cancel, No, 中止).");

  std::string home, date, odds, votes;
  std::vector<std::string> answers;
  bool quiet = false;
  int waitSeconds = 0;
  app.add_option("--home", home, "The home folder (created with its sub-folders when missing)");
  app.add_option("--date", date, "The processing day YYYYMMDD (default: the default processing day for today)");
  app.add_option("--odds", odds, "Odds range MIN-MAX for this run (default: ODDS MIN/MAX of TOLV.INI)");
  app.add_option("--votes", votes, "\"ダブリの数\" range MIN-MAX for this run (default: OTHER MinW/MaxW)");
  app.add_option("--answer", answers,
                 "Answer to the questions: ok, cancel, yes, no, overwrite, append. Given more than once, the "
                 "answers go to the questions in the order they are asked. The last one is reused only for a "
                 "later question that has it as a button (ok or overwrite never answers the Yes/No question "
                 "that deletes the pending bets); any other question gets the cautious answer")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->check(CLI::IsMember({"ok", "cancel", "yes", "no", "overwrite", "append"}, CLI::ignore_case));
  app.add_flag("--quiet,-q", quiet, "No progress bar and no summary lines");
  app.add_option("--wait", waitSeconds,
                 "When the home folder is in use by another tolv or tolv-cli, wait up to SECONDS for it "
                 "(default 0: exit at once with status 3)")
      ->check(CLI::Range(0, 86400));
  app.set_version_flag("--version", "tolv-cli " + withBuildDetails(versionText()));

  auto commands = cli::allCommands();
  std::vector<std::pair<CLI::App*, cli::Command*>> subs;
  for (auto& c : commands) subs.emplace_back(c->setup(app), c.get());

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : cli::kExitUsage;
  }

  std::optional<Date> day;
  if (!date.empty()) {
    day = parseYmd(date);
    if (!day) {
      std::cerr << "tolv-cli: --date takes a real date as YYYYMMDD, not \"" << date << "\"\n";
      return cli::kExitUsage;
    }
  }
  std::string oddsLo, oddsHi, votesLo, votesHi;
  if (!odds.empty() && !splitRange(odds, oddsLo, oddsHi)) {
    std::cerr << "tolv-cli: --odds takes MIN-MAX, not \"" << odds << "\"\n";
    return cli::kExitUsage;
  }
  if (!votes.empty() && !splitRange(votes, votesLo, votesHi)) {
    std::cerr << "tolv-cli: --votes takes MIN-MAX, not \"" << votes << "\"\n";
    return cli::kExitUsage;
  }

  fs::path homePath = home.empty() ? defaultHome() : fs::path(home);
  std::error_code ec;
  fs::create_directories(homePath, ec);
  std::string error;
  cli::Command* parsed = nullptr;
  for (auto& [sub, cmd] : subs) {
    if (sub->parsed()) parsed = cmd;
  }
  // The history commands read and write their database under SQLite's own
  // locking, beside a desktop program open on the same home.
  const bool takesLock = !parsed || parsed->takesHomeLock();
  std::unique_ptr<InstanceLock> lock;
  InstanceLock::Failure why{};
  if (takesLock) {
    lock = InstanceLock::acquire(homePath, &error, &why);
    // --wait: the desktop program (or another run) may be in the middle of a step.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(waitSeconds);
    while (!lock && why == InstanceLock::Failure::InUse && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      lock = InstanceLock::acquire(homePath, &error, &why);
    }
  }
  if (takesLock && !lock) {
    switch (why) {
      case InstanceLock::Failure::InUse:
        std::cerr << "tolv-cli: " << homePath.string() << " is in use by another tolv or tolv-cli"
                  << (waitSeconds > 0 ? " (waited " + std::to_string(waitSeconds) + " seconds)" : " (--wait SECONDS waits for it)")
                  << "\n";
        return cli::kExitInUse;
      case InstanceLock::Failure::NotAFolder:
        std::cerr << "tolv-cli: the home " << homePath.string() << " is not a folder\n";
        return cli::kExitFailed;
      case InstanceLock::Failure::ReadOnly:
        std::cerr << "tolv-cli: the home " << homePath.string() << " cannot be locked, it is read-only or not ours ("
                  << error << ")\n";
        return cli::kExitFailed;
    }
  }
  std::string badToday;
  const auto todayDate = programToday(&badToday);
  if (!todayDate) {
    std::cerr << "tolv-cli: TOLV_TODAY takes a real date as YYYYMMDD, not \"" << badToday << "\"\n";
    return cli::kExitUsage;
  }
  auto session = startSession(homePath, *todayDate, &error);
  if (!session) {
    std::cerr << "tolv-cli: " << error << "\n";
    return cli::kExitFailed;
  }
  if (day) session->setMeetingDate(toYmd(*day));
  if (!odds.empty()) session->takeOddsRange(oddsLo, oddsHi);
  if (!votes.empty()) session->takeDupRange(votesLo, votesHi);

  std::vector<Answer> presetAnswers;
  for (const auto& a : answers) {
    if (auto parsed = cli::parseAnswer(a)) presetAnswers.push_back(*parsed);
  }
  cli::TerminalUi ui(std::move(presetAnswers), quiet);
  cli::Context ctx{*session, ui, quiet};
  for (auto& [sub, cmd] : subs) {
    if (sub->parsed()) return cmd->run(ctx);
  }
  return cli::kExitUsage;
}
