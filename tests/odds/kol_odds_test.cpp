#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/profile.h"
#include "odds/kol_odds.h"
#include "odds/pat_fixture.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::RecordingUi;
using testing::sj;
using testing::TestHome;
using testing::writeBytes;

// tests/data/kol was made by tools/kol_odds.py --test-fixtures:
//   J020512.LZH  kol_ods.KD2 with four races of 2002-05-12 and a cut-off fifth:
//     東京 (04) 3回2日目 11R, 10 runners, cells of every kind (see below);
//     東京 12R, 8 runners; 阪神 (01) 5回2日目 1R, 10 runners of which 2
//     scratched; 大井 (10) 1R, no JRA course.
//   notkol.lzh   readme.txt only
//   short.lzh    a kol_ods.KD2 of 1000 bytes
fs::path fixture(const char* name) { return testing::testDataPath(std::string("kol/") + name); }

std::string spaces(std::size_t n) { return std::string(n, ' '); }

// Odds with one decimal, halves away from zero, right-aligned ("%6.1f").
std::string odds(double v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%*.1f", width, std::floor(v * 10 + 0.5) / 10);
  return buf;
}
std::string bound(double v) { return odds(v < 1.0 ? 1.0 : v, 6); }

std::string header(const std::string& course, const std::string& meeting, const std::string& day,
                   const std::string& race) {
  return testing::patHeaderBytes(
      {.taken = "20020512000000000000", .course = course, .meeting = meeting, .day = day, .race = race, .time = "1000"});
}

const std::string kScratched5 = sj(" ﾄﾘｹｼ");
const std::string kScratched6 = sj("  ﾄﾘｹｼ");

// The place bounds of every horse that is not scratched, and its flag.
const std::string kPlace = "  1.0 10.00";

// The win/place entries past the runners: horse number, the win cell "-" of
// the archive (blank odds), the fixed place bounds.
std::string entriesPast(int runners) {
  std::string s;
  for (int n = runners + 1; n <= 18; ++n) s += (n < 10 ? " " : "") + std::to_string(n) + spaces(5) + kPlace;
  return s;
}

// The bracket file of 東京 11R: win cells *, /, 123, -, 5, 2345, abc, 10,
// 999, 9999; bracket cells * / - for 1-1, 1-2, 1-3, 0 for 8-8, else 50 + 10k.
std::string tokyo11Bracket() {
  std::string s = header("東京", "03", "02", "11") + "10" + "0";
  const std::string& place = kPlace;
  s += " 1 50.0" + place;
  s += " 2" + kScratched5 + kScratched5 + kScratched5 + "0";
  s += " 3 12.3" + place;
  s += " 4     " + place;
  s += " 5   .5" + place;
  s += " 6234.5" + place;
  s += " 7     " + place;  // "abc" reads as no odds
  s += " 8  1.0" + place;
  s += " 9 99.9" + place;
  s += "10999.9" + place;
  // Horses 11-18 have entries too (written out: the test must not lean on
  // entriesPast alone).
  s += "11     " + place + "12     " + place;
  s += entriesPast(12);
  s += " ";
  int k = 0;
  for (int a = 1; a <= 8; ++a) {
    for (int b = a; b <= 8; ++b) {
      ++k;
      std::string o = odds((50 + 10 * k) / 10.0, 5);
      if (k == 1) o = "100.0";
      if (k == 2) o = kScratched5;
      if (k == 3 || k == 36) o = spaces(5);  // "-", and "0" read as no odds
      s += std::to_string(a) + "-" + std::to_string(b) + o + "  ";
    }
  }
  return s;
}

struct Quinella {
  std::string odds, low, high;
};

// The quinella entries of 東京 11R: the special cells, else 1000 + the
// pair's position in the 18-runner order.
Quinella tokyo11Quinella(int a, int b, int index) {
  if (a == 1 && b == 2) return {" 234.5", "  62.5", "  93.8"};
  if (a == 1 && b == 3) return {" 999.9", " 233.0", " 350.0"};
  if (a == 1 && b == 4) return {kScratched6, kScratched6, kScratched6};
  if (a == 1 && (b == 5 || b == 9 || b == 10)) return {spaces(6), spaces(6), spaces(6)};  // -, abc, 99999
  if (a == 1 && b == 6) return {"  30.0", "   8.0", "  12.0"};
  if (a == 1 && b == 7) return {"   1.0", "   1.0", "   1.0"};
  if (a == 1 && b == 8) return {"   1.1", "   1.0", "   1.0"};
  if (a == 2 && b == 3) return {"    .5", "   1.0", "   1.0"};
  const double q = (1000 + index) / 10.0;
  return {odds(q, 6), bound(q / 3 * 0.8), bound(q / 3 * 1.2)};
}

std::string tokyo11Quinella98() {
  std::string s = header("東京", "03", "02", "11") + "10" + "11";
  int used = 0;
  for (int a = 1; a <= 10; ++a) {
    for (int b = a + 1; b <= 10; ++b, ++used) {
      const int index = (a - 1) * 18 - a * (a - 1) / 2 + (b - a);
      const Quinella q = tokyo11Quinella(a, b, index);
      char pair[8];
      std::snprintf(pair, sizeof pair, "%02d-%02d", a, b);
      s += "00" + std::string(pair) + q.odds + q.low + q.high;
    }
  }
  EXPECT_EQ(used, 45);
  return s + spaces(25 * (153 - 45)) + "\r\n";
}

std::string tokyo11Quinella95() {
  std::string s = header("東京", "03", "02", "11") + " " + "10";
  for (int a = 1; a <= 10; ++a) {
    for (int b = a + 1; b <= 10; ++b) {
      const int index = (a - 1) * 18 - a * (a - 1) / 2 + (b - a);
      char pair[8];
      std::snprintf(pair, sizeof pair, "%02d-%02d", a, b);
      s += std::string(pair) + tokyo11Quinella(a, b, index).odds + " ";
    }
  }
  return s + spaces(12 * (153 - 45)) + " ";
}

std::vector<std::string> namesIn(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& p : listFiles(dir)) out.push_back(p.filename().string());
  return out;
}

// --- cells ----------------------------------------------------------------------

TEST(KolOdds, CellRules) {
  EXPECT_EQ(kolWinOdds("    *"), " 50.0");
  EXPECT_EQ(kolBracketOdds("*"), "100.0");
  EXPECT_EQ(kolQuinella95Odds("      *"), " 999.9");
  EXPECT_EQ(kolWinOdds("/"), " ﾄﾘｹｼ");
  EXPECT_EQ(kolQuinella95Odds("/"), "  ﾄﾘｹｼ");
  EXPECT_EQ(kolWinOdds("    -"), "     ");
  EXPECT_EQ(kolQuinella95Odds("   2345"), " 234.5");
  EXPECT_EQ(kolWinOdds("9999"), "999.9");
  EXPECT_EQ(kolWinOdds("1"), "   .1");
  EXPECT_EQ(kolQuinella95Odds("0012"), "   1.2");

  const KolQuinellaOdds q = kolQuinella98Odds("    300");
  EXPECT_EQ(q.odds, "  30.0");
  EXPECT_EQ(q.wideLow, "   8.0");
  EXPECT_EQ(q.wideHigh, "  12.0");
  // Up to 1.0 the other factors apply; no bound is ever below 1.0.
  const KolQuinellaOdds small = kolQuinella98Odds("10");
  EXPECT_EQ(small.odds, "   1.0");
  EXPECT_EQ(small.wideLow, "   1.0");
  EXPECT_EQ(small.wideHigh, "   1.0");
  const KolQuinellaOdds star = kolQuinella98Odds("*");
  EXPECT_EQ(star.wideLow + star.wideHigh, " 233.0 350.0");
  const KolQuinellaOdds twenty = kolQuinella98Odds("200");
  EXPECT_EQ(twenty.wideLow + twenty.wideHigh, "   5.3   8.0");
}

TEST(KolOdds, GarbageCellsGiveNoOdds) {
  for (const char* cell : {"abc", "", "     ", "0", "00000", "10000", "99999", "12.5", "-5", "1 2", "**", "+12"}) {
    SCOPED_TRACE(cell);
    EXPECT_EQ(readKolCell(cell).kind, KolCellKind::Other);
    EXPECT_EQ(kolWinOdds(cell), "     ");
    EXPECT_EQ(kolBracketOdds(cell), "     ");
    EXPECT_EQ(kolQuinella95Odds(cell), "      ");
    const KolQuinellaOdds q = kolQuinella98Odds(cell);
    EXPECT_EQ(q.odds + q.wideLow + q.wideHigh, spaces(18));
  }
}

// --- conversion -----------------------------------------------------------------

struct KolHome : TestHome {
  RecordingUi ui;
  fs::path out;
  KolHome() : TestHome("20020512"), out(home() / "conv") { fs::create_directories(out); }

  bool check(const char* archive = "J020512.LZH") { return CheckKolArchive(session, ui, fixture(archive)); }
  StepResult convert(PatQuinellaLayout layout, bool deleteExisting = false, OddsConversionResult* r = nullptr) {
    return convertKolOdds(session, ui, layout, {"conv", deleteExisting}, r);
  }
};

TEST(KolOdds, ConvertsAnArchiveToPat98Files) {
  KolHome h;
  ASSERT_TRUE(h.check());
  OddsConversionResult r;
  ASSERT_EQ(h.convert(PatQuinellaLayout::Pat98, false, &r), StepResult::Done);
  EXPECT_TRUE(h.ui.messages.empty());
  EXPECT_EQ(r.records, 4);  // the cut-off fifth record is not read
  EXPECT_EQ(r.topLabel, "変換作業は終了しました！");

  // 8 runners (12R) and 10 runners less 2 scratched (阪神 1R): bracket files
  // only; 大井 has no JRA course letter and gets none.
  EXPECT_EQ(namesIn(h.out), (std::vector<std::string>{"UO-52B.JRA", "ZO-52B.JRA", "ZO-52C.JRA", "ZO-921.JRA"}));
  EXPECT_EQ(readBytes(h.out / "ZO-52B.JRA"), tokyo11Bracket());
  EXPECT_EQ(readBytes(h.out / "UO-52B.JRA"), tokyo11Quinella98());

  // 阪神 is 01 in the archive's numbering: 09 for the file name and header.
  const std::string hanshin = readBytes(h.out / "ZO-921.JRA");
  ASSERT_EQ(hanshin.size(), kPatBracketRecordLength);
  EXPECT_EQ(hanshin.substr(0, 48), "20020512" "20020512000000000000" + sj("阪神") + "2002" "05" "02" "01" "  1000");
  EXPECT_EQ(hanshin.substr(140, 3), "100");
  EXPECT_EQ(hanshin.substr(143 + 18 * 3, 18), " 4" + kScratched5 + kScratched5 + kScratched5 + "0");
  EXPECT_EQ(hanshin.substr(143 + 18 * 9, 36), "10 30.0  1.0 10.00" "11       1.0 10.00");
  EXPECT_EQ(hanshin.substr(143 + 18 * 10, 18 * 8), entriesPast(10));
  // No bracket cells: every entry keeps its brackets with blank odds.
  EXPECT_EQ(hanshin.substr(468, 10), "1-1" + spaces(7));

  const std::string twelve = readBytes(h.out / "ZO-52C.JRA");
  EXPECT_EQ(twelve.substr(140, 3), "080");
  EXPECT_EQ(twelve.substr(143 + 18 * 7, 36), " 8 80.0  1.0 10.00" " 9       1.0 10.00");
  EXPECT_EQ(twelve.substr(143 + 18 * 17, 18), "18       1.0 10.00");

  // The progress shows the day, course, meeting, day and race of each record.
  ASSERT_EQ(h.ui.details.size(), 4u);
  EXPECT_EQ(h.ui.details[0], "2002年05月12日 東京 3回 2日目 11Ｒ");
  EXPECT_EQ(h.ui.details[2], "2002年05月12日 阪神 5回 2日目 01Ｒ");
  EXPECT_EQ(h.ui.details[3], "2002年05月12日 大井 1回 1日目 01Ｒ");
  EXPECT_EQ(h.ui.captions.front(), "競馬ブック予想オッズを読み取り中！");
  EXPECT_EQ(h.ui.busyDepth, 0);
  EXPECT_FALSE(h.ui.progressOpen);
}

TEST(KolOdds, Pat95LayoutAndFilesOfAnyCase) {
  KolHome h;
  // A file of the race whose name differs in case is replaced, not doubled.
  writeBytes(h.out / "uo-52b.jra", "old");
  ASSERT_TRUE(h.check());
  ASSERT_EQ(h.convert(PatQuinellaLayout::Pat95), StepResult::Done);
  EXPECT_EQ(readBytes(h.out / "uo-52b.jra"), tokyo11Quinella95());
  EXPECT_FALSE(fs::exists(h.out / "UO-52B.JRA"));
  EXPECT_EQ(readBytes(h.out / "ZO-52B.JRA"), tokyo11Bracket());
}

TEST(KolOdds, HeadingAndShortRecords) {
  KolHome h;
  ASSERT_TRUE(h.check());
  const std::string kd2 = readBytes(kolOddsPath(h.session));
  ASSERT_EQ(kd2.size(), 4 * kKolRecordLength + 700);
  EXPECT_EQ(kolConversionHeading(KolRaceRecord::decode(kd2.substr(0, kKolRecordLength))),
            "2002年05月12日分の予想オッズをＰＡＴ形式に変換します…");

  // A record cut short reads its missing cells as empty: no odds, no crash.
  const KolRaceRecord cut = KolRaceRecord::decode(kd2.substr(4 * kKolRecordLength));
  EXPECT_EQ(cut.race, "11");
  EXPECT_EQ(cut.win[0], "    *");
  EXPECT_EQ(cut.quinella[152], "");
  auto files = kolRaceFiles(cut);
  ASSERT_TRUE(files.has_value());
  EXPECT_EQ(files->quinella->entries[44].odds, spaces(6));
  EXPECT_EQ(KolRaceRecord::decode("").jraCourse(), "");
  EXPECT_FALSE(kolRaceFiles(KolRaceRecord::decode("")).has_value());

  EXPECT_EQ(oddsConversionCaption(OddsConversionSource::Kol, PatQuinellaLayout::Pat98),
            "競馬ブック予想オッズをＰＡＴ９８形式に変換");
  EXPECT_EQ(oddsConversionCaption(OddsConversionSource::Csv, PatQuinellaLayout::Pat95),
            "「TARGET」形式ＣＳＶオッズをＰＡＴ９５形式に変換");
  EXPECT_EQ(oddsConversionWritingLabel(PatQuinellaLayout::Pat95), "ＰＡＴ９５形式オッズファイルを出力中！");
}

TEST(KolOdds, RefusesArchivesWithoutPredictedOdds) {
  for (const char* archive : {"notkol.lzh", "short.lzh", "missing.lzh"}) {
    SCOPED_TRACE(archive);
    KolHome h;
    writeBytes(h.session.unpackFolder() / "left.over", "x");
    writeBytes(fs::path(h.session.workFolder()) / "users.txt", "x");
    EXPECT_FALSE(h.check(archive));
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_EQ(h.ui.messages[0].text, "選択した圧縮ファイルは、「ＫＯＬ予想オッズ」ではありません。");
    EXPECT_EQ(h.ui.messages[0].title, "【トルブ】ＫＯＬ予想オッズ変換エラー");
    EXPECT_EQ(h.ui.messages[0].icon, Icon::Critical);
    EXPECT_EQ(namesIn(h.session.workFolder()), std::vector<std::string>{"users.txt"});
    fs::remove(fs::path(h.session.workFolder()) / "users.txt");
  }
}

// An archive that cannot be unpacked for want of room (here: the member's
// place is taken) is said to be so, not "not a KOL archive"; a conversion
// that can write no file says so and fails.
TEST(KolOdds, UnpackAndConversionFailuresSayWhatHappened) {
  {
    KolHome h;
    fs::create_directories(h.session.unpackFolder() / "kol_ods.KD2");
    EXPECT_FALSE(h.check());
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_NE(h.ui.messages[0].text.find("を展開できません："), std::string::npos) << h.ui.messages[0].text;
    EXPECT_NE(h.ui.messages[0].text.find("kol_ods.KD2"), std::string::npos);
    EXPECT_EQ(h.ui.messages[0].text.find("ではありません"), std::string::npos);
  }
  {
    KolHome h;
    std::string record = "99" "2002" "05" "12" "11" "20020512";  // no JRA course
    record.resize(kKolRecordLength, ' ');
    writeBytes(h.session.unpackFolder() / "kol_ods.KD2", record);
    EXPECT_EQ(h.convert(PatQuinellaLayout::Pat98), StepResult::Failed);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_NE(h.ui.messages[0].text.find("オッズファイルは出力されませんでした"), std::string::npos);
    EXPECT_TRUE(namesIn(h.out).empty());
  }
}

TEST(KolOdds, OutputFolderAndDeletion) {
  KolHome h;
  ASSERT_TRUE(h.check());
  EXPECT_EQ(convertKolOdds(h.session, h.ui, PatQuinellaLayout::Pat98, {"nowhere/", false}), StepResult::Failed);
  ASSERT_EQ(h.ui.messages.size(), 1u);
  EXPECT_EQ(h.ui.messages[0].text, "設定されたフォルダが見つかりません！");
  EXPECT_FALSE(fs::exists(h.home() / "nowhere"));

  writeBytes(h.out / "ZO-111.JRA", "old");
  writeBytes(h.out / "uo-a1c.jra", "old");
  writeBytes(h.out / "RX020512.TXT", "kept");
  writeBytes(h.out / "ZO-111.TXT", "kept");
  OddsConversionResult r;
  ASSERT_EQ(h.convert(PatQuinellaLayout::Pat98, true, &r), StepResult::Done);
  EXPECT_EQ(r.deleted.size(), 2u);
  EXPECT_EQ(namesIn(h.out), (std::vector<std::string>{"RX020512.TXT", "UO-52B.JRA", "ZO-111.TXT", "ZO-52B.JRA",
                                                      "ZO-52C.JRA", "ZO-921.JRA"}));
  // The folder used is stored as given.
  EXPECT_EQ(readProfileString(h.session.iniFilePath(), "ODDS", "ConvOddsFolder"), "conv/");

  // Without the choice, older files stay.
  writeBytes(h.out / "ZO-111.JRA", "old");
  ASSERT_EQ(h.convert(PatQuinellaLayout::Pat98), StepResult::Done);
  EXPECT_EQ(readBytes(h.out / "ZO-111.JRA"), "old");
}

TEST(KolOdds, ConversionSettings) {
  TestHome h;
  OddsConversionSettings c = loadOddsConversionSettings(h.session);
  EXPECT_EQ(c.outputFolder, h.session.appFolder());
  EXPECT_FALSE(c.deleteExisting);

  ASSERT_TRUE(storeOddsConversionSettings(h.session, {"odds/conv", true}));
  EXPECT_EQ(readProfileString(h.session.iniFilePath(), "ODDS", "ConvOddsFolder"), "odds/conv/");
  EXPECT_EQ(readProfileString(h.session.iniFilePath(), "ODDS", "DelOddsFile"), "1");
  c = loadOddsConversionSettings(h.session);
  EXPECT_EQ(c.outputFolder, "odds/conv/");
  EXPECT_TRUE(c.deleteExisting);

  // The per-user copy answers when TOLV.INI has lost the keys.
  fs::remove(h.session.iniFilePath());
  EXPECT_TRUE(loadOddsConversionSettings(h.session).deleteExisting);

  ASSERT_TRUE(rememberKolArchive(h.session, h.home() / "dl" / "J020512.LZH"));
  EXPECT_EQ(lastKolArchiveFolder(h.session), (h.home() / "dl").string() + "/");
}

}  // namespace
}  // namespace tolv
