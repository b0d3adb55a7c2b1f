// The sample race day end to end through tolv-cli: every output must equal the
// expected files kept beside the sample.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "core/profile.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::TempDir;

const fs::path kSample = fs::path(TOLV_SOURCE_DIR) / "examples" / "sample-day";

int runCli(const fs::path& home, const std::string& command) {
  std::string cmd = std::string("env -u TOLV_HOME ") + TOLV_CLI_PATH + " --quiet --home '" + home.string() +
                    "' --date 20261206 " + command + " </dev/null >/dev/null 2>&1";
  int raw = std::system(cmd.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

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

}  // namespace
}  // namespace tolv
