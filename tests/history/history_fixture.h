#pragma once
// A home with made-up race days for the history tests: cut index records,
// results records and Tolv data files written as the pipeline writes them.

#include <map>
#include <string>
#include <vector>

#include "aggregate/tolv_creation.h"
#include "core/cut_record.h"
#include "core/records.h"
#include "history/history_db.h"
#include "output/race_results.h"
#include "support/test_support.h"

namespace tolv::testing {

// One post's race line: program, race ("0501"), up to six picks.
struct Post {
  std::string program;
  std::string raceKey;
  std::vector<std::string> picks;
};

// A race result: quinella pair and payout, quinella-place pairs and payouts,
// bracket pair and payout (all optional).
struct Result {
  Result(std::string key, std::string q, int qPay, std::vector<std::pair<std::string, int>> w = {},
         std::string b = "", int bPay = 0)
      : raceKey(std::move(key)), quinella(std::move(q)), quinellaPay(qPay), wide(std::move(w)), bracket(std::move(b)),
        bracketPay(bPay) {}
  std::string raceKey;
  std::string quinella;  // "01-02"
  int quinellaPay = 0;
  std::vector<std::pair<std::string, int>> wide;
  std::string bracket;  // "12"
  int bracketPay = 0;
};

inline std::string cutIndexBytes(const std::vector<Post>& posts) {
  std::string bytes;
  for (const Post& p : posts) {
    CutRecord r;
    r.courseCode = p.raceKey.substr(0, 2);
    r.programCode = p.program;
    r.raceNo = p.raceKey.substr(2, 2);
    r.lineTag = "  ";
    for (std::size_t i = 0; i < r.picks.size(); ++i) r.picks[i] = i < p.picks.size() ? p.picks[i] : "     ";
    bytes += r.encode();
  }
  return bytes;
}

inline std::string payText(int yen) {
  std::string t = std::to_string(yen);
  return std::string(6 - t.size(), ' ') + t;
}

inline std::string resultsBytes(const std::vector<Result>& results) {
  std::string bytes;
  for (const Result& x : results) {
    RaceResultRecord r;
    r.raceKey = x.raceKey;
    r.courseCode = x.raceKey.substr(0, 2);
    r.raceNumber = x.raceKey.substr(2, 2);
    if (!x.quinella.empty()) r.quinella[0] = {x.quinella.substr(0, 2), x.quinella.substr(3, 2), payText(x.quinellaPay)};
    for (std::size_t i = 0; i < x.wide.size() && i < r.wide.size(); ++i) {
      r.wide[i] = {x.wide[i].first.substr(0, 2), x.wide[i].first.substr(3, 2), payText(x.wide[i].second)};
    }
    if (!x.bracket.empty()) r.bracket[0] = {x.bracket.substr(0, 1), x.bracket.substr(1, 1), payText(x.bracketPay)};
    bytes += r.encode();
  }
  return bytes;
}

// A home whose days are written into DATA/ as `extract` (+ `hits`) leave them.
struct HistoryHome : TestHome {
  RecordingUi ui;
  HistoryHome() : TestHome("20260104") {
    session.programNames = {{"0100", "A     "}, {"0200", "B     "}, {"0300", "C     "}};
  }
  fs::path data(const std::string& name) const { return fs::path(session.dataFolder()) / name; }
  void writeDay(const std::string& date, const std::vector<Post>& posts, const std::vector<Result>& results) {
    writeBytes(data(date + ".DAT"), cutIndexBytes(posts));
    if (!results.empty()) writeBytes(data("Sei" + date + ".DAT"), resultsBytes(results));
  }
  // The day's Tolv data files as `create` writes them, each pick's odds
  // given by `odds` (race key + pick), blank otherwise.
  void writeTolvFiles(const std::string& date, const std::vector<Post>& posts,
                      const std::map<std::string, std::string>& odds = {}) {
    std::vector<std::string> records;
    const std::string bytes = cutIndexBytes(posts);
    for (std::size_t i = 0; i < bytes.size(); i += kCutRecordLength) records.push_back(bytes.substr(i, kCutRecordLength));
    for (TolvCourseFile& f : tolvCourseFiles(aggregateCutRecords(records))) {
      for (TolvRecord& r : f.records) {
        if (auto it = odds.find(r.raceKey + r.pick); it != odds.end()) r.odds = it->second;
      }
      ASSERT_TRUE(writeTolvFile(tolvDataPath(session.dataFolder(), date, f.courseCode), f.records));
    }
  }
  std::unique_ptr<HistoryDb> open() {
    std::string error;
    auto db = HistoryDb::open(historyDbPath(session), HistoryDb::Mode::ReadWrite, &error);
    EXPECT_TRUE(db) << error;
    return db;
  }
  StepResult import(HistoryDb& db, const std::string& date) { return importHistoryDay(session, ui, db, date); }
};

}  // namespace tolv::testing
