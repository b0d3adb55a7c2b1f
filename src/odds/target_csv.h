#pragma once
// TARGET CSV odds: the day's odds as comma-separated lines "OD" + yymmdd +
// ".CSV" in the odds folder, one line per race and row number.
//
// Two formats, told apart by the first line: more than 70 commas there means
// the long format (73 fields a record, quinella-place odds in fields 38-73),
// otherwise the short format (37 fields a record). Field 1 is the line key:
// course code (2), last two digits of the year (2), meeting (1), day (1), race
// (2) and row number (2); the lookup uses its first and last four characters.
// Fields 11-28 hold the quinella odds of the row's horse with horses 1-18,
// fields 29-36 the bracket-quinella odds of the row's bracket with brackets
// 1-8, and in the long format fields 36 + 2h and 37 + 2h the quinella-place
// bounds with horse h.
//
// The file is read once: TargetCsvOdds keeps its records and answers every
// lookup of a run from memory, with the result of a scan from the top of the
// file (the first record whose key matches).

#include <cstddef>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/files.h"

namespace tolv {

class Session;

inline constexpr std::size_t kTargetCsvLongFields = 73;
inline constexpr std::size_t kTargetCsvShortFields = 37;
// A first line with more commas than this is a long-format file.
inline constexpr int kTargetCsvLongCommas = 70;

// --- CSV ----------------------------------------------------------------------

// Splits CSV text (UTF-8) into records of fields.
//
// Fields are separated by commas and records by line ends (CR LF, LF or CR; the
// last line needs none). A field whose first non-blank character is a double
// quote is quoted: it runs to the closing quote, may hold commas and line
// breaks, and writes a quote inside as two quotes. Spaces and tabs around a
// field are not part of it (inside quotes they are kept); text between a
// closing quote and the next comma is appended to the field. An unclosed quote
// runs to the end of the text. A line with nothing on it is no record.
// At most `maxFields` fields of a record are kept; the rest of its line is
// read and dropped. Any input gives some records: nothing here can fail.
std::vector<std::vector<std::string>> parseCsv(std::string_view text,
                                               std::size_t maxFields = std::numeric_limits<std::size_t>::max());

// True when the first line of the text (up to its first CR or LF) holds more
// than 70 commas: the long format. Every comma counts, quoted or not.
bool isLongTargetCsv(std::string_view text);

// A TARGET CSV file read whole.
//
// A record is one line of the file (a quoted field may carry it over line
// breaks) made to the format's field count: a line with fewer fields is filled
// up with empty fields, the fields of a line beyond the count are dropped. A
// short or over-long line thus never shifts the fields of the lines after it.
struct TargetCsvFile {
  bool longFormat = false;
  std::vector<std::vector<std::string>> records;  // each fieldCount() fields; field n at [n - 1]

  std::size_t fieldCount() const { return longFormat ? kTargetCsvLongFields : kTargetCsvShortFields; }
};

// Parses the text of a TARGET CSV file (already UTF-8).
TargetCsvFile parseTargetCsv(std::string_view text);
// Reads a TARGET CSV file (CP932). nullopt, with `error` set, when it cannot
// be read.
std::optional<TargetCsvFile> readTargetCsvFile(const fs::path& p, std::string* error = nullptr);

// The day's TARGET CSV odds file: PATFolder + "OD" + yymmdd + ".CSV", the
// name matched ignoring case inside the folder.
fs::path targetCsvOddsPath(const Session& s);

// --- lookups ------------------------------------------------------------------

// The odds of a TARGET CSV file, read once and looked up by key.
class TargetCsvOdds {
 public:
  explicit TargetCsvOdds(TargetCsvFile file);
  // nullopt, with `error` set, when the file cannot be read.
  static std::optional<TargetCsvOdds> load(const fs::path& p, std::string* error = nullptr);

  bool longFormat() const { return file_.longFormat; }
  const TargetCsvFile& file() const { return file_; }

  // The odds of `pick` in the race `raceKey` (course code + race number, as in
  // a Tolv record) on the day `meetingDate` (yyyymmdd), as six characters.
  //
  // Kind "馬": the pick is two horse numbers joined by "-" ("03-07"); the
  // record of row = the first horse gives the quinella odds with the second
  // horse h (field 10 + h) and, in the long format, `wide` receives the
  // quinella-place lower bound (field 36 + 2h). Kind "枠": the last two
  // characters of the pick are the brackets ("   36"); the record of row = the
  // first bracket gives field 28 + the second bracket.
  //
  // The record is the first whose key starts with the race key's course code
  // and the year's last two digits, and ends with the race number and the row
  // in two digits. Odds are the field's value with one decimal, right-aligned
  // in six ("  12.3"); six spaces when the value is not above 0, when no record
  // matches, for a horse outside 1-18 or a bracket outside 1-8, and for any
  // other kind. `wide` is six spaces in every case but a long-format quinella
  // match.
  std::string lookup(std::string_view kind, std::string_view pick, std::string_view raceKey,
                     std::string_view meetingDate, std::string& wide) const;

 private:
  // The first record of each (first four, last four characters of the key).
  std::map<std::pair<std::string, std::string>, std::size_t> first_;
  TargetCsvFile file_;
};

// One lookup with the file read for this call only; six spaces (and six in
// `wide`) when the file does not exist or cannot be read.
std::string LookupTargetCsvOdds(const fs::path& path, std::string_view kind, std::string_view pick,
                                std::string_view raceKey, std::string_view meetingDate, std::string& wide);

}  // namespace tolv
