// Record files read whole and seen in place (the cut index of a large day).

#include <gtest/gtest.h>

#include "core/records.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::TempDir;
using testing::writeBytes;

TEST(RecordFile, WholeRecordsOnlyAndTheSameAsReadRecords) {
  TempDir dir;
  const fs::path p = dir / "cut.DAT";
  // Two whole records of 5 bytes and a partial third from a truncated file.
  writeBytes(p, std::string("abcde") + std::string("\x93\xfa\x96\xda", 4) + "x" + "yz");
  auto file = readRecordFile(p, 5);
  auto records = readRecords(p, 5);
  ASSERT_TRUE(file && records);
  ASSERT_EQ(file->size(), 2u);
  ASSERT_EQ(records->size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ((*file)[i], (*records)[i]);

  // A short file holds no record, a missing one cannot be read.
  writeBytes(p, "abc");
  EXPECT_TRUE(readRecordFile(p, 5)->empty());
  std::string error;
  EXPECT_FALSE(readRecordFile(dir / "missing.DAT", 5, &error));
  EXPECT_FALSE(error.empty());
}

// The records stay readable when the object is moved, also for a file so
// small that its bytes are kept inside the string object itself.
TEST(RecordFile, RecordsSurviveAMove) {
  RecordFile small(std::string("abcdef"), 3);
  RecordFile moved = std::move(small);
  ASSERT_EQ(moved.size(), 2u);
  EXPECT_EQ(moved[0], "abc");
  EXPECT_EQ(moved[1], "def");
}

}  // namespace
}  // namespace tolv
