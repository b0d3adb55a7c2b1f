#include <gtest/gtest.h>

#include "output/output_fixture.h"
#include "output/output_range.h"

namespace tolv::testing {
namespace {

// Both ranges are inclusive and compared as numbers: odds by Val of their
// text (blank and scratched odds read 0), counts against MinW and MaxW.
TEST(OutputRange, BoundsAreInclusiveAndNumeric) {
  Settings s;
  s.oddsMin = "9.5";
  s.oddsMax = "20";
  s.minW = "2";
  s.maxW = "5";
  auto passes = [&](std::string odds, int count) {
    return PassesOutputRange(pickRecord("0501", "01-02", std::move(odds), count), s);
  };
  EXPECT_TRUE(passes("   9.5", 2));
  EXPECT_TRUE(passes("  20.0", 5));
  EXPECT_FALSE(passes("   9.4", 3));
  EXPECT_FALSE(passes("  20.1", 3));
  EXPECT_FALSE(passes("  12.0", 1));
  EXPECT_FALSE(passes("  12.0", 6));
  EXPECT_FALSE(passes("      ", 3));
  EXPECT_FALSE(passes("  ﾄﾘｹｼ", 3));

  s.oddsMin = "0";
  EXPECT_TRUE(passes("      ", 3));
  EXPECT_TRUE(passes("  ﾄﾘｹｼ", 3));
  s.minW = "2.5";  // a count is compared as a number too
  EXPECT_FALSE(passes("  12.0", 2));
  EXPECT_TRUE(passes("  12.0", 3));
}

// The schedule as the outputs read it: its presence, and the first record of
// a course (and race, by number).
TEST(OutputRange, DaySchedule) {
  OutputDay day;
  EXPECT_FALSE(DaySchedule::load(day.session).present);
  day.writeSchedule({race("東京", "3", "8", " 1", "芝", "1600", "16", "３上", "4", "10:05"),
                     race("東京", "4", "1", "01", "ダ", "1200", "16", "３上", "4", "10:05"),
                     race("京都", "2", "4", "12", "障", "3000", "14", "４上", "62", "14:50")});
  const DaySchedule d = DaySchedule::load(day.session);
  ASSERT_TRUE(d.present);
  ASSERT_NE(d.find("東京"), nullptr);
  EXPECT_EQ(d.find("東京")->meetingNumber, "3");
  EXPECT_EQ(d.find("京都", 12)->surface, "障");
  EXPECT_EQ(d.find("京都", 1), nullptr);
  EXPECT_EQ(d.find("阪神"), nullptr);
}

}  // namespace
}  // namespace tolv::testing
