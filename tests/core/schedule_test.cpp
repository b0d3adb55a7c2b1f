#include <gtest/gtest.h>

#include <cstdlib>

#include "core/codes.h"
#include "core/mjh_record.h"
#include "core/records.h"
#include "core/schedule.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::sj;
using testing::TestHome;
using testing::writeBytes;

// A source record of `length` blanks with fields put at byte offsets.
struct Source {
  explicit Source(std::size_t length) : bytes(length, ' ') {}
  Source& at(std::size_t offset, const std::string& text) {
    std::string b = sj(text);
    bytes.replace(offset, b.size(), b);
    return *this;
  }
  std::string bytes;
};

// Expected schedule record bytes.
std::string sched(const std::string& course, const std::string& meeting, const std::string& day,
                  const std::string& race, const std::string& surface, const std::string& distance,
                  const std::string& runners, const std::string& age, const std::string& cls, const std::string& time,
                  const std::string& name = "") {
  std::string n = sj(name);
  n.resize(30, ' ');
  return sj(course + meeting + day + race + surface + distance + runners + age + cls) + n + sj(time) +
         std::string(10, '\0');
}

Source jraVan(const std::string& date, const std::string& course, const std::string& race) {
  Source r(1463);
  r.at(0, date).at(8, course).at(10, "02").at(12, "06").at(14, race).at(87, "13").at(132, "1600").at(136, "11");
  r.at(324, "16").at(319, "1005").at(93, "000").at(96, "016");
  return r;
}

TEST(Schedule, JraVanRecordsOfTheDayInSourceOrder) {
  std::vector<std::string> courses;
  Source other = jraVan("20020511", "06", "01");
  Source kyoto = jraVan("20020512", "08", "11");
  kyoto.at(87, "24").at(136, "24").at(93, "999").at(96, "016");  // open class, dirt
  Source kokura = jraVan("20020512", "00", " 3");                  // course 00 is 小倉
  kokura.at(136, "51").at(93, "   ").at(96, "703");
  Source tokyo = jraVan("20020512", "05", "01");
  auto out = scheduleFromJraVan({other.bytes, kyoto.bytes, kokura.bytes, tokyo.bytes}, "20020512", courses);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(courses, (std::vector<std::string>{"05", "08", "10"}));
  EXPECT_EQ(out[0].encode(), sched("京都", "2", "6", "11", "ダ", "1600", "16", "４上", "00", "10:05"));
  EXPECT_EQ(out[1].encode(), sched("小倉", "2", "6", " 3", "障", "1600", "16", "３上", "03", "10:05"));
  EXPECT_EQ(out[2].encode(), sched("東京", "2", "6", " 1", "芝", "1600", "16", "３上", "16", "10:05"));
}

TEST(Schedule, TargetGradeLettersAndConditionCodes) {
  std::vector<std::string> courses;
  auto target = [](const std::string& yy, const std::string& course, const std::string& race) {
    Source r(584);
    r.at(0, course).at(2, yy).at(8, "0512").at(4, "3").at(5, "8").at(6, race).at(13, "1540").at(80, "14");
    r.at(98, "2400").at(102, "12").at(105, "18");
    return r;
  };
  Source graded = target("02", "05", "11");
  graded.at(104, "A").at(86, "016");
  Source plain = target("02", "09", "01");
  plain.at(86, "000").at(89, "005");
  Source none = target("02", "09", "02");
  Source lastYear = target("01", "05", "11");
  auto out = scheduleFromTarget({graded.bytes, plain.bytes, none.bytes, lastYear.bytes}, "20020512", courses);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(courses, (std::vector<std::string>{"05", "09"}));
  EXPECT_EQ(out[0].encode(), sched("東京", "3", "8", "11", "芝", "2400", "18", "４上", "51", "15:40"));
  EXPECT_EQ(out[1].classCode, "05");
  EXPECT_EQ(out[2].classCode, "  ");
}

TEST(Schedule, KolCoursesAreMappedAndTimesKept) {
  std::vector<std::string> courses;
  auto kol = [](const std::string& course, const std::string& race) {
    Source r(779);
    r.at(0, course).at(12, "2002").at(16, "05").at(18, "12").at(6, "02").at(8, "06").at(10, race).at(97, "3");
    r.at(99, "16000").at(108, "1200").at(104, "1").at(336, "14").at(331, "09:50");
    return r;
  };
  Source tokyo = kol("04", "01");
  Source kyoto = kol("00", "12");
  kyoto.at(104, "0").at(99, "    5").at(97, "0");
  Source jump = kol("04", "05");
  jump.at(24, "1").at(99, "    0");
  Source oi = kol("10", "01");  // 大井: no JRA course (not 小倉), still listed
  auto out = scheduleFromKol({tokyo.bytes, kyoto.bytes, jump.bytes, oi.bytes}, "20020512", courses);
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(courses, (std::vector<std::string>{"05", "08"}));
  EXPECT_EQ(out[0].encode(), sched("東京", "2", "6", " 1", "芝", "1200", "14", "３上", "16", "09:50"));
  EXPECT_EQ(out[1].encode(), sched("京都", "2", "6", "12", "ダ", "1200", "14", "障害", "05", "09:50"));
  EXPECT_EQ(out[2].surface, "障");
  EXPECT_EQ(out[2].classCode, "  ");
  EXPECT_EQ(out[3].courseName, "？？");
}

TEST(Schedule, TargetSourceBuildsTheFileAndTheCheckDropsAOneRaceFile) {
  TestHome h;
  h.session.settings.denFlag = 1;
  h.session.settings.denFileFolder = "cards/";
  Source r(584);
  r.at(0, "05").at(2, "02").at(8, "0512").at(6, "01").at(13, "1000");
  writeBytes(h.home() / "cards/020512全.DEN", r.bytes + r.bytes);
  ASSERT_TRUE(buildMeetingSchedule(h.session, nullptr));
  EXPECT_EQ(readBytes(h.session.scheduleFilePath()).size(), 134u);
  EXPECT_EQ(h.session.courseCount, 1);
  EXPECT_EQ(h.session.courseCodes[0], "05");
  EXPECT_TRUE(ensureMeetingSchedule(h.session, nullptr));

  // One race: the 67-byte file is not usable and goes.
  writeBytes(h.home() / "cards/020512全.DEN", r.bytes);
  removeFile(h.session.scheduleFilePath());
  EXPECT_FALSE(ensureMeetingSchedule(h.session, nullptr));
  EXPECT_FALSE(fs::exists(h.session.scheduleFilePath()));
  EXPECT_FALSE(h.session.scheduleReady);

  // No source at all.
  removeFile(h.home() / "cards/020512全.DEN");
  EXPECT_FALSE(buildMeetingSchedule(h.session, nullptr));
  EXPECT_FALSE(ensureMeetingSchedule(h.session, nullptr));
}

TEST(Schedule, JraVanTakesTheFirstArchiveLargerThan50000Bytes) {
  TestHome h;
  h.session.settings.denFileFolder = h.home().string() + "/cards";
  writeBytes(h.home() / "cards/DA020512.LZH", std::string(30000, 'x'));
  writeBytes(h.home() / "cards/DB020512.LZH", std::string(80000, 'x'));
  writeBytes(h.home() / "cards/DC020512.LZH", std::string(90000, 'x'));
  writeBytes(h.home() / "cards/D1020511.LZH", std::string(90000, 'x'));
  auto found = findCardSource(h.session, CardSource::JraVan);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->filename(), "DB020512.LZH");
  // Not an archive: nothing is built, Work/ is left empty.
  EXPECT_FALSE(buildMeetingSchedule(h.session, nullptr));
  EXPECT_TRUE(fs::is_empty(h.session.workFolder()));
}

TEST(Schedule, MjhDataGivesRaceNamesAndBlankAgeAndClass) {
  TestHome h;
  h.session.settings.denFlag = 0;
  h.session.settings.denFileFolder = "";
  writeBytes(h.home() / "RX020512.TXT", "x");
  std::vector<std::string> records;
  for (int race = 1; race <= 2; ++race) {
    MjhRecord m;
    m.courseCode = 10;
    m.meetingNumber = 12;
    m.dayNumber = 3;
    m.raceNumber = race;
    m.surface = race;
    m.distance = "1700";
    m.runners = race == 1 ? 9 : 16;
    m.raceName = race == 1 ? "小倉城特別" : "";
    records.push_back(m.encode());
  }
  int conversions = 0;
  auto convert = [&](Session& s) {
    ++conversions;
    writeRecords(mjhDataPath(s.dataFolder(), s.meetingDate()), records);
  };
  ASSERT_TRUE(buildMeetingSchedule(h.session, convert));
  EXPECT_EQ(conversions, 1);
  EXPECT_TRUE(h.session.mjhConverted);
  EXPECT_EQ(readBytes(h.session.scheduleFilePath()),
            sched("小倉", "2", "3", " 1", "芝", "1700", "9 ", "    ", "  ", "  :  ", "小倉城特別") +
                sched("小倉", "2", "3", " 2", "ダ", "1700", "16", "    ", "  ", "  :  "));
  // The data file exists now: no second conversion.
  ASSERT_TRUE(buildMeetingSchedule(h.session, convert));
  EXPECT_EQ(conversions, 1);
}

}  // namespace
}  // namespace tolv

namespace tolv {
namespace {

fs::path fixture(const std::string& name) { return testing::testDataPath("schedule/" + name); }

TEST(Schedule, ArchivesAreUnpackedAndTheLargerJraVanOneIsUsed) {
  TestHome h;
  h.session.settings.denFileFolder = "cards/";
  fs::create_directories(h.home() / "cards");
  for (const char* name : {"DA020512.LZH", "DB020512.LZH", "H1020512.LZH"}) {
    fs::copy_file(fixture(name), h.home() / "cards" / name);
  }
  h.session.settings.denFlag = 3;
  ASSERT_TRUE(buildMeetingSchedule(h.session, nullptr));
  EXPECT_EQ(readBytes(h.session.scheduleFilePath()),
            sched("東京", "2", "6", "11", "芝", "2400", "18", "３上", "00", "15:40") +
                sched("京都", "3", "6", "11", "ダ", "1800", "12", "４上", "16", "15:25") +
                sched("小倉", "1", "2", " 4", "障", "2860", "09", "３上", "03", "11:35"));
  EXPECT_EQ(h.session.courseCount, 3);
  EXPECT_EQ(h.session.courseCodes, (std::array<std::string, 3>{"05", "08", "10"}));
  EXPECT_TRUE(fs::is_empty(h.session.workFolder()));

  h.session.settings.denFlag = 2;
  ASSERT_TRUE(buildMeetingSchedule(h.session, nullptr));
  EXPECT_EQ(readBytes(h.session.scheduleFilePath()),
            sched("東京", "2", "6", "11", "芝", "2400", "18", "４上", "00", "15:40") +
                sched("京都", "3", "6", " 4", "障", "3170", "14", "障害", "03", "11:20") +
                sched("東京", "2", "6", "12", "ダ", "1600", "16", "３上", "10", "16:15"));
  EXPECT_EQ(h.session.courseCount, 2);
  EXPECT_EQ(h.session.courseCodes, (std::array<std::string, 3>{"05", "08", "0"}));
}

}  // namespace
}  // namespace tolv
