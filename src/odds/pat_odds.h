#pragma once
// PAT odds files: the one format every odds source of the program ends up in.
//
// A race has two files, each holding exactly one fixed-length record:
//   ZO-<name>.JRA  win, place and bracket-quinella odds (PatBracketRecord, 828 bytes)
//   UO-<name>.JRA  quinella odds, in the PAT95 layout (PatQuinella95Record, 1980 bytes)
//                  or the PAT98 layout that adds quinella-place odds
//                  (PatQuinella98Record, 3971 bytes, ending CR LF).
// <name> is PatOddsName: course letter, last character of the day number, race
// letter ("53B" for course 05, day 3, race 11).
//
// Records hold CP932 text fields, left-aligned and blank-padded to their byte
// width. In memory the fields are UTF-8; encode() pads or cuts each field to its
// width and writes the layout's fixed bytes, decode() reads a record back and
// never reads past the end of a short one (missing fields read as empty text).
//
// Lookups (PatOddsReader, LookupPat95Odds, LookupPat98Odds) give the odds of one
// pick as six characters ready for the Tolv record: the odds text right-aligned,
// "  ﾄﾘｹｼ" for a scratched horse, six spaces when there are none. A lookup uses
// the first file, in directory order, that matches the pattern path and whose
// record has the processing day's date and the race number the pattern names.

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/files.h"

namespace tolv {

class Session;
class RecordBuilder;
class RecordReader;

inline constexpr std::size_t kPatOddsHeaderLength = 140;
inline constexpr std::size_t kPatBracketRecordLength = 828;
inline constexpr std::size_t kPatQuinella95RecordLength = 1980;
inline constexpr std::size_t kPatQuinella98RecordLength = 3971;

inline constexpr int kPatHorses = 18;           // win/place entries
inline constexpr int kPatBracketPairs = 36;     // 1-1, 1-2, ..., 8-8
inline constexpr int kPatQuinellaPairs = 153;   // the pairs of 18 runners

// No odds: six spaces.
inline constexpr std::string_view kBlankOdds = "      ";
// The odds text of a scratched horse, right-aligned in its field.
inline constexpr std::string_view kScratchedText = "ﾄﾘｹｼ";

// --- file names ---------------------------------------------------------------

// Race number (text, read as a number) -> one character: 10 "A", 11 "B",
// 12 "C", 13 "D"; any other race its last character ("01" -> "1").
std::string RaceLetter(std::string_view raceNumber);
// Course letter + last character of the day number + race letter ("53B"); the
// numbers are trimmed first. Empty when any of the three characters is missing.
std::string PatOddsName(std::string_view courseCode, std::string_view raceNumber, std::string_view dayNumber);
// The name with "?" for the day ("5?B"), to find a race's file of any day.
// Empty when the course or race character is missing.
std::string PatOddsPattern(std::string_view courseCode, std::string_view raceNumber);
// A race character of a file name read back: "A"/"a" 10, "B"/"b" 11,
// "C"/"c" 12, "D"/"d" 13, a digit its value; anything else 0.
int RaceNumberOfPatLetter(std::string_view letter);
// The race a file name or name pattern names by its sixth character
// ("UO-5?B.JRA" 11); 0 when it names none.
int RaceNumberOfPatName(std::string_view fileName);

// --- positions ----------------------------------------------------------------

// Position 1-153 of the pair (a, b) in the 18-runner order 1-2, 1-3, ..., 17-18.
// Swaps a and b so that a < b; 0 when either is 0, both are equal, or a horse
// number lies outside 1-18 (the formula would point at another pair's slot).
int QuinellaPairIndex(int& a, int& b);
// Position 1-36 of the bracket pair (a, b) in the order 1-1, 1-2, ..., 8-8, for
// a <= b. No swapping: callers put the smaller bracket first. 0 when a bracket
// lies outside 1-8 or the pair is written the other way round.
int BracketPairIndex(int a, int b);

// --- odds text ----------------------------------------------------------------

// The text's trimmed form, right-aligned: the last `width` characters of
// `width` spaces followed by it.
std::string rightAlign(std::string_view text, int width);
inline std::string rightAlign6(std::string_view text) { return rightAlign(text, 6); }
// Odds with one decimal, right-aligned in `width` ("  12.3" in 6, " 12.3" in 5).
// `pattern` is the numeric format ("###0.0" writes 0.5 as "0.5", "####.0" and
// "###.0" as ".5"). A value too large for the field is written as the largest
// the field holds (999.9 in 5 bytes, 9999.9 in 6) instead of losing its
// leading digits.
std::string formatOdds(double value, int width, std::string_view pattern = "###0.0");
// "ﾄﾘｹｼ" right-aligned: " ﾄﾘｹｼ" in 5, "  ﾄﾘｹｼ" in 6.
std::string scratchedOdds(int width);
// A horse number in two characters: "12", and below 10 " 5" (pad ' ') or "05"
// (pad '0'); 0 and numbers outside 1-99 give two spaces.
std::string PatHorseNumber(int n, char pad = ' ');

// --- records ------------------------------------------------------------------

// Bytes 0-139 of every record.
struct PatOddsHeader {
  std::string date;        // 8: yyyymmdd of the race; readers use a file only on the processing day
  std::string identifier;  // 20: readers ignore it (date + twelve "0", or spaces)
  std::string courseName;  // 4: two kanji, "京都"
  std::string year;        // 4
  std::string meeting;     // 2: meeting number (回)
  std::string day;         // 2: day number (日目)
  std::string race;        // 2: race number
  std::string reserved;    // 2: blank, "0 " in bracket files from forum odds
  std::string time;        // 4: hhmm the odds were taken ("1000" for predicted odds)
  std::string raceName;    // 28
  // 64 spaces follow (written by the encoder).

  void writeTo(RecordBuilder& b) const;
  static PatOddsHeader readFrom(const RecordReader& r);
  std::string encode() const;  // 140 bytes
  static PatOddsHeader decode(std::string_view bytes);
};

// Win/place entry of one horse, 18 bytes.
struct PatWinPlaceEntry {
  std::string horse;      // 2: horse number, blank beyond the runners (KOL files number all 18)
  std::string win;        // 5
  std::string placeLow;   // 5: place odds, lower bound
  std::string placeHigh;  // 5: upper bound
  std::string flag;       // 1: "0" or a space; readers ignore it
};

// Bracket-quinella entry, 10 bytes: bracket 1, "-", bracket 2, odds, two
// characters readers ignore. An entry without brackets is written blank,
// separator included.
struct PatBracketEntry {
  std::string bracket1;  // 1
  std::string bracket2;  // 1: not below bracket 1
  std::string odds;      // 5
  std::string tail;      // 2: "0 " or two spaces
};

// The ZO- file, 828 bytes: header, runners, "0", 18 win/place entries, a space,
// 36 bracket entries.
struct PatBracketRecord {
  PatOddsHeader header;
  std::string runners;  // 2
  std::array<PatWinPlaceEntry, kPatHorses> horses;      // horse n at [n - 1]
  std::array<PatBracketEntry, kPatBracketPairs> brackets;  // in BracketPairIndex order

  // Sets the bracket digits of the 36 entries: 1-1, 1-2, ..., 8-8.
  void layOutBrackets();

  std::string encode() const;
  static PatBracketRecord decode(std::string_view bytes);
};

// Quinella entry of either layout. PAT95 writes first horse, "-", second horse,
// odds and a space (12 bytes); PAT98 writes "00", first horse, "-", second
// horse, odds and both quinella-place bounds (25 bytes). An entry without horse
// numbers is written all blank.
struct PatQuinellaEntry {
  std::string first;     // 2
  std::string second;    // 2
  std::string odds;      // 6
  std::string wideLow;   // 6: PAT98 only, quinella-place lower bound
  std::string wideHigh;  // 6: PAT98 only, upper bound

  bool used() const;
};

// What the two UO- layouts share. Entries hold the pairs of the runners in the
// order 1-2, 1-3, ..., (N-1)-N; the rest are blank.
struct PatQuinellaRecord {
  PatOddsHeader header;
  std::string runners;  // 2
  std::array<PatQuinellaEntry, kPatQuinellaPairs> entries;

  // Lays the entries out for `runners` horses (0-18): horse numbers of the
  // pairs in order (PatHorseNumber with `pad`), other fields cleared; the
  // entries after the last pair are blank. Returns the number of pairs.
  int layOutPairs(int runners, char pad);
};

// The UO- file in the PAT95 layout, 1980 bytes: header, a space, runners, 153
// entries of 12 bytes, a space. The quinella-place fields are not stored.
struct PatQuinella95Record : PatQuinellaRecord {
  std::string encode() const;
  static PatQuinella95Record decode(std::string_view bytes);
};

// The UO- file in the PAT98 layout, 3971 bytes: header, runners, "11", 153
// entries of 25 bytes, CR LF.
struct PatQuinella98Record : PatQuinellaRecord {
  std::string encode() const;
  static PatQuinella98Record decode(std::string_view bytes);
};

// --- lookups ------------------------------------------------------------------

// Which record a UO- file is read as.
enum class PatQuinellaLayout { Pat95, Pat98 };

// Reads PAT odds files for one processing day and keeps what it has read, so
// that a run reads each odds file once however many picks it looks up. Files
// are assumed not to change during the reader's life: make a new reader for a
// new run.
//
// A pattern path is a folder and a file name that may hold wildcards
// ("/odds/UO-5?B.JRA"); backslashes count as separators and a doubled
// separator is harmless. A relative folder is taken as it stands: callers
// resolve folder settings first (Session::resolvePath); a folder that does not
// exist as given is matched ignoring case, and so are file names. The record
// used is that of the first matching file in directory order that holds a
// whole record dated the processing day, of the race the pattern names (its
// race letter: "UO-5?B.JRA" seeks race 11); files of other days or races (a
// misnamed or copied file), short files and unreadable files are passed over. A lookup that finds no such file, or no
// entry for the pick, gives six spaces. Only the first record's bytes of a file
// are ever read.
class PatOddsReader {
 public:
  explicit PatOddsReader(const Session& session);
  explicit PatOddsReader(std::string meetingDate);

  const std::string& meetingDate() const { return date_; }

  // Kind "馬" (quinella, pick "03-07"), "単" (win, pick a horse number), "複"
  // (place, its lower bound) or "枠" (bracket quinella, pick "   36"). Another
  // kind gives six spaces.
  std::string lookup95(const fs::path& patternPath, std::string_view kind, std::string_view pick);
  // The same with the quinella file read in the PAT98 layout; `wide` receives
  // the matched entry's quinella-place lower bound, and six spaces whenever the
  // result is six spaces or the kind is not "馬".
  std::string lookup98(const fs::path& patternPath, std::string_view kind, std::string_view pick,
                       std::string& wide);

  // The record of the day for a pattern path, or null; valid while the reader lives.
  const PatBracketRecord* bracketRecord(const fs::path& patternPath);
  const PatQuinellaRecord* quinellaRecord(const fs::path& patternPath, PatQuinellaLayout layout);
  // The file that record came from, or nullopt.
  std::optional<fs::path> bracketFile(const fs::path& patternPath);
  std::optional<fs::path> quinellaFile(const fs::path& patternPath, PatQuinellaLayout layout);

 private:
  enum class Layout { Bracket, Quinella95, Quinella98 };
  struct Loaded {
    bool usable = false;  // a whole record of the processing day
    int race = 0;         // its race number
    PatBracketRecord bracket;
    PatQuinellaRecord quinella;
    // Val of the two horse fields of each quinella entry, for the search.
    std::vector<std::pair<double, double>> pairs;
  };

  using Key = std::pair<std::string, Layout>;

  const Loaded& load(const fs::path& file, Layout layout);
  // The usable record for the pattern (and its file in `file`), or null.
  const Loaded* select(const fs::path& patternPath, Layout layout, std::string* file = nullptr);
  std::string lookup(const fs::path& patternPath, std::string_view kind, std::string_view pick, Layout quinella,
                     std::string* wide);

  std::string date_;
  std::map<Key, Loaded> files_;        // by file path
  std::map<Key, std::string> chosen_;  // pattern path -> file path, "" when none
};

// One lookup with a reader of its own (the file is read for this call only).
std::string LookupPat95Odds(const Session& session, const fs::path& patternPath, std::string_view kind,
                            std::string_view pick);
std::string LookupPat98Odds(const Session& session, const fs::path& patternPath, std::string_view kind,
                            std::string_view pick, std::string& wide);

}  // namespace tolv
