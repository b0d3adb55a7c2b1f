#include <gtest/gtest.h>

#include "aggregate/pirune_creation.h"
#include "collect/software_list.h"
#include "core/cut_record.h"
#include "odds/pat_odds.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

std::string cut(const std::string& course, const std::string& program, const std::string& race,
                std::array<std::string, 6> picks) {
  return CutRecord{course, program, race, "  ", picks}.encode();
}

// A selection record as the file holds it, written out by hand.
std::string selection(const std::string& course, const std::string& race,
                      const std::vector<std::pair<std::string, std::string>>& pairs) {
  std::string b = course + race;
  for (const auto& [pair, odds] : pairs) b += pair + odds + "      ";
  return b + std::string(17 * (20 - pairs.size()), ' ');
}

const std::string kNone = "      ";

struct PiruneDay : TestHome {
  int scheduleChecks = 0;

  PiruneDay() {
    session.settings.oddsSource = "1";
    session.settings.patFolder = (home() / "pat").string() + "/";
  }
  void list(const std::vector<std::string>& lines) { writeBytes(home() / "PIRUNE.LST", sjLines(lines)); }
  void cuts(const std::string& bytes) { writeBytes(session.cutIndexPath(), bytes); }
  StepResult run(RecordingUi& ui, PiruneCreation* out = nullptr) {
    PiruneHooks hooks;
    hooks.loadCodeList = [](const fs::path& p) { return loadCodeList(p); };
    hooks.checkSchedule = [this](Session&) { ++scheduleChecks; };
    return createPiruneSelection(session, ui, hooks, out);
  }
  std::string selectionFile() const { return readBytes(piruneSelectionPath(session)); }
};

// Writes a PAT98 quinella file of a day and race with the given odds.
void writePat98(const fs::path& p, const std::string& date, const std::string& race,
                const std::vector<std::tuple<int, int, std::string>>& odds) {
  PatQuinella98Record r;
  r.header.date = date;
  r.header.race = race;
  r.layOutPairs(18, '0');
  for (auto [a, b, o] : odds) r.entries[static_cast<std::size_t>(QuinellaPairIndex(a, b) - 1)].odds = o;
  writeBytes(p, r.encode());
}

// The worked examples: base picks 01-02 and 01-03 with secondary picks
// 02-05, 02-05 and 01-09 rank 2, 1 and give the single pair 01-02; counts
// 1, 2, 2 for horses 1, 2, 3 rank 2, 3, 1. Courses and races come out in
// ascending order whatever the order of the posts.
TEST(PiruneCreation, VoteAndTieExamplesInCourseAndRaceOrder) {
  PiruneDay d;
  d.list({"0870ﾍﾞｰｽ", "0101ｿﾌﾄA", "0202ｿﾌﾄB", "0303ｿﾌﾄC"});
  d.cuts(cut("08", "0870", "02", {"01-02", "01-03", "", "", "", ""}) +  // tie race, posted first
         cut("05", "0870", "11", {"01-02", "01-03", "", "", "", ""}) +
         cut("05", "0101", "11", {"02-05", "01-09", "", "", "", ""}) + cut("05", "0202", "11", {"02-05", "", "", "", "", ""}) +
         cut("08", "0101", "02", {"01-02", "", "", "", "", ""}) + cut("08", "0202", "02", {"02-03", "", "", "", "", ""}) +
         cut("08", "0303", "02", {"03-10", "", "", "", "", ""}) +
         cut("05", "0999", "11", {"01-03", "", "", "", "", ""}));  // not listed: no vote
  RecordingUi ui;
  PiruneCreation out;
  ASSERT_EQ(d.run(ui, &out), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(out.baseCode, "0870");
  EXPECT_EQ(out.baseEntry, 1);
  EXPECT_EQ(d.scheduleChecks, 1);
  EXPECT_EQ(d.selectionFile(), selection("05", "11", {{"01-02", kNone}}) +
                                   selection("08", "02", {{"02-03", kNone}, {"01-02", kNone}, {"01-03", kNone}}));
  EXPECT_EQ(ui.captions, (std::vector<std::string>{"「PIRUNE.LST」記載ソフトの買い目を集約中！…",
                                                   "基準ソフトの予想を解析中！…", "ヒモソフトの予想を解析中！…",
                                                   "【東京】競馬の『ぴるね』を作成中！…",
                                                   "【京都】競馬の『ぴるね』を作成中！…"}));
}

TEST(PiruneCreation, PairsBeyondTheSlotsAreNotStored) {
  // Eighteen voted horses make 153 pairs; the first 66 are stored.
  PiruneRaceEntry all;
  for (int h = 1; h <= 18; ++h) all.votes[static_cast<std::size_t>(h)] = {h, 19 - h};
  rankPiruneVotes(all);
  BuildPirunePairs(all);
  EXPECT_EQ(all.pairs[0].pair, "01-02");
  EXPECT_EQ(all.pairs[16].pair, "01-18");
  EXPECT_EQ(all.pairs[17].pair, "02-03");
  EXPECT_EQ(all.pairs[65].pair, "05-09");  // 17 + 16 + 15 + 14 pairs before 05-06
}

// With the first entry silent the second is the base, and its own picks vote.
TEST(PiruneCreation, SecondEntryBecomesTheBaseAndVotes) {
  PiruneDay d;
  d.list({"0001", "0870", "0101"});
  d.cuts(cut("06", "0870", "05", {"01-02", "03-04", "", "", "", ""}) +
         cut("06", "0101", "05", {"03-04", "", "", "", "", ""}));
  RecordingUi ui;
  PiruneCreation out;
  ASSERT_EQ(d.run(ui, &out), StepResult::Done);
  EXPECT_EQ(out.baseEntry, 2);
  // Votes 1, 1, 2, 2 for horses 1-4 rank 3, 4, 1, 2.
  EXPECT_EQ(d.selectionFile(), selection("06", "05",
                                         {{"03-04", kNone}, {"01-03", kNone}, {"02-03", kNone}, {"01-04", kNone},
                                          {"02-04", kNone}, {"01-02", kNone}}));
}

// A program listed twice has its records written twice and each copy counted
// once for every entry that carries its code: four votes a pick.
TEST(PiruneCreation, ProgramListedTwiceVotesAsTheStepsCountIt) {
  PiruneDay d;
  d.list({"0870", "0101", "0202", "0101"});
  d.cuts(cut("05", "0870", "01", {"01-02", "01-03", "", "", "", ""}) +
         cut("05", "0101", "01", {"01-09", "", "", "", "", ""}) +  // horse 1: 4 votes
         cut("05", "0202", "01", {"02-09", "", "", "", "", ""}) + cut("05", "0202", "01", {"02-09", "", "", "", "", ""}) +
         cut("05", "0202", "01", {"02-03", "", "", "", "", ""}));  // horse 2: 3, horse 3: 1
  RecordingUi ui;
  ASSERT_EQ(d.run(ui), StepResult::Done);
  // Ranking 1, 2, 3 (with two votes for horse 1 it would be 2, 1, 3).
  EXPECT_EQ(d.selectionFile(), selection("05", "01", {{"01-02", kNone}, {"01-03", kNone}, {"02-03", kNone}}));
}

// A base record whose first pick is a single horse names no race; a later
// base record of a race replaces an earlier one; secondary records whose
// first pick is no pair do not vote.
TEST(PiruneCreation, BaseRecordsThatNameNoRaceOrAreReplaced) {
  PiruneDay d;
  d.list({"0870", "0101"});
  d.cuts(cut("05", "0870", "03", {"   05", "", "", "", "", ""}) + cut("05", "0101", "03", {"05-06", "", "", "", "", ""}) +
         cut("05", "0870", "04", {"01-02", "", "", "", "", ""}) + cut("05", "0870", "04", {"07-08", "", "", "", "", ""}) +
         cut("05", "0101", "04", {"01-02", "07-08", "", "", "", ""}) +
         cut("05", "0101", "04", {"   07", "07-08", "", "", "", ""}));
  RecordingUi ui;
  ASSERT_EQ(d.run(ui), StepResult::Done);
  EXPECT_EQ(d.selectionFile(), selection("05", "04", {{"07-08", kNone}}));
}

// SORTFLAG 1 orders a race's pairs by odds, blank odds first.
TEST(PiruneCreation, SortFlagOrdersByOddsWithBlankFirst) {
  for (int flag : {0, 1}) {
    PiruneDay d;
    d.session.settings.pirune.sortFlag = flag;
    d.list({"0870", "0101"});
    d.cuts(cut("05", "0870", "01", {"01-02", "01-03", "", "", "", ""}) +
           cut("05", "0101", "01", {"01-02", "01-03", "01-04", "", "", ""}) +
           cut("05", "0101", "01", {"01-02", "02-05", "", "", "", ""}));
    // Votes 3, 2, 1: pairs 01-02, 01-03, 02-03.
    writePat98(d.home() / "pat" / "UO-581.JRA", "20020512", "01", {{1, 2, " 251.0"}, {2, 3, " 120.5"}});
    RecordingUi ui;
    ASSERT_EQ(d.run(ui), StepResult::Done) << flag;
    const std::string expected =
        flag == 1 ? selection("05", "01", {{"01-03", kNone}, {"02-03", " 120.5"}, {"01-02", " 251.0"}})
                  : selection("05", "01", {{"01-02", " 251.0"}, {"01-03", kNone}, {"02-03", " 120.5"}});
    EXPECT_EQ(d.selectionFile(), expected) << flag;
  }
}

// A PAT file of the day whose record holds another race (a misnamed or copied
// file, listed first) gives no odds; the next file of the race sought does.
TEST(PiruneCreation, PatFileMustHoldTheRaceSought) {
  PiruneDay d;
  d.list({"0870", "0101"});
  d.cuts(cut("06", "0870", "01", {"01-02", "", "", "", "", ""}) +
         cut("06", "0101", "01", {"01-02", "", "", "", "", ""}));
  writePat98(d.home() / "pat" / "UO-611.JRA", "20020512", "02", {{1, 2, "  99.9"}});
  RecordingUi ui;
  ASSERT_EQ(d.run(ui), StepResult::Done);
  EXPECT_EQ(d.selectionFile(), selection("06", "01", {{"01-02", kNone}}));

  writePat98(d.home() / "pat" / "UO-621.JRA", "20020512", " 1", {{1, 2, "  12.5"}});
  ASSERT_EQ(d.run(ui), StepResult::Done);
  EXPECT_EQ(d.selectionFile(), selection("06", "01", {{"01-02", "  12.5"}}));
}

// The messages of the steps that stop, and what each leaves behind.
TEST(PiruneCreation, FailureMessages) {
  const std::string title = "【ぴるね】エラーメッセージ";
  const std::string base = cut("05", "0870", "01", {"01-02", "", "", "", "", ""});
  struct Case {
    const char* name;
    std::function<void(PiruneDay&)> setUp;
    std::string text, title;
    Icon icon;
    int scheduleChecks;
  };
  const std::vector<Case> cases = {
      {"no list", [&](PiruneDay& d) { d.cuts(base); },
       "カレントフォルダに「リストファイル(PIRUNE.LST)」がありません！　中止します。", title, Icon::Critical, 0},
      {"one code", [&](PiruneDay& d) {
         d.list({"0870ﾍﾞｰｽ", "garbage", "", "ABCD", "0000", "-123", "ｱｲｳｴ"});
         d.cuts(base);
       },
       "「リストファイル(PIRUNE.LST)」にソフトのコードの記載がありません！　中止します。", title, Icon::Critical, 0},
      {"no cut index", [&](PiruneDay& d) { d.list({"0870", "0101"}); }, "『ログの読み込み』が実行されていません！",
       title, Icon::Critical, 0},
      {"empty cut index", [&](PiruneDay& d) {
         d.list({"0870", "0101"});
         d.cuts("");
       },
       "予想が見つかりません！", "", Icon::None, 1},
      {"no base in entries 1-3", [&](PiruneDay& d) {
         d.list({"0001", "0002", "0003", "0870"});
         d.cuts(base);
       },
       "基準ソフトの予想がありませんので中止します<(_ _)>", "", Icon::None, 1},
      {"no pairs", [&](PiruneDay& d) {
         d.list({"0870", "0101"});
         d.cuts(base);  // nobody votes
       },
       "本日は『ぴるね』の買い目がありません！", "【ぴるね】の作成について", Icon::Information, 1},
  };
  for (const auto& c : cases) {
    PiruneDay d;
    c.setUp(d);
    RecordingUi ui;
    EXPECT_EQ(d.run(ui), StepResult::Failed) << c.name;
    ASSERT_EQ(ui.messages.size(), 1u) << c.name;
    EXPECT_EQ(ui.messages[0].text, c.text) << c.name;
    EXPECT_EQ(ui.messages[0].title, c.title) << c.name;
    EXPECT_EQ(ui.messages[0].icon, c.icon) << c.name;
    EXPECT_EQ(d.scheduleChecks, c.scheduleChecks) << c.name;
    EXPECT_FALSE(ui.progressOpen) << c.name;
    EXPECT_EQ(ui.busyDepth, 0) << c.name;
    // Only a run that got as far as the selection writes it: empty.
    EXPECT_EQ(fs::exists(piruneSelectionPath(d.session)), std::string(c.name) == "no pairs") << c.name;
  }
}

// Hostile cut records: courses and races outside 1-10 and 1-12, horse
// numbers outside 0-18, blanks and garbage are skipped without harm.
TEST(PiruneCreation, OutOfRangeCutRecordsAreSkipped) {
  PiruneDay d;
  d.list({"0870", "0101"});
  std::string bytes;
  for (const char* course : {"00", "11", "99", "-1", "ab", "  ", "\xff\xff"}) {
    bytes += cut(course, "0870", "01", {"01-02", "", "", "", "", ""});
    bytes += cut(course, "0101", "01", {"01-02", "", "", "", "", ""});
  }
  for (const char* race : {"00", "13", "99", "-5", "  "}) {
    bytes += cut("05", "0870", race, {"01-02", "", "", "", "", ""});
    bytes += cut("05", "0101", race, {"01-02", "", "", "", "", ""});
  }
  // Horse numbers 19, 99 and -1 take no part; 0 is never ranked.
  bytes += cut("05", "0870", "02", {"19-99", "00-03", "-1-04", "05-06", "", ""});
  bytes += cut("05", "0101", "02", {"19-03", "00-99", "04-05", "06-ab", "", ""});
  bytes += std::string(40, '\xff') + std::string(40, '\0') + "short";  // garbage and a partial record
  d.cuts(bytes);
  RecordingUi ui;
  ASSERT_EQ(d.run(ui), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  // Race 2: the base names horses 0, 3, 4, 5 and 6; the votes go to 3, 4
  // and 5 ("06-ab" is an unused slot and ends the picks).
  EXPECT_EQ(d.selectionFile(), selection("05", "02", {{"03-04", kNone}, {"03-05", kNone}, {"04-05", kNone}}));
}

// A missing TARGET CSV file or MJH text is reported once per run, and every
// race goes on without odds.
TEST(PiruneCreation, MissingOddsFileReportedOnce) {
  for (const std::string source : {"3", "4"}) {
    PiruneDay d;
    d.session.settings.oddsSource = source;
    d.list({"0870", "0101"});
    d.cuts(cut("05", "0870", "01", {"01-02", "", "", "", "", ""}) + cut("05", "0101", "01", {"01-02", "", "", "", "", ""}) +
           cut("08", "0870", "07", {"03-04", "", "", "", "", ""}) + cut("08", "0101", "07", {"03-04", "", "", "", "", ""}));
    RecordingUi ui;
    ASSERT_EQ(d.run(ui), StepResult::Done) << source;
    ASSERT_EQ(ui.messages.size(), 1u) << source;
    EXPECT_EQ(ui.messages[0].text, source == "3" ? "「Target」用ＣＳＶ形式オッズファイルが見つかりません！"
                                                 : "「MJH」形式オッズファイルが見つかりません！");
    EXPECT_EQ(ui.messages[0].title, "");
    EXPECT_EQ(d.selectionFile(),
              selection("05", "01", {{"01-02", kNone}}) + selection("08", "07", {{"03-04", kNone}}));
  }
}

TEST(PiruneCreation, SelectionRecordRoundTrip) {
  PiruneSelectionRecord r{"05", "11", {{"03-07", "  12.5"}, {"03-12", kNone}}};
  const std::string bytes = r.encode();
  EXPECT_EQ(bytes, selection("05", "11", {{"03-07", "  12.5"}, {"03-12", kNone}}));
  const PiruneSelectionRecord back = PiruneSelectionRecord::decode(bytes);
  EXPECT_EQ(back.courseCode, "05");
  EXPECT_EQ(back.raceNo, "11");
  ASSERT_EQ(back.candidates.size(), 2u);
  EXPECT_EQ(back.candidates[1].pair, "03-12");
  // A short record reads what it has.
  EXPECT_TRUE(PiruneSelectionRecord::decode("05").candidates.empty());
}

}  // namespace
}  // namespace tolv
