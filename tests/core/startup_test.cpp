#include <gtest/gtest.h>
#include <unistd.h>

#include "core/startup.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::sjLines;
using testing::TempDir;
using testing::TestHome;
using testing::writeBytes;

Date ymd(int y, unsigned m, unsigned d) {
  return Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

std::vector<std::string> fileNames(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& p : listFiles(dir)) out.push_back(p.filename().string());
  return out;
}

TEST(StartUp, CreatesTheFoldersLoadsSettingsAndSetsTheDay) {
  TempDir d;
  writeBytes(d / "TOLV.INI", sjLines({"[ODDS]", "MIN=150"}));
  writeBytes(d / "DATA" / "20020512開催.DAT", std::string(134, ' '));
  auto s = startUp(d.path(), ymd(2002, 5, 15));  // a Wednesday
  ASSERT_TRUE(s);
  for (const char* f : {"DATA", "OutPut", "Work", "WarsOdds"}) EXPECT_TRUE(fs::is_directory(d / f)) << f;
  EXPECT_EQ(s->dataFolder(), (d / "DATA").string() + "/");
  EXPECT_EQ(s->settings.oddsMin, "150");
  EXPECT_EQ(s->meetingDate(), "20020512");
  EXPECT_EQ(s->meetingWeekday(), "日");
  EXPECT_TRUE(s->scheduleReady);
  EXPECT_EQ(s->batchRunning, 0);

  auto friday = startUp(d.path(), ymd(2002, 5, 17));
  ASSERT_TRUE(friday);
  EXPECT_EQ(friday->meetingDate(), "20020518");
  EXPECT_FALSE(friday->scheduleReady);
}

TEST(StartUp, PurgeDeletesOnlyOldPendingBetFiles) {
  TestHome h;
  const fs::path data = h.session.dataFolder();
  const char* kept[] = {"~B20020513.TXT",  // exactly seven days before
                        "~B20020520.TXT", "~Bxyz.TXT",        "~B2002.TXT", "~B20020101.DAT",
                        "~B20020101.TXT.bak", "~B2002010.TXT", "B20020101.TXT", "~B2002010x.TXT"};
  const char* old[] = {"~B20020512.TXT", "~b20020501.txt", "~B20020101.Txt"};
  for (const char* n : kept) writeBytes(data / n, "x");
  for (const char* n : old) writeBytes(data / n, "x");
  fs::create_directory(data / "~B20010101.TXT");  // a folder is not a pending-bet file

  EXPECT_EQ(purgeOldPendingBets(h.session, ymd(2002, 5, 20)), 3);
  for (const char* n : kept) EXPECT_TRUE(fs::exists(data / n)) << n;
  for (const char* n : old) EXPECT_FALSE(fs::exists(data / n)) << n;
  EXPECT_TRUE(fs::is_directory(data / "~B20010101.TXT"));

  // Start-up runs the purge.
  writeBytes(data / "~B20020401.TXT", "x");
  ASSERT_TRUE(startUp(h.home(), ymd(2002, 5, 20)));
  EXPECT_FALSE(fs::exists(data / "~B20020401.TXT"));
  EXPECT_TRUE(fs::exists(data / "~B20020513.TXT"));
}

TEST(StartUp, FindTolvDataFilesKeepsJraCoursesOnly) {
  TestHome h("20020512");
  Session& s = h.session;
  const fs::path data = s.dataFolder();
  for (const char* n : {"W20020512_05.DAT", "W20020512_08.DAT", "W20020512_53.DAT", "W20020511_06.DAT",
                        "W20020512_5.DAT", "W20020512.DAT"}) {
    writeBytes(data / n, "x");
  }
  fs::create_directory(data / "W20020512_07.DAT");
  EXPECT_EQ(findTolvDataFiles(s), 2);
  EXPECT_EQ(s.courseCount, 2);
  EXPECT_EQ(s.courseCodes, (std::array<std::string, 3>{"05", "08", "0"}));
  EXPECT_EQ(s.tolvFilePaths[1], (data / "W20020512_05.DAT").string());
  EXPECT_EQ(s.tolvFilePaths[2], (data / "W20020512_08.DAT").string());

  // More than three JRA files: the first three in directory order.
  writeBytes(data / "w20020512_01.dat", "x");
  writeBytes(data / "W20020512_10.DAT", "x");
  EXPECT_EQ(findTolvDataFiles(s), 3);
  EXPECT_EQ(s.courseCodes, (std::array<std::string, 3>{"01", "05", "08"}));
  EXPECT_EQ(s.tolvFilePaths[1], (data / "w20020512_01.dat").string());
  EXPECT_EQ(s.courseCount, 3);

  s.setMeetingDate("20020519");
  EXPECT_EQ(findTolvDataFiles(s), 0);
  EXPECT_EQ(s.courseCount, 0);
  EXPECT_EQ(s.courseCodes, (std::array<std::string, 3>{"0", "0", "0"}));
  // No path of an earlier day is left behind.
  EXPECT_EQ(s.tolvFilePaths[1], "");
  EXPECT_EQ(s.tolvFilePaths[3], "");
}

TEST(StartUp, InstanceLockRefusesASecondInstance) {
  TempDir d;
  auto first = InstanceLock::acquire(d.path());
  ASSERT_TRUE(first);
  std::string error;
  EXPECT_FALSE(InstanceLock::acquire(d.path(), &error));
  EXPECT_FALSE(error.empty());
  TempDir other;
  EXPECT_TRUE(InstanceLock::acquire(other.path()));  // another home is another program
  first.reset();
  EXPECT_TRUE(InstanceLock::acquire(d.path()));
}

// A TOLV.INI that is there but cannot be read stops the start with its name,
// instead of running on the defaults; a missing one still means defaults.
TEST(StartUp, AnUnreadableSettingsFileStopsTheStart) {
  TempDir d;
  fs::create_directories(d / "TOLV.INI");
  std::string error;
  EXPECT_FALSE(startUp(d.path(), ymd(2002, 5, 15), &error));
  EXPECT_NE(error.find((d / "TOLV.INI").string()), std::string::npos) << error;
  fs::remove(d / "TOLV.INI");
  if (::geteuid() != 0) {
    writeBytes(d / "TOLV.INI", "[FILE]\r\n");
    fs::permissions(d / "TOLV.INI", fs::perms::none);
    EXPECT_FALSE(startUp(d.path(), ymd(2002, 5, 15), &error));
    fs::permissions(d / "TOLV.INI", fs::perms::owner_read | fs::perms::owner_write);
  }
  EXPECT_TRUE(startUp(d.path(), ymd(2002, 5, 15), &error));
}

TEST(StartUp, ClearWorkFolderEmptiesOnlyTheProgramsOwnFolder) {
  TestHome h;
  const fs::path work = h.session.unpackFolder();
  writeBytes(work / "JRACDEN1.DAT", "x");
  writeBytes(work / "kol_den1.kd2", "x");
  writeBytes(fs::path(h.session.workFolder()) / "mine.txt", "x");
  writeBytes(fs::path(h.session.dataFolder()) / "keep.DAT", "x");
  clearWorkFolder(h.session);
  EXPECT_FALSE(fs::exists(work));
  EXPECT_EQ(fileNames(h.session.workFolder()), std::vector<std::string>{"mine.txt"});
  EXPECT_EQ(fileNames(h.session.dataFolder()), std::vector<std::string>{"keep.DAT"});
  clearWorkFolder(h.session);  // no folder is fine

  // A link in the folder's place is not followed.
  TempDir elsewhere;
  writeBytes(elsewhere / "precious.txt", "x");
  fs::create_directory_symlink(elsewhere.path(), work);
  clearWorkFolder(h.session);
  EXPECT_TRUE(fs::exists(elsewhere / "precious.txt"));
}

}  // namespace
}  // namespace tolv
