#include <gtest/gtest.h>

#include "core/records.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::sj;
using testing::TempDir;
using testing::writeBytes;

TEST(Records, TrailingPartialRecordIsNeverRead) {
  TempDir d;
  writeBytes(d / "r.dat", "AAAABBBBCC");
  EXPECT_EQ(recordCount(d / "r.dat", 4), 2);
  auto all = readRecords(d / "r.dat", 4);
  ASSERT_TRUE(all);
  EXPECT_EQ(*all, (std::vector<std::string>{"AAAA", "BBBB"}));
  EXPECT_EQ(readRecord(d / "r.dat", 4, 2), "BBBB");
  EXPECT_FALSE(readRecord(d / "r.dat", 4, 3));  // the partial one
  EXPECT_FALSE(readRecord(d / "r.dat", 4, 0));

  writeBytes(d / "short.dat", "abc");
  EXPECT_EQ(recordCount(d / "short.dat", 4), 0);
  EXPECT_EQ(readRecords(d / "short.dat", 4), std::vector<std::string>{});

  EXPECT_EQ(recordCount(d / "missing.dat", 4), -1);
  EXPECT_FALSE(readRecords(d / "missing.dat", 4));
}

TEST(Records, WriteRecordsPutsThemBackToBack) {
  TempDir d;
  ASSERT_TRUE(writeRecords(d / "w.dat", {"ab", "cd", "ef"}));
  EXPECT_EQ(readBytes(d / "w.dat"), "abcdef");
  ASSERT_TRUE(writeRecords(d / "w.dat", {"xy"}));  // truncated, not overwritten in place
  EXPECT_EQ(readBytes(d / "w.dat"), "xy");
}

TEST(Records, BuilderZeroFillsPadsAndCuts) {
  RecordBuilder b(16);
  b.text(0, 4, "ab").text(4, 3, "東京").text(8, 2, "ｱｲｳ");
  std::string want = "ab  " + sj("東") + "?" + std::string(1, '\0') + sj("ｱｲ") + std::string(6, '\0');
  EXPECT_EQ(b.bytes(), want);
  EXPECT_EQ(b.bytes().size(), 16u);

  RecordReader r(b.bytes());
  EXPECT_EQ(r.text(0, 4), "ab  ");
  EXPECT_EQ(r.text(4, 2), "東");
  EXPECT_EQ(r.text(8, 2), "ｱｲ");
  EXPECT_EQ(r.raw(10, 2), std::string(2, '\0'));
}

TEST(Records, BuilderNeverGrowsTheRecord) {
  RecordBuilder b(6);
  b.text(4, 5, "abcde").int16(5, 1).text(9, 2, "zz");
  EXPECT_EQ(b.bytes(), std::string(4, '\0') + "ab");

  RecordReader r(b.bytes());
  EXPECT_EQ(r.text(4, 10), "ab");  // bytes past the end read as nothing
  EXPECT_EQ(r.text(8, 2), "");
  EXPECT_EQ(r.int16(5), 0);
}

TEST(Records, Int16IsSignedLittleEndian) {
  RecordBuilder b(10);
  b.int16(0, 300).int16(2, -2).int16(4, 32767).int16(6, -32768).int16(8, 0);
  EXPECT_EQ(b.bytes(), std::string("\x2c\x01\xfe\xff\xff\x7f\x00\x80\x00\x00", 10));
  RecordReader r(b.bytes());
  EXPECT_EQ(r.int16(0), 300);
  EXPECT_EQ(r.int16(2), -2);
  EXPECT_EQ(r.int16(4), 32767);
  EXPECT_EQ(r.int16(6), -32768);
  EXPECT_EQ(r.int16(8), 0);
}

}  // namespace
}  // namespace tolv
