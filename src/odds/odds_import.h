#pragma once
// Odds import: fills the odds fields of every record of the day's Tolv data
// files from the odds source chosen in the settings (ODDS/PAT):
//
//   "0"  PAT95 odds files in PATFolder
//   "1"  PAT98 odds files in PATFolder
//   "2"  PAT98 odds files converted from forum odds posts, in WarsOddsFolder
//   "3"  the TARGET CSV odds file PATFolder + "OD" + yymmdd + ".CSV"
//   "4"  MJH data: PATFolder + "RX" + yymmdd + ".TXT", converted to the MJH
//        data file DataFolder + "MJH" + date + ".DAT"
//
// Only quinella picks ("01-02") and bracket-quinella picks ("   36") get odds;
// every other record is left as it is. Each odds file is read once per run.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/mjh_record.h"
#include "core/session.h"
#include "core/tolv_record.h"
#include "core/ui.h"
#include "odds/pat_odds.h"
#include "odds/target_csv.h"

namespace tolv {

// What a pick is, by its last three characters t and the value v of its last
// two: t starting with "-" and v > 1 is a quinella pick ("01-02", not "..-01");
// t starting with a space and v > 10 a bracket-quinella pick ("   11", not
// "   10"); anything else gets no odds.
enum class PickClass { Other, Quinella, Bracket };
PickClass classifyPick(std::string_view pick);

// Quinella-place odds made from odds: Val(odds) / 3 + 1 with one decimal,
// right-aligned in six; six spaces when the odds hold no number (blank, or the
// scratched mark) rather than a made-up 1.0.
std::string derivedWideOdds(std::string_view odds);

// Looks up the odds of picks from the configured odds source. The PAT files
// are read on first use and kept; the TARGET CSV odds and the MJH records are
// handed in (setTargetCsv, setMjhRecords) or read by loadOnHand(). Without
// them, source "3" and "4" picks get six spaces. Make a new filler for a new
// run: files are assumed not to change during its life.
class OddsFiller {
 public:
  explicit OddsFiller(const Session& s);

  const std::string& source() const { return source_; }

  void setTargetCsv(TargetCsvOdds odds) { csv_ = std::move(odds); }
  // The records of the MJH data file; for a course and race the last record
  // counts.
  void setMjhRecords(std::vector<MjhRecord> records);
  // Reads, without a word, what the source needs and is on hand: the TARGET
  // CSV file (source "3") or the MJH data file as it stands (source "4", no
  // conversion). A missing or unreadable file leaves the picks without odds.
  void loadOnHand();

  // Sets the odds of one pick of the race `raceKey` (course code + race
  // number). Quinella picks get `odds` and `wide` from the source ("0": the
  // PAT95 odds and derivedWideOdds; "1"/"2": the PAT98 odds and its
  // quinella-place lower bound; "3": the CSV odds and, in a long-format file,
  // its quinella-place lower bound; "4": the MJH quinella and quinella-place
  // odds of the last record of the race, six spaces in both when the data has
  // no such race, so odds of an earlier run never survive). Bracket picks get the bracket-file odds with `wide` left as it was
  // ("0"-"2"), the CSV odds with derivedWideOdds ("3"), or six spaces in both
  // ("4": MJH data has no bracket odds). Returns false, changing nothing, for
  // a pick of another class or an unknown source.
  bool fill(std::string_view raceKey, std::string_view pick, std::string& odds, std::string& wide);
  bool fill(TolvRecord& r) { return fill(r.raceKey, r.pick, r.odds, r.wideOdds); }

 private:
  void fillMjh(std::string_view raceKey, std::string_view pick, std::string& odds, std::string& wide) const;

  std::string source_;
  std::string meetingDate_;
  fs::path patFolder_;  // PATFolder, or WarsOddsFolder for source "2"
  fs::path csvPath_, mjhDataPath_;
  PatOddsReader pat_;
  std::optional<TargetCsvOdds> csv_;
  std::vector<MjhRecord> mjh_;
  std::map<std::pair<int, int>, std::size_t> mjhByRace_;  // (course, race) -> last record
};

// The odds import of the day's Tolv data files: session.tolvFilePaths[1 ..
// courseCount] with their courses in session.courseCodes (callers list the
// files with findTolvDataFiles when they have not just written them).
//
// Checks the source first (a missing TARGET CSV file, a missing MJH text or a
// failed MJH conversion stops it with its message; the MJH text is converted
// unless session.mjhConverted says the schedule step already did). Then, file
// by file with the progress window, fills every record and rewrites the file
// atomically. Only the two odds fields of each record are ever rewritten:
// every other byte, and a trailing partial record of a truncated file, stays
// as it was. A file that is gone stops the import with its message; files
// done before keep their odds, the ones after are not touched.
//
// Done when it ran to the end (also with no files), Failed on a message.
StepResult importOdds(Session& s, UserInterface& ui);

}  // namespace tolv
