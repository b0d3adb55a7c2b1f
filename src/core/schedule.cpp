#include "core/schedule.h"

#include <algorithm>
#include <set>

#include "core/codes.h"
#include "core/lzh.h"
#include "core/mjh_record.h"
#include "core/records.h"
#include "core/startup.h"
#include "core/text.h"

namespace tolv {

std::string ScheduleRecord::encode() const {
  RecordBuilder b(kScheduleRecordLength);
  b.text(0, 4, courseName).text(4, 1, meetingNumber).text(5, 1, meetingDay).text(6, 2, raceNumber);
  b.text(8, 2, surface).text(10, 4, distance).text(14, 2, runners).text(16, 4, age).text(20, 2, classCode);
  b.text(22, 30, raceName).text(52, 5, startTime);
  return b.bytes();
}

ScheduleRecord ScheduleRecord::decode(std::string_view bytes) {
  RecordReader r(bytes);
  ScheduleRecord s;
  s.courseName = r.text(0, 4);
  s.meetingNumber = r.text(4, 1);
  s.meetingDay = r.text(5, 1);
  s.raceNumber = r.text(6, 2);
  s.surface = r.text(8, 2);
  s.distance = r.text(10, 4);
  s.runners = r.text(14, 2);
  s.age = r.text(16, 4);
  s.classCode = r.text(20, 2);
  s.raceName = r.text(22, 30);
  s.startTime = r.text(52, 5);
  return s;
}

namespace {

constexpr std::size_t kJraVanRecordLength = 1463;
constexpr std::size_t kTargetRecordLength = 584;
constexpr std::size_t kKolRecordLength = 779;
constexpr long long kMinJraVanArchiveBytes = 50000;

std::string field(std::string_view record, std::size_t offset, std::size_t width) {
  return RecordReader(record).text(offset, width);
}

std::string lastChar(const std::string& s) { return rightChars(s, 1); }

// The race number as a classic Str writes it, its last two characters.
std::string raceNumberText(const std::string& raw) { return rightChars(classicStr(valInt(raw)), 2); }

// The class code from the grade letter and the first condition code whose
// number is above 0.
std::string classOf(const std::string& grade, const std::vector<std::string>& conditions) {
  std::string condition;
  for (const auto& c : conditions) {
    if (val(c) > 0) {
      condition = c;
      break;
    }
  }
  return ClassOfGrade(grade, condition);
}

void noteCourse(std::set<int>& courses, long code) {
  if (code >= 1 && code <= 10) courses.insert(static_cast<int>(code));
}

std::vector<std::string> courseList(const std::set<int>& noted) {
  std::vector<std::string> out;
  for (int c : noted) {
    if (out.size() == 3) break;
    out.push_back(TwoDigits(c));
  }
  return out;
}

// The JRA code of a KOL course code: only 00-09 are JRA courses; any other
// (a local or foreign course) gives "".
std::string kolJraCode(const std::string& code) {
  if (code.size() == 2 && code[0] == '0' && code[1] >= '0' && code[1] <= '9') return ExtToJraCode(code);
  return {};
}

std::string hhmm(const std::string& four) { return leftChars(four, 2) + ":" + midChars(four, 3, 2); }

}  // namespace

std::vector<ScheduleRecord> scheduleFromJraVan(const std::vector<std::string>& records, const std::string& meetingDate,
                                               std::vector<std::string>& courses) {
  std::vector<const std::string*> kept;
  std::set<int> noted;
  for (const auto& r : records) {
    if (field(r, 0, 4) + field(r, 4, 2) + field(r, 6, 2) != meetingDate) continue;
    kept.push_back(&r);
    long code = valInt(field(r, 8, 2));
    noteCourse(noted, code == 0 ? 10 : code);  // course 00 is 小倉
  }
  courses = courseList(noted);
  std::vector<ScheduleRecord> out;
  for (const std::string* r : kept) {
    ScheduleRecord s;
    long code = valInt(field(*r, 8, 2));
    s.courseName = CourseNameOfCode(TwoDigits(static_cast<int>(code == 0 ? 10 : code)));
    s.meetingNumber = lastChar(field(*r, 10, 2));
    s.meetingDay = lastChar(field(*r, 12, 2));
    s.raceNumber = raceNumberText(field(*r, 14, 2));
    s.surface = SurfaceOfTrackCode(field(*r, 136, 2));
    s.distance = field(*r, 132, 4);
    s.runners = field(*r, 324, 2);
    s.age = AgeOfTypeCode(field(*r, 87, 2));
    s.classCode = classOf("", {field(*r, 93, 3), field(*r, 96, 3), field(*r, 99, 3), field(*r, 102, 3), field(*r, 105, 3)});
    s.startTime = hhmm(field(*r, 319, 4));
    out.push_back(std::move(s));
  }
  return out;
}

std::vector<ScheduleRecord> scheduleFromTarget(const std::vector<std::string>& records, const std::string& meetingDate,
                                               std::vector<std::string>& courses) {
  std::vector<const std::string*> kept;
  std::set<int> noted;
  const std::string day6 = rightChars(meetingDate, 6);
  for (const auto& r : records) {
    if (field(r, 2, 2) + field(r, 8, 4) != day6) continue;
    kept.push_back(&r);
    noteCourse(noted, valInt(field(r, 0, 2)));
  }
  courses = courseList(noted);
  std::vector<ScheduleRecord> out;
  for (const std::string* r : kept) {
    ScheduleRecord s;
    s.courseName = CourseNameOfCode(field(*r, 0, 2));
    s.meetingNumber = lastChar(field(*r, 4, 1));
    s.meetingDay = lastChar(field(*r, 5, 1));
    s.raceNumber = raceNumberText(field(*r, 6, 2));
    s.surface = SurfaceOfTrackCode(field(*r, 102, 2));
    s.distance = field(*r, 98, 4);
    s.runners = field(*r, 105, 2);
    s.age = AgeOfTypeCode(field(*r, 80, 2));
    s.classCode = classOf(field(*r, 104, 1), {field(*r, 86, 3), field(*r, 89, 3), field(*r, 92, 3), field(*r, 95, 3)});
    s.startTime = hhmm(field(*r, 13, 4));
    out.push_back(std::move(s));
  }
  return out;
}

std::vector<ScheduleRecord> scheduleFromKol(const std::vector<std::string>& records, const std::string& meetingDate,
                                            std::vector<std::string>& courses) {
  std::vector<const std::string*> kept;
  std::set<int> noted;
  for (const auto& r : records) {
    if (field(r, 12, 4) + field(r, 16, 2) + field(r, 18, 2) != meetingDate) continue;
    kept.push_back(&r);
    noteCourse(noted, valInt(kolJraCode(field(r, 0, 2))));
  }
  courses = courseList(noted);
  std::vector<ScheduleRecord> out;
  for (const std::string* r : kept) {
    ScheduleRecord s;
    s.courseName = CourseNameOfCode(kolJraCode(field(*r, 0, 2)));
    s.meetingNumber = lastChar(field(*r, 6, 2));
    s.meetingDay = lastChar(field(*r, 8, 2));
    s.raceNumber = raceNumberText(field(*r, 10, 2));
    if (field(*r, 24, 1) == "1") {
      s.surface = "障";
    } else {
      s.surface = field(*r, 104, 1) == "0" ? "ダ" : "芝";
    }
    s.distance = field(*r, 108, 4);
    s.runners = field(*r, 336, 2);
    s.age = AgeOfDigit(field(*r, 97, 1));
    s.classCode = ClassOfNumber(static_cast<int>(valInt(field(*r, 99, 5))));
    s.startTime = field(*r, 331, 5);
    out.push_back(std::move(s));
  }
  return out;
}

std::optional<fs::path> findCardSource(const Session& s, CardSource source) {
  const fs::path folder = s.resolvePath(s.settings.denFileFolder);
  const std::string day6 = rightChars(s.meetingDate(), 6);
  switch (source) {
    case CardSource::Mjh:
      if (auto p = findCaseless(folder, "RX" + day6 + ".TXT"); p && isRegularFile(*p)) return p;
      return std::nullopt;
    case CardSource::Target:
      if (auto p = findCaseless(folder, day6 + "全.DEN"); p && isRegularFile(*p)) return p;
      return std::nullopt;
    case CardSource::Kol: {
      auto found = listFiles(folder, "H?" + day6 + ".LZH");
      if (found.empty()) return std::nullopt;
      return found.front();
    }
    case CardSource::JraVan:
      for (const auto& p : listFiles(folder, "D?" + day6 + ".LZH")) {
        if (fileSize(p) > kMinJraVanArchiveBytes) return p;
      }
      return std::nullopt;
  }
  return std::nullopt;
}

namespace {

// The records of an archive's member, unpacked into Work/.
std::optional<std::vector<std::string>> memberRecords(const Session& s, const fs::path& archive,
                                                      const std::string& member, std::size_t length) {
  if (!unpackArchive(s, archive).ok) return std::nullopt;
  auto path = findCaseless(s.unpackFolder(), member);
  if (!path || !isRegularFile(*path)) return std::nullopt;
  return readRecords(*path, length);
}

bool writeSchedule(Session& s, const std::vector<ScheduleRecord>& records) {
  std::vector<std::string> bytes;
  bytes.reserve(records.size());
  for (const auto& r : records) bytes.push_back(r.encode());
  return writeRecords(s.scheduleFilePath(), bytes);
}

void setCourses(Session& s, const std::vector<std::string>& courses) {
  s.courseCodes = {"0", "0", "0"};
  for (std::size_t i = 0; i < courses.size() && i < 3; ++i) s.courseCodes[i] = courses[i];
  s.courseCount = static_cast<int>(std::min<std::size_t>(courses.size(), 3));
}

bool buildFromMjh(Session& s, const MjhConverter& convertMjh) {
  fs::path data = mjhDataPath(s.dataFolder(), s.meetingDate());
  if (!isRegularFile(data) && convertMjh) {
    convertMjh(s);
    s.mjhConverted = true;
  }
  auto records = readRecords(data, kMjhRecordLength);
  if (!records || records->size() <= 1) return false;
  std::vector<ScheduleRecord> out;
  for (const auto& bytes : *records) {
    MjhRecord m = MjhRecord::decode(bytes);
    ScheduleRecord r;
    r.courseName = CourseNameOfCode(TwoDigits(m.courseCode));
    r.meetingNumber = rightChars(std::to_string(m.meetingNumber), 1);
    r.meetingDay = rightChars(std::to_string(m.dayNumber), 1);
    r.raceNumber = rightChars(classicStr(m.raceNumber), 2);
    r.surface = m.surface == 1 ? "芝" : m.surface == 2 ? "ダ" : m.surface == 3 ? "障" : "　";
    r.distance = m.distance;
    r.runners = std::to_string(m.runners);  // left-aligned, as numbers in text fields are
    r.raceName = m.raceName;
    r.startTime = "  :  ";
    out.push_back(std::move(r));
  }
  return writeSchedule(s, out);
}

}  // namespace

bool buildMeetingSchedule(Session& s, const MjhConverter& convertMjh) {
  const auto source = static_cast<CardSource>(s.settings.denFlag >= 0 && s.settings.denFlag <= 3 ? s.settings.denFlag : 3);
  bool written = false;
  auto file = findCardSource(s, source);
  if (file) {
    std::vector<std::string> courses;
    std::optional<std::vector<std::string>> records;
    std::vector<ScheduleRecord> schedule;
    switch (source) {
      case CardSource::Mjh:
        written = buildFromMjh(s, convertMjh);
        break;
      case CardSource::Target:
        records = readRecords(*file, kTargetRecordLength);
        if (records) {
          schedule = scheduleFromTarget(*records, s.meetingDate(), courses);
          setCourses(s, courses);
          written = writeSchedule(s, schedule);
        }
        break;
      case CardSource::Kol:
        records = memberRecords(s, *file, "kol_den1.kd2", kKolRecordLength);
        if (records) {
          schedule = scheduleFromKol(*records, s.meetingDate(), courses);
          setCourses(s, courses);
          written = writeSchedule(s, schedule);
        }
        break;
      case CardSource::JraVan:
        records = memberRecords(s, *file, "JRACDEN1.DAT", kJraVanRecordLength);
        if (records) {
          schedule = scheduleFromJraVan(*records, s.meetingDate(), courses);
          setCourses(s, courses);
          written = writeSchedule(s, schedule);
        }
        break;
    }
  }
  clearWorkFolder(s);
  return written;
}

bool ensureMeetingSchedule(Session& s, const MjhConverter& convertMjh) {
  const fs::path path = s.scheduleFilePath();
  if (!isRegularFile(path)) buildMeetingSchedule(s, convertMjh);
  // A schedule of fewer than two records is no use to anyone: it goes, also
  // right after it was built.
  long long size = fileSize(path);
  if (size >= 0 && size < kMinUsableScheduleBytes) {
    removeFile(path);
    size = -1;
  }
  s.scheduleReady = size >= 0;
  return s.scheduleReady;
}

std::vector<ScheduleRecord> readSchedule(const fs::path& path) {
  std::vector<ScheduleRecord> out;
  auto records = readRecords(path, kScheduleRecordLength);
  if (!records) return out;
  for (const auto& r : *records) out.push_back(ScheduleRecord::decode(r));
  return out;
}

}  // namespace tolv
