// tolv-cli bets: the pending-bet maintenance, summary and exports as scripts use them.

#include <gtest/gtest.h>

#include <ctime>

#include "core/pending_bet.h"
#include "core/tolv_record.h"
#include "cli/cli_runner.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::CliRun;
using testing::readBytes;
using testing::runTolvCli;
using testing::shellQuote;
using testing::sj;
using testing::sjLines;
using testing::TempDir;
using testing::writeBytes;

// Start-up purges pending-bet files of more than a week back, so the tests
// work on today's date.
std::string today() {
  std::time_t t = std::time(nullptr);
  char buf[16];
  std::strftime(buf, sizeof buf, "%Y%m%d", std::localtime(&t));
  return buf;
}

class BetsCli : public ::testing::Test {
 protected:
  const std::string day = today();
  fs::path home() const { return dir / "home"; }
  fs::path betsFile() const { return home() / "DATA" / ("~B" + day + ".TXT"); }
  CliRun run(const std::string& args, const std::string& env = {}) {
    return runTolvCli(dir.path(), "--home " + shellQuote(home().string()) + " --date " + day + " " + args, env);
  }
  void writeBets(const std::vector<std::string>& lines) {
    fs::create_directories(betsFile().parent_path());
    writeBytes(betsFile(), sjLines(lines));
  }
  TempDir dir;
};

TEST_F(BetsCli, WithoutAPendingBetFileEveryCommandFails) {
  for (const char* c : {"bets summary", "bets dedupe", "bets merge", "bets sort", "bets export patbet",
                        "bets export betauto", "bets export bakenjuku"}) {
    CliRun r = run(std::string("--answer ok ") + c);
    EXPECT_EQ(r.status, 1) << c;
    EXPECT_NE(r.err.find("保留ＢＥＴ"), std::string::npos) << c;
  }
  EXPECT_EQ(run("bets").status, 2);
  EXPECT_EQ(run("bets export frob").status, 2);
}

// Start-up purges pending-bet files more than a week old; TOLV_TODAY replays a
// past day so that its pending bets are still there.
TEST_F(BetsCli, TolvTodayDecidesWhatStartUpPurges) {
  const fs::path old = home() / "DATA" / "~B20261101.TXT";
  fs::create_directories(old.parent_path());
  writeBytes(old, sjLines({"東京,11R,馬連,02-05,,1000円"}));
  EXPECT_EQ(run("bets summary", "TOLV_TODAY=20261103").status, 1);  // another day's file: none for `day`
  EXPECT_TRUE(fs::exists(old));
  EXPECT_EQ(run("bets summary", "TOLV_TODAY=2026-11-03").status, 2);
  EXPECT_TRUE(fs::exists(old));
  run("bets summary");
  EXPECT_FALSE(fs::exists(old));
}

TEST_F(BetsCli, SummaryPrintsHeadingBucketsAndTotal) {
  writeBets({"東京,11R,馬連    ,02-05,  12.3,  1000円", "東京,11R,馬連    ,03-05,   8.0,  1000円",
             "東京,11R,ワイド   ,02-05,   3.0,   500円"});
  CliRun r = run("bets summary");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::size_t eol = r.out.find('\n');
  ASSERT_NE(eol, std::string::npos);
  EXPECT_NE(r.out.substr(0, eol).find("の保留ＢＥＴ内訳です…"), std::string::npos);
  EXPECT_EQ(r.out.substr(eol + 1),
            "単　勝\t 0\t0\n複　勝\t 0\t0\n枠　連\t 0\t0\n馬　連\t 2\t2,000\nワイド\t 1\t500\n"
            "合計\t 3\t2,500円\n");
}

TEST_F(BetsCli, DedupeAndSortRewriteOnlyOnOk) {
  writeBets({"東京,11R,馬連,03-05,,1000円", "東京,11R,馬連,02-05,,1000円", "東京,11R,馬連,03-05,,500円"});
  const std::string before = readBytes(betsFile());
  EXPECT_EQ(run("--answer cancel bets dedupe").status, 0);
  EXPECT_EQ(readBytes(betsFile()), before);
  ASSERT_EQ(run("--answer ok bets merge").status, 0);
  ASSERT_EQ(run("--answer ok bets sort").status, 0);
  const std::string after = readBytes(betsFile());
  EXPECT_NE(after.find(sj("02-05")), std::string::npos);
  EXPECT_LT(after.find(sj("02-05")), after.find(sj("03-05")));
  EXPECT_NE(after.find(sj("1500円")), std::string::npos);
  // Nothing left to remove is still a finished step.
  EXPECT_EQ(run("--answer ok bets dedupe").status, 0);
}

// Bet Auto asks twice (overwrite the list file? delete the pending bets?):
// repeated --answer values go to the questions in turn, the last one to
// every later question that has it as a button.
TEST_F(BetsCli, RepeatedAnswersGoToTheQuestionsInTurn) {
  writeBets({"東京,11R,馬連,02-05,,1000円"});
  ASSERT_EQ(run("--answer no bets export betauto").status, 0);
  const fs::path list = home() / "OutPut" / (day + ".lst");
  ASSERT_TRUE(fs::exists(list));
  EXPECT_TRUE(fs::exists(betsFile()));

  CliRun r = run("--answer overwrite --answer no bets export betauto");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("→ はい (--answer)"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("→ いいえ (--answer)"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(betsFile()));

  // One answer still answers everything, and a single value after the
  // command's options is not taken for a second answer.
  ASSERT_EQ(run("--answer yes bets export betauto").status, 0);
  EXPECT_FALSE(fs::exists(betsFile()));
}

// A reused answer answers only a question that has it as a button: an
// "overwrite" given for Bet Auto's list file, or an "ok", never deletes the
// day's pending bets.
TEST_F(BetsCli, AnAnswerNeverDeletesThePendingBetsItWasNotMeantFor) {
  writeBets({"東京,11R,馬連,02-05,,1000円"});
  ASSERT_EQ(run("--answer no bets export betauto").status, 0);  // the list file now exists

  CliRun over = run("--answer overwrite bets export betauto");
  ASSERT_EQ(over.status, 0) << over.err;
  EXPECT_NE(over.err.find("→ はい (--answer)"), std::string::npos) << over.err;
  EXPECT_NE(over.err.find("→ いいえ (--answer overwrite does not answer this question"), std::string::npos)
      << over.err;
  EXPECT_TRUE(fs::exists(betsFile()));

  for (const char* c : {"--answer ok bets export patbet", "--answer ok bets export betauto",
                        "--answer append bets export betauto", "--answer ok --answer ok bets export patbet"}) {
    CliRun r = run(c);
    ASSERT_EQ(r.status, 0) << c << r.err;
    EXPECT_TRUE(fs::exists(betsFile())) << c;
  }

  ASSERT_EQ(run("--answer yes bets export patbet").status, 0);
  EXPECT_FALSE(fs::exists(betsFile()));
}

TEST_F(BetsCli, BakenjukuToTheClipboardAndToAFile) {
  writeBets({"東京,11R,馬連,02-05,,1000円"});
  CliRun clip = run("--answer no bets export bakenjuku --wide --clipboard");
  ASSERT_EQ(clip.status, 0) << clip.err;
  EXPECT_EQ(clip.out.substr(0, 2), "\r\n");
  EXPECT_NE(clip.out.find(",ワ,"), std::string::npos);
  EXPECT_EQ(clip.out.find(",馬,"), std::string::npos);
  CliRun file = run("--answer no bets export bakenjuku");
  ASSERT_EQ(file.status, 0) << file.err;
  EXPECT_TRUE(fs::exists(home() / "OutPut" / ("馬券塾" + day + ".TXT")));
}

TEST_F(BetsCli, ShowPrintsTheViewersTextInUtf8) {
  CliRun missing = run("show bets");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("指定された日付の「保留ＢＥＴ」ファイルは存在しません！"), std::string::npos);
  CliRun wars = run("show tolv-wars");
  EXPECT_EQ(wars.status, 1);
  EXPECT_NE(wars.err.find("」は存在しません！"), std::string::npos);
  EXPECT_EQ(run("show frob").status, 2);

  writeBets({"東京,11R,馬連,02-05,,1000円"});
  CliRun shown = run("show bets");
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.out, "東京,11R,馬連,02-05,,1000円\r\n");
}

TolvRecord pickRecord(const std::string& key, const std::string& pick, const std::string& odds) {
  TolvRecord r;
  r.raceKey = key;
  r.pick = pick;
  r.odds = odds;
  r.shareCount = 3;
  return r;
}

TEST_F(BetsCli, SendTakesTheGridsRows) {
  EXPECT_EQ(run("bets send 05 --rows all").status, 1);  // no data file
  ASSERT_TRUE(writeTolvFile(home() / "DATA" / ("W" + day + "_05.DAT"),
                            {pickRecord("0501", "05-02", " 150.0"), pickRecord("0501", "01-02", "  12.0"),
                             pickRecord("0502", "   36", " 200.0")}));
  CliRun none = run("bets send 05");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("買い目が選択されていません！"), std::string::npos);
  EXPECT_EQ(run("bets send 05 --rows 3").status, 2);  // only two rows pass the odds range
  EXPECT_EQ(run("bets send 大井 --rows 1").status, 2);

  ASSERT_EQ(run("bets send 東京 --rows 2").status, 0);
  auto bets = readPendingBets(betsFile());
  ASSERT_EQ(bets.size(), 1u);
  EXPECT_EQ(bets[0].pick, "3-6");
  EXPECT_EQ(bets[0].type, "枠連");

  ASSERT_EQ(run("--answer overwrite bets send 05 --wide --rows all").status, 0);
  bets = readPendingBets(betsFile());
  ASSERT_EQ(bets.size(), 2u);
  EXPECT_EQ(bets[0].type, "ワイド");
  EXPECT_EQ(bets[0].pick, "05-02");
  EXPECT_EQ(bets[0].race, "1R");
}

TEST_F(BetsCli, SendWarsNeedsTheFile) {
  CliRun r = run("bets send-wars tolv");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("」は存在しません！"), std::string::npos);
  EXPECT_EQ(run("bets send-wars frob").status, 2);
}

}  // namespace
}  // namespace tolv
