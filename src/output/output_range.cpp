#include "output/output_range.h"

#include <algorithm>

#include "core/text.h"
#include "tolv/version.h"

namespace tolv {

bool PassesOutputRange(const TolvRecord& record, const Settings& settings) {
  const double odds = val(record.odds);
  const double count = record.shareCount;
  return val(settings.oddsMin) <= odds && odds <= val(settings.oddsMax) && val(settings.minW) <= count &&
         count <= val(settings.maxW);
}

DaySchedule DaySchedule::load(const Session& session) {
  DaySchedule d;
  const fs::path path = session.scheduleFilePath();
  d.present = isRegularFile(path);
  if (d.present) d.records = readSchedule(path);
  return d;
}

const ScheduleRecord* DaySchedule::find(std::string_view courseName, double raceNumber) const {
  const std::string course = leftChars(courseName, 2);
  for (const auto& r : records) {
    if (leftChars(r.courseName, 2) != course) continue;
    if (raceNumber >= 0 && val(r.raceNumber) != raceNumber) continue;
    return &r;
  }
  return nullptr;
}

std::string versionText() {
  return std::to_string(kVersionMajor) + "." + zeroPad(kVersionMinor, 2) + "." + std::to_string(kRevision);
}

std::string twoCharNumber(long n) { return (n >= 0 && n < 10 ? " " : "") + std::to_string(n); }

long raceNumberOfKey(std::string_view raceKey) { return valInt(rightChars(raceKey, 2)); }

int outputMeetingCount(const Session& session) {
  return session.courseCount < 0 ? 0 : std::min(session.courseCount, 3);
}

bool checkOutputPreconditions(const Session& session, UserInterface& ui) {
  const std::string& first = session.tolvFilePaths[1];
  if (first.empty() || !isRegularFile(first)) {
    ui.inform(kNoDataFileMessage);
    return false;
  }
  if (outputMeetingCount(session) == 0) {
    ui.inform(kNoMeetingMessage);
    return false;
  }
  return true;
}

bool readMeetingRecords(const Session& session, UserInterface& ui, std::vector<std::vector<TolvRecord>>& out) {
  out.clear();
  const int meetings = outputMeetingCount(session);
  for (int i = 1; i <= meetings; ++i) {
    const std::string& path = session.tolvFilePaths[static_cast<std::size_t>(i)];
    // A later meeting whose file has gone is a meeting without picks: its
    // listing keeps the banner and the WARS file its header.
    if (i > 1 && (path.empty() || !fs::exists(path))) {
      out.emplace_back();
      continue;
    }
    std::string error;
    auto records = readTolvFile(path, &error);
    if (!records) {
      ui.inform("「トルブ」データファイルを読み込めません：" + path + "\r\n" + error, "【トルブ】エラーメッセージ",
                Icon::Critical);
      return false;
    }
    out.push_back(std::move(*records));
  }
  return true;
}

}  // namespace tolv
