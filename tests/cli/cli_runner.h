#pragma once
// Runs the built tolv-cli as a script would: TOLV_HOME and TOLV_TODAY unset
// (unless `env` sets them), the saved defaults in the test's own folder, no
// terminal on stdin, stdout and stderr captured.

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/test_support.h"

namespace tolv::testing {

struct CliRun {
  int status = -1;  // the exit status, -1 when it did not exit
  std::string out, err;
};

inline std::string shellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// `scratch` holds the captured output and the defaults folder; `env` is more
// VAR=value words for env(1).
inline CliRun runTolvCli(const fs::path& scratch, const std::string& args, const std::string& env = {}) {
  const fs::path out = scratch / "stdout.txt", err = scratch / "stderr.txt";
  const std::string cmd = "env -u TOLV_HOME -u TOLV_TODAY " + env + " XDG_CONFIG_HOME=" +
                          shellQuote((scratch / "config").string()) + " " + TOLV_CLI_PATH + " " + args +
                          " </dev/null >" + shellQuote(out.string()) + " 2>" + shellQuote(err.string());
  const int raw = std::system(cmd.c_str());
  return CliRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(out), readBytes(err)};
}

}  // namespace tolv::testing
