#include "core/cut_record.h"

#include <algorithm>

#include "core/records.h"
#include "core/text.h"

namespace tolv {

std::string CutRecord::encode() const {
  RecordBuilder b(kCutRecordLength);
  b.text(0, 2, courseCode).text(2, 4, programCode).text(6, 2, raceNo).text(8, 2, lineTag);
  for (std::size_t i = 0; i < picks.size(); ++i) b.text(10 + 5 * i, 5, picks[i]);
  return b.bytes();
}

CutRecord CutRecord::decode(std::string_view bytes) {
  RecordReader r(bytes);
  CutRecord c;
  c.courseCode = r.text(0, 2);
  c.programCode = r.text(2, 4);
  c.raceNo = r.text(6, 2);
  c.lineTag = r.text(8, 2);
  for (std::size_t i = 0; i < c.picks.size(); ++i) c.picks[i] = r.text(10 + 5 * i, 5);
  return c;
}

bool CutRecord::pickInUse(std::string_view pick) {
  // The last two characters: of ASCII text simply its last two bytes (the
  // common case, taken without building a string).
  if (std::all_of(pick.begin(), pick.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return val(pick.substr(pick.size() >= 2 ? pick.size() - 2 : 0)) > 0;
  }
  return val(rightChars(pick, 2)) > 0;
}

CutRecordView viewCutRecord(std::string_view bytes, CutRecord& scratch) {
  CutRecordView v;
  const bool ascii = bytes.size() == kCutRecordLength &&
                     std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) {
    v.courseCode = bytes.substr(0, 2);
    v.programCode = bytes.substr(2, 4);
    v.raceNo = bytes.substr(6, 2);
    for (std::size_t i = 0; i < v.picks.size(); ++i) v.picks[i] = bytes.substr(10 + 5 * i, 5);
    return v;
  }
  scratch = CutRecord::decode(bytes);
  v.courseCode = scratch.courseCode;
  v.programCode = scratch.programCode;
  v.raceNo = scratch.raceNo;
  for (std::size_t i = 0; i < v.picks.size(); ++i) v.picks[i] = scratch.picks[i];
  return v;
}

}  // namespace tolv
