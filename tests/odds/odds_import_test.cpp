#include "odds/odds_import.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>

#include "core/records.h"
#include "core/startup.h"
#include "core/text.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::sjLines;
using testing::TestHome;
using testing::writeBytes;

const std::string kSix(6, ' ');

// A Tolv record with every field set, so that a test sees any byte the
// import should not touch.
TolvRecord pickRecord(const std::string& raceKey, const std::string& pick, const std::string& odds = kSix,
                      const std::string& wide = kSix) {
  TolvRecord r;
  r.raceKey = raceKey;
  r.pick = pick;
  r.odds = odds;
  r.wideOdds = wide;
  r.shareCount = 3;
  r.programCodes[0] = 101;
  r.programCodes[1] = 202;
  r.programCodes[2] = 3003;
  r.hitFlag = -1;
  r.payout = "  1230";
  r.wideHitFlag = -1;
  r.widePayout = "   450";
  return r;
}

TolvRecord withOdds(TolvRecord r, const std::string& odds, const std::string& wide) {
  r.odds = odds;
  r.wideOdds = wide;
  return r;
}

std::string encodeAll(const std::vector<TolvRecord>& records) {
  std::string bytes;
  for (const auto& r : records) bytes += r.encode();
  return bytes;
}

// A home with the odds folder "pat\" and the given odds source.
struct ImportHome : TestHome {
  explicit ImportHome(const std::string& source) {
    session.settings.oddsSource = source;
    session.settings.patFolder = "pat\\";
  }
  fs::path pat() const { return home() / "pat"; }
  fs::path tolv(const std::string& course) const {
    return tolvDataPath(session.dataFolder(), session.meetingDate(), course);
  }
  void writeTolv(const std::string& course, const std::vector<TolvRecord>& records) {
    writeBytes(tolv(course), encodeAll(records));
  }
  StepResult run(RecordingUi& ui) {
    findTolvDataFiles(session);
    return importOdds(session, ui);
  }
};

PatOddsHeader header(const std::string& date = "20020512") {
  PatOddsHeader h;
  h.date = date;
  h.courseName = "東京";
  h.year = date.substr(0, 4);
  h.meeting = " 3";
  h.day = " 2";
  h.race = "11";
  h.time = "1530";
  return h;
}

// Quinella files of 10 runners with odds (and quinella-place lower bounds) for some pairs.
struct PairOdds {
  std::string odds, wide;
};
template <typename Record>
std::string quinellaFile(const std::map<std::pair<int, int>, PairOdds>& odds) {
  Record r;
  r.header = header();
  r.runners = "10";
  r.layOutPairs(10, '0');
  for (auto& e : r.entries) {
    auto it = odds.find({static_cast<int>(val(e.first)), static_cast<int>(val(e.second))});
    if (it == odds.end()) continue;
    e.odds = it->second.odds;
    e.wideLow = it->second.wide;
    e.wideHigh = it->second.wide.empty() ? "" : "  99.9";
  }
  return r.encode();
}

std::string bracketFile(const std::map<std::pair<int, int>, std::string>& odds) {
  PatBracketRecord r;
  r.header = header();
  r.runners = "10";
  r.layOutBrackets();
  for (auto [pair, text] : odds)
    r.brackets[static_cast<std::size_t>(BracketPairIndex(pair.first, pair.second) - 1)].odds = text;
  return r.encode();
}

// --- picks --------------------------------------------------------------------

TEST(OddsImportPicks, ClassesAndDerivedWideOdds) {
  EXPECT_EQ(classifyPick("01-02"), PickClass::Quinella);
  EXPECT_EQ(classifyPick("17-18"), PickClass::Quinella);
  EXPECT_EQ(classifyPick(" 1- 2"), PickClass::Quinella);
  EXPECT_EQ(classifyPick("02-01"), PickClass::Other);  // v must exceed 1
  EXPECT_EQ(classifyPick("   11"), PickClass::Bracket);
  EXPECT_EQ(classifyPick("   88"), PickClass::Bracket);
  EXPECT_EQ(classifyPick("   10"), PickClass::Other);  // v must exceed 10
  EXPECT_EQ(classifyPick(" 5   "), PickClass::Other);  // a win pick
  EXPECT_EQ(classifyPick(" 5"), PickClass::Other);
  EXPECT_EQ(classifyPick(""), PickClass::Other);
  EXPECT_EQ(classifyPick("ﾄﾘｹｼ"), PickClass::Other);

  EXPECT_EQ(derivedWideOdds("  12.0"), "   5.0");
  EXPECT_EQ(derivedWideOdds("   1.0"), "   1.3");
  EXPECT_EQ(derivedWideOdds("9999.9"), "3334.3");
  // No odds, no made-up 1.0.
  EXPECT_EQ(derivedWideOdds(kSix), kSix);
  EXPECT_EQ(derivedWideOdds("  ﾄﾘｹｼ"), kSix);
}

// --- the sources ----------------------------------------------------------------

TEST(OddsImport, Pat95FillsQuinellaAndBracketPicks) {
  ImportHome h("0");
  writeBytes(h.pat() / "UO-52B.JRA",
             quinellaFile<PatQuinella95Record>({{{1, 2}, {"  12.0", ""}}, {{5, 6}, {"  ﾄﾘｹｼ", ""}}}));
  writeBytes(h.pat() / "ZO-52B.JRA", bracketFile({{{1, 1}, "  3.4"}, {{3, 6}, " 45.6"}}));
  const std::vector<TolvRecord> before = {
      pickRecord("0511", "01-02"),
      pickRecord("0511", "03-04", "   2.0", "   2.0"),  // laid out without odds
      pickRecord("0511", "05-06"),                      // scratched
      pickRecord("0511", "02-01", "   9.9", "   8.8"),  // not a quinella pick
      pickRecord("0511", "   11", "      ", "  77.7"),
      pickRecord("0511", "   10", "   7.0", "   6.0"),  // not a bracket pick
      pickRecord("0511", " 5   ", "   5.0", "   4.0"),  // a win pick
      pickRecord("0511", "   36"),
      pickRecord("0512", "01-02", "  50.0", "  17.6"),  // no file for race 12
  };
  h.writeTolv("05", before);

  RecordingUi ui;
  EXPECT_EQ(h.run(ui), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  const std::string bytes = readBytes(h.tolv("05"));
  EXPECT_EQ(bytes, encodeAll({
                       withOdds(before[0], "  12.0", "   5.0"),
                       withOdds(before[1], kSix, kSix),
                       withOdds(before[2], "  ﾄﾘｹｼ", kSix),
                       before[3],
                       withOdds(before[4], "   3.4", "  77.7"),  // the bracket file has no quinella-place odds
                       before[5],
                       before[6],
                       withOdds(before[7], "  45.6", kSix),
                       withOdds(before[8], kSix, kSix),
                   }));
  EXPECT_EQ(bytes.substr(9, 6), "  12.0");
  EXPECT_EQ(bytes.substr(15, 6), "   5.0");
  EXPECT_EQ(bytes.substr(2 * kTolvRecordLength + 9, 6), sj("  ﾄﾘｹｼ"));

  EXPECT_EQ(ui.captions, std::vector<std::string>{"【東京】のオッズを取り込み中！…"});
  ASSERT_FALSE(ui.percents.empty());
  EXPECT_EQ(ui.percents.back(), 100);
  EXPECT_FALSE(ui.progressOpen);
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST(OddsImport, Pat98AndForumOddsTakeQuinellaPlaceOddsFromTheirFolders) {
  for (const std::string source : {"1", "2"}) {
    SCOPED_TRACE(source);
    ImportHome h(source);
    const fs::path used = source == "1" ? h.pat() : h.home() / "WarsOdds";
    const fs::path other = source == "1" ? h.home() / "WarsOdds" : h.pat();
    writeBytes(used / "UO-52B.JRA",
               quinellaFile<PatQuinella98Record>({{{1, 2}, {"  25.0", "   8.8"}}, {{1, 3}, {"", "   3.0"}}}));
    writeBytes(used / "ZO-52B.JRA", bracketFile({{{1, 1}, "  3.4"}}));
    writeBytes(other / "UO-52B.JRA", quinellaFile<PatQuinella98Record>({{{1, 2}, {" 999.9", " 333.3"}}}));
    const std::vector<TolvRecord> before = {
        pickRecord("0511", "01-02"),
        pickRecord("0511", "01-03", "   1.0", "   1.0"),
        pickRecord("0511", "   11", kSix, "   2.2"),
    };
    h.writeTolv("05", before);

    RecordingUi ui;
    EXPECT_EQ(h.run(ui), StepResult::Done);
    EXPECT_EQ(readBytes(h.tolv("05")), encodeAll({
                                           withOdds(before[0], "  25.0", "   8.8"),
                                           withOdds(before[1], kSix, kSix),  // no odds: neither
                                           withOdds(before[2], "   3.4", "   2.2"),
                                       }));
  }
}

TEST(OddsImport, TargetCsvShortLongAndOtherYear) {
  // Row 01 of Tokyo race 11: quinella with horse 2 in field 12, bracket 1-1 in
  // field 29; in the long format the quinella-place bounds with horse 2 in 40, 41.
  auto line = [](const std::string& yy, int count) {
    std::string s = "05" + yy + "321101";
    for (int n = 2; n <= count; ++n) {
      s += ",";
      if (n == 12) s += "12.0";
      if (n == 29) s += "6.0";
      if (n == 40) s += "3.4";
      if (n == 41) s += "4.8";
    }
    return s + "\r\n";
  };
  const std::vector<TolvRecord> before = {
      pickRecord("0511", "01-02", kSix, "   9.9"),
      pickRecord("0511", "01-03", "   1.0", "   1.0"),
      pickRecord("0511", "   11", kSix, "   9.9"),
      pickRecord("0511", "   12", "   1.0", "   1.0"),
  };
  struct Case {
    std::string text;
    std::vector<TolvRecord> after;
  };
  const Case cases[] = {
      {line("02", 37),
       {withOdds(before[0], "  12.0", kSix), withOdds(before[1], kSix, kSix), withOdds(before[2], "   6.0", "   3.0"),
        withOdds(before[3], kSix, kSix)}},
      {line("02", 73),
       {withOdds(before[0], "  12.0", "   3.4"), withOdds(before[1], kSix, kSix),
        withOdds(before[2], "   6.0", "   3.0"), withOdds(before[3], kSix, kSix)}},
      {line("01", 73),  // another year: nothing matches
       {withOdds(before[0], kSix, kSix), withOdds(before[1], kSix, kSix), withOdds(before[2], kSix, kSix),
        withOdds(before[3], kSix, kSix)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 10));
    ImportHome h("3");
    writeBytes(h.pat() / "od020512.csv", c.text);  // any case
    h.writeTolv("05", before);
    RecordingUi ui;
    EXPECT_EQ(h.run(ui), StepResult::Done);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readBytes(h.tolv("05")), encodeAll(c.after));
  }
}

// An RX text line: type, course and race, then text at character columns.
struct RxLine {
  RxLine(const std::string& type, const std::string& course, const std::string& race) : text(60, ' ') {
    put(1, type).put(4, course).put(7, race);
  }
  RxLine& put(std::size_t column, const std::string& s) {
    text.replace(column - 1, s.size(), s);
    return *this;
  }
  operator std::string() const { return text; }
  std::string text;
};

TEST(OddsImport, MjhOddsFromTheConvertedText) {
  ImportHome h("4");
  writeBytes(h.pat() / "RX020512.TXT",
             sjLines({RxLine("01", "05", "  ").put(10, "3").put(12, "2"),
                      RxLine("22", "05", "11").put(10, "01").put(13, "02").put(16, "12.0"),
                      RxLine("22", "05", "11").put(10, "05").put(13, "03").put(16, "33.3"),  // stored as 3-5
                      RxLine("22", "05", "11").put(10, "07").put(13, "08").put(16, "   0"),
                      RxLine("24", "05", "11").put(10, "01").put(13, "02").put(16, "4.5")}));
  const std::vector<TolvRecord> before = {
      pickRecord("0511", "01-02"),
      pickRecord("0511", "03-05"),
      pickRecord("0511", "07-08", "   1.0", "   1.0"),  // zero odds
      pickRecord("0511", "01-19", "   1.0", "   1.0"),  // no such pair
      pickRecord("0511", "   11", "   1.0", "   1.0"),  // MJH data has no bracket odds
      pickRecord("0812", "01-02", "   1.0", "   1.0"),  // no race data: odds of an earlier run go
      pickRecord("0511", "02-01", "   1.0", "   1.0"),  // not a quinella pick
  };
  h.writeTolv("05", before);

  RecordingUi ui;
  EXPECT_EQ(h.run(ui), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(recordCount(h.home() / "DATA/MJH20020512.DAT", kMjhRecordLength), 12);
  EXPECT_EQ(readBytes(h.tolv("05")), encodeAll({
                                         withOdds(before[0], "  12.0", "   4.5"),
                                         withOdds(before[1], "  33.3", kSix),
                                         withOdds(before[2], kSix, kSix),
                                         withOdds(before[3], kSix, kSix),
                                         withOdds(before[4], kSix, kSix),
                                         withOdds(before[5], kSix, kSix),
                                         before[6],
                                     }));
}

TEST(OddsImport, MjhDataAlreadyConvertedIsUsedAsItStandsLaterRecordsWinning) {
  ImportHome h("4");
  h.session.mjhConverted = true;
  writeBytes(h.pat() / "RX020512.TXT", "");  // must exist, but is not converted again
  int a = 1, b = 2;
  const auto k = static_cast<std::size_t>(QuinellaPairIndex(a, b) - 1);
  MjhRecord first, second;
  first.courseCode = second.courseCode = 5;
  first.raceNumber = second.raceNumber = 11;
  first.quinellaOdds[k] = "11.1";
  first.wideOdds[k] = "2.2";
  second.quinellaOdds[k] = "22.2";
  writeBytes(h.home() / "DATA/MJH20020512.DAT", first.encode() + second.encode());
  h.writeTolv("05", {pickRecord("0511", "01-02")});

  RecordingUi ui;
  EXPECT_EQ(h.run(ui), StepResult::Done);
  EXPECT_EQ(readBytes(h.tolv("05")), encodeAll({withOdds(pickRecord("0511", "01-02"), "  22.2", kSix)}));
  EXPECT_EQ(readBytes(h.home() / "DATA/MJH20020512.DAT").size(), 2 * kMjhRecordLength);
}

// --- failures -------------------------------------------------------------------

TEST(OddsImport, SourceCheckMessages) {
  const std::vector<TolvRecord> records = {pickRecord("0511", "01-02", "   3.0", "   2.0")};
  auto expectStop = [&](ImportHome& h, const std::string& message) {
    h.writeTolv("05", records);
    RecordingUi ui;
    EXPECT_EQ(h.run(ui), StepResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, message);
    EXPECT_EQ(ui.messages[0].title, "");
    EXPECT_EQ(ui.messages[0].icon, Icon::None);
    EXPECT_TRUE(ui.captions.empty());
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_EQ(readBytes(h.tolv("05")), encodeAll(records));
  };
  {
    ImportHome h("3");
    expectStop(h, "「Target」用ＣＳＶ形式オッズファイルが見つかりません！");
  }
  {
    ImportHome h("4");
    expectStop(h,
               "「MJH」形式データファイル（" + (h.home() / "pat" / "RX020512.TXT").string() + "）が見つかりません！");
  }
  {
    ImportHome h("4");  // a text without meetings gives no records
    writeBytes(h.pat() / "RX020512.TXT", sjLines({"99 junk"}));
    expectStop(h, "MJHデータの取得に失敗しました！");
  }
  {
    ImportHome h("4");  // converted by the schedule step, but the data file is gone
    h.session.mjhConverted = true;
    writeBytes(h.pat() / "RX020512.TXT", "");
    expectStop(h, "MJHデータの取得に失敗しました！");
  }
}

// An odds folder that is missing or cannot be read stops the import with a
// message naming it; the imported odds stay in the Tolv files.
TEST(OddsImport, AnUnreadableOddsFolderStopsKeepingTheOdds) {
  const std::vector<TolvRecord> records = {withOdds(pickRecord("0511", "01-02"), "  12.0", "   5.0")};
  for (const char* source : {"0", "1", "2"}) {
    SCOPED_TRACE(source);
    ImportHome h(source);
    h.writeTolv("05", records);
    fs::path folder = h.pat();
    if (std::string(source) == "2") {
      folder = fs::path(h.session.warsOddsFolder()).parent_path();
      fs::remove_all(folder);
      writeBytes(folder, "a file, not a folder");
    }
    RecordingUi ui;
    EXPECT_EQ(h.run(ui), StepResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(h.session.resolvePath(folder.string()).string()), std::string::npos)
        << ui.messages[0].text;
    EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
    EXPECT_EQ(readBytes(h.tolv("05")), encodeAll(records));
  }
  if (::geteuid() != 0) {  // root reads any folder
    ImportHome h("1");
    h.writeTolv("05", records);
    fs::create_directories(h.pat());
    fs::permissions(h.pat(), fs::perms::none);
    RecordingUi ui;
    EXPECT_EQ(h.run(ui), StepResult::Failed);
    fs::permissions(h.pat(), fs::perms::owner_all);
    EXPECT_EQ(readBytes(h.tolv("05")), encodeAll(records));
  }
}

TEST(OddsImport, AVanishedFileStopsTheImportKeepingTheFilesDone) {
  ImportHome h("0");
  writeBytes(h.pat() / "UO-52B.JRA", quinellaFile<PatQuinella95Record>({{{1, 2}, {"  12.0", ""}}}));
  // Courses 05 (東京), 08 and 09 all have race 11 files.
  writeBytes(h.pat() / "UO-82B.JRA", quinellaFile<PatQuinella95Record>({{{1, 2}, {"  12.0", ""}}}));
  writeBytes(h.pat() / "UO-92B.JRA", quinellaFile<PatQuinella95Record>({{{1, 2}, {"  12.0", ""}}}));
  for (const std::string course : {"05", "08", "09"}) h.writeTolv(course, {pickRecord(course + "11", "01-02")});
  ASSERT_EQ(findTolvDataFiles(h.session), 3);
  fs::remove(h.tolv("08"));

  RecordingUi ui;
  EXPECT_EQ(importOdds(h.session, ui), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "「トルブ」データファイルが作成されていません！");
  EXPECT_EQ(ui.messages[0].title, "");
  EXPECT_EQ(ui.captions, std::vector<std::string>{"【東京】のオッズを取り込み中！…"});
  EXPECT_FALSE(ui.progressOpen);
  EXPECT_EQ(ui.busyDepth, 0);
  EXPECT_EQ(readBytes(h.tolv("05")), encodeAll({withOdds(pickRecord("0511", "01-02"), "  12.0", "   5.0")}));
  EXPECT_EQ(readBytes(h.tolv("09")), encodeAll({pickRecord("0911", "01-02")}));
}

// --- odd files ------------------------------------------------------------------

TEST(OddsImport, TruncatedEmptyAndMissingFiles) {
  ImportHome h("0");
  writeBytes(h.pat() / "UO-52B.JRA", quinellaFile<PatQuinella95Record>({{{1, 2}, {"  12.0", ""}}}));
  writeBytes(h.pat() / "ZO-52B.JRA", bracketFile({{{1, 1}, "  3.4"}}));

  // Bytes no record encoder writes: an invalid CP932 byte in the payout and in
  // the quinella-place odds of a bracket pick, which keep their value.
  std::string second = pickRecord("0511", "   11").encode();
  second[153] = '\x80';
  second.replace(15, 6, "\x80\x80\x80\x80\x80\x80");
  const std::string tail =
      "0511"
      "03-04" +
      std::string(40, '\x81');  // a record cut short
  writeBytes(h.tolv("05"), pickRecord("0511", "01-02").encode() + second + tail);
  writeBytes(h.tolv("06"), "");  // a file of no records

  RecordingUi ui;
  EXPECT_EQ(h.run(ui), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  std::string expectedSecond = second;
  expectedSecond.replace(9, 6, "   3.4");
  EXPECT_EQ(readBytes(h.tolv("05")),
            withOdds(pickRecord("0511", "01-02"), "  12.0", "   5.0").encode() + expectedSecond + tail);
  EXPECT_EQ(readBytes(h.tolv("06")), "");
  EXPECT_TRUE(fs::exists(h.tolv("06")));
  EXPECT_EQ(ui.captions,
            (std::vector<std::string>{"【東京】のオッズを取り込み中！…", "【中山】のオッズを取り込み中！…"}));
  EXPECT_EQ(ui.percents, (std::vector<int>{50, 100}));

  // No files of the day: nothing to do, nothing shown.
  ImportHome empty("0");
  RecordingUi quiet;
  EXPECT_EQ(empty.run(quiet), StepResult::Done);
  EXPECT_TRUE(quiet.messages.empty());
  EXPECT_TRUE(quiet.captions.empty());
}

// --- lookups without the import -------------------------------------------------

TEST(OddsImportFiller, LooksUpSilentlyInWhatIsOnHand) {
  {
    ImportHome h("3");
    OddsFiller missing(h.session);
    missing.loadOnHand();
    std::string odds = "x", wide = "y";
    EXPECT_TRUE(missing.fill("0511", "01-02", odds, wide));
    EXPECT_EQ(odds, kSix);
    EXPECT_EQ(wide, kSix);

    writeBytes(h.pat() / "OD020512.CSV", "0502321101,,,,,,,,,,,12.0\r\n");
    OddsFiller filler(h.session);
    filler.loadOnHand();
    EXPECT_TRUE(filler.fill("0511", "01-02", odds, wide));
    EXPECT_EQ(odds, "  12.0");
    EXPECT_FALSE(filler.fill("0511", " 5", odds, wide));
  }
  {
    ImportHome h("");  // no known source: nothing is changed
    OddsFiller filler(h.session);
    std::string odds = "   3.0", wide = "   2.0";
    EXPECT_FALSE(filler.fill("0511", "01-02", odds, wide));
    EXPECT_EQ(odds + wide, "   3.0   2.0");
  }
  {
    ImportHome h("4");  // the data file as it stands; no text, no conversion
    MjhRecord r;
    r.courseCode = 5;
    r.raceNumber = 11;
    r.quinellaOdds[0] = "15.5";
    writeBytes(h.home() / "DATA/MJH20020512.DAT", r.encode());
    OddsFiller filler(h.session);
    filler.loadOnHand();
    TolvRecord t = pickRecord("0511", "01-02");
    EXPECT_TRUE(filler.fill(t));
    EXPECT_EQ(t.odds, "  15.5");
    EXPECT_EQ(t.wideOdds, kSix);
  }
}

}  // namespace
}  // namespace tolv
