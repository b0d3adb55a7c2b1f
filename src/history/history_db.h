#pragma once
// The history database: history.sqlite in the home folder, one file in WAL
// mode so that the desktop program reads while tolv-cli writes.
//
// For every imported day it keeps what the figures and backtests need:
// - the day's programs (code, short name);
// - every distinct pick of the day's Tolv files (course, race, pick, odds
//   and quinella-place odds as the Tolv data files held them), with the
//   programs that posted it and how many posts each;
// - the day's race results (the records of DATA/Seiyyyymmdd.DAT);
// - per program and bet type the day's judged figures, so that figures over
//   many days never re-read a day's picks.
// A day is imported in one transaction; a re-import replaces it whole. A day
// without results is stored as "no results yet" and counts nowhere.
//
// The schema has a version (PRAGMA user_version) and migrations from every
// older version; a newer database is refused (kNewerSchemaMessage).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/session.h"
#include "core/ui.h"

namespace tolv {

inline constexpr int kHistorySchemaVersion = 1;
inline constexpr std::string_view kHistoryFileName = "history.sqlite";

// What a bet counts: the quinella picks (馬連), the same picks judged as
// quinella-place (ワイド), or the bracket picks (枠連), as the grid reads them.
enum class HistoryBet { Quinella = 0, Wide = 1, Bracket = 2 };
// "quinella", "wide", "bracket".
std::string_view historyBetName(HistoryBet bet);
std::optional<HistoryBet> parseHistoryBet(std::string_view name);

// A period of days, yyyymmdd; an empty end is open.
struct DateRange {
  std::string from;
  std::string to;
  bool contains(const std::string& date) const;
};

// One stored day, as `history list` shows it.
struct StoredDay {
  std::string date;      // yyyymmdd
  std::string imported;  // when, "yyyy-mm-dd hh:mm:ss" UTC
  std::string courses;   // course codes of the day's Tolv files, "05 06 09"
  int posts = 0;         // cut index records
  int programs = 0;
  int picks = 0;         // distinct picks of the Tolv files
  int pricedPicks = 0;   // of those, with odds
  int results = 0;       // race results; 0 = no results yet
  bool hasResults() const { return results > 0; }
};

// The database file of a home folder.
fs::path historyDbPath(const Session& session);

class HistoryDb {
 public:
  enum class Mode { ReadOnly, ReadWrite };
  // Opens the database (ReadWrite creates and migrates it). nullptr with a
  // message naming the file when it cannot be opened, is damaged or is of a
  // newer version. ReadOnly on a file that does not exist fails too.
  static std::unique_ptr<HistoryDb> open(const fs::path& path, Mode mode, std::string* error = nullptr);
  ~HistoryDb();
  HistoryDb(const HistoryDb&) = delete;
  HistoryDb& operator=(const HistoryDb&) = delete;

  const fs::path& path() const { return path_; }
  int schemaVersion() const;

  // The stored days in date order.
  std::vector<StoredDay> days(const DateRange& period = {}) const;

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  HistoryDb(fs::path path, std::unique_ptr<Impl> impl);
  fs::path path_;
  std::unique_ptr<Impl> impl_;
};

// The message a database of a newer schema is refused with.
std::string newerSchemaMessage(const fs::path& path, int version);

// Imports the day `date` (yyyymmdd) of the session's home: the cut index
// DATA/yyyymmdd.DAT, the results DATA/Seiyyyymmdd.DAT (missing: no results
// yet) and the odds of the day's Tolv data files. The session's processing
// day is set to `date`. Failed, with a message naming the file, when a file
// is missing or damaged; the database then stays as it was.
StepResult importHistoryDay(Session& session, UserInterface& ui, HistoryDb& db, const std::string& date,
                            StoredDay* stored = nullptr);

// The batch run's last step (履歴取り込み, off by default): the processing
// day into the home's database. Failed with its message when the database
// cannot be opened or the day is refused.
StepResult importProcessingDay(Session& session, UserInterface& ui);

}  // namespace tolv
