// tolv-cli batch: the section of TOLV.INI, --at and the exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::sjLines;
using testing::TempDir;
using testing::writeBytes;

struct CliRun {
  int status;
  std::string out, err;
};

class BatchCli : public ::testing::Test {
 protected:
  CliRun runCli(const std::string& args) {
    fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    std::string cmd = "env -u TOLV_HOME XDG_CONFIG_HOME='" + (dir / "config").string() + "' " + TOLV_CLI_PATH +
                      " --home '" + (dir / "home").string() + "' --date 20020512 " + args + " </dev/null >'" +
                      out.string() + "' 2>'" + err.string() + "'";
    int raw = std::system(cmd.c_str());
    return CliRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(out), readBytes(err)};
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
