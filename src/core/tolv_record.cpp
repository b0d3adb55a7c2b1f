#include "core/tolv_record.h"

#include "core/records.h"

namespace tolv {

std::string TolvRecord::encode() const {
  RecordBuilder b(kTolvRecordLength);
  b.text(0, 4, raceKey).text(4, 5, pick).text(9, 6, odds).text(15, 6, wideOdds).int16(21, shareCount);
  for (std::size_t i = 0; i < programCodes.size(); ++i) b.int16(23 + 2 * i, programCodes[i]);
  b.int16(151, hitFlag).text(153, 6, payout).int16(159, wideHitFlag).text(161, 6, widePayout);
  return b.bytes();
}

TolvRecord TolvRecord::decode(std::string_view bytes) {
  RecordReader r(bytes);
  TolvRecord t;
  t.raceKey = r.text(0, 4);
  t.pick = r.text(4, 5);
  t.odds = r.text(9, 6);
  t.wideOdds = r.text(15, 6);
  t.shareCount = r.int16(21);
  for (std::size_t i = 0; i < t.programCodes.size(); ++i) t.programCodes[i] = r.int16(23 + 2 * i);
  t.hitFlag = r.int16(151);
  t.payout = r.text(153, 6);
  t.wideHitFlag = r.int16(159);
  t.widePayout = r.text(161, 6);
  return t;
}

std::string TolvIndexRecord::encode() const {
  RecordBuilder b(kTolvIndexRecordLength);
  b.int16(0, recordNo).int16(2, raceNo).int16(4, shareCount).text(6, 5, pick);
  return b.bytes();
}

TolvIndexRecord TolvIndexRecord::decode(std::string_view bytes) {
  RecordReader r(bytes);
  return TolvIndexRecord{r.int16(0), r.int16(2), r.int16(4), r.text(6, 5)};
}

fs::path tolvDataPath(const std::string& dataFolder, const std::string& meetingDate, const std::string& courseCode) {
  return fs::path(dataFolder) / ("W" + meetingDate + "_" + courseCode + ".DAT");
}

fs::path tolvIndexPath(const fs::path& dataPath) {
  std::string s = dataPath.string();
  return fs::path(s.substr(0, s.size() >= 3 ? s.size() - 3 : 0) + "IDX");
}

std::optional<std::vector<TolvRecord>> readTolvFile(const fs::path& p, std::string* error) {
  auto raw = readRecords(p, kTolvRecordLength, error);
  if (!raw) return std::nullopt;
  std::vector<TolvRecord> out;
  out.reserve(raw->size());
  for (const auto& r : *raw) out.push_back(TolvRecord::decode(r));
  return out;
}

bool writeTolvFile(const fs::path& p, const std::vector<TolvRecord>& records, std::string* error) {
  std::string bytes;
  bytes.reserve(records.size() * kTolvRecordLength);
  for (const auto& r : records) bytes += r.encode();
  return writeFileAtomic(p, bytes, error);
}

}  // namespace tolv
