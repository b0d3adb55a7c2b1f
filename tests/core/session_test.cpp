#include <gtest/gtest.h>

#include "core/session.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::TempDir;
using testing::TestHome;
using testing::writeBytes;

TEST(Session, TakeMeetingDatePadsMonthAndDay) {
  TestHome h;
  Session& s = h.session;
  EXPECT_TRUE(s.takeMeetingDate("2002", " 3", "7"));
  EXPECT_EQ(s.meetingDate(), "20020307");
  EXPECT_EQ(s.meetingMonth(), "03");
  EXPECT_EQ(s.meetingDay(), "07");
  EXPECT_TRUE(s.takeMeetingDate(" 2002 ", "12", "25 "));
  EXPECT_EQ(s.meetingDate(), "20021225");
  EXPECT_TRUE(s.takeMeetingDate("2002", "05", "09"));
  EXPECT_EQ(s.meetingDate(), "20020509");
}

TEST(Session, SetMeetingDateSetsPartsWeekdayAndSchedule) {
  TestHome h("20020511");
  Session& s = h.session;
  EXPECT_EQ(s.meetingWeekday(), "土");
  s.setMeetingDate("20020512");
  EXPECT_EQ(s.meetingYear(), "2002");
  EXPECT_EQ(s.meetingMonth(), "05");
  EXPECT_EQ(s.meetingDay(), "12");
  EXPECT_EQ(s.meetingWeekday(), "日");
  EXPECT_EQ(s.scheduleFilePath(), fs::path(s.dataFolder()) / "20020512開催.DAT");
  EXPECT_EQ(s.cutIndexPath(), fs::path(s.dataFolder()) / "20020512.DAT");
  EXPECT_FALSE(s.scheduleReady);

  writeBytes(s.scheduleFilePath(), std::string(134, ' '));
  s.setMeetingDate("20020512");
  EXPECT_TRUE(s.scheduleReady);
  s.setMeetingDate("20020518");
  EXPECT_FALSE(s.scheduleReady);
  EXPECT_EQ(s.meetingWeekday(), "土");
}

TEST(Session, ProgramNamesMatchTheWholeCode) {
  TestHome h;
  h.session.programNames = {{"1234", "ｿﾌﾄA "}, {"1234", "second"}, {"0870", "ぴるね"}};
  EXPECT_EQ(h.session.programName("1234", "?"), "ｿﾌﾄA ");
  EXPECT_EQ(h.session.programName("0870", "?"), "ぴるね");
  EXPECT_EQ(h.session.programName("123", "fallback"), "fallback");
  EXPECT_EQ(h.session.programName("12345", "fallback"), "fallback");
}

TEST(Session, ResolvePathTakesWindowsPathsFromTheHome) {
  TestHome h;
  const fs::path home = h.session.appFolder();
  writeBytes(home / "Logs" / "Wars.LOG", "x");
  EXPECT_EQ(h.session.resolvePath("logs\\WARS.log"), home / "Logs" / "Wars.LOG");
  EXPECT_EQ(h.session.resolvePath("LOGS/new.log"), home / "Logs" / "new.log");
  EXPECT_EQ(h.session.resolvePath((home / "logs" / "wars.log").string()), home / "Logs" / "Wars.LOG");
  EXPECT_EQ(h.session.resolvePath(""), fs::path(h.session.appFolder()));  // an empty folder setting
}

TEST(Session, CreateFixesTheFoldersOfTheHome) {
  TempDir d;
  writeBytes(d / "data" / "keep.txt", "x");  // a folder brought from Windows in another case
  auto s = Session::create(d / "home");
  ASSERT_TRUE(s);
  auto s2 = Session::create(d.path());
  ASSERT_TRUE(s2);
  EXPECT_EQ(s2->dataFolder(), (d / "data").string() + "/");
  EXPECT_FALSE(fs::exists(d / "DATA"));
  EXPECT_EQ(s2->workFolder(), (d / "Work").string() + "/");
  EXPECT_TRUE(fs::is_directory(d / "home" / "WarsOdds"));
  EXPECT_EQ(s->iniFilePath(), d / "home" / "TOLV.INI");
  EXPECT_EQ(s->courseCodes, (std::array<std::string, 3>{"0", "0", "0"}));

  writeBytes(d / "file", "x");
  std::string error;
  EXPECT_FALSE(Session::create(d / "file", &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tolv
