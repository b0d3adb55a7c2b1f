#pragma once
// KOL predicted odds to PAT odds files, and what the two odds conversions
// (KOL predicted odds, TARGET CSV odds) share: the output folder and the
// delete-before-converting choice, the window's captions, the first steps.
//
// A KOL predicted-odds archive holds the member kol_ods.KD2: one 1504-byte
// text record per race, in the second course numbering (01 阪神, 02 中京,
// 05 中山, ...):
//
//   0  2  course code (second numbering)      12    8  date yyyymmdd
//   2  4  year                                109   2  number of runners
//   6  2  meeting number (回)                  111   2  a second count (scratched runners)
//   8  2  day number (日目)                     161  18 x 5  win cells, horses 1-18
//   10 2  race number                          251  36 x 5  bracket cells, 1-1 ... 8-8
//                                              431  153 x 7 quinella cells, 1-2 ... 17-18
//
// A cell holds odds x 10 as a whole number ("123" is 12.3) or a marker: "*"
// odds too high to show, "-" no odds, "/" a scratched horse.
//
// Each race gives its bracket file (ZO-, win, place and bracket odds) and,
// when the runners less the second count are more than 8, its quinella file
// (UO-) in the PAT95 or PAT98 layout. Files are written whole, atomically.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"
#include "core/ui.h"
#include "odds/pat_odds.h"

namespace tolv {

// --- the conversion window, shared with the CSV conversion --------------------

// The output folder and the delete choice: ODDS ConvOddsFolder and
// DelOddsFile of TOLV.INI, with a copy in the per-user defaults file (read
// when TOLV.INI lacks the key).
struct OddsConversionSettings {
  std::string outputFolder;     // as stored, ends with '/'; the home folder by default
  bool deleteExisting = false;  // "1": delete the folder's odds files before converting
};

OddsConversionSettings loadOddsConversionSettings(const Session& s);
// Stores both settings, as closing the window does.
bool storeOddsConversionSettings(const Session& s, const OddsConversionSettings& c, std::string* error = nullptr);

// The folders of the last chosen archive and CSV file (KolOddsFolder,
// CsvOddsFolder), where the file choosers start.
std::string lastKolArchiveFolder(const Session& s);
std::string lastCsvOddsFolder(const Session& s);
// Stores the folder part of a chosen file in KolOddsFolder / CsvOddsFolder.
bool rememberKolArchive(const Session& s, const fs::path& archive);
bool rememberCsvOddsFile(const Session& s, const fs::path& csv);

enum class OddsConversionSource { Kol, Csv };

// The window's caption ("競馬ブック予想オッズをＰＡＴ９５形式に変換", ...) and its two
// progress labels ("競馬ブック予想オッズを読み取り中！", "ＰＡＴ９８形式オッズファイルを出力中！").
std::string oddsConversionCaption(OddsConversionSource source, PatQuinellaLayout layout);
std::string oddsConversionReadingLabel(OddsConversionSource source);
std::string oddsConversionWritingLabel(PatQuinellaLayout layout);

// The top label once a conversion has ended.
inline constexpr std::string_view kOddsConversionFinished = "変換作業は終了しました！";

// What a conversion did.
struct OddsConversionResult {
  fs::path outputFolder;             // resolved
  std::vector<fs::path> deleted;     // odds files deleted first
  std::vector<fs::path> written;     // in the order first written
  int records = 0;                   // source records converted
  std::string topLabel;              // kOddsConversionFinished when done
};

// --- KOL cells ------------------------------------------------------------------

inline constexpr std::size_t kKolRecordLength = 1504;
inline constexpr std::string_view kKolOddsMember = "kol_ods.KD2";

enum class KolCellKind {
  TooHigh,    // "*"
  NoOdds,     // "-"
  Scratched,  // "/"
  Number,     // a whole number 1-9999: odds x 10
  Other,      // anything else (blank, 0, text, a number out of range)
};

struct KolCell {
  KolCellKind kind = KolCellKind::Other;
  int value = 0;  // for Number
};

// Reads a cell; blanks around it are ignored.
KolCell readKolCell(std::string_view cell);

// The odds text of a cell in each field of the PAT files. A number is
// written as text, with "." before its last digit, right-aligned ("123" is
// " 12.3" in five bytes, "  12.3" in six). A cell of kind Other gives blank
// odds: its text would read as odds it does not mean.
std::string kolWinOdds(std::string_view cell);        // 5 bytes: "*" " 50.0", "/" " ﾄﾘｹｼ"
std::string kolBracketOdds(std::string_view cell);    // 5 bytes: "*" "100.0", "/" " ﾄﾘｹｼ"
std::string kolQuinella95Odds(std::string_view cell); // 6 bytes: "*" " 999.9", "/" "  ﾄﾘｹｼ"

// The PAT98 quinella entry of a cell: the odds and both quinella-place
// bounds. For a number with odds q the bounds are q / 3 x 0.8 and q / 3 x 1.2,
// or for a cell of 10 or less (odds up to 1.0) q / 3 x 1.3 and q / 3 x 2;
// never below 1.0.
struct KolQuinellaOdds {
  std::string odds, wideLow, wideHigh;  // 6 bytes each
};
KolQuinellaOdds kolQuinella98Odds(std::string_view cell);

// --- KOL records ----------------------------------------------------------------

struct KolRaceRecord {
  std::string course;  // second numbering
  std::string year, meeting, day, race, date;
  std::string runners, secondCount;
  std::array<std::string, kPatHorses> win;
  std::array<std::string, kPatBracketPairs> bracket;
  std::array<std::string, kPatQuinellaPairs> quinella;

  // Fields past the end of a short record read as empty text.
  static KolRaceRecord decode(std::string_view bytes);

  // The JRA course code ("06" for 中山), or "" for a course that is no JRA
  // course (a local or foreign one).
  std::string jraCourse() const;
  int runnerCount() const;  // 0-18
  // Whether the race gets a quinella file: runners less the second count above 8.
  bool hasQuinellaFile() const;
};

// The PAT files of one race, ready to be written.
struct KolRaceFiles {
  std::string name;  // PatOddsName: "62B"
  PatBracketRecord bracket;
  std::optional<PatQuinellaRecord> quinella;
};

// nullopt for a race of no JRA course, or without a day or race number.
std::optional<KolRaceFiles> kolRaceFiles(const KolRaceRecord& r);

// The quinella record's bytes in a layout.
std::string encodeQuinella(const PatQuinellaRecord& r, PatQuinellaLayout layout);

// "2026年12月06日分の予想オッズをＰＡＴ形式に変換します…" from the first record.
std::string kolConversionHeading(const KolRaceRecord& first);
// "2026年12月06日 中山 5回 2日目 11Ｒ": the progress line of a record.
std::string kolProgressText(const KolRaceRecord& r);

// --- steps ----------------------------------------------------------------------

// The unpacked kol_ods.KD2 in the unpack folder (its name matched ignoring case).
fs::path kolOddsPath(const Session& s);

// Unpacks the archive into the unpack folder (emptied first) and checks that it
// holds kol_ods.KD2 with at least one whole record. Otherwise shows
// "選択した圧縮ファイルは、「ＫＯＬ予想オッズ」ではありません。" titled
// "【トルブ】ＫＯＬ予想オッズ変換エラー", empties the unpack folder and returns false.
bool CheckKolArchive(const Session& s, UserInterface& ui, const fs::path& archive);

// The conversion of the unpacked kol_ods.KD2 (CheckKolArchive first):
// checks the output folder ("設定されたフォルダが見つかりません！"), stores it as
// ConvOddsFolder, deletes the folder's ZO*.JRA and UO*.JRA files when asked,
// then writes every race's files. Done when it ran to its end, Failed on a
// message.
StepResult convertKolOdds(const Session& s, UserInterface& ui, PatQuinellaLayout layout,
                          const OddsConversionSettings& settings, OddsConversionResult* result = nullptr);

// --- what both conversions share (used by the CSV conversion) -----------------

namespace detail {

// Step 1 and 2 of a conversion: the folder check (with its message), storing
// it as ConvOddsFolder, the deletion when asked. nullopt after the message.
std::optional<fs::path> prepareOutputFolder(const Session& s, UserInterface& ui, const OddsConversionSettings& c,
                                            OddsConversionResult& result);
// The file `name` of the folder: an existing file whose name differs only in
// case, else the name as given.
fs::path outputFile(const fs::path& folder, const std::string& name);
// Writes a file atomically and notes it; false after a message naming it.
bool writeOddsFile(UserInterface& ui, const fs::path& p, std::string_view bytes, OddsConversionResult& result);

}  // namespace detail

}  // namespace tolv
