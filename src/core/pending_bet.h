#pragma once
// The pending-bet file "~Byyyymmdd.TXT": one bet per CP932 text line, six
// comma-separated fields, the stake followed by "円":
//   東京, 1R,馬連    ,02-05,  12.3,  1000円
// Every reader splits a line at its commas, trims ASCII spaces around each
// field, skips a line whose first field is empty and treats missing fields as
// empty. Lines may end in CR LF, LF or CR.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"

namespace tolv {

class Session;

struct PendingBetEntry {
  std::string course;  // BetCourse: course name, two kanji ("東京")
  std::string race;    // BetRace: race label, " 1R" .. "12R"
  std::string type;    // BetType: "馬連", "枠連", "ワイド" (also 単/複 and "拡連" from other tools)
  std::string pick;    // BetPick: "02-05", bracket quinella "  3-6"
  std::string odds;    // BetOdds: six characters right-aligned, or blank
  std::string stake;   // BetStake: the stake text including its "円" ("  1000円")
};

// The bet kind, by the first character of the trimmed type text.
enum class BetKind { Win, Place, Bracket, Quinella, QuinellaPlace, Unknown };
// 単 win, 複 place, 枠 bracket quinella, 馬 quinella, 拡 / ワ / ﾜ quinella-place.
BetKind betKindOf(std::string_view type);

// The leading number of a stake text ("  1000円" is 1000).
long stakeYen(std::string_view stake);
// A stake as written: right-aligned in 6 characters (never cut), then "円".
std::string stakeText(long yen);

// One line (without its line end) as the readers take it: the six trimmed
// fields. nullopt when the first field is empty.
std::optional<PendingBetEntry> decodePendingBetLine(std::string_view line);

// A line the rewriting commands (remove, merge, sort) may rewrite: exactly
// six fields, a JRA course name, a race "1R".."12R", a known bet type of at
// most six bytes, a pick of digits and '-' in at most five characters, odds
// blank or a number in at most six, and a stake of digits with or without its
// "円". Anything else (a comment, "中山競馬場", a 三連単 pick "04-05-06",
// "1,000円", an empty first field) is not an entry they understand: nullopt.
std::optional<PendingBetEntry> decodeWholePendingBetLine(std::string_view line);

// A line of the file as the rewriting commands keep it: a whole entry, or
// the line's own CP932 bytes (without its end), written back as they stand.
struct PendingBetLine {
  std::optional<PendingBetEntry> entry;
  std::string bytes;
};

// Every line of a pending-bet file, in file order. nullopt (and `error`)
// when the file cannot be read.
std::optional<std::vector<PendingBetLine>> readPendingBetLines(const fs::path& path, std::string* error = nullptr);

// CP932 bytes of the lines, each ending in CR LF: an entry in its fixed-width
// form, any other line as its own bytes.
std::string encodePendingBetLines(const std::vector<PendingBetLine>& lines);

// The fixed-width form the maintenance commands keep: course in 2
// characters, race the last 3 of " " + race, "拡..." read as "ワイド" and the
// type cut to 6 bytes and kept in 6 characters, pick right-aligned in 5, odds
// in 6, stake right-aligned in 7 ("円" included; a longer stake is kept whole).
PendingBetEntry normalizePendingBet(const PendingBetEntry& e);

// One line (without its line end), each field at its width: course 2
// characters, race right-aligned 3, type padded to 6, pick right-aligned 5,
// odds right-aligned 6, stake right-aligned 7 with its "円" (never cut).
std::string encodePendingBetLine(const PendingBetEntry& e);

// CP932 bytes of the entries, each line ending in CR LF.
std::string encodePendingBets(const std::vector<PendingBetEntry>& entries);

// Every entry of a pending-bet file, in file order (skipped lines left out).
// On a read failure returns an empty list and sets `error` (when given).
std::vector<PendingBetEntry> readPendingBets(const fs::path& path, std::string* error = nullptr);

// The day's pending-bet file: the pending-bet folder (setting 保留ＢＥＴ,
// the data folder when unset) + "~B" + MeetingDate + ".TXT". An existing file
// whose name differs only in case is found and returned.
fs::path pendingBetPath(const Session& s);

// Locks the folder of the day's pending-bet file for
// a read-modify-write of the file: two homes may share the folder, and an
// append must not lose the lines another one added meanwhile.
FolderLock lockPendingBetFolder(const Session& s);

// The message every pending-bet reader shows when the day's file is missing.
inline constexpr std::string_view kNoPendingBetsMessage = "保留ＢＥＴはありません！";

}  // namespace tolv
