#pragma once
// The meeting schedule "yyyymmdd開催.DAT": every race of the processing day,
// built from the race-card source chosen by FILE DenFlag.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"

namespace tolv {

inline constexpr std::size_t kScheduleRecordLength = 67;
// A schedule of fewer than two records is unusable.
inline constexpr long long kMinUsableScheduleBytes = 101;

struct ScheduleRecord {
  std::string courseName;     // 4 bytes: two kanji
  std::string meetingNumber;  // 1: last digit of 回
  std::string meetingDay;     // 1: last digit of 日目
  std::string raceNumber;     // 2: " 1" .. "12"
  std::string surface;        // 2: 芝, ダ or 障
  std::string distance;       // 4
  std::string runners;        // 2
  std::string age;            // 4: "３上", ...
  std::string classCode;      // 2
  std::string raceName;       // 30
  std::string startTime;      // 5: "hh:mm"

  std::string encode() const;
  static ScheduleRecord decode(std::string_view bytes);
};

// Race-card sources (FILE DenFlag).
enum class CardSource { Mjh = 0, Target = 1, Kol = 2, JraVan = 3 };

// Converts the day's MJH text into the MJH data file (the odds module does
// it; the schedule only reads the result).
using MjhConverter = std::function<void(Session&)>;

// Builds the day's schedule from the configured source; true when the file
// was written. Fills CourseCodes/CourseCount (not from MJH data). The unpack folder is
// emptied afterwards.
bool buildMeetingSchedule(Session& s, const MjhConverter& convertMjh);

// The schedule check of Tolv and Pirune creation: builds the file when it is
// missing, deletes it when it is shorter than two records, and sets
// ScheduleReady.
bool ensureMeetingSchedule(Session& s, const MjhConverter& convertMjh);

// The records of the day's schedule (empty when there is none).
std::vector<ScheduleRecord> readSchedule(const fs::path& path);

// The source file of a race-card source in DenFileFolder, if present (for
// JRA-VAN the first D? archive of the day larger than 50000 bytes).
std::optional<fs::path> findCardSource(const Session& s, CardSource source);

// Schedule records from the records of the three fixed-length sources, in
// two passes: the day's records and their courses, then one schedule record
// each. `courses` receives the day's JRA course codes in ascending order.
std::vector<ScheduleRecord> scheduleFromJraVan(const std::vector<std::string>& records, const std::string& meetingDate,
                                               std::vector<std::string>& courses);
std::vector<ScheduleRecord> scheduleFromTarget(const std::vector<std::string>& records, const std::string& meetingDate,
                                               std::vector<std::string>& courses);
std::vector<ScheduleRecord> scheduleFromKol(const std::vector<std::string>& records, const std::string& meetingDate,
                                            std::vector<std::string>& courses);

}  // namespace tolv
