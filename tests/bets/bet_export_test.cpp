#include "bets/bet_export.h"

#include <gtest/gtest.h>

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

// A home for 2002-05-12 (a Sunday) with the export folders inside it.
struct ExportHome : TestHome {
  ExportHome() {
    session.settings.pendingBetFolder = (home() / "bet").string() + "/";
    session.settings.patBetFolder = (home() / "pat").string() + "/";
    session.settings.betAutoFolder = (home() / "auto").string() + "/";
  }
  fs::path pending() const { return home() / "bet" / "~B20020512.TXT"; }
  fs::path pat(const std::string& name) const { return home() / "pat" / name; }
  void writePending(const std::vector<std::string>& lines) { writeBytes(pending(), sjLines(lines)); }
  // n quinella bets of race 1 at 東京, the k-th with stake k*100.
  void writeNumbered(int n) {
    std::vector<std::string> lines;
    for (int k = 1; k <= n; ++k) lines.push_back("東京, 1R,馬連    ,01-02,   5.0," + std::to_string(k * 100) + "円");
    writePending(lines);
  }
};

const std::vector<std::string> kMixedBets = {
    "東京,11R,馬連    ,02-05,  12.3,  1000円",
    "東京,11R,枠連    ,  3-6,   8.4,   200円",
    "中山, 1R,ワイド   ,03-17,      ,   100円",
    ",12R,馬連    ,01-02,   3.0,   100円",  // no course: skipped by every reader
};

// --- パッとベッと ---------------------------------------------------------------

TEST(BetExport, PatBetWritesHeaderBlankLineAndFourSpacedFields) {
  ExportHome h;
  h.writePending(kMixedBets);
  RecordingUi ui;
  EXPECT_EQ(ExportPatBet(h.session, ui), StepResult::Done);
  EXPECT_EQ(readBytes(h.pat("020512_1.BET")),
            sjLines({"02年 05月 12日", "",
                     "東京    11R    馬連        02-05      12.3      1000円",
                     "東京    11R    枠連          3-6       8.4       200円",
                     "中山     1R    イド        03-17                 100円"}));
  EXPECT_FALSE(fs::exists(h.pat("020512_2.BET")));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "3BET（1ﾌｧｲﾙ）出力しました。");
  EXPECT_EQ(ui.messages[0].title, "「パッとベッと」購入ファイルの切り出し");
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text, "保留ＢＥＴファイルを削除しますか？");
  EXPECT_EQ(ui.questions[0].title, "「パッとベッと」購入ファイルの切り出し");
  EXPECT_TRUE(fs::exists(h.pending())) << "No is the default answer";
}

TEST(BetExport, PatBetZeroPadsHandEditedQuinellaNumbers) {
  ExportHome h;
  h.writePending({"阪神,2R,馬連, 2-15,,500円", "阪神,2R,ワイド, 2-15,,500円"});
  RecordingUi ui;
  ExportPatBet(h.session, ui);
  EXPECT_EQ(readBytes(h.pat("020512_1.BET")),
            sjLines({"02年 05月 12日", "",
                     "阪神     2R    馬連        02-15                 500円",
                     "阪神     2R    イド         2-15                 500円"}));
}

TEST(BetExport, PatBetSplitsIntoFilesOfFifty) {
  ExportHome h;
  h.writeNumbered(120);
  RecordingUi ui;
  ExportPatBet(h.session, ui);
  const std::size_t counts[] = {50, 50, 20};
  for (int k = 1; k <= 3; ++k) {
    auto lines = readTextLines(h.pat("020512_" + std::to_string(k) + ".BET"));
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), counts[k - 1] + 2);
    // the first bet of file k is bet 50(k-1)+1
    EXPECT_TRUE((*lines)[2].ends_with(" " + std::to_string((50 * (k - 1) + 1) * 100) + "円")) << (*lines)[2];
  }
  EXPECT_FALSE(fs::exists(h.pat("020512_4.BET")));
  EXPECT_EQ(ui.messages.at(0).text, "120BET（3ﾌｧｲﾙ）出力しました。");
}

TEST(BetExport, PatBetNinthFileTakesEveryBetFrom401On) {
  ExportHome h;
  h.writeNumbered(460);
  RecordingUi ui;
  ExportPatBet(h.session, ui);
  for (int k = 1; k <= 8; ++k) {
    auto lines = readTextLines(h.pat("020512_" + std::to_string(k) + ".BET"));
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 52u) << "file " << k;
  }
  auto ninth = readTextLines(h.pat("020512_9.BET"));
  ASSERT_TRUE(ninth);
  ASSERT_EQ(ninth->size(), 62u);
  EXPECT_TRUE((*ninth)[2].ends_with(" 40100円"));
  EXPECT_TRUE(ninth->back().ends_with(" 46000円"));
  EXPECT_FALSE(fs::exists(h.pat("020512_10.BET")));
  EXPECT_EQ(ui.messages.at(0).text, "460BET（9ﾌｧｲﾙ）出力しました。");
}

TEST(BetExport, PatBetDeletesTheDaysOldFilesOnlyAndCountsThem) {
  ExportHome h;
  h.writePending({kMixedBets[0]});
  writeBytes(h.pat("020512_7.BET"), "old");
  writeBytes(h.pat("020512_2.bet"), "old");
  writeBytes(h.pat("020511_1.BET"), "other day");
  writeBytes(h.pat("020512_10.BET"), "three characters after the date");
  RecordingUi ui;
  ui.answers = {Answer::Yes};
  ExportPatBet(h.session, ui);
  EXPECT_FALSE(fs::exists(h.pat("020512_7.BET")));
  EXPECT_FALSE(fs::exists(h.pat("020512_2.bet")));
  EXPECT_TRUE(fs::exists(h.pat("020511_1.BET")));
  EXPECT_TRUE(fs::exists(h.pat("020512_10.BET")));
  EXPECT_EQ(ui.messages.at(0).text, "既存のBETﾌｧｲﾙ（2ﾌｧｲﾙ）を削除しました。\r\n1BET（1ﾌｧｲﾙ）出力しました。");
  EXPECT_FALSE(fs::exists(h.pending())) << "Yes deletes the pending-bet file";
}

// --- Bet Auto ------------------------------------------------------------------

TEST(BetExport, BetAutoPlacesPickAndStakeInTheirByteColumns) {
  ExportHome h;
  h.writePending(kMixedBets);
  RecordingUi ui;
  EXPECT_EQ(ExportBetAuto(h.session, ui), StepResult::Done);
  const std::string bytes = readBytes(h.home() / "auto" / "20020512.lst");
  EXPECT_EQ(bytes, sjLines({"0 09:00:05 投票項目入力 東京 11R 馬連        2- 5   1000",
                            "0 09:00:05 投票項目入力 東京 11R 枠連        3- 6    200",
                            "0 09:00:06 投票項目入力 中山  1R ワイド      3-17    100",
                            "0 09:00:30 投票"}));
  const std::string first = bytes.substr(0, bytes.find("\r\n"));
  ASSERT_EQ(first.size(), 56u);
  EXPECT_EQ(first.substr(44, 5), " 2- 5");  // bytes 45-49
  EXPECT_EQ(first.substr(49, 1), " ");
  EXPECT_EQ(first.substr(50, 6), "  1000");  // bytes 51-56
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text, "3BET出力しました。\r\n\r\n保留ＢＥＴファイルを削除しますか？");
  EXPECT_EQ(ui.questions[0].title, "「Bet Auto」ファイルの出力");
  EXPECT_TRUE(fs::exists(h.pending()));
}

TEST(BetExport, BetAutoNormalisesTypesAndPicks) {
  PendingBetEntry wide{"小倉", "12R", "拡連", "10-11", "", "  300円"};
  PendingBetEntry win{"京都", "3R", "単勝", "7", "", "100円"};
  PendingBetEntry narrow{"札幌", "4R", "ﾜｲﾄﾞ", "01-09", "", "100円"};
  EXPECT_EQ(sj(betAutoLine(wide)), sj("0 09:00:10 投票項目入力 小倉 12R ワイド     10-11    300"));
  EXPECT_EQ(sj(betAutoLine(win)), sj("0 09:00:08 投票項目入力 京都  3R 単勝       7        100"));
  EXPECT_EQ(sj(betAutoLine(narrow)), sj("0 09:00:01 投票項目入力 札幌  4R ワイド      1- 9    100"));
}

TEST(BetExport, BetAutoExistingFileOverwriteAppendOrCancel) {
  const std::string old = sjLines({"0 09:00:30 投票"});
  const std::string fresh = sjLines({"0 09:00:05 投票項目入力 東京 11R 馬連        2- 5   1000", "0 09:00:30 投票"});
  const std::string question =
      "同名のファイル（{P}）が存在します。上書きしますか？\r\n\r\n"
      "はい→上書き　いいえ→アペンド（追加）　ｷｬﾝｾﾙ→処理を中止\r\n\r\n";
  struct Case {
    Answer answer;
    StepResult result;
    bool appended, replaced;
  };
  for (const Case& c : {Case{Answer::Yes, StepResult::Done, false, true}, Case{Answer::No, StepResult::Done, true, false},
                        Case{Answer::Cancel, StepResult::Cancelled, false, false}}) {
    ExportHome h;
    h.writePending({kMixedBets[0]});
    const fs::path path = betAutoPath(h.session);
    writeBytes(path, old);
    RecordingUi ui;
    ui.answers = {c.answer, Answer::Yes};
    EXPECT_EQ(ExportBetAuto(h.session, ui), c.result);
    const std::string expected = c.replaced ? fresh : c.appended ? old + fresh : old;
    EXPECT_EQ(readBytes(path), expected);
    ASSERT_GE(ui.questions.size(), 1u);
    std::string q = question;
    q.replace(q.find("{P}"), 3, path.string());
    EXPECT_EQ(ui.questions[0].text, q);
    EXPECT_EQ(ui.questions[0].title, "「Bet Auto」ファイルの出力");
    // Cancel keeps the pending bets and asks nothing more
    EXPECT_EQ(fs::exists(h.pending()), c.answer == Answer::Cancel);
    EXPECT_EQ(ui.questions.size(), c.answer == Answer::Cancel ? 1u : 2u);
  }
}

TEST(BetExport, EveryExportStopsWithoutAPendingBetFile) {
  ExportHome h;
  RecordingUi ui;
  EXPECT_EQ(ExportPatBet(h.session, ui), StepResult::Failed);
  EXPECT_EQ(ExportBetAuto(h.session, ui), StepResult::Failed);
  EXPECT_FALSE(openBakenjuku(h.session, ui));
  ASSERT_EQ(ui.messages.size(), 3u);
  for (const auto& m : ui.messages) EXPECT_EQ(m.text, "保留ＢＥＴはありません！");
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_FALSE(fs::exists(h.home() / "pat"));
  EXPECT_FALSE(fs::exists(betAutoPath(h.session)));
}

// --- 馬券塾 --------------------------------------------------------------------

std::string signature() {
  std::string s = "--- Output by「トルブ Ver4.16.1」";
  return s + std::string(42 - lenBytes(s), '-');
}

TEST(BetExport, BakenjukuSheetHoldsVotingLinesCountAndTotal) {
  ExportHome h;
  h.writePending(kMixedBets);
  RecordingUi ui;
  auto sheet = openBakenjuku(h.session, ui);
  ASSERT_TRUE(sheet);
  EXPECT_EQ(sheet->text,
            "#,20020512,東京,11R,馬, 2- 5,  1000\r\n"
            "#,20020512,東京,11R,枠, 3- 6,   200\r\n"
            "#,20020512,中山, 1R,ワ, 3-17,   100\r\n");
  EXPECT_EQ(sheet->countLabel(), "3");
  EXPECT_EQ(sheet->totalLabel(), "1,300");
  EXPECT_EQ(ui.busyDepth, 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(BetExport, BakenjukuOutputWithAndWithoutQuinellaToWide) {
  ExportHome h;
  h.writePending({"東京, 1R,馬連    ,02-05,   9.9,  1000円", "東京, 2R,枠連    ,  1-1,   9.9,   500円"});
  RecordingUi ui;
  auto sheet = openBakenjuku(h.session, ui);
  ASSERT_TRUE(sheet);
  const std::string title = "--- 2002年05月12日(日) の『馬券塾』投票---";
  EXPECT_EQ(bakenjukuOutputLines(h.session, *sheet, false),
            (std::vector<std::string>{title, "#,20020512,東京, 1R,馬, 2- 5,  1000", "#,20020512,東京, 2R,枠, 1- 1,   500",
                                      "     《 ２ベット  1,500円購入 》", signature()}));
  EXPECT_EQ(bakenjukuOutputLines(h.session, *sheet, true),
            (std::vector<std::string>{title, "#,20020512,東京, 1R,ワ, 2- 5,  1000", "#,20020512,東京, 2R,枠, 1- 1,   500",
                                      "     《 ２ベット  1,500円購入 》", signature()}));
  EXPECT_EQ(lenBytes(title), 42u);
}

TEST(BetExport, BakenjukuWideOptionSkipsShortLinesAndOnlyTheFirstMatch) {
  ExportHome h;
  BakenjukuSheet sheet;
  sheet.text = "x,馬,\r\n#,20020512,東京, 1R,馬, 2- 5,  1000 ,馬,\r\n";
  auto lines = bakenjukuOutputLines(h.session, sheet, true);
  EXPECT_EQ(lines[1], "x,馬,");
  EXPECT_EQ(lines[2], "#,20020512,東京, 1R,ワ, 2- 5,  1000 ,馬,");
  EXPECT_EQ(lines[3], "     《 ０ベット  円購入 》");  // "#,###" shows nothing for 0
}

TEST(BetExport, BakenjukuRecountStopsAtTheFirstUnreadableLine) {
  BakenjukuSheet sheet;
  sheet.text =
      "#,20020512,東京, 1R,馬, 2- 5,  1000\r\n\r\n#,20020512,東京, 2R,馬, 2- 5,  2500\r\n"
      "#,20020512,東京, 3R,馬, 2- 5\r\n#,20020512,東京, 4R,馬, 2- 5,  9000\r\n";
  recountBakenjuku(sheet);
  EXPECT_EQ(sheet.count, 2);
  EXPECT_EQ(sheet.totalLabel(), "3,500");
  sheet.text = "#,20020512,東京, 1R,馬, 2- 5,  1O00\r\n";
  recountBakenjuku(sheet);
  EXPECT_EQ(sheet.count, 0);
  EXPECT_EQ(sheet.totalLabel(), "");
}

TEST(BetExport, BakenjukuClipboardTextAndFile) {
  ExportHome h;
  h.writePending({"東京, 1R,馬連    ,02-05,   9.9,  1000円"});
  RecordingUi ui;
  auto sheet = openBakenjuku(h.session, ui);
  ASSERT_TRUE(sheet);
  const auto lines = bakenjukuOutputLines(h.session, *sheet, false);
  std::string body;
  for (const auto& l : lines) body += l + "\r\n";
  EXPECT_EQ(bakenjukuClipboardText(lines), "\r\n" + body + "\r\n");

  EXPECT_EQ(writeBakenjukuFile(h.session, ui, lines), StepResult::Done);
  const fs::path path = fs::path(h.session.outPutFolder()) / "馬券塾20020512.TXT";
  EXPECT_EQ(readBytes(path), sj(body + "\r\n\r\n"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "「" + path.string() + "」に出力しました！");
  EXPECT_TRUE(fs::exists(h.pending())) << "the 馬券塾 window never changes the pending bets";
}

}  // namespace
}  // namespace tolv
