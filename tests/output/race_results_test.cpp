#include <gtest/gtest.h>

#include "core/records.h"
#include "output/output_fixture.h"
#include "output/race_results.h"

namespace tolv::testing {
namespace {

// A PAT results record: '#' in every byte the reader must ignore, so a field
// read at a wrong offset shows.
class PatResults {
 public:
  PatResults(bool pat98, const std::string& date, const std::string& course, const std::string& race)
      : pat98_(pat98), bytes_(pat98 ? kPatResults98RecordLength : kPatResults95RecordLength, '#') {
    put(0, date);
    put(8, sj(course));
    put(20, race);
  }
  PatResults& win(int n, const std::string& horse, const std::string& payout) {
    const std::size_t at = (pat98_ ? 375 : 374) + 10 * static_cast<std::size_t>(n - 1);
    put(at, horse);
    put(pat98_ ? at + 4 : at + 2, payout);
    return *this;
  }
  PatResults& bracket(int n, char a, char b, const std::string& payout) {
    const std::size_t at = (pat98_ ? 456 : 455) + 12 * static_cast<std::size_t>(n - 1);
    if (pat98_) {
      put(at, std::string{a, '-', b});
      put(at + 5, payout);
    } else {
      put(at, std::string{a});
      put(at + 2, std::string{b});
      put(at + 3, payout);
    }
    return *this;
  }
  PatResults& quinella(int n, const std::string& a, const std::string& b, const std::string& payout) {
    return pair((pat98_ ? 492 : 491) + 14 * static_cast<std::size_t>(n - 1), a, b, payout);
  }
  PatResults& wide(int n, const std::string& a, const std::string& b, const std::string& payout) {
    return pair(534 + 14 * static_cast<std::size_t>(n - 1), a, b, payout);
  }
  const std::string& bytes() const { return bytes_; }

 private:
  PatResults& pair(std::size_t at, const std::string& a, const std::string& b, const std::string& payout) {
    put(at, a);
    put(at + 3, b);
    put(pat98_ ? at + 7 : at + 5, payout);
    return *this;
  }
  void put(std::size_t at, const std::string& s) { bytes_.replace(at, s.size(), s); }
  bool pat98_;
  std::string bytes_;
};

// Results entries of a results-file record, for the expected bytes.
std::string noWin() { return "  " + std::string(6, ' '); }
std::string noBracket() { return std::string(8, ' '); }
std::string noPair() { return std::string(10, ' '); }

struct HitsDay : OutputDay {
  explicit HitsDay(const std::string& source = "1") {
    session.settings.oddsSource = source;
    session.settings.patFolder = "Pat\\";
  }
  void writeResults(const std::string& name, const std::vector<PatResults>& records) {
    std::string bytes;
    for (const auto& r : records) bytes += r.bytes();
    writeBytes(home() / "pat" / name, bytes);
  }
  std::string resultsFile() const { return readBytes(resultsFilePath(session)); }
};

// PAT98: every field at its offset, dead heats for first and second, bracket
// digits as stored, quinella-place entries; win horses right-aligned, race
// numbers with a leading zero.
TEST(RaceResults, Pat98RecordsIntoResultsFile) {
  HitsDay day("1");
  day.writeResults("ks-00001.JRA", {
                                       PatResults(true, "20020512", "東京", "1 ")
                                           .win(1, "3 ", "   450")
                                           .win(2, "12", "   380")
                                           .bracket(1, '3', '6', "  1230")
                                           .quinella(1, "03", "07", "  3450")
                                           .quinella(2, "07", "12", "  2100")
                                           .wide(1, "03", "07", "   900")
                                           .wide(2, "03", "12", "   750")
                                           .wide(3, "07", "12", "   640")
                                           .wide(4, "  ", "  ", "      ")
                                           .wide(5, "  ", "  ", "      "),
                                       PatResults(true, "20020512", "京都", "11")
                                           .win(1, " 5", "  1010")
                                           .win(2, "  ", "      ")
                                           .bracket(1, '6', '3', "   870")
                                           .bracket(2, ' ', ' ', "      ")
                                           .quinella(1, "05", "11", "  6540")
                                           .quinella(2, "  ", "  ", "      ")
                                           .wide(1, "05", "11", "  1520")
                                           .wide(2, "  ", "  ", "      ")
                                           .wide(3, "  ", "  ", "      ")
                                           .wide(4, "  ", "  ", "      ")
                                           .wide(5, "  ", "  ", "      "),
                                   });
  RecordingUi ui;
  int count = 0;
  EXPECT_EQ(ReadRaceResults(day.session, ui, &count), StepResult::Done);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.busyDepth, 0);
  // The first record's second bracket entry keeps the file's '#' bytes: what
  // the file holds is copied, whatever it is.
  const std::string first = "05010501" " 3" "   450" "12   380" "36  1230" "##" "######" "0307  3450" "0712  2100" +
                            std::string("0307   900") + "0312   750" + "0712   640" + noPair() + noPair();
  const std::string second = std::string("08110811" " 5" "  1010") + noWin() + "63   870" + noBracket() + "0511  6540" +
                             noPair() + "0511  1520" + noPair() + noPair() + noPair() + noPair();
  ASSERT_EQ(first.size(), kRaceResultRecordLength);
  ASSERT_EQ(second.size(), kRaceResultRecordLength);
  EXPECT_EQ(day.resultsFile(), first + second);
}

// A course name that names no JRA course (大井) gives a blank course code, not
// "00": the race key is the race number alone, blank-padded.
TEST(RaceResults, UnknownCourseGetsABlankCourseCode) {
  HitsDay day("0");
  auto race = [](const std::string& course, const std::string& no) {
    return PatResults(false, "20020512", course, no)
        .win(1, " 1", "##   100")
        .win(2, "  ", "        ")
        .bracket(1, '1', '2', "##   200")
        .bracket(2, ' ', ' ', "        ")
        .quinella(1, "01", "02", "##   300")
        .quinella(2, "  ", "  ", "        ");
  };
  day.writeResults("ks-00001.JRA", {race("大井", " 3"), race("中山", " 3")});
  RecordingUi ui;
  int count = 0;
  ASSERT_EQ(ReadRaceResults(day.session, ui, &count), StepResult::Done);
  EXPECT_EQ(count, 2);
  const std::string entries = std::string(" 1   100") + noWin() + "12   200" + noBracket() + "0102   300" + noPair() +
                              noPair() + noPair() + noPair() + noPair() + noPair();
  EXPECT_EQ(day.resultsFile(), "03  " "  " "03" + entries + "0603" "06" "03" + entries);
}

// PAT95: payouts are the last six of eight characters, there are no
// quinella-place results (blank entries); a file whose first record is of
// another day gives nothing, a file stops at its first record of another day;
// files are read in directory order; the results file is truncated to this
// run's records.
TEST(RaceResults, Pat95DatesOrderAndTruncation) {
  HitsDay day("0");
  auto race = [](const std::string& date, const std::string& no, const std::string& payout) {
    return PatResults(false, date, "中山", no)
        .win(1, " 1", "##" + payout)
        .win(2, "  ", "        ")
        .bracket(1, '1', '2', "##" + payout)
        .bracket(2, ' ', ' ', "        ")
        .quinella(1, "01", "02", "##" + payout)
        .quinella(2, "  ", "  ", "        ");
  };
  day.writeResults("KS-00002.JRA", {race("20020511", " 1", "   111"), race("20020512", " 2", "   222")});
  day.writeResults("ks-00003.jra", {race("20020512", " 3", "   333"), race("20020512", " 4", "   444"),
                                    race("20020513", " 5", "   555"), race("20020512", " 6", "   666")});
  day.writeResults("ks-00001.JRA", {race("20020512", " 1", "   100")});
  day.writeResults("ks-0001.JRA", {race("20020512", " 9", "   999")});  // not "ks-?????.JRA"
  writeBytes(resultsFilePath(day.session), std::string(5 * kRaceResultRecordLength, 'x'));

  RecordingUi ui;
  int count = 0;
  ASSERT_EQ(ReadRaceResults(day.session, ui, &count), StepResult::Done);
  EXPECT_EQ(count, 3);
  auto record = [](const std::string& no, const std::string& payout) {
    return "06" + no + "06" + no + " 1" + payout + noWin() + "12" + payout + noBracket() + "0102" + payout +
           noPair() + noPair() + noPair() + noPair() + noPair() + noPair();
  };
  EXPECT_EQ(day.resultsFile(), record("01", "   100") + record("03", "   333") + record("04", "   444"));
}

// At most 39 results; the 40th race and every later file are not read.
TEST(RaceResults, StopsAfterThirtyNineRecords) {
  HitsDay day("1");
  std::vector<PatResults> races;
  for (int i = 1; i <= 40; ++i) {
    const std::string no = std::to_string(i % 12 + 1);
    races.push_back(PatResults(true, "20020512", "阪神", no.size() == 1 ? " " + no : no));
  }
  day.writeResults("ks-00001.JRA", races);
  day.writeResults("ks-00002.JRA", {PatResults(true, "20020512", "小倉", " 1")});
  RecordingUi ui;
  int count = 0;
  ASSERT_EQ(ReadRaceResults(day.session, ui, &count), StepResult::Done);
  EXPECT_EQ(count, 39);
  const std::string bytes = day.resultsFile();
  ASSERT_EQ(bytes.size(), 39 * kRaceResultRecordLength);
  EXPECT_EQ(bytes.substr(38 * kRaceResultRecordLength, 4), "0904");
}

// No results of the day, or an odds source without results: the message, an
// empty results file, Tolv files untouched. A trailing partial PAT record is
// not read.
TEST(RaceResults, NothingFound) {
  for (const std::string source : {"1", "2", ""}) {
    SCOPED_TRACE(source);
    HitsDay day(source);
    const fs::path tolv = day.addMeeting("05", {pickRecord("0501", "03-07", "  12.0", 3)});
    const std::string before = readBytes(tolv);
    std::string partial = PatResults(true, "20020512", "東京", " 1").quinella(1, "03", "07", "  3450").bytes();
    partial.pop_back();
    day.writeResults("ks-00001.JRA", {PatResults(true, "20020510", "東京", " 1")});
    writeBytes(day.home() / "pat" / "ks-00002.JRA", partial);
    writeBytes(resultsFilePath(day.session), std::string(kRaceResultRecordLength, ' '));
    RecordingUi ui;
    EXPECT_EQ(ReadRaceResults(day.session, ui), StepResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "該当日の競走成績データが見つかりませんでした！");
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_TRUE(isRegularFile(resultsFilePath(day.session)));
    EXPECT_EQ(day.resultsFile(), "");
    EXPECT_EQ(readBytes(tolv), before);
  }
}

// Hits in the Tolv records, every course file of the day: quinella and
// quinella-place on one pick, dead heats, bracket order as stored, earlier
// flags kept, races without results and blank result entries never hit.
TEST(RaceResults, MarksTolvRecords) {
  HitsDay day("1");
  day.writeResults("ks-00001.JRA",
                   {
                       PatResults(true, "20020512", "東京", " 1")
                           .bracket(1, '3', '6', "  1230")
                           .bracket(2, ' ', ' ', "      ")
                           .quinella(1, "03", "07", "  3450")
                           .quinella(2, "07", "12", "  2100")
                           .wide(1, "03", "07", "   900")
                           .wide(2, "03", "12", "   750")
                           .wide(3, "07", "12", "   640")
                           .wide(4, "  ", "  ", "      ")
                           .wide(5, "  ", "  ", "      "),
                       PatResults(true, "20020512", "京都", " 2")
                           .bracket(1, '3', '6', "   870")
                           .bracket(2, ' ', ' ', "      ")
                           .quinella(1, "  ", "  ", "      ")
                           .quinella(2, "  ", "  ", "      ")
                           .wide(1, "  ", "  ", "      ")
                           .wide(2, "  ", "  ", "      ")
                           .wide(3, "  ", "  ", "      ")
                           .wide(4, "  ", "  ", "      ")
                           .wide(5, "  ", "  ", "      "),
                   });
  TolvRecord earlier = pickRecord("0502", "01-02", "   5.0", 2);
  earlier.hitFlag = -1;
  earlier.payout = "   500";
  const std::vector<TolvRecord> tokyo = {
      pickRecord("0501", "03-07", "  12.0", 9),   // quinella and quinella-place
      pickRecord("0501", "07-12", "  20.0", 5),   // the dead heat's second quinella
      pickRecord("0501", "03-12", "  30.0", 4),   // quinella-place only
      pickRecord("0501", "   36", "   8.0", 3),   // bracket
      pickRecord("0501", "07-03", "  12.0", 2),   // the other way round: no hit
      pickRecord("0501", "01-02", "  50.0", 2),   // lost
      earlier,                                    // no result for race 2: kept as it was
  };
  const std::vector<TolvRecord> kyoto = {
      pickRecord("0802", "   63", "   9.0", 3),  // bracket 6-3 against 3-6
      pickRecord("0802", "   00", "   9.0", 3),  // blank entries never hit
      pickRecord("0802", "00-00", "   9.0", 3),
  };
  const fs::path tokyoPath = day.addMeeting("05", tokyo);
  const fs::path kyotoPath = day.addMeeting("08", kyoto);
  const std::string kyotoBefore = readBytes(kyotoPath);
  RecordingUi ui;
  int results = 0, hits = -1;
  ASSERT_EQ(ReadRaceResults(day.session, ui, &results, &hits), StepResult::Done);
  EXPECT_TRUE(ui.messages.empty());
  // Two races; four records marked now and the one marked before.
  EXPECT_EQ(results, 2);
  EXPECT_EQ(hits, 5);

  std::vector<TolvRecord> expected = tokyo;
  auto hit = [](TolvRecord& r, const std::string& payout) {
    r.hitFlag = -1;
    r.payout = payout;
  };
  auto wideHit = [](TolvRecord& r, const std::string& payout) {
    r.wideHitFlag = -1;
    r.widePayout = payout;
  };
  hit(expected[0], "  3450");
  wideHit(expected[0], "   900");
  hit(expected[1], "  2100");
  wideHit(expected[1], "   640");
  wideHit(expected[2], "   750");
  hit(expected[3], "  1230");
  std::string bytes;
  for (const auto& r : expected) bytes += r.encode();
  EXPECT_EQ(readBytes(tokyoPath), bytes);
  EXPECT_EQ(readBytes(kyotoPath), kyotoBefore);

  // A second run finds the same hits and clears nothing.
  hits = -1;
  ASSERT_EQ(ReadRaceResults(day.session, ui, &results, &hits), StepResult::Done);
  EXPECT_EQ(readBytes(tokyoPath), bytes);
  EXPECT_EQ(hits, 5);
}

// A run after the results file was corrected judges the races it covers
// afresh: the wrong hit (flag and payout) goes, the right one is marked, and
// a race the results do not cover keeps its marks.
TEST(RaceResults, CorrectedResultsClearTheWrongHits) {
  HitsDay day("1");
  auto results = [&](const std::string& a, const std::string& b) {
    day.writeResults("ks-00001.JRA", {PatResults(true, "20020512", "東京", " 1")
                                          .bracket(1, '1', '1', "   310")
                                          .bracket(2, ' ', ' ', "      ")
                                          .quinella(1, a, b, "  3450")
                                          .quinella(2, "  ", "  ", "      ")
                                          .wide(1, a, b, "   900")
                                          .wide(2, "  ", "  ", "      ")
                                          .wide(3, "  ", "  ", "      ")
                                          .wide(4, "  ", "  ", "      ")
                                          .wide(5, "  ", "  ", "      ")});
  };
  TolvRecord otherRace = pickRecord("0502", "01-02", "   5.0", 2);
  otherRace.hitFlag = -1;
  otherRace.payout = "   500";
  const std::vector<TolvRecord> records = {pickRecord("0501", "01-02", "  12.0", 9),
                                           pickRecord("0501", "03-07", "  20.0", 5), otherRace};
  const fs::path path = day.addMeeting("05", records);
  RecordingUi ui;

  results("01", "02");  // the wrong file
  ASSERT_EQ(ReadRaceResults(day.session, ui), StepResult::Done);
  results("03", "07");  // corrected
  ASSERT_EQ(ReadRaceResults(day.session, ui), StepResult::Done);

  std::vector<TolvRecord> expected = records;
  expected[1].hitFlag = -1;
  expected[1].payout = "  3450";
  expected[1].wideHitFlag = -1;
  expected[1].widePayout = "   900";
  std::string bytes;
  for (const auto& r : expected) bytes += r.encode();
  EXPECT_EQ(readBytes(path), bytes);
}

// "的中判定" with an odds source other than PAT95/PAT98: the two-line notice,
// nothing read or written.
TEST(RaceResults, HitCheckNoticeForOtherSources) {
  for (const std::string source : {"2", "3", "4"}) {
    SCOPED_TRACE(source);
    HitsDay day(source);
    day.writeResults("ks-00001.JRA", {PatResults(true, "20020512", "東京", " 1")});
    RecordingUi ui;
    EXPECT_EQ(checkHits(day.session, ui), StepResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "的中判定は「PAT98」および「PAT95」のみ対応しています。\r\n"
              "他の形式の成績は「PAT」形式に変換してからご利用ください。\r\n");
    EXPECT_FALSE(fs::exists(resultsFilePath(day.session)));
  }
  HitsDay pat95("0");
  RecordingUi ui;
  EXPECT_EQ(checkHits(pat95.session, ui), StepResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "該当日の競走成績データが見つかりませんでした！");
}

// --- the annotated WARS-format file ---

RaceResultRecord result(const std::string& key) {
  RaceResultRecord r;
  r.raceKey = key;
  r.courseCode = key.substr(0, 2);
  r.raceNumber = key.substr(2, 2);
  return r;
}

std::string race45(const std::string& s) { return padBytes(s, 45); }

// Hits and misses, dead heats, bracket order, the course taken from each
// meeting header, other lines kept; the copy is the path + "S".
TEST(RaceResults, AnnotatesWarsFile) {
  HitsDay day;
  std::vector<RaceResultRecord> results;
  RaceResultRecord r = result("0501");
  r.quinella[0] = {"02", "07", "  3450"};
  results.push_back(r);
  r = result("0502");  // dead heat for second: two quinellas
  r.quinella[0] = {"01", "04", "  1230"};
  r.quinella[1] = {"01", "09", "123450"};
  results.push_back(r);
  r = result("0511");
  r.bracket[0] = {"3", "6", "   870"};
  results.push_back(r);
  r = result("0812");  // bracket stored 6-3: the pick 36 does not match
  r.bracket[0] = {"6", "3", "   990"};
  results.push_back(r);
  std::string bytes;
  for (const auto& x : results) bytes += x.encode();
  bytes += "partial";
  writeBytes(resultsFilePath(day.session), bytes);

  const std::vector<std::string> header1 = {rule('-'), pad76("東京 2002年  3回  8日目  5月 12日(日) [7777]"), rule('-')};
  const std::vector<std::string> header2 = {rule('-'), pad76("京都 2002年  2回  4日目  5月 12日(日) [7777]"), rule('-')};
  std::vector<std::string> wars = header1;
  wars.push_back(race45(" 1R     03-05 02-07") + "|芝1600m 16頭 ３上  500万 10:05");
  wars.push_back(pad76(" 2R     01-09 01-04 05-06"));
  wars.push_back(pad76(" 3R     01-02"));  // no result for the race
  wars.push_back(pad76("11R        36 03-06"));
  wars.push_back("");
  wars.insert(wars.end(), header2.begin(), header2.end());
  wars.push_back(pad76(" 1R     02-07"));  // 京都 1R: no result, the 東京 one does not count
  wars.push_back(pad76("12R        36"));
  wars.push_back(pad76("12R     "));  // no pick
  wars.push_back(" 5R     02-07");  // short line, no result
  wars.push_back("");
  const fs::path warsPath = fs::path(day.session.outPutFolder()) / "Tolv_WARS20020512.7777";
  writeBytes(warsPath, sjLines(wars));

  std::string error;
  auto check = MarkWarsHits(warsPath, resultsFilePath(day.session), &error);
  ASSERT_TRUE(check) << error;
  EXPECT_EQ(check->results, 4);
  EXPECT_EQ(check->annotated, fs::path(warsPath.string() + "S"));
  const std::string lost = "|外れ(ﾉﾍ;)ｼｸｼｸ..";
  std::vector<std::string> expected = header1;
  expected.push_back(race45(" 1R     03-05 02-07*") + "|馬連的中！ [02-07]  3,450円   ");
  expected.push_back(race45(" 2R     01-09*01-04*05-06") + "|馬連的中！ [01-04]  1,230円   ");
  expected.push_back(pad76(race45(" 3R     01-02") + lost));
  expected.push_back(race45("11R        36*03-06") + "|枠連的中！ [   36]  870円     ");
  expected.push_back("");
  expected.insert(expected.end(), header2.begin(), header2.end());
  expected.push_back(pad76(race45(" 1R     02-07") + lost));
  expected.push_back(pad76(race45("12R        36") + lost));
  expected.push_back(pad76(race45("12R     ") + lost));
  expected.push_back(pad76(race45(" 5R     02-07") + lost));
  expected.push_back("");
  EXPECT_EQ(readBytes(check->annotated), sjLines(expected));
  EXPECT_EQ(readBytes(warsPath), sjLines(wars));  // the original is kept
}

// The payout of a dead heat's second entry, and a missing file.
TEST(RaceResults, WarsHitOnSecondEntryAndMissingFiles) {
  HitsDay day;
  RaceResultRecord r = result("0601");
  r.quinella[0] = {"01", "04", "  1230"};
  r.quinella[1] = {"01", "09", "123450"};
  writeBytes(resultsFilePath(day.session), r.encode());
  const fs::path warsPath = day.home() / "OutPut" / "w.txt";
  writeBytes(warsPath, sjLines({pad76("中山 2002年"), pad76(" 1R     01-09")}));
  auto check = MarkWarsHits(warsPath, resultsFilePath(day.session));
  ASSERT_TRUE(check);
  EXPECT_EQ(readBytes(check->annotated),
            sjLines({pad76("中山 2002年"), race45(" 1R     01-09*") + "|馬連的中！ [01-09]  123,450円 "}));

  std::string error;
  EXPECT_FALSE(MarkWarsHits(day.home() / "missing.txt", resultsFilePath(day.session), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(MarkWarsHits(warsPath, day.home() / "missing.DAT"));
}

// The results record round-trips, and a decoded short record reads blank.
TEST(RaceResults, RecordRoundTrip) {
  RaceResultRecord r = result("1012");
  r.win[0] = {" 7", "", "   320"};
  r.wide[4] = {"11", "16", "  4560"};
  const std::string bytes = r.encode();
  ASSERT_EQ(bytes.size(), kRaceResultRecordLength);
  EXPECT_EQ(bytes.substr(100), "1116  4560");
  EXPECT_EQ(RaceResultRecord::decode(bytes).encode(), bytes);
  EXPECT_EQ(RaceResultRecord().encode(), std::string(kRaceResultRecordLength, ' '));
  EXPECT_EQ(RaceResultRecord::decode("1012").raceKey, "1012");
  EXPECT_EQ(RaceResultRecord::decode("1012").wide[4].payout, "");
}

}  // namespace
}  // namespace tolv::testing
