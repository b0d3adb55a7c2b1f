#pragma once
// The cut index record: one 40-byte record per race line of a post.

#include <array>
#include <string>
#include <string_view>

namespace tolv {

inline constexpr std::size_t kCutRecordLength = 40;

struct CutRecord {
  std::string courseCode;            // 2: course code of the header's course name
  std::string programCode;           // 4: the WARS code after "["
  std::string raceNo;                // 2: "01".."12"
  std::string lineTag;               // 2: columns 6-7 of the race line
  std::array<std::string, 6> picks;  // 5 each

  std::string encode() const;
  static CutRecord decode(std::string_view bytes);

  // A pick field is in use when the number of its last two characters is > 0.
  static bool pickInUse(std::string_view pick);
};

// The fields of a record seen in place. A record of ASCII bytes (nearly every
// one) is read as its bytes; any other is decoded into `scratch`, which the
// view then points into.
struct CutRecordView {
  std::string_view courseCode, programCode, raceNo;
  std::array<std::string_view, 6> picks;
};
CutRecordView viewCutRecord(std::string_view bytes, CutRecord& scratch);

}  // namespace tolv
