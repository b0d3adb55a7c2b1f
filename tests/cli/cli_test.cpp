// tolv-cli as scripts use it: options, exit status, messages on stderr.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/startup.h"
#include "cli/cli_runner.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::CliRun;
using testing::readBytes;
using testing::runTolvCli;
using testing::shellQuote;
using testing::sjLines;
using testing::TempDir;
using testing::writeBytes;

CliRun runCli(const TempDir& dir, const std::string& args) { return runTolvCli(dir.path(), args); }

class CliTest : public ::testing::Test {
 protected:
  fs::path home() const { return dir / "home"; }
  std::string homeArg() const { return "--home " + testing::shellQuote(home().string()); }
  TempDir dir;
};

TEST_F(CliTest, VersionHelpAndUsage) {
  CliRun v = runCli(dir, "--version");
  EXPECT_EQ(v.status, 0);
  // The version, then build details if any: "tolv-cli 4.16.1 (git 4f90451)".
  EXPECT_TRUE(v.out == "tolv-cli 4.16.1\n" || v.out.rfind("tolv-cli 4.16.1 (git ", 0) == 0) << v.out;

  CliRun help = runCli(dir, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("extract"), std::string::npos);
  EXPECT_NE(help.out.find("--answer"), std::string::npos);
  EXPECT_EQ(runCli(dir, "extract --help").status, 0);

  EXPECT_EQ(runCli(dir, homeArg() + " --date 20020230 extract").status, 2);
  EXPECT_EQ(runCli(dir, homeArg() + " --date 2002051 extract").status, 2);
  EXPECT_EQ(runCli(dir, homeArg() + " --odds 100 extract").status, 2);
  EXPECT_EQ(runCli(dir, homeArg() + " --answer maybe extract").status, 2);
  EXPECT_EQ(runCli(dir, homeArg() + " no-such-command").status, 2);
  EXPECT_EQ(runCli(dir, homeArg()).status, 2);
}

TEST_F(CliTest, ExtractCreatesTheHomeAndReportsMissingLogs) {
  CliRun r = runCli(dir, homeArg() + " --date 20020512 extract");
  EXPECT_EQ(r.status, 1);
  // The first log is ticked when none is, and its path is empty.
  EXPECT_EQ(r.err, "予想ファイル（1）が存在しません！\n（ファイル名が設定されていません）\n再度設定してください。\n");
  for (const char* sub : {"DATA", "OutPut", "Work", "WarsOdds"}) EXPECT_TRUE(fs::is_directory(home() / sub)) << sub;
}

TEST_F(CliTest, ExtractWritesTheDaysFiles) {
  writeBytes(home() / "TOLV.INI", sjLines({"[FILE]", "LogFile1=logs\\FH%M1%D1.LOG", "LogFflag1=True", "CutFileSty=0"}));
  writeBytes(home() / "logs/fh0512.log",
             sjLines({"東京 2002年  2回  6日目  5月12日(日) [0870]", "-----", " 1R     01-02", ""}));
  CliRun r = runCli(dir, homeArg() + " --date 20020512 extract");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("cut index:"), std::string::npos);
  EXPECT_EQ(readBytes(home() / "DATA/20020512.DAT").size(), 40u);
  EXPECT_FALSE(readBytes(home() / "WARS20020512.TXT").empty());

  // Nothing for another day: status 1 with the message.
  CliRun none = runCli(dir, homeArg() + " --quiet --date 20020519 extract");
  EXPECT_EQ(none.status, 1);
  // The message names the log looked for.
  EXPECT_EQ(none.err, "予想ファイル（1）が存在しません！\n" + (home() / "logs/FH0519.LOG").string() + "\n再度設定してください。\n");
  writeBytes(home() / "logs/fh0519.log", sjLines({"chatter"}));
  none = runCli(dir, homeArg() + " --quiet --date 20020519 extract");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "予想は見つかりませんでした。開催日の設定を確認してください。\n");
  EXPECT_EQ(none.out, "");
}

// A home in use has its own status (3); --wait waits for it; a home that is
// no folder says so.
TEST_F(CliTest, ASecondInstanceIsRefused) {
  fs::create_directories(home());
  auto lock = InstanceLock::acquire(home());
  ASSERT_TRUE(lock);
  CliRun r = runCli(dir, homeArg() + " --date 20020512 extract");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("is in use by another tolv or tolv-cli"), std::string::npos) << r.err;
  EXPECT_EQ(runCli(dir, homeArg() + " --wait 0 --date 20020512 extract").status, 3);
  EXPECT_EQ(runCli(dir, homeArg() + " --wait soon extract").status, 2);

  // Released while the run waits: it runs (and stops at the missing log).
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    lock.reset();
  });
  CliRun waited = runCli(dir, homeArg() + " --wait 600 --date 20020512 extract");
  release.join();
  EXPECT_EQ(waited.status, 1) << waited.err;
  EXPECT_EQ(waited.err.find("in use"), std::string::npos) << waited.err;

  const fs::path file = dir / "a-file";
  writeBytes(file, "x");
  CliRun notFolder = runCli(dir, "--home " + shellQuote(file.string()) + " extract");
  EXPECT_EQ(notFolder.status, 1);
  EXPECT_NE(notFolder.err.find("is not a folder"), std::string::npos) << notFolder.err;
}

// A TOLV.INI that cannot be read stops every command with its name.
TEST_F(CliTest, AnUnreadableSettingsFileIsNamed) {
  fs::create_directories(home() / "TOLV.INI");
  CliRun r = runCli(dir, homeArg() + " settings");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find((home() / "TOLV.INI").string()), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace tolv

namespace tolv {
namespace {

TEST_F(CliTest, SettingsAndDefaultsRoundTrip) {
  writeBytes(home() / "TOLV.INI", sjLines({"; my settings", "[BET]", "馬連 = 250", "[WARS]", "CODE=1234", "[ODDS]", "MIN=500"}));
  CliRun shown = runCli(dir, homeArg() + " settings");
  EXPECT_EQ(shown.status, 0);
  EXPECT_NE(shown.out.find("[BET] 馬連=200 *\n"), std::string::npos);
  EXPECT_NE(shown.out.find("[ODDS] MIN=500\n"), std::string::npos);

  ASSERT_EQ(runCli(dir, homeArg() + " defaults save").status, 0);
  EXPECT_TRUE(fs::exists(dir / "config/tolv/defaults.ini"));
  writeBytes(home() / "TOLV.INI", sjLines({"; my settings", "[BET]", "馬連=1000", "[WARS]", "CODE=9999", "[ODDS]", "MIN=500"}));
  ASSERT_EQ(runCli(dir, homeArg() + " defaults restore").status, 0);
  std::string ini = readBytes(home() / "TOLV.INI");
  EXPECT_EQ(ini.rfind(testing::sj("; my settings\r\n[BET]\r\n馬連=200\r\n"), 0), 0u) << ini;
  EXPECT_NE(ini.find("CODE=1234\r\n"), std::string::npos);
  // MIN is not kept in the defaults: restoring gives its load default.
  EXPECT_NE(ini.find("MIN=100\r\n"), std::string::npos);
  EXPECT_EQ(runCli(dir, homeArg() + " defaults frobnicate").status, 2);
}

}  // namespace
}  // namespace tolv

namespace tolv {
namespace {

// Messages that name what really happened: a pending-bet file that is there
// but cannot be read is not "missing"; the MJH card (DenFlag 0) is looked
// for in PATFolder, and the message names that folder.
TEST_F(CliTest, MessagesNameWhatReallyFailed) {
  fs::create_directories(home() / "DATA" / "~B20020512.TXT");
  CliRun bets = runCli(dir, homeArg() + " --date 20020512 show bets");
  EXPECT_EQ(bets.status, 1);
  EXPECT_NE(bets.err.find("~B20020512.TXT」を読み込めません"), std::string::npos) << bets.err;
  EXPECT_EQ(bets.err.find("ありません"), std::string::npos) << bets.err;

  writeBytes(home() / "TOLV.INI", sjLines({"[FILE]", "DenFlag=0", "DenFileFolder=cards/", "[ODDS]", "PATFolder=mjh/"}));
  fs::create_directories(home() / "cards");
  fs::create_directories(home() / "mjh");
  CliRun schedule = runCli(dir, homeArg() + " --date 20020512 schedule");
  EXPECT_EQ(schedule.status, 1);
  EXPECT_NE(schedule.err.find((home() / "mjh").string()), std::string::npos) << schedule.err;
  EXPECT_EQ(schedule.err.find((home() / "cards").string()), std::string::npos) << schedule.err;
}

TEST_F(CliTest, TolvCommandsWithoutTheirFiles) {
  CliRun create = runCli(dir, homeArg() + " --date 20020512 create");
  EXPECT_EQ(create.status, 1);
  EXPECT_EQ(create.err, "【トルブ】エラーメッセージ\n『ログの読み込み』が実行されていません！\n");
  CliRun wars = runCli(dir, homeArg() + " --date 20020512 wars");
  EXPECT_EQ(wars.status, 1);
  EXPECT_EQ(wars.err, "【トルブ】WARS形式出力エラー\n「トルブ」ファイルが見つかりません！\n先に［トルブ作成］を実行してください…\n");
  for (const char* command : {"odds", "text"}) {
    CliRun r = runCli(dir, homeArg() + " --date 20020512 " + command);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.err.find("no Tolv data files for 20020512"), std::string::npos) << command;
  }
}

TEST_F(CliTest, CreateTakesTheRangesOfTheRun) {
  writeBytes(home() / "TOLV.INI", sjLines({"[FILE]", "LogFile1=log.txt", "LogFflag1=True", "CutFileSty=2", "[ODDS]",
                                           "MIN=100", "[OTHER]", "MinW=5"}));
  writeBytes(home() / "log.txt", sjLines({"東京 2002年  2回  6日目  5月12日(日) [0870]", "-----", " 1R     01-02 03-04", "",
                                          "東京 2002年  2回  6日目  5月12日(日) [0871]", "-----", " 1R     01-02", ""}));
  ASSERT_EQ(runCli(dir, homeArg() + " -q --date 20020512 extract").status, 0);
  // No odds on hand: with the run's odds range from 0 the picks are listed.
  ASSERT_EQ(runCli(dir, homeArg() + " -q --date 20020512 --odds 0-9999 --votes 1-999 create").status, 0);
  std::string listing = readBytes(home() / "OutPut/W20020512_05.TXT");
  EXPECT_NE(listing.find(testing::sj(" < 2ｿﾌﾄ>01-02[     ]:[0870]/[0871]")), std::string::npos);
  EXPECT_NE(listing.find(testing::sj(" < 1ｿﾌﾄ>03-04")), std::string::npos);
  // TOLV.INI keeps its own ranges.
  EXPECT_NE(readBytes(home() / "TOLV.INI").find("MIN=100"), std::string::npos);
  // With TOLV.INI's ranges nothing passes: the listing has no race heading.
  ASSERT_EQ(runCli(dir, homeArg() + " -q --date 20020512 text").status, 0);
  EXPECT_EQ(readBytes(home() / "OutPut/W20020512_05.TXT").find(testing::sj("【　１Ｒ】")), std::string::npos);
}

}  // namespace
}  // namespace tolv
