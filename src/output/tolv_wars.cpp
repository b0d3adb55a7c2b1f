#include "output/tolv_wars.h"

#include <array>
#include <fstream>

#include "core/codes.h"
#include "core/dates.h"
#include "core/text.h"
#include "odds/pat_odds.h"

namespace tolv {

namespace {

const std::string kDashRule(kWarsLineWidth, '-');

constexpr std::array<std::string_view, 10> kCourseNames = {"札幌", "函館", "福島", "新潟", "東京",
                                                           "中山", "中京", "京都", "阪神", "小倉"};

bool isCourseName(std::string_view s) {
  for (auto name : kCourseNames) {
    if (s == name) return true;
  }
  return false;
}

// The first record of a UO- file, or nothing when the file is shorter than a
// PAT95 record (the smaller layout) or cannot be read. Only those bytes are
// read, whatever the file's size.
std::optional<std::string> firstQuinellaRecord(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(kPatQuinella95RecordLength, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<std::size_t>(in.gcount()) != bytes.size()) return std::nullopt;
  return bytes;
}

// The race label of a WARS race line: race number in two characters, "R" and
// four spaces.
std::string raceLabel(std::string_view raceKey) { return twoCharNumber(raceNumberOfKey(raceKey)) + "R    "; }

// The schedule's annotation of a race line, after the race part.
std::string annotated(const std::string& line, const ScheduleRecord& r) {
  return padBytes(line, kWarsRacePartWidth) + "|" + leftChars(r.surface, 1) + r.distance + "m " + r.runners + "頭 " +
         leftChars(r.age, 2) + " " + ClassLabel(r.classCode) + " " + r.startTime;
}

}  // namespace

MeetingRound FindRoundFromPatOdds(const Session& session, std::string_view courseCode) {
  MeetingRound round;
  if (valInt(courseCode) == 0) return round;
  const fs::path folder = session.resolvePath(session.settings.patFolder);
  const std::string pattern = "UO-" + CourseLetter(courseCode) + "??.JRA";
  for (const auto& file : listFiles(folder, pattern)) {
    auto record = firstQuinellaRecord(file);
    if (!record) continue;
    const PatOddsHeader header = PatOddsHeader::decode(*record);
    if (header.date != session.meetingDate()) continue;
    const std::string meeting = rightChars(header.meeting, 1);
    const std::string day = rightChars(header.day, 1);
    if (!meeting.empty()) round.meeting = meeting;
    if (!day.empty()) round.day = day;
    break;
  }
  return round;
}

MeetingRound meetingRound(const Session& session, const DaySchedule& schedule, std::string_view courseName) {
  if (!schedule.present) return FindRoundFromPatOdds(session, CourseCodeOfName(courseName));
  MeetingRound round;
  if (const ScheduleRecord* r = schedule.find(courseName)) {
    round.meeting = r->meetingNumber;
    round.day = r->meetingDay;
  }
  return round;
}

std::vector<std::string> warsHeaderLines(const Session& session, const DaySchedule& schedule,
                                         std::string_view courseName, std::string_view code,
                                         std::string_view signature) {
  const MeetingRound round = meetingRound(session, schedule, courseName);
  const std::string line = std::string(courseName) + " " + session.meetingYear() + "年" + "  " + round.meeting + "回" +
                           "  " + round.day + "日目" + " " + twoCharNumber(valInt(session.meetingMonth())) + "月" +
                           " " + twoCharNumber(valInt(session.meetingDay())) + "日" + "(" +
                           weekdayKanji(session.meetingDate()) + ") [" + std::string(code) + "]" +
                           std::string(signature);
  return {kDashRule, padBytes(line, kWarsLineWidth), kDashRule};
}

std::vector<std::string> WriteWarsMeetingHeader(const Session& session, const DaySchedule& schedule,
                                                std::string_view courseName) {
  const WarsOutputSettings& wars = session.settings.wars;
  const std::string signature = wars.hedaFlag == 1 ? " " + wars.orgHeda : " 【トルブ】Ver" + versionText();
  return warsHeaderLines(session, schedule, courseName, wars.code, signature);
}

std::string warsFileName(std::string_view prefix, const std::string& meetingDate, const WarsOutputSettings& wars) {
  const std::string base = std::string(prefix) + meetingDate;
  if (wars.ka1 == "1") return base + "_" + wars.code + ".TXT";
  if (wars.ka1 == "2") return base + "_" + wars.code + (wars.ka2.empty() ? "" : "." + wars.ka2);
  return base + "." + wars.code;
}

fs::path tolvWarsPath(const Session& session) {
  return session.resolvePath(session.settings.wars.outFolder) /
         warsFileName("Tolv_WARS", session.meetingDate(), session.settings.wars);
}

std::vector<std::string> tolvWarsLines(const Session& session, const DaySchedule& schedule,
                                       const std::vector<std::vector<TolvRecord>>& meetings) {
  // First the bare post: headers and race lines as they are cut.
  std::vector<std::string> post;
  const double limit = val(session.settings.wars.output);
  for (std::size_t i = 0; i < meetings.size(); ++i) {
    for (auto& l : WriteWarsMeetingHeader(session, schedule, CourseNameOfCode(session.courseCodes[i]))) {
      post.push_back(std::move(l));
    }
    std::string current;
    const std::string* previousKey = nullptr;
    int c = 0;
    for (const auto& r : meetings[i]) {
      if (!PassesOutputRange(r, session.settings)) continue;
      ++c;
      if (!previousKey) {
        current = raceLabel(r.raceKey);
      } else if (*previousKey != r.raceKey) {
        c = 1;
        post.push_back(std::move(current));
        current = raceLabel(r.raceKey);
      }
      if (c <= limit) current += " " + padBytes(r.pick, 5);
      previousKey = &r.raceKey;
    }
    // Ends the open line: the last race line, or an empty line when the
    // meeting had no pick in range. Then the empty line after the meeting.
    post.push_back(std::move(current));
    post.emplace_back();
  }

  // Then the finished lines: race lines annotated from the schedule, every
  // non-empty line padded to the full width.
  std::vector<std::string> lines;
  lines.reserve(post.size());
  std::string course;  // the course of the last header line seen
  for (auto& line : post) {
    if (line.empty()) {
      lines.emplace_back();
      continue;
    }
    if (schedule.present) {
      const std::string head = leftChars(line, 2);
      if (isCourseName(head)) course = head;
    }
    if (midChars(line, 3, 2) == "R " && !course.empty()) {
      if (const ScheduleRecord* r = schedule.find(course, val(leftChars(line, 2)))) line = annotated(line, *r);
    }
    lines.push_back(padBytes(line, kWarsLineWidth));
  }
  return lines;
}

StepResult writeTolvWars(Session& session, UserInterface& ui, fs::path* written) {
  BusyScope busy(ui);
  if (!checkOutputPreconditions(session, ui)) return StepResult::Failed;
  std::vector<std::vector<TolvRecord>> meetings;
  if (!readMeetingRecords(session, ui, meetings)) return StepResult::Failed;
  const DaySchedule schedule = DaySchedule::load(session);

  const fs::path path = tolvWarsPath(session);
  std::string error;
  if (!writeFileAtomic(path, encodeTextLines(tolvWarsLines(session, schedule, meetings)), &error)) {
    ui.inform("WARS形式ファイルを書き込めません：" + path.string() + "\r\n" + error, "【トルブ】エラーメッセージ",
              Icon::Critical);
    return StepResult::Failed;
  }
  if (written) *written = path;
  return StepResult::Done;
}

}  // namespace tolv
