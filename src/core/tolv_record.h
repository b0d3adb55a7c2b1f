#pragma once
// The Tolv data file (one per racecourse of the day, "W" + date + "_cc.DAT")
// and its index file ("...IDX"): every pick that programs posted for a race,
// with its share count, the programs, odds, and hits.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"

namespace tolv {

inline constexpr std::size_t kTolvRecordLength = 167;
inline constexpr std::size_t kTolvIndexRecordLength = 11;
inline constexpr int kMaxListedPrograms = 63;  // program codes kept per pick

struct TolvRecord {
  std::string raceKey;              // 4: course code + race number, "0511"
  std::string pick;                 // 5: as posted, "01-02" or "   36"
  std::string odds = "      ";      // 6: right-aligned odds text, blanks when none
  std::string wideOdds = "      ";  // 6: quinella-place odds text
  int shareCount = 0;               // posts that held the pick
  std::array<int, 64> programCodes{};  // slots 1..min(count, 63) used, ascending
  int hitFlag = 0;                  // -1 when hit
  std::string payout = "      ";    // 6
  int wideHitFlag = 0;              // -1 when hit as a quinella-place bet
  std::string widePayout = "      ";  // 6

  std::string courseCode() const { return raceKey.substr(0, 2); }
  std::string encode() const;
  static TolvRecord decode(std::string_view bytes);
};

struct TolvIndexRecord {
  int recordNo = 0;
  int raceNo = 0;
  int shareCount = 0;
  std::string pick;

  std::string encode() const;
  static TolvIndexRecord decode(std::string_view bytes);
};

// The day's Tolv data file of a course, and its index file.
fs::path tolvDataPath(const std::string& dataFolder, const std::string& meetingDate, const std::string& courseCode);
fs::path tolvIndexPath(const fs::path& dataPath);

// Every whole record of a Tolv data file (a trailing partial record is not
// read); nullopt when the file cannot be read.
std::optional<std::vector<TolvRecord>> readTolvFile(const fs::path& p, std::string* error = nullptr);
// Writes a Tolv data file atomically.
bool writeTolvFile(const fs::path& p, const std::vector<TolvRecord>& records, std::string* error = nullptr);

}  // namespace tolv
