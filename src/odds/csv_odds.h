#pragma once
// TARGET CSV odds ("OD" + yymmdd + ".CSV") to PAT odds files.
//
// Every record of the CSV file (one per race and row number; records of
// kind "6" are skipped) updates the files of its race: the bracket file gets
// the win and place odds of the row's horse and the bracket-quinella odds of
// the row's bracket, and, when the race has more than 8 runners, the quinella
// file gets the odds of the row's horse with every later horse (in the PAT98
// layout with quinella-place bounds q / 3 and q / 2, at least 1.0 and 2.0).
//
// A race's files are updated row by row: a file already in the output folder
// is read once and kept, a missing one (or one of another day or of the
// other layout) is started afresh, every record changes it in memory, and
// each file is written once, atomically, at the end.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "odds/kol_odds.h"
#include "odds/target_csv.h"

namespace tolv {

// yyyymmdd of a CSV odds file from its name "OD" + yymmdd + ".CSV" (case
// ignored): the century is 19 for yy of 40 or more, else 20. nullopt when the
// name holds no such date.
std::optional<std::string> csvOddsDate(const fs::path& csv);

// "2026年12月06日のＣＳＶオッズをＰＡＴ形式に変換します…".
std::string csvConversionHeading(const std::string& date);
// "中山 5回 2日目 11Ｒ  16立て  (TARGET形式CSVオッズ)": the progress line of a record.
std::string csvProgressText(const std::vector<std::string>& record);

// The PAT files of the races of one CSV file, built in memory.
class CsvOddsUpdater {
 public:
  // `folder` is where the files are read from; `date` the CSV file's day.
  CsvOddsUpdater(fs::path folder, std::string date, PatQuinellaLayout layout);

  // Applies one record (fields 1.. at [0..]; missing fields read as empty).
  // False, changing nothing, for a record of kind "6" or one whose key names
  // no race (no course letter, day or race number).
  bool apply(const std::vector<std::string>& record);

  // The files touched so far, by file path, in the order first touched.
  struct File {
    fs::path path;
    std::string bytes;
  };
  std::vector<File> files() const;

 private:
  PatBracketRecord& bracketFile(const std::string& name, const PatOddsHeader& header, const std::string& runners);
  PatQuinellaRecord& quinellaFile(const std::string& name, const PatOddsHeader& header, const std::string& runners,
                                  int runnerCount);

  fs::path folder_;
  std::string date_;
  PatQuinellaLayout layout_;
  std::vector<std::string> order_;  // file names in the order first touched
  std::map<std::string, fs::path> paths_;
  std::map<std::string, PatBracketRecord> brackets_;
  std::map<std::string, PatQuinellaRecord> quinellas_;
};

// The conversion of a CSV odds file: the output folder as for the KOL
// conversion, then every record (see CsvOddsUpdater). A file whose name
// gives no date, or that cannot be read, stops it with a message naming it.
StepResult convertCsvOdds(const Session& s, UserInterface& ui, const fs::path& csv, PatQuinellaLayout layout,
                          const OddsConversionSettings& settings, OddsConversionResult* result = nullptr);

}  // namespace tolv
