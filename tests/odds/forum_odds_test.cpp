#include "odds/forum_odds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>

#include "core/text.h"
#include "odds/pat_odds.h"
#include "odds/pat_fixture.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

using Lines = std::vector<std::string>;
constexpr const char* kDay = "20261206";

std::string spaces(std::size_t n) { return std::string(n, ' '); }

std::string fmt(const char* pattern, double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, pattern, v);
  return buf;
}
std::string num2(int n) { return fmt("%2.0f", n); }

// --- a forum odds post, as the forum writes it --------------------------------

std::string header(const std::string& course, int race, const std::string& time = "15:10") {
  return "【オッズ】" + course + toWide(std::to_string(race)) +
         "レース　２６年５回２日目　２０２６年１２月　６日（日）　取得時刻　" + time;
}

// Line 2: the race name from byte 11.
std::string nameLine(const std::string& name) { return "レース名：" + name; }

// Line 3: the runners in characters 65-66.
std::string runnersLine(int n) {
  std::string s = "芝１８００ｍ　３歳以上１勝クラス";
  s += spaces(64 - lenChars(s));
  return s + num2(n) + "頭";
}

// A win/place line: horse number, a six-character name, the odds in
// characters 11-15, 18-21 and 23-26.
std::string horseName(int h) {
  std::string two = num2(h);
  if (two[0] == ' ') two[0] = '0';
  return "ウマ" + toWide(two) + "号　";
}
std::string winLine(int h, double win, double low, double high) {
  return num2(h) + " " + horseName(h) + " " + fmt("%5.1f", win) + "  " + fmt("%4.1f", low) + "-" + fmt("%4.1f", high) +
         "  人気";
}
std::string scratchLine(int h) { return num2(h) + " " + horseName(h) + "　　出走取消"; }

using Cell = std::function<std::string(int, int)>;

// Bracket table line of bracket b: cells of 4 bytes at byte columns 1, 6, ..., 36.
std::string bracketLine(int b, const Cell& cell) {
  std::string s;
  for (int a = 1; a <= 8; ++a) s += (a <= b ? cell(a, b) : spaces(4)) + " ";
  return s;
}

// First quinella set, line of horse j: cells of 5 bytes at byte columns 4, 10,
// ..., 34 and 45, ..., 75, with a two-byte rule in between.
std::string firstSetLine(int j, const Cell& cell) {
  std::string s = num2(j) + " ";
  for (int i = 1; i <= 12; ++i) {
    if (i == 7) s += " │" + num2(j);
    s += (i < j ? cell(i, j) : spaces(5)) + " ";
  }
  return s;
}

// Second set, line of horse j: the bracket table at the left (lines 1-8) and
// the cells of first horses 13-17 at byte columns 45, ..., 69.
std::string secondSetLine(int j, int runners, const Cell& bracket, const Cell& cell) {
  std::string s = j <= 8 ? bracketLine(j, bracket) : spaces(40);
  if (runners < 13) return s;
  s += "│" + num2(j);
  for (int i = 13; i <= 17; ++i) s += (i < j ? cell(i, j) : spaces(5)) + " ";
  return s;
}

struct Post {
  std::string course = "中山";
  int race = 9;
  std::string time = "15:10";
  std::string name = "香取ステークス";
  int runners = 8;
  std::vector<int> scratched;
  Cell quinella;  // 5-byte cells
  Cell bracket;   // 4-byte cells
};

// Bracket odds of the pair (a, b): 10a + b + 0.5, 100 and more written whole.
std::string bracketCell(int a, int b) {
  double v = 10 * a + b + 0.5;
  if (a == 1 && b == 1) return "    ";  // no such pair in the field
  if (a == 8 && b == 8) return " 123";
  return fmt("%4.1f", v);
}
std::string bracketOdds(int a, int b) {
  if (a == 1 && b == 1) return spaces(5);
  if (a == 8 && b == 8) return "123.0";
  return fmt("%5.1f", 10 * a + b + 0.5);
}

Lines postLines(const Post& p) {
  Lines l{header(p.course, p.race, p.time), nameLine(p.name), runnersLine(p.runners), "馬番 馬名        単勝  複勝"};
  for (int h = 1; h <= p.runners; ++h) {
    bool gone = std::find(p.scratched.begin(), p.scratched.end(), h) != p.scratched.end();
    l.push_back(gone ? scratchLine(h) : winLine(h, h + 0.5, 1.0 + h / 10.0, 2.0 + h / 10.0));
  }
  l.push_back("");
  if (p.runners < 9) {
    l.push_back("枠連");
    l.push_back("  1    2    3    4    5    6    7    8");
    for (int b = 1; b <= 8; ++b) l.push_back(bracketLine(b, p.bracket ? p.bracket : bracketCell));
    return l;
  }
  for (int j = 1; j <= p.runners; ++j) l.push_back(firstSetLine(j, p.quinella));
  l.push_back("枠連　　　　　　　　　　　　　　　　　　馬連（続き）");
  for (int j = 1; j <= p.runners; ++j) {
    l.push_back(secondSetLine(j, p.runners, p.bracket ? p.bracket : bracketCell, p.quinella));
  }
  return l;
}

Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// --- the files expected --------------------------------------------------------

std::string headerBytes(const std::string& course, const std::string& race, const std::string& reserved,
                        const std::string& time, const std::string& name) {
  return testing::patHeaderBytes({.date = kDay,
                                  .course = course,
                                  .year = "2026",
                                  .meeting = "5 ",
                                  .day = "2 ",
                                  .race = race,
                                  .reserved = reserved,
                                  .time = time,
                                  .name = name});
}

// The bracket file of a post: header, win/place entries, bracket entries.
std::string zoBytes(const Post& p, const std::string& race) {
  std::string b = headerBytes(p.course, race, "0 ", p.time.substr(0, 2) + p.time.substr(3, 2), p.name);
  b += num2(p.runners) + "0";
  for (int h = 1; h <= 18; ++h) {
    bool gone = std::find(p.scratched.begin(), p.scratched.end(), h) != p.scratched.end();
    if (h > p.runners) {
      b += spaces(18);
    } else if (gone) {
      b += num2(h) + sj(" ﾄﾘｹｼﾄﾘｹｼ ﾄﾘｹｼ  ");
    } else {
      b += num2(h) + fmt("%5.1f", h + 0.5) + fmt("%5.1f", 1.0 + h / 10.0) + fmt("%5.1f", 2.0 + h / 10.0) + " ";
    }
  }
  b += " ";
  for (int a = 1; a <= 8; ++a) {
    for (int c = a; c <= 8; ++c) b += std::to_string(a) + "-" + std::to_string(c) + bracketOdds(a, c) + "0 ";
  }
  return b;
}

// The quinella file: `entry(i, j)` gives the 18 bytes of odds and bounds.
std::string uoBytes(const Post& p, const std::string& race, const std::function<std::string(int, int)>& entry) {
  std::string b = headerBytes(p.course, race, "  ", p.time.substr(0, 2) + p.time.substr(3, 2), p.name);
  b += num2(p.runners) + "11";
  int used = 0;
  for (int i = 1; i < p.runners; ++i) {
    for (int j = i + 1; j <= p.runners; ++j, ++used) b += "00" + num2(i) + "-" + num2(j) + entry(i, j);
  }
  return b + spaces(25 * static_cast<std::size_t>(153 - used)) + "\r\n";
}

// Odds that name their pair: 10i + j/10 (1-2 is 10.2, 12-16 is 121.6).
double pairOdds(int i, int j) { return 10 * i + j / 10.0; }
std::string pairCell(int i, int j) { return fmt("%5.1f", pairOdds(i, j)); }
std::string pairEntry(int i, int j) {
  auto [low, high] = QuinellaPlaceBounds(pairOdds(i, j));
  return fmt("%6.1f", pairOdds(i, j)) + low + high;
}

struct Conversion {
  TestHome home{kDay};
  RecordingUi ui;
  ForumOddsStats stats;

  fs::path odds(const std::string& name) const { return fs::path(home.session.warsOddsFolder()) / name; }
  StepResult convert(const Lines& log, const std::string& setting = "logs/ODDS%M1%D1.LOG") {
    writeBytes(home.home() / "logs" / "ODDS1206.LOG", sjLines(log));
    home.session.settings.fhWars = setting;
    return convertForumOdds(home.session, ui, &stats);
  }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const fs::path& p : listFiles(home.session.warsOddsFolder())) names.push_back(p.filename().string());
    return names;
  }
};

// --- quinella-place bounds ------------------------------------------------------

TEST(ForumOdds, QuinellaPlaceBoundsFromQuinellaOdds) {
  struct Case {
    double q;
    const char* low;
    const char* high;
  } cases[] = {
      {25.0, "   8.8", "  10.6"},                               // 25 / 3 + 0.5 = 8.83, cut to 8.8
      {3.0, "   2.0", "   2.4"},                                // below 10: q / 2 + 0.5
      {1.4, "   1.2", "   1.4"},                                // 1.2 x 1.2 = 1.44, one decimal
      {1.0, "   1.0", "   1.2"},    {0.5, "   1.0", "   1.2"},  // never below 1.0
      {9.9, "   5.4", "   6.5"},                                // 54.5 is cut, not rounded
      {10.0, "   3.8", "   4.6"},                               // from 10 on: q / 3 + 0.5; 38.33 cut, 4.56
      // In double, as the formula is written: (14.7 / 3 + 0.5) x 10 is
      // 53.999... and cut to 53, so 5.3 and 5.3 x 1.2 = 6.36 -> 6.4 (the exact
      // decimal 54 would give 5.4 and 6.5); 11.1 the same way: 41.999... -> 4.1,
      // 4.92 -> 4.9.
      {14.7, "   5.3", "   6.4"},   {11.1, "   4.1", "   4.9"},
      {12.1, "   4.5", "   5.4"},                               // 4.533..., 5.4
      {2.2, "   1.6", "   1.9"},                                // 1.6 exactly, whatever the binary division gives
      {9999.9, "3333.8", "4000.6"},
  };
  for (const Case& c : cases) {
    auto [low, high] = QuinellaPlaceBounds(c.q);
    EXPECT_EQ(low, c.low) << c.q;
    EXPECT_EQ(high, c.high) << c.q;
  }
  EXPECT_EQ(QuinellaPlaceBounds(0.0), std::make_pair(spaces(6), spaces(6)));
}

// --- header lines ---------------------------------------------------------------

TEST(ForumOdds, HeaderMarkersAndFields) {
  auto h = ForumOddsHeader::parse(header("中山", 9), kDay);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->courseName, "中山");
  EXPECT_EQ(h->courseCode, "06");
  EXPECT_EQ(h->race, "09");
  EXPECT_EQ(h->meeting, "5");
  EXPECT_EQ(h->day, "2");
  EXPECT_EQ(h->time, "15:10");
  EXPECT_EQ(h->patName(), "629");

  auto h11 = ForumOddsHeader::parse(header("阪神", 11, "09:36") + "  ", kDay);
  ASSERT_TRUE(h11);
  EXPECT_EQ(h11->race, "11");
  EXPECT_EQ(h11->time, "09:36");  // trailing spaces are trimmed first
  EXPECT_EQ(h11->patName(), "92B");

  // Another day, and lines that miss one marker.
  EXPECT_FALSE(ForumOddsHeader::parse(header("中山", 9), "20261205"));
  EXPECT_FALSE(ForumOddsHeader::parse(header("中山", 9), "20251206"));
  const std::string line = header("中山", 9);
  for (const char* marker : {"取得", "レース", "日目", "回", "１２月", "６日（"}) {
    std::string cut = line;
    cut.erase(cut.find(marker), std::string(marker).size());
    EXPECT_FALSE(ForumOddsHeader::parse(cut, kDay)) << marker;
  }
  // A marker before its position does not count: the day text at 30.
  EXPECT_FALSE(
      ForumOddsHeader::parse("【オッズ】中山９レース　２６年５回２日目　２０２"
                             "６年１２月６日（日）　取得　15:10",
                             kDay));
  // A line that does not begin with the mark.
  EXPECT_FALSE(ForumOddsHeader::parse(" " + line, kDay));
  // No JRA course, no race number.
  EXPECT_FALSE(ForumOddsHeader::parse(header("大井", 9), kDay));
  EXPECT_FALSE(
      ForumOddsHeader::parse("【オッズ】中山最終レース　２６年５回２日目　２０"
                             "２６年１２月　６日（日）　取得時刻　15:10",
                             kDay));

  // The sixth day of a meeting on the sixth: "６日目" comes before the day
  // text "６日" but does not hide it.
  auto sixth = ForumOddsHeader::parse(
      "【オッズ】中京１２レース　２６年４回６日目　２０"
      "２６年１２月　６日（日）　取得時刻　15:40",
      kDay);
  ASSERT_TRUE(sixth);
  EXPECT_EQ(sixth->patName(), "76C");
}

// --- whole files ---------------------------------------------------------------

TEST(ForumOdds, EightRunnersWriteTheBracketFileOnly) {
  Conversion run;
  Post p;
  p.name = "ウインターチャンピオンズカップ記念";  // 34 bytes: the file keeps 28
  p.scratched = {5};
  ASSERT_EQ(run.convert(postLines(p)), StepResult::Done);
  EXPECT_TRUE(run.ui.messages.empty());
  EXPECT_EQ(run.files(), (std::vector<std::string>{"ZO-629.JRA"}));

  Post cut = p;
  cut.name = "ウインターチャンピオンズカッ";
  EXPECT_EQ(readBytes(run.odds("ZO-629.JRA")), zoBytes(cut, "09"));
  EXPECT_EQ(run.stats.races, 1);
  EXPECT_EQ(run.stats.files, (std::vector<fs::path>{run.odds("ZO-629.JRA")}));
  EXPECT_EQ(run.ui.busyDepth, 0);
}

TEST(ForumOdds, TwelveRunnersWithAScratchedHorse) {
  Conversion run;
  Post p;
  p.course = "阪神";
  p.race = 3;
  p.time = "09:36";
  p.name = "２歳未勝利";
  p.runners = 12;
  p.scratched = {7};
  p.quinella = [](int i, int j) -> std::string {
    if (i == 7 || j == 7) return "-----";
    if (i == 1 && j == 2) return "  1.4";
    if (i == 1 && j == 3) return "  3.0";
    if (i == 2 && j == 3) return " 25.0";
    if (i == 1 && j == 4) return "  1.0";
    if (i == 3 && j == 4) return "     ";  // no odds in the post
    if (i == 2 && j == 4) return " 14.7";
    return pairCell(i, j);
  };
  ASSERT_EQ(run.convert(postLines(p)), StepResult::Done);
  EXPECT_EQ(run.files(), (std::vector<std::string>{"UO-923.JRA", "ZO-923.JRA"}));
  EXPECT_EQ(readBytes(run.odds("ZO-923.JRA")), zoBytes(p, "03"));
  const std::string scratched = sj("  ﾄﾘｹｼ  ﾄﾘｹｼ  ﾄﾘｹｼ");
  EXPECT_EQ(readBytes(run.odds("UO-923.JRA")), uoBytes(p, "03", [&](int i, int j) -> std::string {
              if (i == 7 || j == 7) return scratched;
              if (i == 1 && j == 2) return "   1.4   1.2   1.4";
              if (i == 1 && j == 3) return "   3.0   2.0   2.4";
              if (i == 2 && j == 3) return "  25.0   8.8  10.6";
              if (i == 1 && j == 4) return "   1.0   1.0   1.2";
              if (i == 3 && j == 4) return spaces(18);
              if (i == 2 && j == 4) return "  14.7   5.3   6.4";  // (14.7 / 3 + 0.5) x 10 = 53.999... cut
              return pairEntry(i, j);
            }));
}

TEST(ForumOdds, SixteenAndEighteenRunnersReadTheSecondSet) {
  Conversion run;
  Post p16;
  p16.course = "中京";
  p16.race = 6;
  p16.time = "09:37";
  p16.name = "３歳以上１勝クラス";
  p16.runners = 16;
  p16.quinella = pairCell;
  Post p18 = p16;
  p18.race = 1;
  p18.name = "２歳未勝利";
  p18.runners = 18;
  ASSERT_EQ(run.convert(concat({postLines(p16), postLines(p18)})), StepResult::Done);

  // 120 pairs: 1-2 to 12-16 from the first set, 13-14 to 15-16 from the right
  // of the second, beside the bracket table.
  EXPECT_EQ(readBytes(run.odds("UO-726.JRA")), uoBytes(p16, "06", pairEntry));
  EXPECT_EQ(readBytes(run.odds("ZO-726.JRA")), zoBytes(p16, "06"));
  auto uo = PatQuinella98Record::decode(readBytes(run.odds("UO-726.JRA")));
  EXPECT_TRUE(uo.entries[119].used());
  EXPECT_FALSE(uo.entries[120].used());

  // 18 runners fill all 153 entries; 17-18 stands at the last column.
  EXPECT_EQ(readBytes(run.odds("UO-721.JRA")), uoBytes(p18, "01", pairEntry));
  auto uo18 = PatQuinella98Record::decode(readBytes(run.odds("UO-721.JRA")));
  EXPECT_EQ(uo18.entries[152].odds, " 171.8");
  EXPECT_EQ(run.stats.races, 2);
}

// --- the run: folder, later posts, other days ----------------------------------

TEST(ForumOdds, FolderIsEmptiedAndLaterPostsReplaceEarlierOnes) {
  Conversion run;
  writeBytes(run.odds("zo-111.jra"), "old");
  writeBytes(run.odds("UO-629.JRA"), "old");
  writeBytes(run.odds("memo.txt"), "kept");

  Post early;
  early.time = "10:05";
  Post later = early;
  later.time = "15:10";
  later.scratched = {3};
  Post saturday = early;
  Lines sat = postLines(saturday);
  sat[0] =
      "【オッズ】中山９レース　２６年５回１日目　２０２６年１２月　５日（"
      "土）　取得時刻　15:10";

  // The setting is used as given: placeholders in any case, backslashes.
  ASSERT_EQ(run.convert(concat({postLines(early), sat, postLines(later)}), "logs\\odds%m1%D1.LOG"), StepResult::Done);
  EXPECT_EQ(run.files(), (std::vector<std::string>{"memo.txt", "ZO-629.JRA"}));
  EXPECT_EQ(readBytes(run.odds("ZO-629.JRA")), zoBytes(later, "09"));
  EXPECT_EQ(run.stats.races, 2);
  EXPECT_EQ(run.stats.files.size(), 1u);
}

// --- bad input ------------------------------------------------------------------

TEST(ForumOdds, LogCutInsideABlockKeepsWhatWasWritten) {
  Conversion run;
  Post nine;
  Post twelve;
  twelve.race = 7;
  twelve.runners = 12;
  twelve.name = "３歳以上１勝クラス";
  twelve.quinella = pairCell;
  Post twelveLater = twelve;
  twelveLater.time = "15:40";
  Lines cutPost = postLines(twelveLater);
  cutPost.resize(cutPost.size() - 3);  // ends inside the second set

  ASSERT_EQ(run.convert(concat({postLines(nine), postLines(twelve), cutPost})), StepResult::Done);
  EXPECT_TRUE(run.ui.messages.empty());
  EXPECT_EQ(run.stats.cutRace, "中山 7R");
  EXPECT_EQ(run.stats.races, 2);
  // The earlier post of 7R stays whole: no file of the cut post was written.
  EXPECT_EQ(readBytes(run.odds("ZO-629.JRA")), zoBytes(nine, "09"));
  EXPECT_EQ(readBytes(run.odds("ZO-627.JRA")), zoBytes(twelve, "07"));
  EXPECT_EQ(readBytes(run.odds("UO-627.JRA")), uoBytes(twelve, "07", pairEntry));

  // A log ending right after a header line, and one without a last line end.
  Conversion bare;
  ASSERT_EQ(bare.convert({header("中山", 9)}), StepResult::Done);
  EXPECT_EQ(bare.stats.cutRace, "中山 9R");
  EXPECT_TRUE(bare.files().empty());
  Conversion noEnd;
  std::string bytes = sjLines(postLines(nine));
  writeBytes(noEnd.home.home() / "logs" / "ODDS1206.LOG", bytes.substr(0, bytes.size() - 2));
  noEnd.home.session.settings.fhWars = "logs/ODDS1206.LOG";
  ASSERT_EQ(convertForumOdds(noEnd.home.session, noEnd.ui, &noEnd.stats), StepResult::Done);
  EXPECT_EQ(readBytes(noEnd.odds("ZO-629.JRA")), zoBytes(nine, "09"));
}

TEST(ForumOdds, GarbageAndBrokenPostsAreSkipped) {
  Conversion run;
  Post nine;
  Post ten = nine;
  ten.race = 10;
  Lines interrupted = postLines(ten);
  interrupted.resize(8);  // a post cut short in the forum, followed by the next
  Post eleven = nine;
  eleven.race = 11;
  Lines tooMany = postLines(nine);
  tooMany[0] = header("中山", 12);
  tooMany[2] = runnersLine(99);
  Lines noMarker = postLines(nine);
  noMarker[0] =
      "【オッズ】中山１レース　２６年５回２日目　２０２６年１２月　６"
      "日（日）　15:10";

  Lines log = concat({{"ごみ", "", "【オッズ】", "【オッズ】中山", "\x1b[0m 取得 レース 日目 回"},
                      noMarker,
                      interrupted,
                      postLines(eleven),
                      tooMany,
                      {"おわり"}});
  ASSERT_EQ(run.convert(log), StepResult::Done);
  EXPECT_EQ(run.files(), (std::vector<std::string>{"ZO-62B.JRA"}));
  EXPECT_EQ(readBytes(run.odds("ZO-62B.JRA")), zoBytes(eleven, "11"));
  EXPECT_FALSE(run.stats.cutRace);

  // Hostile bytes around a post: no crash, no hang.
  std::mt19937 rng(7);
  std::string noise;
  for (int i = 0; i < 200000; ++i) noise.push_back(static_cast<char>(rng() & 0xFF));
  std::string mark = sj("【オッズ】");
  for (std::size_t at = 1000; at < noise.size(); at += 7919) noise.replace(at, mark.size() + 1, "\n" + mark);
  Conversion hostile;
  writeBytes(hostile.home.home() / "logs" / "ODDS1206.LOG", noise + "\r\n" + sjLines(postLines(nine)) + noise);
  hostile.home.session.settings.fhWars = "logs/ODDS1206.LOG";
  EXPECT_EQ(convertForumOdds(hostile.home.session, hostile.ui, &hostile.stats), StepResult::Done);
  EXPECT_EQ(readBytes(hostile.odds("ZO-629.JRA")), zoBytes(nine, "09"));
}

TEST(ForumOdds, AnyLineEndsAndPostsAcrossReadChunks) {
  Post nine;
  Post eleven = nine;
  eleven.race = 11;
  auto join = [](const Lines& lines, const std::string& end) {
    std::string bytes;
    for (const std::string& l : lines) bytes += sj(l) + end;
    return bytes;
  };
  for (const std::string end : {"\n", "\r", "\r\n"}) {
    // Chatter up to a header that straddles the 1 MiB read boundary, and a
    // second post whose line end falls on the 2 MiB one.
    std::string chatter = join({"雑談　取得 レース 日目 回"}, end);
    std::string bytes;
    while (bytes.size() + chatter.size() < (1u << 20) - 4) bytes += chatter;
    bytes += std::string((1u << 20) - 4 - bytes.size(), 'x') + end;
    bytes += join(postLines(nine), end);
    while (bytes.size() + chatter.size() < (2u << 20) - end.size()) bytes += chatter;
    bytes += std::string((2u << 20) - 1 - bytes.size(), 'y') + end;
    bytes += join(postLines(eleven), end);

    Conversion run;
    writeBytes(run.home.home() / "logs" / "ODDS1206.LOG", bytes);
    run.home.session.settings.fhWars = "logs/ODDS1206.LOG";
    ASSERT_EQ(convertForumOdds(run.home.session, run.ui, &run.stats), StepResult::Done);
    EXPECT_EQ(readBytes(run.odds("ZO-629.JRA")), zoBytes(nine, "09")) << end.size();
    EXPECT_EQ(readBytes(run.odds("ZO-62B.JRA")), zoBytes(eleven, "11")) << end.size();
    EXPECT_EQ(run.stats.races, 2);
  }
}

TEST(ForumOdds, MissingLogOrSettingIsReported) {
  Conversion run;
  writeBytes(run.odds("ZO-629.JRA"), "kept");
  run.home.session.settings.fhWars = "logs/NONE%D1.LOG";
  EXPECT_EQ(convertForumOdds(run.home.session, run.ui), StepResult::Failed);
  ASSERT_EQ(run.ui.messages.size(), 1u);
  EXPECT_EQ(run.ui.messages[0].text, "FHwarsオッズのログファイルが存在しません：" +
                                         (run.home.home() / "logs" / "NONE06.LOG").string() +
                                         "\r\n再度設定してください。");
  EXPECT_EQ(run.ui.messages[0].title, "【トルブ】エラーメッセージ");
  EXPECT_EQ(readBytes(run.odds("ZO-629.JRA")), "kept");  // nothing is removed

  run.home.session.settings.fhWars = "  ";
  EXPECT_EQ(convertForumOdds(run.home.session, run.ui), StepResult::Failed);
  ASSERT_EQ(run.ui.messages.size(), 2u);
  EXPECT_EQ(run.ui.messages[1].text,
            "FHwarsオッズのログファイルが設定されてい"
            "ません！\r\n再度設定してください。");
  EXPECT_EQ(run.ui.busyDepth, 0);
}

}  // namespace
}  // namespace tolv
