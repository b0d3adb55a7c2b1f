#pragma once
// The Tolv WARS-format file: one file for the whole day in the forum's WARS
// posting format, signed with the user's WARS code, ready to be posted back.
// Per meeting a three-line header, then one line per race with at most
// OUTPUT picks, annotated after byte 45 with the race's conditions when the
// meeting schedule knows the race, then an empty line. Log extraction reads
// such a file back like any other program's post.

#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"
#include "core/settings.h"
#include "core/ui.h"
#include "output/output_range.h"

namespace tolv {

// Width of every non-empty line of a WARS-format file.
inline constexpr long kWarsLineWidth = 76;
// Bytes of a race line before the schedule's "|" annotation.
inline constexpr long kWarsRacePartWidth = 45;

// The meeting number (回) and day number (日目) characters of a meeting.
struct MeetingRound {
  std::string meeting = "?";
  std::string day = "?";
};

// The round of a course from the day's PAT quinella odds files in PATFolder:
// the files "UO-" + course letter + "??.JRA" in directory order, the first
// that holds a whole record dated the processing day giving the last
// character of its meeting and day fields. "?" for both when none does (and
// for course code 0).
MeetingRound FindRoundFromPatOdds(const Session& session, std::string_view courseCode);

// The round of a meeting as a WARS header shows it: from the first schedule
// record of the course when the schedule exists ("?" when it has none), else
// from the PAT odds files.
MeetingRound meetingRound(const Session& session, const DaySchedule& schedule, std::string_view courseName);

// The three header lines of a meeting in a WARS-format post: a rule of "-",
// course, year, round, date, weekday and "[" + code + "]" followed by
// `signature`, padded to 76, and a rule of "-". Shared with other WARS-format
// outputs, which sign with their own code and text.
std::vector<std::string> warsHeaderLines(const Session& session, const DaySchedule& schedule,
                                         std::string_view courseName, std::string_view code,
                                         std::string_view signature);

// The Tolv header: WARS CODE, then " " + ORGHEDA when HEDAFLAG is 1, else the
// program's name and version.
std::vector<std::string> WriteWarsMeetingHeader(const Session& session, const DaySchedule& schedule,
                                                std::string_view courseName);

// The name of a WARS-format file chosen by the naming mode `ka1` and the
// extension `ka2`: "1" prefix + date + "_" + code + ".TXT"; "2" the same with
// "." + ka2 (no extension when ka2 is empty); anything else prefix + date +
// "." + code.
std::string warsFileName(std::string_view prefix, const std::string& meetingDate, const WarsOutputSettings& wars);

// The day's Tolv WARS-format file: WARS OUTFOLDER + "Tolv_WARS" + ... .
fs::path tolvWarsPath(const Session& session);

// The lines of the WARS-format file for the day's meetings (records of each
// in file order, meetings in the order of CourseCodes).
std::vector<std::string> tolvWarsLines(const Session& session, const DaySchedule& schedule,
                                       const std::vector<std::vector<TolvRecord>>& meetings);

// Writes the day's WARS-format file (atomically, replacing an older one).
// Failed with its message when data file 1 is missing, when there is no
// meeting, or when a file cannot be read or written.
StepResult writeTolvWars(Session& session, UserInterface& ui, fs::path* written = nullptr);

}  // namespace tolv
