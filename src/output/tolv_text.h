#pragma once
// The Tolv text listing: one file per meeting of the day in OutPut/, named
// after the meeting's data file with "TXT" for its extension. A banner, then
// for every race with a pick in the output range a heading with the race's
// conditions and one line per pick: how many posts held it, its odds and the
// programs that posted it.
//
// The pieces return text lines (UTF-8, without line ends) so that the other
// outputs and viewers can reuse them.

#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"
#include "core/tolv_record.h"
#include "core/ui.h"
#include "output/output_range.h"

namespace tolv {

// Width of the listing's lines and rules.
inline constexpr long kListingWidth = 76;
// Width of a pick line's head, " <nnｿﾌﾄ>pick[odds]:"; continuation lines of
// program labels are indented by as much.
inline constexpr long kPickHeadWidth = 21;
// Program labels per physical line of a pick.
inline constexpr int kLabelsPerLine = 8;

// The three banner lines of a listing: a rule of "=", the course and the
// processing day with the program's greeting and version, a rule of "=".
std::vector<std::string> WriteTextBanner(const Session& session, std::string_view courseName);

// The 76-byte heading of a race: course, race number in full width, the
// race's conditions from the schedule (with DenFlag 0 the race name up to its
// first "）" instead of age and class) and its post time.
std::string FormatRaceHeading(const Session& session, const DaySchedule& schedule, std::string_view raceKey);

// The layout of a race heading: its width in bytes, the character of the rule
// that fills it, and whether DenFlag 0 names the race instead of its age and
// class. The post-time part takes its last 12 bytes.
struct RaceHeadingStyle {
  long width = kListingWidth;
  char rule = '+';
  bool raceNameWithDenFlag0 = true;
};
std::string FormatRaceHeading(const Session& session, const DaySchedule& schedule, std::string_view raceKey,
                              const RaceHeadingStyle& style);

// The physical lines of a pick: the 21-byte head, then the labels of the
// posting programs (at most 63, the codes a record keeps), eight per line,
// the later lines indented by 21 spaces.
std::vector<std::string> FormatPickLine(const Session& session, const TolvRecord& record);

// The label of a program: the first six bytes of its short name when the
// program-name table lists its four-digit code, else "[" + code + "]".
std::string ProgramLabel(const Session& session, int code);

// The listing file of a meeting's data file: OutPut/ + the data file's name
// with its last three characters replaced by "TXT".
fs::path tolvListingPath(const Session& session, const fs::path& dataFile);

// The lines of one meeting's listing from its records (file order).
std::vector<std::string> tolvListingLines(const Session& session, const DaySchedule& schedule,
                                          std::string_view courseCode, const std::vector<TolvRecord>& records);

// Writes the listing of every meeting of session.tolvFilePaths[1..courseCount]
// (as the session holds them: the caller lists the day's files or has just
// written them). Failed with its message when data file 1 is missing, when
// there is no meeting, or when a file cannot be read or written; a missing
// data file of a later meeting counts as a meeting without picks. `written`
// receives the listing paths in meeting order.
StepResult writeTolvText(Session& session, UserInterface& ui, std::vector<fs::path>* written = nullptr);

}  // namespace tolv
