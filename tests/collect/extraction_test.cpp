#include <gtest/gtest.h>

#include "collect/extraction.h"
#include "collect/software_list.h"
#include "core/profile.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

const std::string kRule(76, '-');
const std::string kSep = "------------------------------------------------------------";

// A post header for 12 May 2002 as programs write it.
std::string header(const std::string& course, const std::string& code, const std::string& date = " 5月12日(日)") {
  return course + " 2002年  2回  6日目 " + date + " [" + code + "] テスト予想";
}

// Expected cut record bytes.
std::string rec(const std::string& course, const std::string& code, const std::string& race, const std::string& tag,
                const std::string& picks) {
  std::string p = picks;
  p.resize(30, ' ');
  return sj(course + code + race + tag + p);
}

std::string padded(const std::string& line) {
  std::string bytes = sj(line);
  bytes.resize(76, ' ');
  return bytes + "\r\n";
}

class ExtractionTest : public ::testing::Test {
 protected:
  ExtractionTest() {
    form.logPaths = {"logs/LOG1.TXT", "logs/LOG2.TXT", "logs/LOG3.TXT"};
    form.ticked = {true, false, false};
    form.style = CutFileStyle::Dated;
    form.cutFolder = "OutPut";
  }
  StepResult run() { return startExtraction(h.session, ui, form, &stats); }
  std::string cutIndex() { return readBytes(h.session.cutIndexPath()); }
  std::string cutFile() { return readBytes(h.home() / "OutPut" / "WARS20020512.TXT"); }

  TestHome h;
  RecordingUi ui;
  ExtractionForm form;
  ExtractionStats stats;
};

TEST_F(ExtractionTest, WritesCutIndexAndCutFileByteForByte) {
  writeBytes(h.home() / "logs/LOG1.TXT",
             sjLines({"chatter before the post", "  " + header("東京", "0870") + "  ", kSep,
                      " 1R     03-07 01-03 05-11 02-03 07-08 10-12", "11R  ◎  01-02    36", "12R", "end of post",
                      header("阪神", "1234"), kSep, " 5R     04-05", "", ""}));
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(stats.posts, 2);
  EXPECT_EQ(stats.records, 4);

  EXPECT_EQ(cutIndex(), rec("05", "0870", "01", "  ", "03-0701-0305-1102-0307-0810-12") +
                            rec("05", "0870", "11", "◎", "01-02   36") +  // tag of one double-byte char
                            rec("05", "0870", "12", "  ", "") +           // fewer than six picks: blanks
                            rec("09", "1234", "05", "  ", "04-05"));

  std::string expected = kRule + "\r\n" + padded(header("東京", "0870")) + kRule + "\r\n" +
                         padded(" 1R     03-07 01-03 05-11 02-03 07-08 10-12") + padded("11R  ◎  01-02    36") +
                         padded("12R") + "\r\n" + kRule + "\r\n" + padded(header("阪神", "1234")) + kRule + "\r\n" +
                         padded(" 5R     04-05") + "\r\n";
  EXPECT_EQ(cutFile(), expected);
}

TEST_F(ExtractionTest, HeaderTestsTheDayAndShape) {
  writeBytes(h.home() / "logs/LOG1.TXT",
             sjLines({// full-width digits in year, month and day: accepted, copied as written
                      "中山 ２００２年  2回  6日目  ５月１２日(日) [０１０１]", kSep, " 1R     01-02", "",
                      // another month, same day
                      header("東京", "0102", " 6月12日(日)"), kSep, " 1R     01-02", "",
                      // another day
                      header("東京", "0103", " 5月11日(土)"), kSep, " 1R     01-02", "",
                      // another year
                      "東京 2001年  2回  6日目  5月12日(日) [0104]", kSep, " 1R     01-02", "",
                      // not a course name, too short (19 characters), missing 回, code 0
                      header("大井", "0105"), kSep, " 1R     01-02", "", "東京2002年回日目5月12日([1]", kSep,
                      " 1R     01-02", "", "東京 2002年  2   6日目  5月12日(日) [0107]", kSep, " 1R     01-02", "",
                      header("東京", "0000"), kSep, " 1R     01-02", "",
                      // the line after the separator is no race line: post ignored
                      header("東京", "0108"), kSep, "1R      01-02", " 2R     01-02"}));
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_EQ(stats.posts, 1);
  EXPECT_EQ(cutIndex(), rec("06", "0101", "01", "  ", "01-02"));
  EXPECT_NE(cutFile().find(padded("中山 ２００２年  2回  6日目  ５月１２日(日) [０１０１]")), std::string::npos);
}

TEST_F(ExtractionTest, ProgramListFilter) {
  writeBytes(h.home() / "logs/LOG1.TXT", sjLines({header("東京", "0101"), kSep, " 1R     01-02", "", header("東京", "0202"),
                                                  kSep, " 2R     03-04", "", header("東京", "0303"), kSep, " 3R     05-06"}));
  form.listedOnly = true;
  // An empty list takes every program.
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_EQ(stats.records, 3);

  writeBytes(h.home() / "TOLVSOFT.LST", sjLines({"0101予想A", ":0202予想B", "0303予想C"}));
  h.session.programNames = loadProgramNames(h.session);
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_EQ(cutIndex(), rec("05", "0101", "01", "  ", "01-02") + rec("05", "0303", "03", "  ", "05-06"));

  form.listedOnly = false;
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_EQ(stats.records, 3);
}

TEST_F(ExtractionTest, LogsInOrderWithPlaceholdersAndOnlyThisRunsRecords) {
  const std::string post = sjLines({header("京都", "4321"), kSep, " 9R     07-08", ""});
  form.logPaths = {"logs/LOG1.TXT", "logs/fh%m1%D1.log", "logs/%Y2/W%Y1%M1%D1.TXT"};
  form.ticked = {true, true, true};
  writeBytes(h.home() / "logs/LOG1.TXT", post);
  writeBytes(h.home() / "logs/fh0512.log", sjLines({header("京都", "1111"), kSep, "10R     01-02", ""}) + post);
  writeBytes(h.home() / "logs/2002/W020512.TXT", post);
  ASSERT_EQ(run(), StepResult::Done);
  const std::string same = rec("08", "4321", "09", "  ", "07-08");
  // The same post in several logs gives its records each time, logs in order.
  EXPECT_EQ(cutIndex(), same + rec("08", "1111", "10", "  ", "01-02") + same + same);
  EXPECT_EQ(ui.captions.size(), 3u);
  EXPECT_NE(ui.captions[1].find("fh0512.log]を検索中…!!"), std::string::npos);

  // Only the second log ticked: the index holds only this run's records.
  form.ticked = {false, true, false};
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_EQ(cutIndex(), rec("08", "1111", "10", "  ", "01-02") + same);

  // The FILE keys of the form were written to TOLV.INI.
  auto ini = ProfileFile::load(h.session.iniFilePath());
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->get("FILE", "LogFile2"), "logs/fh%m1%D1.log");
  EXPECT_EQ(ini->get("FILE", "LogFflag1"), "False");
  EXPECT_EQ(ini->get("FILE", "LogFflag2"), "True");
  EXPECT_EQ(ini->get("FILE", "CutFileFolder"), "OutPut/");
  EXPECT_EQ(ini->get("FILE", "CutFileSty"), "0");
  EXPECT_EQ(ini->get("FILE", "SOFT_CUT"), "0");
}

// A ticked log that gives no post of the day is named even when another
// log had posts; the step still succeeds.
TEST_F(ExtractionTest, ALogWithoutPostsIsNamedBesideOneWithPosts) {
  form.ticked = {true, true, true};
  writeBytes(h.home() / "logs/LOG1.TXT", "<html><body>Not Found</body></html>");
  writeBytes(h.home() / "logs/LOG2.TXT", sjLines({header("東京", "0870"), kSep, " 1R     01-02"}));
  writeBytes(h.home() / "logs/LOG3.TXT", "");
  ASSERT_EQ(run(), StepResult::Done);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text,
            "予想ファイル（1）には予想が見つかりませんでした：" + (h.home() / "logs/LOG1.TXT").string());
  EXPECT_EQ(ui.messages[1].text,
            "予想ファイル（3）には予想が見つかりませんでした：" + (h.home() / "logs/LOG3.TXT").string());
  EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
  EXPECT_EQ(cutIndex(), rec("05", "0870", "01", "  ", "01-02"));
}

TEST_F(ExtractionTest, NoTickedLogTicksTheFirst) {
  form.ticked = {false, false, false};
  writeBytes(h.home() / "logs/LOG1.TXT", sjLines({header("東京", "0870"), kSep, " 1R     01-02"}));
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_EQ(stats.records, 1);
  EXPECT_TRUE(h.session.settings.logFlag[0]);
}

TEST_F(ExtractionTest, CutFileStyles) {
  writeBytes(h.home() / "logs/LOG1.TXT", sjLines({header("東京", "0870"), kSep, " 1R     01-02"}));
  form.style = CutFileStyle::Named;
  form.cutName = "  MYCUT.TXT ";
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_FALSE(readBytes(h.home() / "OutPut/MYCUT.TXT").empty());
  EXPECT_EQ(ProfileFile::load(h.session.iniFilePath())->get("FILE", "MyCutFile"), "MYCUT.TXT");

  // Style 2: no cut file, and the folder box is not checked.
  form.style = CutFileStyle::None;
  form.cutFolder = "no/such/folder";
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_TRUE(readBytes(h.home() / "OutPut/WARS20020512.TXT").empty());
  EXPECT_EQ(cutIndex().size(), 40u);
}

// MyCutFile names a file of the cut folder: a name that would reach out of
// it or land on one of the program's own files stops the run, the file as it
// was and nothing read.
TEST_F(ExtractionTest, CutFileNameIsABareNameOfNoneOfTheProgramsFiles) {
  writeBytes(h.home() / "logs/LOG1.TXT", sjLines({header("東京", "0870"), kSep, " 1R     01-02"}));
  writeBytes(h.home() / "TOLVSOFT.LST", "the list");
  writeBytes(h.home() / "x", "outside");
  writeBytes(h.session.cutIndexPath(), "the index");
  form.style = CutFileStyle::Named;
  const std::string absolute = (h.home() / "x").string();
  struct Case {
    const char* folder;
    std::string name;
  };
  for (const Case& c : {Case{"./", "TOLVSOFT.LST"}, Case{"./", "tolv.ini"}, Case{"./", "Pirune.lst"},
                        Case{"OutPut", "../x"}, Case{"OutPut", "..\\x"}, Case{"OutPut", absolute}, Case{"OutPut", ".."},
                        Case{"DATA", "20020512.DAT"}, Case{"DATA", "~b20020512.txt"}}) {
    SCOPED_TRACE(c.name);
    ui.messages.clear();
    form.cutFolder = c.folder;
    form.cutName = c.name;
    EXPECT_EQ(run(), StepResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("MyCutFile"), std::string::npos);
    EXPECT_NE(ui.messages[0].text.find(c.name), std::string::npos);
  }
  EXPECT_EQ(readBytes(h.home() / "TOLVSOFT.LST"), "the list");
  EXPECT_EQ(readBytes(h.home() / "x"), "outside");
  EXPECT_EQ(readBytes(h.session.cutIndexPath()), "the index");

  // A plain name in the home folder itself is fine.
  form.cutFolder = "./";
  form.cutName = "MYCUT.TXT";
  EXPECT_EQ(run(), StepResult::Done);
  EXPECT_FALSE(readBytes(h.home() / "MYCUT.TXT").empty());
}

TEST_F(ExtractionTest, StartChecksStopWithTheirMessages) {
  form.cutFolder = "missing-folder";
  EXPECT_EQ(run(), StepResult::Failed);
  form.cutFolder = "OutPut";
  form.style = CutFileStyle::Named;
  form.cutName = "   ";
  EXPECT_EQ(run(), StepResult::Failed);
  form.style = CutFileStyle::Dated;
  form.ticked = {true, true, false};
  writeBytes(h.home() / "logs/LOG1.TXT", "");
  EXPECT_EQ(run(), StepResult::Failed);
  form.logPaths[1] = "";
  EXPECT_EQ(run(), StepResult::Failed);

  ASSERT_EQ(ui.messages.size(), 4u);
  // Messages about a missing file or folder name, on their second line, the
  // path that was looked for.
  const std::string home = h.home().string();
  EXPECT_EQ(ui.messages[0].text,
            "切り出しファイル格納フォルダが見つかりません。再度設定してください！\r\n" + home + "/missing-folder");
  EXPECT_EQ(ui.messages[1].text,
            "切り出しファイル名がオリジナルに設定されていますが、\r\nファイル名の記載がありません！\r\n\r\n    "
            "再度設定してください！");
  EXPECT_EQ(ui.messages[2].text, "予想ファイル（2）が存在しません！\r\n" + home + "/logs/LOG2.TXT\r\n再度設定してください。\r\n");
  EXPECT_EQ(ui.messages[3].text, "予想ファイル（2）が存在しません！\r\n（ファイル名が設定されていません）\r\n再度設定してください。\r\n");
  EXPECT_EQ(ui.messages[0].title, "");
  // Nothing was read.
  EXPECT_TRUE(ui.captions.empty());
  EXPECT_FALSE(fs::exists(h.session.cutIndexPath()));
}

TEST_F(ExtractionTest, NoPostEmptiesTheIndexAndDeletesTheCutFile) {
  writeBytes(h.home() / "logs/LOG1.TXT", sjLines({header("東京", "0870"), kSep, " 1R     01-02"}));
  ASSERT_EQ(run(), StepResult::Done);
  ASSERT_FALSE(cutFile().empty());
  writeBytes(h.home() / "logs/LOG1.TXT", sjLines({"nothing of the day", header("東京", "0870", " 5月19日(日)")}));
  EXPECT_EQ(run(), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "予想は見つかりませんでした。開催日の設定を確認してください。");
  EXPECT_TRUE(fs::exists(h.session.cutIndexPath()));
  EXPECT_TRUE(cutIndex().empty());
  EXPECT_FALSE(fs::exists(h.home() / "OutPut" / "WARS20020512.TXT"));
}

TEST_F(ExtractionTest, LineEndsAndHostileBytes) {
  const std::string h1 = sj(header("東京", "0870")), h2 = sj(header("中山", "0871"));
  const std::string sep = sj(kSep), r1 = sj(" 1R     01-02"), r2 = sj(" 2R     03-04");
  // LF only, CR only, mixed, and a last line without an end.
  writeBytes(h.home() / "logs/LOG1.TXT", h1 + "\n" + sep + "\n" + r1 + "\n" + r2 + "\n\n" + h2 + "\r" + sep + "\r" + r1 +
                                             "\r\n\r\n" + h1 + "\r\n" + sep + "\n" + r2);
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_EQ(cutIndex(), rec("05", "0870", "01", "  ", "01-02") + rec("05", "0870", "02", "  ", "03-04") +
                            rec("06", "0871", "01", "  ", "01-02") + rec("05", "0870", "02", "  ", "03-04"));

  // Invalid CP932 bytes, a NUL byte and a 1 MB line around and inside a post.
  std::string big(1 << 20, 'x');
  big += sj("日目");
  writeBytes(h.home() / "logs/LOG1.TXT", std::string("\x85\x40\x80\xa0\xff", 5) + "\r\n" + big + "\r\n" +
                                             std::string("a\0b", 3) + "\r\n" + h1 + "\r\n" + sep + "\r\n" +
                                             " 1R  \x80\x80 01-02 \xfd\xfe\r\n" + std::string(" 2R\0    03-04", 13) +
                                             "\r\n");
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_EQ(cutIndex(), rec("05", "0870", "01", "??", "01-02??") + rec("05", "0870", "02", "  ", "03-04"));
}

TEST_F(ExtractionTest, HeaderCodeAndCourseEdges) {
  // "館福" is found inside the course-name text but names no course: the
  // record keeps a blank course code.
  writeBytes(h.home() / "logs/LOG1.TXT",
             sjLines({header("館福", "0870"), kSep, " 1R     01-02", "", "東京 2002年  2回  6日目  5月12日(日) [12] x", kSep,
                      " 2R     01-02"}));
  ASSERT_EQ(run(), StepResult::Done);
  EXPECT_EQ(cutIndex(), rec("  ", "0870", "01", "  ", "01-02") + rec("05", "12] ", "02", "  ", "01-02"));
}

TEST(DatePlaceholders, FirstOccurrenceOfEachIgnoringCase) {
  EXPECT_EQ(replaceDatePlaceholders("C:/LOG/FH%M1%D1.LOG", "20020512"), "C:/LOG/FH0512.LOG");
  EXPECT_EQ(replaceDatePlaceholders("/a/%y2/%Y1%m1%d1-%D1.log", "20020512"), "/a/2002/020512-%D1.log");
  std::string longPath = "/logs/" + std::string(60, 'a') + "/%Y2/" + std::string(60, 'b') + ".log";
  EXPECT_EQ(replaceDatePlaceholders(longPath, "20020512"),
            "/logs/" + std::string(60, 'a') + "/2002/" + std::string(60, 'b') + ".log");
}

}  // namespace
}  // namespace tolv
