// The sample race day end to end through tolv-cli: every output must equal the
// expected files kept beside the sample.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "core/files.h"
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

// The text of a listing or WARS file with the program's version cut from the
// banner lines (the revision changes with every commit).
std::vector<std::string> withoutVersion(const fs::path& p) {
  auto lines = readTextLines(p);
  std::vector<std::string> out = lines ? *lines : std::vector<std::string>{};
  for (auto& line : out) {
    std::size_t at = line.find("Ver4.16.");
    if (at != std::string::npos) line.resize(at);
  }
  return out;
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
    EXPECT_EQ(withoutVersion(home() / "OutPut" / (base + ".TXT")), withoutVersion(expected / (base + ".TXT"))) << base;
  }
  EXPECT_EQ(withoutVersion(home() / "OutPut/Tolv_WARS20261206_7777.TXT"),
            withoutVersion(expected / "Tolv_WARS20261206_7777.TXT"));
  EXPECT_FALSE(withoutVersion(expected / "Tolv_WARS20261206_7777.TXT").empty());

  // The same day with the MJH data as odds source.
  ASSERT_TRUE(writeProfileString(home() / "TOLV.INI", "ODDS", "PAT", "4"));
  ASSERT_EQ(runCli(home(), "odds"), 0);
  for (const char* course : {"06", "07", "09"}) {
    const std::string name = std::string("W20261206_") + course + ".DAT";
    EXPECT_EQ(readBytes(home() / "DATA" / name), readBytes(kSample / "expected" / "tolv-mjh" / name)) << name;
  }
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

}  // namespace
}  // namespace tolv
