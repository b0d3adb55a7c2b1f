// Tolv creation reads the cut records of ASCII bytes in place and decodes the
// others: both readings must count exactly as decoding every record does.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>

#include "aggregate/tolv_creation.h"
#include "core/cut_record.h"
#include "core/text.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::sj;

// The counting with every record decoded field by field.
Aggregate decodedAggregate(const std::vector<std::string>& cutRecords) {
  Aggregate a;
  std::map<std::string, std::size_t> keys;
  for (const auto& bytes : cutRecords) {
    const CutRecord cut = CutRecord::decode(bytes);
    const long n = valInt(cut.courseCode);
    const bool jra = cut.courseCode.size() == 2 &&
                     cut.courseCode.find_first_not_of("0123456789") == std::string::npos && n >= 1 && n <= 10;
    if (jra && a.courses.size() < 3 &&
        std::find(a.courses.begin(), a.courses.end(), cut.courseCode) == a.courses.end()) {
      a.courses.push_back(cut.courseCode);
    }
    const int program = static_cast<int>(valInt(cut.programCode));
    for (const auto& pick : cut.picks) {
      if (val(rightChars(pick, 2)) <= 0) continue;
      auto [it, inserted] = keys.try_emplace(cut.courseCode + cut.raceNo + pick, a.records.size());
      if (inserted) {
        TolvRecord r;
        r.raceKey = cut.courseCode + cut.raceNo;
        r.pick = pick;
        r.shareCount = 1;
        r.programCodes[0] = program;
        a.records.push_back(r);
        continue;
      }
      TolvRecord& r = a.records[it->second];
      ++r.shareCount;
      if (r.shareCount <= kMaxListedPrograms) r.programCodes[static_cast<std::size_t>(r.shareCount - 1)] = program;
    }
  }
  return a;
}

void expectSame(const Aggregate& got, const Aggregate& want) {
  EXPECT_EQ(got.courses, want.courses);
  ASSERT_EQ(got.records.size(), want.records.size());
  for (std::size_t i = 0; i < got.records.size(); ++i) {
    const auto& g = got.records[i];
    const auto& w = want.records[i];
    ASSERT_EQ(g.raceKey, w.raceKey) << i;
    ASSERT_EQ(g.pick, w.pick) << i;
    ASSERT_EQ(g.shareCount, w.shareCount) << i;
    ASSERT_EQ(g.programCodes, w.programCodes) << i;
  }
}

TEST(CutIndexReading, AsciiAndOtherRecordsCountAsDecodedOnes) {
  std::mt19937 rng(20261206);
  auto pickOf = [&](int k) -> std::string {
    switch (k % 7) {
      case 0: return "     ";                                   // unused slot
      case 1: return "  3-6";                                   // bracket
      case 2: return sj("０１-０２").substr(0, 5);               // full-width digits, cut
      case 3: return "00-00";
      default: {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%02d-%02d", 1 + static_cast<int>(rng() % 9), 10 + static_cast<int>(rng() % 9));
        return buf;
      }
    }
  };
  const std::vector<std::string> courses = {"06", "09", "07", "05", "99", "  ", sj("中")};
  std::vector<std::string> records;
  for (int n = 0; n < 4000; ++n) {
    std::string r = courses[rng() % courses.size()];
    char head[16];
    std::snprintf(head, sizeof head, "%04d%02d  ", 1 + static_cast<int>(rng() % 40), 1 + static_cast<int>(rng() % 12));
    r += head;
    for (int k = 0; k < 6; ++k) r += pickOf(static_cast<int>(rng() % 11));
    if (rng() % 50 == 0) r[10 + rng() % 30] = static_cast<char>(0x80 + rng() % 0x7F);  // a stray non-ASCII byte
    r.resize(kCutRecordLength, ' ');
    records.push_back(r);
  }
  const Aggregate want = decodedAggregate(records);
  ASSERT_GT(want.records.size(), 100u);
  expectSame(aggregateCutRecords(records), want);

  std::string bytes;
  for (const auto& r : records) bytes += r;
  expectSame(aggregateCutRecords(RecordFile(bytes + "partial", kCutRecordLength)), want);
}

TEST(CutIndexReading, CountingReportsItsProgress) {
  std::vector<std::string> records;
  for (int n = 0; n < 1000; ++n) {
    char head[16];
    std::snprintf(head, sizeof head, "05%04d%02d  ", 1 + n % 30, 1 + n % 12);
    std::string r = std::string(head) + "01-02";
    r.resize(kCutRecordLength, ' ');
    records.push_back(r);
  }
  std::vector<int> heard;
  const Aggregate a = aggregateCutRecords(records, [&heard](int percent) { heard.push_back(percent); });
  expectSame(a, aggregateCutRecords(records));
  // From 0 up to 99, rising, about a hundred times: the bar moves while the
  // picks are counted.
  ASSERT_EQ(heard.size(), 100u);
  EXPECT_EQ(heard.front(), 0);
  EXPECT_EQ(heard.back(), 99);
  EXPECT_TRUE(std::is_sorted(heard.begin(), heard.end()));

  // A handful of records reports each one; none reports nothing.
  heard.clear();
  aggregateCutRecords(std::vector<std::string>(records.begin(), records.begin() + 3),
                      [&heard](int percent) { heard.push_back(percent); });
  EXPECT_EQ(heard, (std::vector<int>{0, 33, 66}));
  heard.clear();
  aggregateCutRecords(std::vector<std::string>{}, [&heard](int percent) { heard.push_back(percent); });
  EXPECT_TRUE(heard.empty());
}

}  // namespace
}  // namespace tolv
