#pragma once
// The output filter and what the day's outputs share: the meeting schedule as
// they read it, the version text they sign with, and two-character numbers.

#include <string>
#include <string_view>
#include <vector>

#include "core/schedule.h"
#include "core/session.h"
#include "core/settings.h"
#include "core/tolv_record.h"
#include "core/ui.h"

namespace tolv {

// A Tolv record is shown or output only when MIN <= Val(odds) <= MAX and
// MinW <= ShareCount <= MaxW, every value compared as a double. Blank odds
// read 0, so picks without odds drop out whenever MIN is above 0.
bool PassesOutputRange(const TolvRecord& record, const Settings& settings);

// The day's meeting schedule as the outputs read it. A schedule that is
// missing and one that names no race of a course give the same headings, but
// only a missing one sends the WARS meeting header to the PAT odds files.
struct DaySchedule {
  bool present = false;  // the schedule file exists
  std::vector<ScheduleRecord> records;

  static DaySchedule load(const Session& session);
  // The first record of the course (its name compared on two characters),
  // and of the race when `raceNumber` is not negative (compared as numbers).
  const ScheduleRecord* find(std::string_view courseName, double raceNumber = -1) const;
};

// "4.16.<revision>": major, minor as two digits, revision.
std::string versionText();

// A number in two characters, with a leading space below 10 (" 5", "12").
std::string twoCharNumber(long n);

// The race number of a race key (its last two characters) as a number.
long raceNumberOfKey(std::string_view raceKey);

// The two messages both writers stop with before writing anything.
inline constexpr std::string_view kNoDataFileMessage = "「トルブ」データファイルが作成されていません！　中止します。";
inline constexpr std::string_view kNoMeetingMessage = "開催場所の確認が出来ません！　作者までご連絡ください<m(__)m>";

// The number of meetings the writers work on: CourseCount, at most three.
int outputMeetingCount(const Session& session);

// The common preconditions of both writers; shows the message and returns
// false when one fails.
bool checkOutputPreconditions(const Session& session, UserInterface& ui);

// Reads the data files of the day's meetings (a missing file of a later
// meeting reads as no records); shows a message naming the file and returns
// false when one cannot be read.
bool readMeetingRecords(const Session& session, UserInterface& ui, std::vector<std::vector<TolvRecord>>& out);

}  // namespace tolv
