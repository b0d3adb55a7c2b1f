#pragma once
// Forum odds posts to PAT98 odds files.
//
// Besides predictions the forum carries odds posts: per race a block of lines
// in fixed columns, starting with a header line that begins "【オッズ】". The
// conversion reads the forum log named by the ODDS key FHwars, takes every
// block of the processing day, and writes per race a bracket file ZO-<name>.JRA
// (win, place and bracket-quinella odds) and, from 9 runners on, a PAT98
// quinella file UO-<name>.JRA into the WarsOdds folder (see pat_odds.h for the
// record layouts). The odds import reads them when the odds source is "2".
//
// A block, line by line (columns of characters unless said to be bytes):
//   1. the header: 【オッズ】, the course name in characters 6-7, then the race
//      number before "レース", the meeting number between "年" and "回", the
//      day number before "日目", and at the end the time the odds were taken
//      ("15:10"). It is a header of the processing day when it holds the
//      year ("２６年"), month ("１２月") and day ("６日") texts in full-width
//      digits and the markers "取得", "レース", "日目" and "回", each at its
//      character position or later (see ForumOddsHeader::parse);
//   2. the race name in bytes 11-68;
//   3. the number of runners N in characters 65-66;
//   4. a line that is skipped;
//   5. N win/place lines in horse-number order: win odds in characters 11-15,
//      the place bounds in 18-21 and 23-26; "出走取消" from character 2 on
//      marks a scratched horse;
//   6. a line that is skipped;
//   7. below 9 runners: two skipped lines and the 8 lines of the bracket table;
//   8. from 9 runners: the quinella table, a set of N lines; a skipped line; a
//      second set of N lines whose first 8 lines hold the bracket table at the
//      left and, from 13 runners, the quinella pairs whose first horse is 13
//      or more at the right.
// Quinella cells are 5 bytes: line j of a set, at the byte column of i, holds
// the pair (i, j), i < j; "-----" marks a scratched horse. Bracket cells are 4
// bytes: line j, byte column 1 + 5 (i - 1), the bracket pair (i, j), i <= j.
//
// Files are written whole and atomically when a block has been read to its
// end, so a log cut inside a block (a log still being written) leaves the
// files of the earlier blocks, and those of an earlier post of the same race,
// as they are. A line beginning "【オッズ】" inside a block ends that block
// unconverted and is read as the next header: a post cut short in the forum
// never swallows the post after it. A block whose runner count is not 1-18,
// or whose course or race cannot be named, is passed over.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/files.h"
#include "core/session.h"
#include "core/ui.h"

namespace tolv {

// What a header line of the processing day says.
struct ForumOddsHeader {
  std::string courseName;  // two kanji, "中山"
  std::string courseCode;  // "06"
  std::string race;        // two digits, "09"
  std::string meeting;     // meeting number as written, narrowed ("5")
  std::string day;         // day number as written, narrowed ("2")
  std::string time;        // the last 5 characters of the line ("15:10")

  // The PAT file name of the race ("629"), see PatOddsName.
  std::string patName() const;

  // Reads a header line (UTF-8) of the day `meetingDate` (yyyymmdd). Each
  // marker must occur at or after its character position: year text 12,
  // month text 20, day text 31, "取得" 23, "レース" 9, "日目" 17, "回" 16.
  // An earlier occurrence of a marker does not hide a later one, so "６日目"
  // before the day text "６日" of the sixth does not reject the line.
  // nullopt when the line is no header of that day, or its course name is no
  // JRA course, or the text before "レース" is no race number.
  static std::optional<ForumOddsHeader> parse(std::string_view line, std::string_view meetingDate);
};

// The quinella-place bounds that go with quinella odds q, each formatted
// "###0.0" and right-aligned in 6: from 10 on the lower bound is
// (q / 3 + 0.5) x 10 truncated, divided by 10; below 10 it is (q / 2 + 0.5) x
// 10 truncated, divided by 10, and at least 1.0; the upper bound is the lower
// one times 1.2. All in double, as written: 14.7 gives 5.3 and 6.4 (53.999...
// truncated). Six spaces each when q is not above 0.
// 25.0 gives 8.8 and 10.6, 3.0 gives 2.0 and 2.4, 1.4 gives 1.2 and 1.4.
std::pair<std::string, std::string> QuinellaPlaceBounds(double quinellaOdds);

struct ForumOddsStats {
  fs::path log;                 // the log that was read
  int races = 0;                // blocks converted
  std::vector<fs::path> files;  // files written, each once, in the order first written
  // The log ended inside a block; the race of that block ("中山 9R").
  std::optional<std::string> cutRace;
};

// The menu's forum odds conversion: converts every race block of the
// processing day in the forum log FHwars (date placeholders %Y1 %Y2 %M1 %D1
// replaced) into the WarsOdds folder, which is emptied of its *.JRA files
// first. Later posts of a race replace the files of earlier ones.
//
// Done when the log was read to its end (also when it held no block of the
// day, or ended inside one). Failed, with a message, when FHwars is not set,
// the log does not exist or cannot be read, or the folder cannot be emptied
// or written; files already written stay.
StepResult convertForumOdds(Session& session, UserInterface& ui, ForumOddsStats* stats = nullptr);

}  // namespace tolv
