// The sample season day by day through tolv-cli in one home, as a user runs
// it: every day must give its cut index, Tolv data files, Pirune selection
// and hits, and over the season the good programs must stand apart from the
// bad ones (the history commands and their tests rely on both).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::TempDir;

const fs::path kSeason = fs::path(TOLV_SOURCE_DIR) / "examples" / "sample-season";

// The processing days: one JRA-VAN race card archive DByymmdd.LZH a day.
std::vector<std::string> seasonDays() {
  std::vector<std::string> days;
  for (const auto& entry : fs::directory_iterator(kSeason / "cards")) {
    const std::string name = entry.path().filename().string();
    if (name.size() == 12 && name.starts_with("DB") && name.ends_with(".LZH")) days.push_back("20" + name.substr(2, 6));
  }
  std::sort(days.begin(), days.end());
  return days;
}

struct Figures {
  int picks = 0, hits = 0;
  long back = 0;  // yen paid on the hits, for 100 yen a pick
  double roi() const { return picks ? back / (100.0 * picks) : 0; }
};

int int16At(const std::string& rec, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(rec[at]) | static_cast<unsigned char>(rec[at + 1]) << 8);
}

// Adds the picks of a Tolv data file to the figures of the programs that
// posted them; returns the number of records marked as hits.
int countTolvFile(const fs::path& file, std::map<int, Figures>& figures) {
  const std::string data = readBytes(file);
  EXPECT_EQ(data.size() % 167, 0u) << file;
  int hits = 0;
  for (std::size_t at = 0; at + 167 <= data.size(); at += 167) {
    const std::string rec = data.substr(at, 167);
    const bool hit = int16At(rec, 151) == -1;
    const long pays = hit ? std::stol(rec.substr(153, 6)) : 0;
    hits += hit;
    const int share = std::min(int16At(rec, 21), 63);
    for (int slot = 0; slot < share; ++slot) {
      Figures& f = figures[int16At(rec, 23 + 2 * slot)];
      ++f.picks;
      f.hits += hit;
      f.back += pays;
    }
  }
  return hits;
}

TEST(SampleSeason, EveryDayGivesItsCutIndexTolvFilesAndHits) {
  const std::vector<std::string> days = seasonDays();
  ASSERT_GE(days.size(), 8u);
  TempDir dir;
  const fs::path home = dir.path() / "home";
  fs::copy(kSeason, home, fs::copy_options::recursive);

  std::map<int, Figures> figures;
  for (const std::string& day : days) {
    SCOPED_TRACE(day);
    for (const char* step : {"--answer ok batch", "hits"}) {
      const auto run = testing::runTolvCli(
          dir.path(), "--quiet --home " + testing::shellQuote(home.string()) + " --date " + day + " " + step,
          "TOLV_TODAY=" + day);
      ASSERT_EQ(run.status, 0) << step << "\n" << run.err;
    }
    const std::string index = readBytes(home / "DATA" / (day + ".DAT"));
    ASSERT_FALSE(index.empty());
    EXPECT_EQ(index.size() % 40, 0u);
    std::set<std::string> programs;
    for (std::size_t at = 0; at + 40 <= index.size(); at += 40) programs.insert(index.substr(at + 2, 4));
    EXPECT_GE(programs.size(), 12u);

    EXPECT_EQ(readBytes(home / "DATA" / ("Sei" + day + ".DAT")).size(), 36u * 110u);
    EXPECT_FALSE(readBytes(home / "DATA" / ("HA" + day + ".DAT")).empty());
    int hits = 0;
    for (const char* course : {"06", "07", "09"}) {
      const fs::path file = home / "DATA" / ("W" + day + "_" + course + ".DAT");
      ASSERT_TRUE(fs::exists(file)) << file;
      hits += countTolvFile(file, figures);
    }
    // 36 races, each with a winning quinella and bracket quinella that
    // several programs picked
    EXPECT_GE(hits, 30);
  }

  // Over the season the programs differ clearly: the good ones return more
  // than they stake, those that follow the odds less, the bad ones little.
  const int kGood[] = {311, 1520, 4410, 5102, 8040};
  const int kFollowers[] = {2048, 3001, 3017, 3120, 3388, 3501, 3642, 3789};
  const int kBad[] = {6660, 6913, 8125};
  ASSERT_EQ(figures.size(), 16u);
  for (int code : kGood) {
    EXPECT_GT(figures[code].roi(), 1.2) << code;
  }
  for (int code : kFollowers) {
    EXPECT_GT(figures[code].roi(), 0.5) << code;
    EXPECT_LT(figures[code].roi(), 1.0) << code;
  }
  for (int code : kBad) {
    EXPECT_LT(figures[code].roi(), 0.4) << code;
    EXPECT_LT(figures[code].hits * 2, figures[3001].hits) << code;
  }
}

}  // namespace
}  // namespace tolv
