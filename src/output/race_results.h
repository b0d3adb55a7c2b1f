#pragma once
// Race results and hits.
//
// After the races the PAT betting software leaves one results file per
// meeting day and course, "ks-?????.JRA" in PATFolder, one fixed record per
// race: 711 bytes in the PAT98 layout, 571 bytes in the PAT95 layout (which
// carries no quinella-place results). ReadRaceResults copies the processing
// day's races into the day's results file DATA/Sei + yyyymmdd + ".DAT" (110-byte
// RaceResultRecords, at most 39) and marks the hits in the day's Tolv data
// files; MarkWarsHits writes an annotated copy of a WARS-format file in which
// every race line says whether one of its picks won and what it paid.
//
// Picks are compared with the results as they are stored: bracket 6-3 is not
// bracket 3-6, quinella 05-02 is not 02-05 (the results list the smaller
// number first, as the picks of the Tolv files do). A pick number of 0 never
// matches, so a blank result entry is never a hit.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "core/session.h"
#include "core/tolv_record.h"
#include "core/ui.h"

namespace tolv {

inline constexpr std::size_t kRaceResultRecordLength = 110;
inline constexpr std::size_t kPatResults98RecordLength = 711;
inline constexpr std::size_t kPatResults95RecordLength = 571;
// Results kept per run and read from a results file.
inline constexpr int kMaxRaceResults = 39;

// One paid combination of a results record. Text fields, blank when unused.
struct ResultEntry {
  std::string first;   // win: the horse, right-aligned (2); bracket: 1; quinella: 2
  std::string second;  // bracket: 1; quinella: 2; unused for win
  std::string payout;  // 6: yen for a 100-yen stake
};

// A record of the day's results file, 110 bytes of CP932 text.
struct RaceResultRecord {
  std::string raceKey;     // 4: course code + race number, "0511"
  std::string courseCode;  // 2
  std::string raceNumber;  // 2: "01".."12"
  std::array<ResultEntry, 2> win;       // horse 2 + payout 6 each (dead heat: two)
  std::array<ResultEntry, 2> bracket;   // bracket 1 + bracket 1 + payout 6 each
  std::array<ResultEntry, 2> quinella;  // horse 2 + horse 2 + payout 6 each
  std::array<ResultEntry, 5> wide;      // quinella-place, as the quinella entries

  RaceResultRecord();
  std::string encode() const;
  static RaceResultRecord decode(std::string_view bytes);
};

// The processing day's results file: DataFolder + "Sei" + yyyymmdd + ".DAT".
fs::path resultsFilePath(const Session& session);

// The results of a results file, its first 39 whole records at most; nullopt
// when it cannot be read.
std::optional<std::vector<RaceResultRecord>> readResultsFile(const fs::path& p, std::string* error = nullptr);

// Which results layout the odds source reads: "1" PAT98, "0" PAT95, none else.
enum class PatResultsLayout { Pat95, Pat98 };
std::optional<PatResultsLayout> resultsLayoutOfOddsSource(std::string_view oddsSource);

// One record of a PAT results file as a results record; `date` receives its
// yyyymmdd.
RaceResultRecord convertPatResults(std::string_view record, PatResultsLayout layout, std::string* date = nullptr);

// The day's results from the "ks-?????.JRA" files of `patFolder`, in directory
// order: each file's records from the first for as long as they are of
// `meetingDate` (the first record of another day ends the file), at most 39.
std::vector<RaceResultRecord> collectRaceResults(const fs::path& patFolder, PatResultsLayout layout,
                                                 const std::string& meetingDate);

// Marks the hits of the results in Tolv records: HitFlag/Payout for a bracket
// or quinella hit, WideHitFlag/WidePayout for a quinella-place hit. The marks
// of a race the results cover are cleared first, so a run after corrected
// results drops a wrong hit; races without results keep theirs. Returns the
// number of records changed.
int markTolvHits(std::vector<TolvRecord>& records, const std::vector<RaceResultRecord>& results);

// ReadRaceResults: reads the day's results by the odds source's layout into
// the results file, which afterwards holds exactly this run's records, then
// marks hits in every Tolv data file of the day ("W" + date + "_??.DAT"),
// rewriting each atomically. Failed with "該当日の競走成績データが見つかりません
// でした！" when there are none (the Tolv files are left unchanged).
// `hitCount` gets the number of the day's Tolv records that are hits.
StepResult ReadRaceResults(Session& session, UserInterface& ui, int* resultCount = nullptr, int* hitCount = nullptr);

// The execution menu's "的中判定": with a PAT95 or PAT98 odds source,
// ReadRaceResults; with another (2, 3 or 4) the two-line notice, Failed.
StepResult checkHits(Session& session, UserInterface& ui, int* resultCount = nullptr, int* hitCount = nullptr);

// The annotated copy of a WARS-format file and the number of results used.
struct WarsHitCheck {
  fs::path annotated;  // the WARS file's path + "S"
  int results = 0;
};

// The lines of a WARS-format file annotated with the results (see MarkWarsHits).
std::vector<std::string> annotateWarsLines(const std::vector<std::string>& lines,
                                           const std::vector<RaceResultRecord>& results);

// MarkWarsHits: reads the results file and the WARS file and writes the
// annotated copy (atomically, replacing an older one). Every race line keeps
// its first 45 characters and gets "|馬連的中！ [pick]  3,450円" or "|枠連的中！ ..."
// for its (last) winning pick, each winning pick marked with "*" right after
// it, or "|外れ(ﾉﾍ;)ｼｸｼｸ.."; lines are cut to 76 bytes. nullopt (with `error`)
// when a file cannot be read or written.
std::optional<WarsHitCheck> MarkWarsHits(const fs::path& warsPath, const fs::path& resultsPath,
                                         std::string* error = nullptr);

}  // namespace tolv
