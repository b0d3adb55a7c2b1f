#include "core/mjh_record.h"

#include "core/records.h"

namespace tolv {

std::string MjhRecord::encode() const {
  RecordBuilder b(kMjhRecordLength);
  b.int16(0, courseCode).int16(2, meetingNumber).int16(4, dayNumber).int16(6, raceNumber).int16(8, surface);
  b.text(10, 4, distance).int16(14, runners).int16(16, flag).text(18, 30, raceName);
  for (std::size_t i = 0; i < marked.size(); ++i) b.int16(48 + 2 * i, marked[i]);
  for (std::size_t i = 0; i < bracketOdds.size(); ++i) b.text(54 + 5 * i, 5, bracketOdds[i]);
  for (std::size_t i = 0; i < quinellaOdds.size(); ++i) b.text(234 + 4 * i, 4, quinellaOdds[i]);
  for (std::size_t i = 0; i < wideOdds.size(); ++i) b.text(846 + 3 * i, 3, wideOdds[i]);
  return b.bytes();
}

MjhRecord MjhRecord::decode(std::string_view bytes) {
  RecordReader r(bytes);
  MjhRecord m;
  m.courseCode = r.int16(0);
  m.meetingNumber = r.int16(2);
  m.dayNumber = r.int16(4);
  m.raceNumber = r.int16(6);
  m.surface = r.int16(8);
  m.distance = r.text(10, 4);
  m.runners = r.int16(14);
  m.flag = r.int16(16);
  m.raceName = r.text(18, 30);
  for (std::size_t i = 0; i < m.marked.size(); ++i) m.marked[i] = r.int16(48 + 2 * i);
  for (std::size_t i = 0; i < m.bracketOdds.size(); ++i) m.bracketOdds[i] = r.text(54 + 5 * i, 5);
  for (std::size_t i = 0; i < m.quinellaOdds.size(); ++i) m.quinellaOdds[i] = r.text(234 + 4 * i, 4);
  for (std::size_t i = 0; i < m.wideOdds.size(); ++i) m.wideOdds[i] = r.text(846 + 3 * i, 3);
  return m;
}

fs::path mjhDataPath(const std::string& dataFolder, const std::string& meetingDate) {
  return fs::path(dataFolder) / ("MJH" + meetingDate + ".DAT");
}

}  // namespace tolv
