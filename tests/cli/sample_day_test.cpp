// The sample race day end to end through tolv-cli: every output must equal the
// expected files kept beside the sample, byte for byte (the version included).

#include <gtest/gtest.h>


#include "core/files.h"
#include "core/profile.h"
#include "cli/cli_runner.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::TempDir;

const fs::path kSample = fs::path(TOLV_SOURCE_DIR) / "examples" / "sample-day";

// The day itself is taken as today, so that start-up keeps its pending bets.
testing::CliRun runCliFully(const fs::path& home, const std::string& command) {
  return testing::runTolvCli(home.parent_path(),
                             "--home " + testing::shellQuote(home.string()) + " --date 20261206 " + command,
                             "TOLV_TODAY=20261206");
}
int runCli(const fs::path& home, const std::string& command) { return runCliFully(home, "--quiet " + command).status; }

class SampleDay : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(kSample, home(), fs::copy_options::recursive);
    fs::remove_all(home() / "expected");
  }
  fs::path home() const { return dir.path() / "home"; }
  TempDir dir;
};

TEST_F(SampleDay, ExtractWritesTheExpectedCutFiles) {
  ASSERT_EQ(runCli(home(), "extract"), 0);
  EXPECT_EQ(readBytes(home() / "DATA/20261206.DAT"), readBytes(kSample / "expected/20261206.DAT"));
  EXPECT_EQ(readBytes(home() / "OutPut/WARS20261206.TXT"), readBytes(kSample / "expected/WARS20261206.TXT"));
}

TEST_F(SampleDay, ScheduleFromEachRaceCardSource) {
  const std::pair<const char*, const char*> kSources[] = {
      {"3", "20261206開催.DAT"}, {"1", "20261206開催.TARGET.DAT"}, {"2", "20261206開催.KOL.DAT"}, {"0", "20261206開催.MJH.DAT"}};
  for (const auto& [flag, expected] : kSources) {
    if (!fs::exists(kSample / "expected" / expected)) continue;
    ASSERT_TRUE(writeProfileString(home() / "TOLV.INI", "FILE", "DenFlag", flag));
    ASSERT_EQ(runCli(home(), "schedule"), 0) << "DenFlag " << flag;
    EXPECT_EQ(readBytes(home() / "DATA/20261206開催.DAT"), readBytes(kSample / "expected" / expected)) << "DenFlag " << flag;
    EXPECT_TRUE(fs::is_empty(home() / "Work"));
  }
}

// The names of the files in a folder, in directory order.
std::vector<std::string> fileNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::path& p : listFiles(folder)) names.push_back(p.filename().string());
  return names;
}

// The forum's odds posts and the KOL predicted odds as PAT98 files: exactly
// the expected files, byte for byte.
TEST_F(SampleDay, ConvertersWriteTheExpectedOddsFiles) {
  ASSERT_EQ(runCli(home(), "forum-odds"), 0);
  ASSERT_EQ(runCli(home(), "convert kol98 kol/J261206.LZH --out kol"), 0);
  fs::remove(home() / "kol/J261206.LZH");
  for (const auto& [written, kept] : {std::pair<const char*, const char*>{"WarsOdds", "forum-odds"}, {"kol", "kol"}}) {
    const fs::path expected = kSample / "expected" / kept;
    ASSERT_EQ(fileNames(home() / written), fileNames(expected)) << written;
    for (const std::string& name : fileNames(expected)) {
      EXPECT_EQ(readBytes(home() / written / name), readBytes(expected / name)) << written << "/" << name;
    }
  }
}

TEST_F(SampleDay, CreateAndWarsWriteTheExpectedTolvFiles) {
  ASSERT_EQ(runCli(home(), "extract"), 0);
  ASSERT_EQ(runCli(home(), "create"), 0);
  ASSERT_EQ(runCli(home(), "wars"), 0);
  const fs::path expected = kSample / "expected" / "tolv";
  for (const char* course : {"06", "07", "09"}) {
    const std::string base = std::string("W20261206_") + course;
    EXPECT_EQ(readBytes(home() / "DATA" / (base + ".DAT")), readBytes(expected / (base + ".DAT"))) << base;
    EXPECT_EQ(readBytes(home() / "DATA" / (base + ".IDX")), readBytes(expected / (base + ".IDX"))) << base;
    EXPECT_EQ(readBytes(home() / "OutPut" / (base + ".TXT")), readBytes(expected / (base + ".TXT"))) << base;
  }
  EXPECT_EQ(readBytes(home() / "OutPut/Tolv_WARS20261206_7777.TXT"),
            readBytes(expected / "Tolv_WARS20261206_7777.TXT"));
  EXPECT_FALSE(readBytes(expected / "Tolv_WARS20261206_7777.TXT").empty());

  // The same day with the MJH data as odds source.
  ASSERT_TRUE(writeProfileString(home() / "TOLV.INI", "ODDS", "PAT", "4"));
  ASSERT_EQ(runCli(home(), "odds"), 0);
  for (const char* course : {"06", "07", "09"}) {
    const std::string name = std::string("W20261206_") + course + ".DAT";
    EXPECT_EQ(readBytes(home() / "DATA" / name), readBytes(kSample / "expected" / "tolv-mjh" / name)) << name;
  }
}

// With TARGET CSV odds and no CSV file of the day the odds import stops with
// its message: create still writes the listings but exits 1, and the batch
// reports its Tolv step as stopped with that message and goes on.
TEST_F(SampleDay, CreateReportsAnOddsImportThatStopped) {
  const std::string noCsv = "「Target」用ＣＳＶ形式オッズファイルが見つかりません！";
  ASSERT_TRUE(writeProfileString(home() / "TOLV.INI", "ODDS", "PAT", "3"));
  ASSERT_EQ(runCli(home(), "extract"), 0);
  testing::CliRun create = runCliFully(home(), "create");
  EXPECT_EQ(create.status, 1);
  EXPECT_NE(create.err.find(noCsv), std::string::npos) << create.err;
  for (const char* course : {"06", "07", "09"}) {
    EXPECT_TRUE(fs::exists(home() / "OutPut" / (std::string("W20261206_") + course + ".TXT"))) << course;
  }

  for (const auto& [key, on] : std::initializer_list<std::pair<const char*, const char*>>{
           {"WARSオッズ変換", "False"}, {"ログ読み込み", "False"}, {"トルブ作成", "True"},
           {"WARS出力", "True"}, {"ぴるね作成", "False"}, {"PAD作成", "False"}}) {
    ASSERT_TRUE(writeProfileString(home() / "TOLV.INI", "一括処理", key, on));
  }
  fs::remove(home() / "OutPut/Tolv_WARS20261206_7777.TXT");
  testing::CliRun batch = runCliFully(home(), "batch");
  EXPECT_EQ(batch.status, 1);
  EXPECT_EQ(batch.out, "トルブ作成: stopped: " + noCsv + "\nWARS出力: done\n");
  EXPECT_TRUE(fs::exists(home() / "OutPut/Tolv_WARS20261206_7777.TXT"));
}

TEST_F(SampleDay, PiruneWritesTheExpectedFiles) {
  ASSERT_EQ(runCli(home(), "extract"), 0);
  ASSERT_EQ(runCli(home(), "pirune"), 0);
  const fs::path expected = kSample / "expected" / "pirune";
  EXPECT_EQ(readBytes(home() / "DATA/HA20261206.DAT"), readBytes(expected / "HA20261206.DAT"));
  EXPECT_EQ(readBytes(home() / "OutPut/HT20261206.txt"), readBytes(expected / "HT20261206.txt"));
  EXPECT_EQ(readBytes(home() / "OutPut/HW20261206_0870.TXT"), readBytes(expected / "HW20261206_0870.TXT"));
  EXPECT_FALSE(readBytes(expected / "HW20261206_0870.TXT").empty());
}

// The whole day as `make demo` runs it: the batch, pending bets from two grids
// and the WARS file, merged, sorted and exported, then the hits.
TEST_F(SampleDay, BatchBetsAndHitsWriteTheExpectedFiles) {
  ASSERT_EQ(runCli(home(), "--answer ok batch"), 0);
  const fs::path tolv = kSample / "expected" / "tolv";
  EXPECT_EQ(readBytes(home() / "DATA/W20261206_06.DAT"), readBytes(tolv / "W20261206_06.DAT"));
  EXPECT_EQ(readBytes(home() / "OutPut/Tolv_WARS20261206_7777.TXT"),
            readBytes(tolv / "Tolv_WARS20261206_7777.TXT"));
  EXPECT_EQ(readBytes(home() / "OutPut/HW20261206_0870.TXT"), readBytes(kSample / "expected/pirune/HW20261206_0870.TXT"));

  for (const char* step : {"bets send 中山 --rows 1,2,3", "--answer append bets send 阪神 --wide --rows 1,2",
                           "--answer append bets send-wars tolv", "--answer ok bets merge", "--answer ok bets sort",
                           "--answer no bets export patbet", "--answer no bets export betauto",
                           "bets export bakenjuku", "hits", "show tolv-wars"}) {
    ASSERT_EQ(runCli(home(), step), 0) << step;
  }
  const fs::path expected = kSample / "expected" / "race-day";
  const std::pair<const char*, const char*> kFiles[] = {
      {"wPAD.TXT", "wPAD.TXT"},
      {"DATA/~B20261206.TXT", "~B20261206.TXT"},
      {"OutPut/261206_1.BET", "261206_1.BET"},
      {"OutPut/261206_5.BET", "261206_5.BET"},
      {"OutPut/20261206.lst", "20261206.lst"},
      {"OutPut/馬券塾20261206.TXT", "馬券塾20261206.TXT"},
      {"DATA/Sei20261206.DAT", "Sei20261206.DAT"},
      {"DATA/W20261206_06.DAT", "W20261206_06.DAT"},
      {"DATA/W20261206_07.DAT", "W20261206_07.DAT"},
      {"DATA/W20261206_09.DAT", "W20261206_09.DAT"},
      {"OutPut/Tolv_WARS20261206_7777.TXTS", "Tolv_WARS20261206_7777.TXTS"},
  };
  for (const auto& [written, kept] : kFiles) {
    ASSERT_TRUE(fs::exists(home() / written)) << written;
    EXPECT_EQ(readBytes(home() / written), readBytes(expected / kept)) << written;
  }
  EXPECT_FALSE(fs::exists(home() / "OutPut/261206_6.BET"));
}

}  // namespace
}  // namespace tolv
