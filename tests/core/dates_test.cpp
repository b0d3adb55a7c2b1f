#include <gtest/gtest.h>

#include "core/dates.h"

namespace tolv {
namespace {

Date ymd(int y, unsigned m, unsigned d) {
  return Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

TEST(Dates, DefaultMeetingDateForEveryWeekday) {
  // 2002-05-12 is a Sunday.
  EXPECT_EQ(defaultMeetingDate(ymd(2002, 5, 13)), "20020512");  // Monday: the day before
  EXPECT_EQ(defaultMeetingDate(ymd(2002, 5, 14)), "20020512");  // Tuesday
  EXPECT_EQ(defaultMeetingDate(ymd(2002, 5, 15)), "20020512");  // Wednesday: the Sunday before
  EXPECT_EQ(defaultMeetingDate(ymd(2002, 5, 16)), "20020512");  // Thursday
  EXPECT_EQ(defaultMeetingDate(ymd(2002, 5, 17)), "20020518");  // Friday: the next day
  EXPECT_EQ(defaultMeetingDate(ymd(2002, 5, 18)), "20020518");  // Saturday itself
  EXPECT_EQ(defaultMeetingDate(ymd(2002, 5, 19)), "20020519");  // Sunday itself
}

TEST(Dates, DefaultMeetingDateCrossesMonthsAndYears) {
  EXPECT_EQ(defaultMeetingDate(ymd(2002, 5, 1)), "20020428");   // Wednesday
  EXPECT_EQ(defaultMeetingDate(ymd(2002, 5, 31)), "20020601");  // Friday
  EXPECT_EQ(defaultMeetingDate(ymd(2003, 1, 2)), "20021229");   // Thursday
  EXPECT_EQ(defaultMeetingDate(ymd(2004, 2, 27)), "20040228");  // Friday before a leap day
}

TEST(Dates, WeekdayKanji) {
  const char* names[] = {"日", "月", "火", "水", "木", "金", "土"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(weekdayKanji("200205" + std::to_string(12 + i)), names[i]);
  EXPECT_EQ(weekdayKanji("20040229"), "日");
  for (const char* bad : {"20020230", "2002051", "abcdefgh", ""}) EXPECT_EQ(weekdayKanji(bad), "？") << bad;
}

TEST(Dates, ParseYmdAcceptsOnlyRealDatesOfEightDigits) {
  auto d = parseYmd("20020512");
  ASSERT_TRUE(d);
  EXPECT_EQ(*d, ymd(2002, 5, 12));
  EXPECT_EQ(toYmd(*d), "20020512");
  EXPECT_TRUE(parseYmd("20000229"));
  for (const char* bad : {"19000229", "20020230", "20021301", "20020500", "2002051a", "2002 512", "+2002051",
                          "200205120", ""}) {
    EXPECT_FALSE(parseYmd(bad)) << bad;
  }
  EXPECT_EQ(toYmd(addDays(ymd(2004, 2, 28), 1)), "20040229");
  EXPECT_EQ(toYmd(addDays(ymd(2003, 1, 1), -7)), "20021225");
}

}  // namespace
}  // namespace tolv
