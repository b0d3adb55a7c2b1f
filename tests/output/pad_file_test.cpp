#include "output/pad_file.h"

#include <gtest/gtest.h>

#include "core/profile.h"
#include "output/output_fixture.h"
#include "output/pirune_output.h"
#include "output/tolv_wars.h"

namespace tolv::testing {
namespace {

const std::string kDate = "2002年 5月12日";
const std::vector<std::string> kHead = {"*GO FHWARS", "*MES 11", "*SAY"};

std::string heading(const std::string& course, int race) {
  return leftBytes(course + "【" + toWide(twoCharNumber(race)) + "Ｒ】 " + std::string(76, '+'), 76);
}

// A listing of races first..last, two picks a race: the first with five
// programs (its characters 4-5 read "5ｿ"), the second with nine, so that it
// has a continuation line.
std::vector<std::string> listing(const std::string& course, int first = 1, int last = 12) {
  std::vector<std::string> l = {rule('='), pad76("《" + course + "》 2002年 5月12日(日) 今日もいただきィ～(^^)v"),
                                rule('=')};
  for (int r = first; r <= last; ++r) {
    l.push_back(heading(course, r));
    l.push_back(" < 5ｿﾌﾄ>0" + std::to_string(r % 9 + 1) + "-12[ 12.5]:[0001]/[0002]/[0003]/[0004]/[0005]");
    l.push_back(" < 9ｿﾌﾄ>   12[  3.5]:[0001]/[0002]/[0003]/[0004]/[0005]/[0006]/[0007]/[0008]");
    l.push_back(std::string(21, ' ') + "[0009]");
  }
  l.push_back(rule('='));
  l.push_back("");
  return l;
}

// The body a listing posts: its lines up to the first short one.
std::vector<std::string> bodyOf(const std::vector<std::string>& l, std::size_t from, std::size_t to) {
  return {l.begin() + static_cast<long>(from), l.begin() + static_cast<long>(to)};
}

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct PadDay : OutputDay {
  RecordingUi ui;
  PadDay() {
    session.settings.wars.outFolder = session.outPutFolder();
    session.settings.wars.code = "7777";
    session.settings.pirune.outFolder = session.outPutFolder();
    session.settings.pirune.code = "0870";
  }
  void staff(const std::string& key, const std::string& value) {
    ASSERT_TRUE(writeProfileString(session.iniFilePath(), "STAFF", key, value));
  }
  void addListing(const std::string& code, const std::vector<std::string>& lines) {
    writeBytes(fs::path(session.outPutFolder()) / ("W20020512_" + code + ".TXT"), sjLines(lines));
  }
  std::string plain() const { return readBytes(home() / "wPAD.TXT"); }
  std::string autopilot() const { return readBytes(home() / "PAD.PAD"); }
  StepResult run(fs::path* written = nullptr) { return writePadFile(session, ui, written); }
};

TEST(PadFile, PlainEditionsOfOneListing) {
  const auto l = listing("東京");
  const std::size_t closing = l.size() - 2;  // the closing rule
  {
    PadDay d;
    d.addListing("05", l);
    fs::path written;
    ASSERT_EQ(d.run(&written), StepResult::Done);
    EXPECT_EQ(written, d.home() / "wPAD.TXT");
    // Full edition: the whole listing up to its closing rule, no rule added.
    EXPECT_EQ(d.plain(),
              sjLines(concat({{"SUB:《トルブ万券》  東京 " + kDate}, bodyOf(l, 0, closing + 1), {"/POST"}})));
    EXPECT_FALSE(fs::exists(d.home() / "PAD.PAD"));
    EXPECT_TRUE(d.ui.messages.empty());
    EXPECT_TRUE(d.ui.questions.empty());
    EXPECT_TRUE(d.ui.opened.empty());
  }
  {
    PadDay d;
    d.staff("RaceOutFlag", "1");
    d.addListing("05", l);
    ASSERT_EQ(d.run(), StepResult::Done);
    // Early edition: banner and races 1-3 (four lines each), then the rule.
    EXPECT_EQ(d.plain(), sjLines(concat({{"SUB:《トルブ万券》  東京 " + kDate + "   早版（３Ｒまで）"},
                                         bodyOf(l, 0, 3 + 3 * 4),
                                         {rule('='), "/POST"}})));
  }
  {
    PadDay d;
    d.staff("RaceOutFlag", "2");
    d.addListing("05", l);
    ASSERT_EQ(d.run(), StepResult::Done);
    // Late edition: banner, then races 4-12 with the closing rule. The pick
    // lines of races 1-3 (whose characters 4-5 read "5ｿ") stay out.
    EXPECT_EQ(d.plain(), sjLines(concat({{"SUB:《トルブ万券》  東京 " + kDate + "   遅版（４Ｒ以降）"},
                                         bodyOf(l, 0, 3),
                                         bodyOf(l, 3 + 3 * 4, closing + 1),
                                         {"/POST"}})));
  }
}

TEST(PadFile, EarlyEditionOfShortListingsAndLateEditionWithoutLateRaces) {
  PadDay d;
  d.staff("RaceOutFlag", "2");
  const auto early = listing("中山", 1, 3);
  d.addListing("06", early);
  ASSERT_EQ(d.run(), StepResult::Done);
  // Nothing after race 3: the banner alone, ending on its own rule.
  EXPECT_EQ(d.plain(), sjLines({"SUB:《トルブ万券》  中山 " + kDate + "   遅版（４Ｒ以降）", early[0], early[1],
                                early[2], "/POST"}));

  d.staff("RaceOutFlag", "1");
  ASSERT_EQ(d.run(), StepResult::Done);
  // Races 1-3 only: the body reaches the closing rule, none is added.
  EXPECT_EQ(d.plain(), sjLines(concat({{"SUB:《トルブ万券》  中山 " + kDate + "   早版（３Ｒまで）"},
                                       bodyOf(early, 0, early.size() - 1),
                                       {"/POST"}})));
}

TEST(PadFile, LateEditionStartsAtTheFirstLateHeading) {
  // A listing without race 4 whose early races come back after a late one.
  const std::vector<std::string> l = {rule('='),
                                      "banner text line",
                                      rule('='),
                                      heading("京都", 2),
                                      " < 7ｿﾌﾄ>01-02[ 10.0]:[0001]",
                                      heading("京都", 5),
                                      " < 3ｿﾌﾄ>03-04[ 20.0]:[0001]",
                                      heading("京都", 3),
                                      " < 4ｿﾌﾄ>05-06[ 30.0]:[0001]",
                                      heading("京都", 11),
                                      " < 2ｿﾌﾄ>07-08[ 40.0]:[0001]",
                                      rule('='),
                                      ""};
  const auto body = padListingBody(l, 2);
  EXPECT_EQ(body, (std::vector<std::string>{l[0], l[1], l[2], l[5], l[6], l[9], l[10], l[11]}));
  std::string last;
  EXPECT_EQ(padListingBody(l, 1, &last), (std::vector<std::string>{l[0], l[1], l[2], l[3], l[4]}));
  EXPECT_EQ(last, l[4]);
  // A line shorter than ten characters ends the body in every edition.
  const std::vector<std::string> shortLine = {rule('='), "123456789", rule('=')};
  EXPECT_EQ(padListingBody(shortLine, 0).size(), 1u);
  EXPECT_EQ(padListingBody(shortLine, 2).size(), 1u);
}

TEST(PadFile, AutopilotAppendsAndPlainReplaces) {
  PadDay d;
  d.staff("TERM", "1");
  const auto l = listing("阪神", 1, 2);
  d.addListing("09", l);
  const std::string old = sj("以前の内容\r\n") + "\x81";  // kept byte for byte, even a torn character
  writeBytes(d.home() / "PAD.PAD", old);
  fs::path written;
  ASSERT_EQ(d.run(&written), StepResult::Done);
  EXPECT_EQ(written, d.home() / "PAD.PAD");
  const std::string batch =
      sjLines(concat({kHead, {"SUB:《トルブ万券》  阪神 " + kDate}, bodyOf(l, 0, l.size() - 1), {"/POST"}}));
  EXPECT_EQ(d.autopilot(), old + batch);
  ASSERT_EQ(d.run(), StepResult::Done);
  EXPECT_EQ(d.autopilot(), old + batch + batch);
  EXPECT_FALSE(fs::exists(d.home() / "wPAD.TXT"));

  d.staff("TERM", "0");
  writeBytes(d.home() / "wPAD.TXT", "older run\r\nwith more lines than this one\r\n");
  ASSERT_EQ(d.run(), StepResult::Done);
  const std::string plain =
      sjLines(concat({{"SUB:《トルブ万券》  阪神 " + kDate}, bodyOf(l, 0, l.size() - 1), {"/POST"}}));
  EXPECT_EQ(d.plain(), plain);
  ASSERT_EQ(d.run(), StepResult::Done);
  EXPECT_EQ(d.plain(), plain);
  EXPECT_EQ(d.autopilot(), old + batch + batch);
}

TEST(PadFile, WarsAndPiruneMessages) {
  PadDay d;
  d.staff("TERM", "1");
  d.staff("RaceOutFlag", "1");
  const auto l = listing("小倉", 1, 1);
  d.addListing("10", l);
  const std::vector<std::string> wars = {rule('-'), pad76("小倉 wars header"), rule('-'), pad76(" 1R     01-02"), ""};
  const std::vector<std::string> text = {"pirune listing line one", "pirune listing line two"};
  const std::vector<std::string> hw = {pad76("11R   3  3- 7  3-12 ")};
  writeBytes(tolvWarsPath(d.session), sjLines(wars));
  ASSERT_EQ(tolvWarsPath(d.session).filename(), "Tolv_WARS20020512.7777");
  writeBytes(piruneTextPath(d.session), sjLines(text));
  writeBytes(piruneWarsPath(d.session), sjLines(hw));
  ASSERT_EQ(d.run(), StepResult::Done);
  const std::string textGreeting = "  万券ファンの皆さん、おはよう(^_^)。　きょうも万券取って蔵建てよう！";
  const std::string warsGreeting = "  万券ファンの皆さん、おはよう(^_^)。　本日で住宅ローンは完済だぁ～(ﾟ〇ﾟ;)";
  EXPECT_EQ(d.autopilot(), sjLines(concat({kHead,
                                           {"SUB:《トルブ万券》  小倉 " + kDate + "   早版（３Ｒまで）"},
                                           bodyOf(l, 0, l.size() - 1),
                                           {"/POST"},
                                           kHead,
                                           {"SUB:《トルブ》  " + kDate + "    WARS形式   早版", ""},
                                           wars,
                                           {"", "/POST"},
                                           kHead,
                                           {"SUB:《ぴるね》  " + kDate + "   早版", textGreeting, ""},
                                           text,
                                           {"", "/POST"},
                                           kHead,
                                           {"SUB:《ぴるね》  " + kDate + "    WARS形式   早版", warsGreeting, ""},
                                           hw,
                                           {"", "/POST"}})));

  // Full edition, plain: no edition marks, no script; a missing file is skipped.
  d.staff("TERM", "0");
  d.staff("RaceOutFlag", "0");
  fs::remove(piruneTextPath(d.session));
  ASSERT_EQ(d.run(), StepResult::Done);
  EXPECT_EQ(d.plain(), sjLines(concat({{"SUB:《トルブ万券》  小倉 " + kDate},
                                       bodyOf(l, 0, l.size() - 1),
                                       {"/POST", "SUB:《トルブ》  " + kDate + "    WARS形式", ""},
                                       wars,
                                       {"", "/POST", "SUB:《ぴるね》  " + kDate + "    WARS形式", warsGreeting, ""},
                                       hw,
                                       {"", "/POST"}})));
  EXPECT_TRUE(d.ui.messages.empty());
}

TEST(PadFile, CourseNamesSubjectsAndListingOrder) {
  EXPECT_EQ(padCourseName("01"), "札幌");
  EXPECT_EQ(padCourseName("10"), "小倉");
  EXPECT_EQ(padCourseName("11"), "(^^;");
  EXPECT_EQ(padCourseName("00"), "(^^;");
  EXPECT_EQ(padCourseName("1"), "(^^;");

  PadDay d;
  const auto a = listing("函館", 12, 12);
  const auto b = listing("？？", 12, 12);
  d.addListing("11", b);
  d.addListing("02", a);
  d.addListing("04", a);
  d.addListing("12", a);                                                            // a fourth listing is not posted
  writeBytes(fs::path(d.session.outPutFolder()) / "W20020513_03.TXT", sjLines(a));  // another day
  ASSERT_EQ(d.run(), StepResult::Done);
  auto message = [&](const std::string& course, const std::vector<std::string>& l) {
    return concat({{"SUB:《トルブ万券》  " + course + " " + kDate}, bodyOf(l, 0, l.size() - 1), {"/POST"}});
  };
  EXPECT_EQ(d.plain(), sjLines(concat({message("函館", a), message("新潟", a), message("(^^;", b)})));

  TestHome january("20020105");
  EXPECT_EQ(padSubjectDate(january.session), "2002年 1月 5日");
}

TEST(PadFile, LineCountQuestion) {
  // 3 banner lines, 1 heading, then n pick lines, then the closing rule.
  auto sized = [](int bodyLines) {
    std::vector<std::string> l = {rule('='), "banner text line", rule('='), heading("東京", 1)};
    while (static_cast<int>(l.size()) < bodyLines - 1) l.push_back(" < 2ｿﾌﾄ>01-02[ 10.0]:[0001]/[0002]");
    l.push_back(rule('='));
    l.push_back("");
    return l;
  };
  const auto big = sized(293);
  const auto fits = sized(292);
  const auto second = listing("中山", 1, 1);
  const std::string question =
      "『東京 " + kDate + "』のＰＡＤファイル行数が３００行を超えています！\r\n\r\n続けますか？\r\n";
  auto message = [&](const std::string& course, const std::vector<std::string>& l) {
    return concat({{"SUB:《トルブ万券》  " + course + " " + kDate}, bodyOf(l, 0, l.size() - 1), {"/POST"}});
  };
  const std::vector<std::string> wars = {pad76(" 1R     01-02"), ""};
  {
    PadDay d;
    d.staff("PADEDIT", "1");
    d.addListing("05", fits);
    d.addListing("06", second);
    writeBytes(tolvWarsPath(d.session), sjLines(wars));
    ASSERT_EQ(d.run(), StepResult::Done);
    EXPECT_TRUE(d.ui.questions.empty());
    EXPECT_EQ(d.ui.opened, std::vector<std::string>{(d.home() / "wPAD.TXT").string()});
  }
  {
    PadDay d;
    d.staff("PADEDIT", "1");
    d.addListing("05", big);
    d.addListing("06", second);
    writeBytes(tolvWarsPath(d.session), sjLines(wars));
    d.ui.answers = {Answer::Ok};
    ASSERT_EQ(d.run(), StepResult::Done);
    ASSERT_EQ(d.ui.questions.size(), 1u);
    EXPECT_EQ(d.ui.questions[0].text, question);
    EXPECT_EQ(d.ui.questions[0].title, "行数チェック");
    EXPECT_EQ(d.ui.questions[0].icon, Icon::Question);
    // OK goes on with every remaining message.
    EXPECT_EQ(d.plain(), sjLines(concat({message("東京", big),
                                         message("中山", second),
                                         {"SUB:《トルブ》  " + kDate + "    WARS形式", ""},
                                         wars,
                                         {"", "/POST"}})));
    EXPECT_EQ(d.ui.opened.size(), 1u);
  }
  {
    PadDay d;
    d.staff("PADEDIT", "1");
    d.addListing("05", big);
    d.addListing("06", second);
    writeBytes(tolvWarsPath(d.session), sjLines(wars));
    d.ui.answers = {Answer::Cancel};
    fs::path written;
    EXPECT_EQ(d.run(&written), StepResult::Cancelled);
    EXPECT_EQ(d.ui.questions.size(), 1u);
    // Cancel keeps what was gathered up to the oversized message and stops.
    EXPECT_EQ(d.plain(), sjLines(message("東京", big)));
    EXPECT_EQ(written, d.home() / "wPAD.TXT");
    EXPECT_TRUE(d.ui.opened.empty());
  }
}

TEST(PadFile, SettingsAndFailures) {
  {
    PadDay d;
    PadSettings none = LoadPadSettings(d.session);
    EXPECT_EQ(none.outDir, "");
    EXPECT_EQ(none.term, 0);
    EXPECT_EQ(none.padEdit, 0);
    EXPECT_EQ(none.raceOutFlag, 0);
    d.staff("TERM", "2");
    d.staff("PADEDIT", " 1.0");
    d.staff("RaceOutFlag", "2");
    d.staff("PADOUTDIR", "pad\\out");
    PadSettings s = LoadPadSettings(d.session);
    EXPECT_EQ(s.term, 0);
    EXPECT_EQ(s.padEdit, 1);
    EXPECT_EQ(s.raceOutFlag, 2);
    EXPECT_EQ(padFilePath(d.session, s), d.home() / "pad" / "out" / "wPAD.TXT");

    s.term = 1;
    s.outDir = "  pad/out2/  ";
    ASSERT_TRUE(SavePadSettings(d.session, s));
    EXPECT_EQ(readProfileString(d.session.iniFilePath(), "STAFF", "PADOUTDIR"), "pad/out2/");
    const PadSettings back = LoadPadSettings(d.session);
    EXPECT_EQ(back.term, 1);
    EXPECT_EQ(back.padEdit, 1);
    EXPECT_EQ(back.raceOutFlag, 2);

    // Into the configured folder; an existing file in another case is used.
    fs::create_directories(d.home() / "pad" / "out2");
    writeBytes(d.home() / "pad" / "out2" / "pad.pad", "x\r\n");
    d.addListing("05", listing("東京", 1, 1));
    fs::path written;
    ASSERT_EQ(d.run(&written), StepResult::Done);
    EXPECT_EQ(written, d.home() / "pad" / "out2" / "pad.pad");
    EXPECT_EQ(readBytes(written).substr(0, 13), "x\r\n*GO FHWARS");
  }
  {
    PadDay d;
    EXPECT_EQ(d.run(), StepResult::Failed);
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_EQ(d.ui.messages[0].text, "トルブファイルがみつかりません(~_~ﾒ)／~~~~~。");
    EXPECT_FALSE(fs::exists(d.home() / "wPAD.TXT"));
  }
  {
    PadDay d;
    d.staff("PADOUTDIR", "missing-folder");
    d.addListing("05", listing("東京", 1, 1));
    fs::path written;
    EXPECT_EQ(d.run(&written), StepResult::Failed);
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_EQ(d.ui.messages[0].title, "【トルブ】エラーメッセージ");
    EXPECT_TRUE(written.empty());
  }
}

}  // namespace
}  // namespace tolv::testing
