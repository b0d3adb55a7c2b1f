#pragma once
// A race day for the output tests: Tolv data files, a meeting schedule and
// open ranges, on a temporary home.

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/schedule.h"
#include "core/startup.h"
#include "core/text.h"
#include "core/tolv_record.h"
#include "support/test_support.h"

namespace tolv::testing {

inline TolvRecord pickRecord(std::string key, std::string pick, std::string odds, int count,
                             std::initializer_list<int> codes = {}) {
  TolvRecord r;
  r.raceKey = std::move(key);
  r.pick = std::move(pick);
  r.odds = std::move(odds);
  r.shareCount = count;
  std::size_t i = 0;
  for (int c : codes) r.programCodes[i++] = c;
  return r;
}

inline ScheduleRecord race(std::string course, std::string meeting, std::string day, std::string number,
                           std::string surface, std::string distance, std::string runners, std::string age,
                           std::string classCode, std::string start, std::string name = "") {
  ScheduleRecord r;
  r.courseName = std::move(course);
  r.meetingNumber = std::move(meeting);
  r.meetingDay = std::move(day);
  r.raceNumber = std::move(number);
  r.surface = std::move(surface);
  r.distance = std::move(distance);
  r.runners = std::move(runners);
  r.age = std::move(age);
  r.classCode = std::move(classCode);
  r.raceName = std::move(name);
  r.startTime = std::move(start);
  return r;
}

struct OutputDay : TestHome {
  explicit OutputDay(const std::string& date = "20020512") : TestHome(date) {
    Settings& s = session.settings;
    s.oddsMin = "1";
    s.oddsMax = "9999";
    s.minW = "2";
    s.maxW = "999";
  }

  // Writes the course's data file; call listDay() once all are written.
  fs::path addMeeting(const std::string& code, const std::vector<TolvRecord>& records) {
    fs::path p = tolvDataPath(session.dataFolder(), session.meetingDate(), code);
    if (!writeTolvFile(p, records)) throw std::runtime_error("cannot write " + p.string());
    return p;
  }
  int listDay() { return findTolvDataFiles(session); }

  void writeSchedule(const std::vector<ScheduleRecord>& races) {
    std::string bytes;
    for (const auto& r : races) bytes += r.encode();
    writeBytes(session.scheduleFilePath(), bytes);
  }

  std::string listing(const std::string& code) const {
    return readBytes(fs::path(session.outPutFolder()) / ("W" + session.meetingDate() + "_" + code + ".TXT"));
  }
};

// The version every output carries: a constant, whatever the build.
inline std::string version() { return "4.16.1"; }

inline std::string rule(char c) { return std::string(76, c); }
inline std::string pad76(const std::string& s) { return padBytes(s, 76); }

}  // namespace tolv::testing
