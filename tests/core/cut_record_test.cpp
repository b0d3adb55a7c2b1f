#include <gtest/gtest.h>

#include "core/cut_record.h"
#include "support/test_support.h"

namespace tolv {
namespace {

TEST(CutRecord, EncodesFortyBytesAndDecodesBack) {
  CutRecord c;
  c.courseCode = "05";
  c.programCode = "1234";
  c.raceNo = "11";
  c.lineTag = "◎";
  c.picks = {"03-07", "   12", "05-06", "", "", ""};
  const std::string bytes = c.encode();
  ASSERT_EQ(bytes.size(), kCutRecordLength);
  EXPECT_EQ(bytes, "05123411" + testing::sj("◎") + "03-07   1205-06" + std::string(15, ' '));

  CutRecord back = CutRecord::decode(bytes);
  EXPECT_EQ(back.courseCode, "05");
  EXPECT_EQ(back.programCode, "1234");
  EXPECT_EQ(back.raceNo, "11");
  EXPECT_EQ(back.lineTag, "◎");
  EXPECT_EQ(back.picks[0], "03-07");
  EXPECT_EQ(back.picks[1], "   12");
  EXPECT_EQ(back.picks[5], "     ");
}

TEST(CutRecord, PickInUseByItsLastTwoCharacters) {
  EXPECT_TRUE(CutRecord::pickInUse("03-07"));
  EXPECT_TRUE(CutRecord::pickInUse("   12"));
  EXPECT_FALSE(CutRecord::pickInUse("     "));
  EXPECT_FALSE(CutRecord::pickInUse("03-00"));
  EXPECT_FALSE(CutRecord::pickInUse(""));
}

}  // namespace
}  // namespace tolv
