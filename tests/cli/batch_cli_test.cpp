// tolv-cli batch: the section of TOLV.INI, --at and the exit status.

#include <gtest/gtest.h>


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

class BatchCli : public ::testing::Test {
 protected:
  CliRun runCli(const std::string& args) {
    return runTolvCli(dir.path(), "--home " + shellQuote((dir / "home").string()) + " --date 20020512 " + args);
  }
  void chooseOnly(const std::string& key) {
    std::vector<std::string> lines{"[一括処理]"};
    for (const char* k : {"WARSオッズ変換", "ログ読み込み", "トルブ作成", "WARS出力", "ぴるね作成", "PAD作成"}) {
      lines.push_back(std::string(k) + "=" + (key == k ? "True" : "False"));
    }
    writeBytes(dir / "home" / "TOLV.INI", sjLines(lines));
  }
  TempDir dir;
};

TEST_F(BatchCli, TimeIsCheckedAndAPassedTimeStartsAtOnce) {
  CliRun bad = runCli("batch --at 12:60:00");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("分（mm）は ００～５９ の範囲で記載してください！"), std::string::npos) << bad.err;
  EXPECT_EQ(bad.out, "");

  chooseOnly("");  // every step off
  EXPECT_EQ(runCli("batch --at 00:00:00").status, 0);
  EXPECT_EQ(runCli("batch").status, 0);
}

TEST_F(BatchCli, StopsWithoutMeetingAndSkipsForumOddsUnlessChosenSource) {
  chooseOnly("WARS出力");
  CliRun r = runCli("batch");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("【トルブ】一括処理エラー"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("開催場所が把握出来なかったため一括処理を中止しました！"), std::string::npos) << r.err;

  // The odds source of a fresh home is not "2": the forum-odds step stays off.
  chooseOnly("WARSオッズ変換");
  r = runCli("batch");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace tolv
