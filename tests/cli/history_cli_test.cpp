// tolv-cli history, stats and backtest as scripts use them, and the backtest
// against the day's pipeline: on every stored day its picks are the ones
// `bets send COURSE --rows all` (--wide) sends, its hits the ones `hits` marks.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "cli/cli_runner.h"
#include "core/codes.h"
#include "core/pending_bet.h"
#include "core/startup.h"
#include "core/text.h"
#include "history/backtest.h"
#include "output/result_grid.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

std::vector<std::string> splitFields(const std::string& line, char sep) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == sep) {
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  return out;
}

const fs::path kExamples = fs::path(TOLV_SOURCE_DIR) / "examples";

// A home of race days and the days to run through the pipeline, one after
// another. The sample season, where present, is one more such home.
struct RaceDays {
  fs::path sample;
  std::vector<std::string> days;
};

std::vector<RaceDays> pipelineHomes() {
  std::vector<RaceDays> homes{{kExamples / "sample-day", {"20261206"}}};
  // The season's days are the days of its race cards' meeting schedule files
  // processed in turn; its README lists them in DAYS, one yyyymmdd a line.
  const fs::path season = kExamples / "sample-season";
  if (auto lines = readTextLines(season / "DAYS")) {
    RaceDays s{season, {}};
    for (const std::string& l : *lines) {
      if (trim(l).size() == 8) s.days.push_back(trim(l));
    }
    if (!s.days.empty()) homes.push_back(std::move(s));
  }
  return homes;
}

class HistoryCli : public ::testing::Test {
 public:
  testing::CliRun cli(const std::string& args, const std::string& day = "20261206") {
    return testing::runTolvCli(dir.path(),
                               "--quiet --home " + testing::shellQuote(home().string()) + " --date " + day + " " + args,
                               "TOLV_TODAY=" + day);
  }
 protected:
  void copyHome(const fs::path& sample) {
    fs::remove_all(home());
    fs::copy(sample, home(), fs::copy_options::recursive);
    fs::remove_all(home() / "expected");
  }
  void runDay(const std::string& day) {
    for (const char* step : {"extract", "create", "hits", "pirune", "history import"}) {
      const auto r = cli(step, day);
      ASSERT_EQ(r.status, 0) << step << " " << day << "\n" << r.err;
    }
  }
  fs::path home() const { return dir.path() / "home"; }

 private:
  TempDir dir;
};

// What the grid of each course sends with every row selected, for one bet type.
std::vector<PendingBetEntry> sentByGrid(HistoryCli& t, Session& s, const std::string& day, HistoryBet bet,
                                        const std::string& ranges) {
  std::vector<PendingBetEntry> sent;
  for (const std::string& course : gridCourseCodes(s)) {
    fs::remove(pendingBetPath(s));
    const auto r = t.cli(ranges + " bets send " + course + " --rows all" + (bet == HistoryBet::Wide ? " --wide" : ""), day);
    if (r.status != 0) continue;  // no row in range
    for (PendingBetEntry& e : readPendingBets(pendingBetPath(s))) {
      const BetKind kind = betKindOf(e.type);
      if ((bet == HistoryBet::Bracket) == (kind == BetKind::Bracket)) sent.push_back(std::move(e));
    }
  }
  return sent;
}

// Every stored day of the sample day and the sample season, replayed once:
// the backtest's picks and hits are those of the grid and of `hits`, and its
// Pirune picks those of the day's ぴるね file.
TEST_F(HistoryCli, BacktestEqualsThePipeline) {
  for (const RaceDays& homeDays : pipelineHomes()) {
    copyHome(homeDays.sample);
    for (const std::string& day : homeDays.days) runDay(day);
    auto db = HistoryDb::open(home() / "history.sqlite", HistoryDb::Mode::ReadOnly);
    ASSERT_TRUE(db);
    for (const std::string& day : homeDays.days) {
      auto session = Session::create(home());
      ASSERT_TRUE(session);
      session->loadSettings();
      session->setMeetingDate(day);
      // The ranges of TOLV.INI, and narrower ones given on the command line.
      for (const auto& [odds, votes] : std::vector<std::pair<std::string, std::string>>{{"", ""}, {"5-80", "2-30"}}) {
        BacktestQuery q;
        q.oddsMin = session->settings.oddsMin;
        q.oddsMax = session->settings.oddsMax;
        q.votesMin = session->settings.minW;
        q.votesMax = session->settings.maxW;
        std::string ranges;
        if (!odds.empty()) {
          ranges = "--odds " + odds + " --votes " + votes;
          q.oddsMin = odds.substr(0, odds.find('-'));
          q.oddsMax = odds.substr(odds.find('-') + 1);
          q.votesMin = votes.substr(0, votes.find('-'));
          q.votesMax = votes.substr(votes.find('-') + 1);
        }
        for (HistoryBet bet : {HistoryBet::Quinella, HistoryBet::Wide, HistoryBet::Bracket}) {
          SCOPED_TRACE(day + " " + std::string(historyBetName(bet)) + " " + ranges);
          q.bet = bet;
          const std::vector<BacktestPick> picks = backtestDayPicks(*db, day, q);
          const std::vector<PendingBetEntry> sent = sentByGrid(*this, *session, day, bet, ranges);
          ASSERT_EQ(picks.size(), sent.size());
          int hits = 0;
          for (std::size_t i = 0; i < picks.size(); ++i) {
            const BacktestPick& p = picks[i];
            const PendingBetEntry& e = sent[i];
            EXPECT_EQ(CourseNameOfCode(p.courseCode), e.course) << i;
            EXPECT_EQ(valInt(p.raceKey.substr(2)), valInt(e.race)) << i;
            const std::string pick = bet == HistoryBet::Bracket
                                         ? "  " + p.pick.substr(3, 1) + "-" + p.pick.substr(4, 1)
                                         : p.pick;
            EXPECT_EQ(trim(pick), trim(e.pick)) << i;
            // A hit row shows its payout where the odds would be.
            if (p.hit) {
              EXPECT_EQ(p.payout, valInt(e.odds)) << i;
              ++hits;
            } else {
              EXPECT_EQ(trim(p.odds), trim(e.odds)) << i;
            }
          }
          // And the day's Tolv files, as `hits` marked them, agree on every hit.
          int marked = 0;
          for (const std::string& course : gridCourseCodes(*session)) {
            const auto records = readTolvFile(tolvDataPath(session->dataFolder(), day, course));
            ASSERT_TRUE(records);
            for (const TolvRecord& r : *records) {
              for (const BacktestPick& p : picks) {
                if (p.raceKey == r.raceKey && p.pick == r.pick) {
                  const bool hit = (bet == HistoryBet::Wide ? r.wideHitFlag : r.hitFlag) == -1;
                  EXPECT_EQ(hit, p.hit) << r.raceKey << " " << r.pick;
                  marked += hit;
                }
              }
            }
          }
          EXPECT_EQ(marked, hits);
          if (bet != HistoryBet::Bracket && odds.empty()) {
            EXPECT_GT(hits, 0) << "no hit: the test would show little";
          }
        }
      }
      // The Pirune selection: the pairs the day's ぴるね WARS file lists (what
      // `bets send-wars pirune` sends).
      SCOPED_TRACE(day + " pirune");
      fs::remove(pendingBetPath(*session));
      const auto r = cli("bets send-wars pirune", day);
      ASSERT_EQ(r.status, 0) << r.err;
      const std::vector<PendingBetEntry> sent = readPendingBets(pendingBetPath(*session));
      BacktestQuery q;
      q.selection = Selection::Pirune;
      q.oddsMin = session->settings.oddsMin;
      q.oddsMax = session->settings.oddsMax;
      q.piruneOutput = session->settings.pirune.output;
      const std::vector<BacktestPick> picks = backtestDayPicks(*db, day, q);
      ASSERT_FALSE(picks.empty());
      ASSERT_EQ(picks.size(), sent.size());
      for (std::size_t i = 0; i < picks.size(); ++i) {
        EXPECT_EQ(CourseNameOfCode(picks[i].courseCode), sent[i].course) << i;
        EXPECT_EQ(valInt(picks[i].raceKey.substr(2)), valInt(sent[i].race)) << i;
        EXPECT_EQ(picks[i].pick, trim(sent[i].pick)) << i;
      }
    }
  }
}

TEST_F(HistoryCli, CsvHeadersAndTotals) {
  copyHome(kExamples / "sample-day");
  runDay("20261206");
  auto r = cli("stats programs --format csv --bet wide --min-picks 100");
  ASSERT_EQ(r.status, 0) << r.err;
  auto lines = splitLines(r.out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "code,name,days,races,picks,hits,hit_rate,stake,return,roi,longest_miss,last_hit");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto fields = splitFields(lines[i], ',');
    ASSERT_EQ(fields.size(), 12u) << lines[i];
    EXPECT_EQ(fields[0].size(), 4u);
    EXPECT_GE(valInt(fields[4]), 100);
    EXPECT_EQ(valInt(fields[7]), 100 * valInt(fields[4]));  // stake
    EXPECT_EQ(fields[11], "20261206");
  }

  r = cli("backtest --format csv");
  ASSERT_EQ(r.status, 0) << r.err;
  lines = splitLines(r.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "date,bets,hits,stake,return,roi");
  EXPECT_TRUE(lines[1].starts_with("20261206,"));
  EXPECT_EQ(lines[2].substr(lines[2].find(',')), lines[1].substr(lines[1].find(',')));
  EXPECT_TRUE(lines[2].starts_with("total,"));

  r = cli("backtest --format json --selection pirune");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"date\": \"total\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"deepest_drawdown\": "), std::string::npos) << r.out;

  r = cli("history list --format csv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("date,courses,posts,programs,picks,priced,results,imported\n20261206,06 07 09,"))
      << r.out;
  // The table lines up Japanese names by display width.
  r = cli("stats programs");
  lines = splitLines(r.out);
  ASSERT_GE(lines.size(), 3u);
  const auto roiEnd = [](const std::string& line) { return lenBytes(line.substr(0, line.rfind('%'))); };
  for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(roiEnd(lines[i]), roiEnd(lines[1])) << lines[i];
}

TEST_F(HistoryCli, SuggestedListAsksBeforeReplacing) {
  copyHome(kExamples / "sample-day");
  runDay("20261206");
  auto r = cli("stats suggest-list --top 3");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto printed = splitLines(r.out);
  ASSERT_EQ(printed.size(), 3u);
  const auto top = splitLines(cli("stats programs --format csv").out);
  EXPECT_EQ(printed[0].substr(0, 4), top[1].substr(0, 4));

  writeBytes(home() / "BEST.LST", "old");
  r = cli("--answer no stats suggest-list --top 3 --write BEST.LST");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(readBytes(home() / "BEST.LST"), "old");
  r = cli("--answer yes stats suggest-list --top 3 --write BEST.LST");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readBytes(home() / "BEST.LST"), testing::sjLines(printed));
  r = cli("stats suggest-list --top 3 --write ../OUT.LST");
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(fs::exists(home().parent_path() / "OUT.LST"));

  // The written list restricts a backtest.
  r = cli("backtest --list BEST.LST --format csv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out, cli("backtest --format csv").out);
}

TEST_F(HistoryCli, DamagedDayIsRefusedNamingTheFile) {
  copyHome(kExamples / "sample-day");
  runDay("20261206");
  const std::string before = cli("history list --format csv").out;
  const fs::path results = home() / "DATA" / "Sei20261206.DAT";
  writeBytes(results, readBytes(results) + "x");
  auto r = cli("history import");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(results.string()), std::string::npos) << r.err;
  EXPECT_EQ(cli("history list --format csv").out, before);

  // A range passes days without a cut index over and reports the damaged one.
  r = cli("history import --from 20261201 --to 20261207");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(results.string()), std::string::npos) << r.err;
  r = cli("history import --from 20261201 --to 20261205");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(cli("history list --format csv").out, before);
}

// The desktop program holds the home folder: the history commands still run
// beside it (the database locks itself), the day's steps do not.
TEST_F(HistoryCli, HistoryCommandsRunBesideTheDesktopProgram) {
  copyHome(kExamples / "sample-day");
  for (const char* step : {"extract", "create", "hits"}) ASSERT_EQ(cli(step).status, 0) << step;
  auto lock = InstanceLock::acquire(home());
  ASSERT_TRUE(lock);
  EXPECT_EQ(cli("create").status, 3);  // in use
  auto r = cli("history import");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(cli("stats programs").status, 0);
  EXPECT_EQ(cli("backtest").status, 0);
}

TEST_F(HistoryCli, WithoutDatabaseOrWithANewerOne) {
  copyHome(kExamples / "sample-day");
  auto r = cli("stats programs");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("history.sqlite"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(home() / "history.sqlite"));
  EXPECT_EQ(cli("backtest --from 2026").status, 2);

  runDay("20261206");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((home() / "history.sqlite").c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "PRAGMA user_version = 7", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  for (const char* command : {"history import", "history list", "stats programs", "backtest"}) {
    r = cli(command);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.err.find("新しい版（スキーマ 7"), std::string::npos) << command << r.err;
  }
}

}  // namespace
}  // namespace tolv
