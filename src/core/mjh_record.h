#pragma once
// The MJH data record: one race of the day's MJH data file, made from the MJH
// text by the odds module and read by the meeting schedule and the odds import.

#include <array>
#include <string>
#include <string_view>

#include "core/files.h"

namespace tolv {

inline constexpr std::size_t kMjhRecordLength = 1402;

struct MjhRecord {
  int courseCode = 0;
  int meetingNumber = 0;
  int dayNumber = 0;
  int raceNumber = 0;
  int surface = 0;           // 1 turf, 2 dirt, 3 steeplechase
  std::string distance;      // 4 bytes of text
  int runners = 0;           // the number of columns 29-30 of the race line
  int flag = 0;              // 0, or -1 when columns 33-34 read as non-zero
  std::string raceName;      // 30 bytes
  std::array<int, 3> marked{};                 // horse numbers of the first three marked runners
  std::array<std::string, 36> bracketOdds;     // 5 bytes each, by bracket pair index
  std::array<std::string, 153> quinellaOdds;   // 4 bytes each, by quinella pair index
  std::array<std::string, 153> wideOdds;       // 3 bytes each, by quinella pair index

  std::string encode() const;
  static MjhRecord decode(std::string_view bytes);
};

// The day's MJH data file: DataFolder + "MJH" + date + ".DAT".
fs::path mjhDataPath(const std::string& dataFolder, const std::string& meetingDate);

}  // namespace tolv
