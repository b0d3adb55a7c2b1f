#include "output/tolv_text.h"

#include <algorithm>

#include "core/codes.h"
#include "core/dates.h"
#include "core/text.h"

namespace tolv {

namespace {

const std::string kEqualsRule(kListingWidth, '=');
// The post-time part " 発走[hh:mm]" takes the last 12 bytes of a heading.
constexpr long kPostTimeWidth = 12;

// "2002年 5月12日(日)": the processing day with month and day in two characters.
std::string dateText(const Session& s) {
  return s.meetingYear() + "年" + twoCharNumber(valInt(s.meetingMonth())) + "月" +
         twoCharNumber(valInt(s.meetingDay())) + "日";
}

}  // namespace

std::vector<std::string> WriteTextBanner(const Session& session, std::string_view courseName) {
  std::string line = "《" + std::string(courseName) + "》 " + dateText(session) + "(" +
                     weekdayKanji(session.meetingDate()) + ") " + "今日もいただきィ～(^^)v  by【トルブ】Ver" +
                     versionText();
  return {kEqualsRule, padBytes(line, kListingWidth), kEqualsRule};
}

std::string FormatRaceHeading(const Session& session, const DaySchedule& schedule, std::string_view raceKey) {
  return FormatRaceHeading(session, schedule, raceKey, RaceHeadingStyle{});
}

std::string FormatRaceHeading(const Session& session, const DaySchedule& schedule, std::string_view raceKey,
                              const RaceHeadingStyle& style) {
  const std::string courseName = CourseNameOfCode(leftChars(raceKey, 2));
  const long race = raceNumberOfKey(raceKey);
  std::string conditions;
  std::string postTime;
  for (const auto& r : schedule.records) {
    if (val(r.raceNumber) != static_cast<double>(race) || leftChars(r.courseName, 2) != courseName) continue;
    conditions += leftChars(r.surface, 1) + " " + r.distance + "m " + r.runners + "頭 ";
    if (style.raceNameWithDenFlag0 && session.settings.denFlag == 0) {
      // MJH data names the race but gives no age or class.
      const long close = findChars(r.raceName, "）");
      conditions += leftChars(r.raceName, close) + " ";
    } else {
      conditions += leftChars(r.age, 2) + ClassLabel(r.classCode) + " ";
    }
    postTime = " 発走[" + r.startTime + "]";
  }
  const std::string line = courseName + "【" + toWide(twoCharNumber(race)) + "Ｒ】 " + conditions +
                           std::string(static_cast<std::size_t>(kListingWidth), style.rule);
  if (postTime.empty()) return leftBytes(line, style.width);
  return leftBytes(line, style.width - kPostTimeWidth) + postTime;
}

std::string ProgramLabel(const Session& session, int code) {
  const std::string digits = rightChars("0000" + std::to_string(code), 4);
  for (const auto& e : session.programNames) {
    if (e.code == digits) return leftBytes(e.name, 6);
  }
  return "[" + digits + "]";
}

std::vector<std::string> FormatPickLine(const Session& session, const TolvRecord& record) {
  const int n = std::min(record.shareCount, 99);
  const std::string odds = val(record.odds) > 999.9 ? std::string("999.9") : trim(record.odds);
  std::vector<std::string> lines;
  lines.push_back(" <" + twoCharNumber(n) + "ｿﾌﾄ>" + padBytes(record.pick, 5) + "[" + rightChars("     " + odds, 5) +
                  "]:");
  const int labels = std::min(n, kMaxListedPrograms);
  for (int i = 1; i <= labels; ++i) {
    const std::string label = ProgramLabel(session, record.programCodes[static_cast<std::size_t>(i - 1)]);
    if (i == 1) {
      lines.back() += label;
    } else if (i % kLabelsPerLine == 1) {
      lines.push_back(std::string(kPickHeadWidth, ' ') + label);
    } else {
      lines.back() += "/" + label;
    }
  }
  return lines;
}

fs::path tolvListingPath(const Session& session, const fs::path& dataFile) {
  const std::string name = dataFile.filename().string();
  const long keep = std::max<long>(0, static_cast<long>(lenChars(name)) - 3);
  return fs::path(session.outPutFolder()) / (leftChars(name, keep) + "TXT");
}

std::vector<std::string> tolvListingLines(const Session& session, const DaySchedule& schedule,
                                          std::string_view courseCode, const std::vector<TolvRecord>& records) {
  std::vector<std::string> lines = WriteTextBanner(session, CourseNameOfCode(courseCode));
  const std::string* previousKey = nullptr;
  for (const auto& r : records) {
    if (!PassesOutputRange(r, session.settings)) continue;
    if (!previousKey || *previousKey != r.raceKey) lines.push_back(FormatRaceHeading(session, schedule, r.raceKey));
    for (auto& l : FormatPickLine(session, r)) lines.push_back(std::move(l));
    previousKey = &r.raceKey;
  }
  lines.push_back(kEqualsRule);
  lines.emplace_back();
  return lines;
}

StepResult writeTolvText(Session& session, UserInterface& ui, std::vector<fs::path>* written) {
  BusyScope busy(ui);
  if (!checkOutputPreconditions(session, ui)) return StepResult::Failed;
  std::vector<std::vector<TolvRecord>> meetings;
  if (!readMeetingRecords(session, ui, meetings)) return StepResult::Failed;
  const DaySchedule schedule = DaySchedule::load(session);

  for (std::size_t i = 0; i < meetings.size(); ++i) {
    const fs::path path = tolvListingPath(session, session.tolvFilePaths[i + 1]);
    const auto lines = tolvListingLines(session, schedule, session.courseCodes[i], meetings[i]);
    std::string error;
    if (!writeFileAtomic(path, encodeTextLines(lines), &error)) {
      ui.inform("テキストファイルを書き込めません：" + path.string() + "\r\n" + error, "【トルブ】エラーメッセージ",
                Icon::Critical);
      return StepResult::Failed;
    }
    if (written) written->push_back(path);
  }
  return StepResult::Done;
}

}  // namespace tolv
