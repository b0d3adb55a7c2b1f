// The odds status grid, the pending-bet summary and the 馬券塾 window.

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include "bets/bet_summary.h"
#include "core/pending_bet.h"
#include "dialog_test_util.h"
#include "odds/odds_status.h"
#include "ui/dialogs/bakenjuku_export_dialog.h"
#include "ui/dialogs/pending_bet_viewer.h"
#include "ui/dialogs/odds_status_dialog.h"

using namespace tolv;
using namespace tolv::ui;
using namespace tolv::ui::test;

namespace {

QString text(QWidget* w, const char* name) { return child<QLabel>(w, name)->text(); }

}  // namespace

class BetWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void oddsStatusGridRowsAndColours() {
    TestHome h;
    writeBytes(fs::path(h.session.settings.patFolder) / "RX020512.TXT",
               sjLines({"22,05,11,rest", "21,06,01,rest", "22,06,12,rest", "21,07,13,rest"}));
    writeBytes(h.session.iniFilePath(), sjLines({"[ODDS]", "PAT=4"}));
    h.session.loadSettings();
    RecordingUi ui;
    OddsStatusGrid grid;
    QCOMPARE(showOddsStatus(h.session, ui, grid), StepResult::Done);
    OddsStatusDialog w(grid);
    QCOMPARE(text(&w, "Label1"), QStringLiteral("2002年05月12日(日) のオッズ取得状況"));
    auto* table = child<QTableWidget>(&w, "MSFlexGrid1");
    QCOMPARE(table->columnCount(), 15);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("競馬場"));
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral(" 1R"));
    QCOMPARE(table->horizontalHeaderItem(13)->text(), QStringLiteral("12R"));
    // Course 5 has only its 馬連 row; course 6 both, 枠連 first; race 13 counts nowhere.
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("東京"));
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("馬連"));
    QCOMPARE(table->item(0, 1)->foreground().color(), QColor(0, 0, 255));
    QCOMPARE(table->item(0, 12)->text(), QStringLiteral("○"));
    QCOMPARE(table->item(0, 12)->foreground().color(), QColor(255, 0, 0));
    QCOMPARE(table->item(0, 11)->text(), QStringLiteral("×"));
    QCOMPARE(table->item(0, 11)->foreground().color(), QColor(0, 0, 0));
    QCOMPARE(table->item(1, 0)->text(), QStringLiteral("中山"));
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("枠連"));
    QCOMPARE(table->item(1, 1)->foreground().color(), QColor(255, 0, 255));
    QCOMPARE(table->item(1, 2)->text(), QStringLiteral("○"));
    QCOMPARE(table->item(2, 13)->text(), QStringLiteral("○"));
    QVERIFY(table->isVisibleTo(&w));
  }

  void noOddsLeaveOnlyTheHeader() {
    OddsStatusTables none;
    OddsStatusDialog w(oddsStatusGrid(none, "20020512"));
    QCOMPARE(child<QTableWidget>(&w, "MSFlexGrid1")->rowCount(), 0);
  }

  void pendingBetSummaryLabels() {
    TestHome h("20020526");
    writeBytes(pendingBetPath(h.session),
               sjLines({"東京,11R,馬連    ,02-05,  12.3,  1000円", "東京,11R,馬連    ,03-05,   8.0,  1000円",
                        "東京,11R,拡連   ,02-05,   3.0,   500円"}));
    RecordingUi ui;
    PendingBetSummary summary;
    QCOMPARE(SummarisePendingBets(h.session, ui, summary), StepResult::Done);
    PendingBetViewer w(summary);
    QCOMPARE(w.windowTitle(), QStringLiteral("保留ＢＥＴの内訳"));
    QCOMPARE(text(&w, "Label1"), QStringLiteral("2002年 5月 26日 の保留ＢＥＴ内訳です…"));
    QCOMPARE(text(&w, "Label2_3"), QStringLiteral("馬　連"));
    QCOMPARE(text(&w, "Label3_3"), QStringLiteral(" 2"));
    QCOMPARE(text(&w, "Label4_3"), QStringLiteral("2,000"));
    QCOMPARE(text(&w, "Label3_4"), QStringLiteral(" 1"));
    QCOMPARE(text(&w, "Label4_4"), QStringLiteral("500"));
    QCOMPARE(text(&w, "Label3_0"), QStringLiteral(" 0"));
    QCOMPARE(text(&w, "Label4_0"), QStringLiteral("0"));
    QCOMPARE(text(&w, "Label3_5"), QStringLiteral(" 3"));
    QCOMPARE(text(&w, "Label4_5"), QStringLiteral("2,500円"));
    click(&w, "Command1");
    QCOMPARE(w.result(), int(QDialog::Accepted));
  }

  void bakenjukuRecountAndOutputs() {
    TestHome h;
    writeBytes(pendingBetPath(h.session),
               sjLines({"東京, 1R,馬連    ,02-05,   9.9,  1000円", "東京, 2R,枠連    ,  3-6,   9.9,   500円",
                        "中山, 3R,馬連    ,01-02,   5.0,   300円"}));
    RecordingUi ui;
    auto sheet = openBakenjuku(h.session, ui);
    QVERIFY(sheet.has_value());
    BakenjukuExportDialog w(h.session, ui, *sheet);
    QCOMPARE(w.objectName(), QStringLiteral("frm馬券塾"));
    QCOMPARE(text(&w, "Label2_0"), QStringLiteral("3"));
    QCOMPARE(text(&w, "Label2_1"), QStringLiteral("1,800"));
    auto* editor = child<QPlainTextEdit>(&w, "RichTextBox1");
    QCOMPARE(editor->toPlainText(),
             QStringLiteral("#,20020512,東京, 1R,馬, 2- 5,  1000\n#,20020512,東京, 2R,枠, 3- 6,   500\n"
                            "#,20020512,中山, 3R,馬, 1- 2,   300"));
    // The user drops the last line: only 再計算 changes the labels.
    editor->setPlainText(QStringLiteral("#,20020512,東京, 1R,馬, 2- 5,  1000\n#,20020512,東京, 2R,枠, 3- 6,   500\n"));
    QCOMPARE(text(&w, "Label2_0"), QStringLiteral("3"));
    click(&w, "Command3");
    QCOMPARE(text(&w, "Label2_0"), QStringLiteral("2"));
    QCOMPARE(text(&w, "Label2_1"), QStringLiteral("1,500"));

    click(&w, "Check1");
    click(&w, "Command1_1");
    const fs::path file = fs::path(h.session.outPutFolder()) / "馬券塾20020512.TXT";
    const std::string title = "--- 2002年05月12日(日) の『馬券塾』投票---";
    const std::vector<std::string> lines = bakenjukuOutputLines(h.session, *sheet, false);
    const std::string signature = lines.back();
    QCOMPARE(readBytes(file), sjLines({title, "#,20020512,東京, 1R,ワ, 2- 5,  1000", "#,20020512,東京, 2R,枠, 3- 6,   500",
                                       "     《 ２ベット  1,500円購入 》", signature, "\r\n"}));
    QCOMPARE(ui.messages.back().text, "「" + file.string() + "」に出力しました！");

    click(&w, "Check1");
    click(&w, "Command1_0");
    QCOMPARE(ui.messages.back().text, std::string("「クリップボードにコピーしました！"));
    const QString clip = QGuiApplication::clipboard()->text();
    if (!clip.isEmpty()) {  // the offscreen platform may keep no clipboard
      QVERIFY(clip.startsWith(QStringLiteral("\r\n--- 2002年05月12日")));
      QVERIFY(clip.contains(QStringLiteral("東京, 1R,馬, 2- 5")));
    }
    QVERIFY(fs::exists(pendingBetPath(h.session)));
  }

  void bakenjukuWithoutPendingBets() {
    TestHome h;
    RecordingUi ui;
    QVERIFY(!openBakenjuku(h.session, ui));
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(ui.messages[0].text, std::string("保留ＢＥＴはありません！"));
  }
};

QTEST_MAIN(BetWindowsTest)
#include "bet_windows_test.moc"
