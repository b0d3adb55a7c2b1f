// Crash safety: tolv-cli killed (SIGKILL) while it rewrites the Tolv data
// files, the pending-bet file and TOLV.INI leaves each file either as it was
// or as the finished run writes it, never torn. The kill comes from the test
// hook of the atomic writer: TOLV_CRASH_AT=POINT:PATTERN, at "partial" (half
// of the new bytes in the temporary file), "rename" (the temporary file
// complete, not yet in place) or "renamed" (just put in place).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <map>

#include "core/files.h"
#include "core/pending_bet.h"
#include "core/profile.h"
#include "support/test_support.h"

extern char** environ;

namespace tolv {
namespace {

using testing::readBytes;
using testing::sjLines;
using testing::TempDir;
using testing::writeBytes;

const fs::path kSample = fs::path(TOLV_SOURCE_DIR) / "examples" / "sample-day";
constexpr const char* kDay = "20261206";

struct Outcome {
  bool killed = false;  // ended by SIGKILL
  int status = -1;      // the exit status when it exited
};

// Files of a folder whose names match a pattern, name -> bytes. Temporary
// files of the atomic writer (".NAME.tmp...") are left out.
using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& dir, std::string_view pattern) {
  Snapshot s;
  for (const auto& p : listFiles(dir, pattern)) {
    if (p.filename().string().starts_with(".")) continue;
    s[p.filename().string()] = readBytes(p);
  }
  return s;
}

class CrashSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(kSample, home(), fs::copy_options::recursive);
    fs::remove_all(home() / "expected");
    fs::create_directories(dir / "config");
  }

  fs::path home() const { return dir.path() / "home"; }

  // Runs tolv-cli on `h` (the day taken as today, so that start-up keeps the
  // day's pending bets), with the crash hook set when `crashAt` is given.
  Outcome run(const std::vector<std::string>& args, const std::string& crashAt = {}, fs::path h = {}) {
    if (h.empty()) h = home();
    std::vector<std::string> argv{TOLV_CLI_PATH, "--quiet", "--home", h.string(), "--date", kDay};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string_view v(*e);
      if (v.starts_with("TOLV_") || v.starts_with("XDG_CONFIG_HOME=")) continue;
      env.emplace_back(v);
    }
    env.push_back(std::string("TOLV_TODAY=") + kDay);
    env.push_back("XDG_CONFIG_HOME=" + (dir / "config").string());
    if (!crashAt.empty()) env.push_back("TOLV_CRASH_AT=" + crashAt);

    auto pointers = [](std::vector<std::string>& v) {
      std::vector<char*> p;
      for (auto& s : v) p.push_back(s.data());
      p.push_back(nullptr);
      return p;
    };
    auto cargv = pointers(argv);
    auto cenv = pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (dir / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (dir / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    Outcome o;
    if (posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), cenv.data()) != 0) {
      posix_spawn_file_actions_destroy(&actions);
      ADD_FAILURE() << "cannot start " << TOLV_CLI_PATH;
      return o;
    }
    posix_spawn_file_actions_destroy(&actions);
    int raw = 0;
    while (waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
    }
    o.killed = WIFSIGNALED(raw) && WTERMSIG(raw) == SIGKILL;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return o;
  }

  // The same step run to its end in a copy of the home: what it writes.
  Snapshot finished(const std::vector<std::string>& args, const std::string& folder, std::string_view pattern) {
    const fs::path twin = dir / "twin";
    fs::remove_all(twin);
    fs::copy(home(), twin, fs::copy_options::recursive);
    EXPECT_EQ(run(args, {}, twin).status, 0) << readBytes(dir / "stderr.txt");
    return snapshot(twin / folder, pattern);
  }

  // Kills the step at each point for the files matching `pattern` in
  // `folder`, then runs it to its end: every file must be the old or the new
  // one at every stage, the old one while the step has not got past the
  // point, and the new one at the end.
  void expectOldOrNew(const std::vector<std::string>& args, const std::string& folder, const std::string& pattern) {
    const Snapshot before = snapshot(home() / folder, pattern);
    const Snapshot after = finished(args, folder, pattern);
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(before.size(), after.size());
    ASSERT_NE(before, after) << "the step changes nothing: the test would show nothing";

    for (const char* point : {"partial", "rename"}) {
      SCOPED_TRACE(point);
      Outcome o = run(args, std::string(point) + ":" + pattern);
      EXPECT_TRUE(o.killed) << "the crash point was never reached";
      // The kill came at the first file: every file is still the old one.
      EXPECT_EQ(snapshot(home() / folder, pattern), before);
    }

    // Killed right after the first file was put in place: that one is new,
    // and none is torn.
    Outcome o = run(args, "renamed:" + pattern);
    EXPECT_TRUE(o.killed);
    const Snapshot mid = snapshot(home() / folder, pattern);
    ASSERT_EQ(mid.size(), before.size());
    int changed = 0;
    for (const auto& [name, bytes] : mid) {
      EXPECT_TRUE(bytes == before.at(name) || bytes == after.at(name)) << name << " is torn";
      if (bytes != before.at(name)) ++changed;
    }
    EXPECT_GE(changed, 1);

    // The leftovers of the killed runs do not disturb the next one.
    EXPECT_EQ(run(args).status, 0) << readBytes(dir / "stderr.txt");
    EXPECT_EQ(snapshot(home() / folder, pattern), after);
  }

  TempDir dir;
};

// The day's Tolv data files, rewritten by the odds import and by the hit
// marking.
TEST_F(CrashSafety, TolvDataFilesAreOldOrNew) {
  ASSERT_EQ(run({"extract"}).status, 0) << readBytes(dir / "stderr.txt");
  ASSERT_EQ(run({"create"}).status, 0) << readBytes(dir / "stderr.txt");
  {
    SCOPED_TRACE("hits");
    expectOldOrNew({"hits"}, "DATA", "W20261206_??.DAT");
  }
  {
    // The odds import with other odds: the MJH data instead of PAT98 files.
    SCOPED_TRACE("odds");
    ASSERT_TRUE(writeProfileString(home() / "TOLV.INI", "ODDS", "PAT", "4"));
    expectOldOrNew({"odds"}, "DATA", "W20261206_??.DAT");
  }
}

TEST_F(CrashSafety, PendingBetFileIsOldOrNew) {
  writeBytes(home() / "DATA" / "~B20261206.TXT",
             sjLines({"阪神,11R,馬連,03-07,  12.3,  1000円", "中山, 1R,枠連,  3-6,   4.5,   200円",
                      "中山,12R,ワイド,01-02,   2.0,   100円", "中山, 1R,馬連,01-09,  35.0,   300円"}));
  expectOldOrNew({"--answer", "ok", "bets", "sort"}, "DATA", "~B20261206.TXT");
}

TEST_F(CrashSafety, TolvIniIsOldOrNew) {
  ASSERT_EQ(run({"defaults", "save"}).status, 0) << readBytes(dir / "stderr.txt");
  // Settings changed since: restoring the defaults rewrites TOLV.INI.
  ASSERT_TRUE(writeProfileString(home() / "TOLV.INI", "ODDS", "MIN", "7"));
  ASSERT_TRUE(writeProfileString(home() / "TOLV.INI", "WARS", "OUTPUT", "3"));
  expectOldOrNew({"defaults", "restore"}, ".", "TOLV.INI");

  // A kill in the middle of writing leaves a partial temporary file beside an
  // intact TOLV.INI.
  ASSERT_TRUE(writeProfileString(home() / "TOLV.INI", "ODDS", "MIN", "8"));
  const std::string before = readBytes(home() / "TOLV.INI");
  for (const auto& p : listFiles(home(), ".TOLV.INI.tmp*")) fs::remove(p);
  EXPECT_TRUE(run({"defaults", "restore"}, "partial:tolv.ini").killed);
  EXPECT_EQ(readBytes(home() / "TOLV.INI"), before);
  const auto temps = listFiles(home(), ".TOLV.INI.tmp*");
  ASSERT_EQ(temps.size(), 1u);
  EXPECT_LT(fs::file_size(temps[0]), before.size());
}

// The history import killed before its commit leaves the database as it was:
// the day stored before keeps its figures and its import time.
TEST_F(CrashSafety, KilledHistoryImportLeavesThePreviousDatabase) {
  for (const char* step : {"extract", "create", "hits"}) ASSERT_EQ(run({step}).status, 0) << step;
  ASSERT_EQ(run({"history", "import"}).status, 0) << readBytes(dir / "stderr.txt");
  const auto list = [&] {
    EXPECT_EQ(run({"history", "list", "--format", "csv"}).status, 0);
    return readBytes(dir / "stdout.txt");
  };
  const auto figures = [&] {
    EXPECT_EQ(run({"stats", "programs", "--format", "csv"}).status, 0);
    return readBytes(dir / "stdout.txt");
  };
  const std::string listBefore = list(), figuresBefore = figures();
  ASSERT_NE(figuresBefore.find('\n'), figuresBefore.rfind('\n')) << "no figures: the test would show nothing";

  // Without its results the day would count nowhere.
  fs::remove(home() / "DATA" / (std::string("Sei") + kDay + ".DAT"));
  EXPECT_TRUE(run({"history", "import"}, "commit:history.sqlite").killed);
  EXPECT_EQ(list(), listBefore);
  EXPECT_EQ(figures(), figuresBefore);

  // The next import goes through.
  EXPECT_EQ(run({"history", "import"}).status, 0) << readBytes(dir / "stderr.txt");
  EXPECT_NE(list(), listBefore);
  EXPECT_EQ(figures(), "code,name,days,races,picks,hits,hit_rate,stake,return,roi,longest_miss,last_hit\n");
}

}  // namespace
}  // namespace tolv
