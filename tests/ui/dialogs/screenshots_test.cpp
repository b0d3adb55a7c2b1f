// Every window of the desktop program on the sample day, drawn with the
// program's own font and Qt's Japanese texts: none may clip a label, a
// button, a check box or a spin box, nor be larger than 1024×768. The test
// runs once as it is and once with QT_SCALE_FACTOR=1.5 (tests/ui/CMakeLists.txt).
//
// With TOLV_SCREENSHOT_DIR set the pictures are saved there (docs/dialogs.md
// shows them); tests/ui/window/race_day_test.cpp takes the main window, the
// grid, the listing and the extraction window along a whole day.

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "aggregate/tolv_creation.h"
#include "bets/bet_export.h"
#include "bets/bet_summary.h"
#include "ui/clipped_widgets.h"
#include "collect/extraction.h"
#include "core/pending_bet.h"
#include "odds/odds_status.h"
#include "output/pirune_output.h"
#include "output/race_day.h"
#include "support/test_support.h"
#include "ui/dialogs/bakenjuku_export_dialog.h"
#include "ui/dialogs/batch_window.h"
#include "ui/dialogs/folder_picker_dialog.h"
#include "ui/dialogs/kol_odds_converter_dialog.h"
#include "ui/dialogs/list_editor_dialog.h"
#include "ui/dialogs/odds_status_dialog.h"
#include "ui/dialogs/pad_settings_dialog.h"
#include "ui/dialogs/pending_bet_viewer.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/window/application.h"
#include "ui/window/extraction_window.h"
#include "ui/window/main_window.h"
#include "ui/window/overwrite_choice_dialog.h"
#include "ui/window/progress_window.h"
#include "ui/window/qt_user_interface.h"
#include "ui/window/wars_viewer.h"
#include "ui/window/window_test_support.h"

using namespace tolv;
using namespace tolv::testing;
using namespace tolv::ui;
using namespace tolv::ui::test;

namespace {

// The sample day with its logs read, Tolv and Pirune created, the WARS file
// written and two pending bets.
struct SampleDay : SampleHome {
  SampleDay() {
    RecordingUi ui;
    Session& day = s();
    startExtraction(day, ui, extractionFormFromSettings(day.settings));
    tolv::createTolv(day, ui);
    tolv::createPirune(day, ui);
    tolv::outputWars(day, ui);
    writeBytes(pendingBetPath(day),
               sjLines({"中山, 1R,馬連    ,04-12,   6.4,   100円", "中京,11R,拡連   ,03-07,   3.0,   500円"}));
  }
};

// Shows `w` at the size it opens with (or `size`), checks that nothing in it
// is clipped, and saves its picture as `name` when asked to (a null name:
// race_day_test.cpp takes that picture).
void check(QWidget& w, const char* name, QSize size = {}) {
  if (size.isValid()) w.resize(size);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QApplication::processEvents();
  const QString problems = fitProblems(&w);
  QVERIFY2(problems.isEmpty(), qPrintable(QString::fromUtf8(name ? name : "") + " " + w.objectName() + ": " + problems));
  const QImage image = w.grab().toImage();
  QVERIFY(!image.isNull());
  const QByteArray dir = qgetenv("TOLV_SCREENSHOT_DIR");
  if (name && !dir.isEmpty() && qgetenv("QT_SCALE_FACTOR").isEmpty()) {
    QVERIFY(image.save(QString::fromUtf8(dir) + "/" + name));
  }
}

// Checks the next modal window the same way, then closes it.
struct NextModal {
  QString problems;
  bool seen = false;
  void arm(const char* name) {
    QTimer::singleShot(0, [this, name] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      seen = true;
      check(*modal, name);
      problems = fitProblems(modal);
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        // The title as a window manager draws it, beside its buttons.
        const int titleNeeds = QFontMetrics(box->font()).horizontalAdvance(box->windowTitle()) + 48;
        if (box->width() < titleNeeds) problems += QStringLiteral(" title needs %1 px").arg(titleNeeds);
      }
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
  }
};

}  // namespace

class ScreenshotsTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { setUpApplication(*static_cast<QApplication*>(QCoreApplication::instance())); }

  void mainWindowAndItsViews() {
    SampleDay day;
    RecordingUi ui;
    MainWindow window(day.s(), *parseYmd(kSampleDay), &ui);
    window.show();
    QVERIFY(window.showListing());
    check(window, nullptr);
    QVERIFY(window.showGrid());
    check(window, nullptr);
    QVERIFY(window.showTolvWars());
    check(window, "wars-viewer.png");
    // The progress panel over the views, while a step runs.
    window.progressWindow()->begin(QStringLiteral("各ソフトの予想を集約中！…"), QColor(0, 0, 255));
    window.progressWindow()->detail(QStringLiteral("［logs/FORUM1.LOG］を検索中…!!"));
    window.progressWindow()->advance(42);
    check(window, "progress.png");
    window.progressWindow()->end();
    QVERIFY(ui.messages.empty());
  }

  void extractionWindow() {
    SampleDay day;
    RecordingUi ui;
    ExtractionWindow w(day.s(), ui, nullptr);
    check(w, nullptr);
  }

  void settingsDialogTabs() {
    SampleDay day;
    RecordingUi ui;
    SettingsDialog w(day.s(), ui);
    auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("tbsOptions"));
    QVERIFY(tabs);
    const char* names[] = {"settings-files.png", "settings-odds.png", "settings-bets.png", "settings-wars.png",
                           "settings.png"};
    for (int i = 0; i < 5; ++i) {
      tabs->setCurrentIndex(i);
      check(w, names[i]);
    }
  }

  void listEditor() {
    SampleDay day;
    RecordingUi ui;
    ListEditorDialog w(day.s(), ui);
    check(w, "list-editor-lists.png");
    w.editList(0);
    check(w, "list-editor-tolv.png");
    w.editList(1);
    w.clickCell(1, 3);
    check(w, "list-editor.png");
  }

  void batchAndPadWindows() {
    SampleDay day;
    RecordingUi ui;
    BatchWindow batch(day.s(), ui);
    QTest::mouseClick(batch.findChild<QAbstractButton*>(QStringLiteral("Option1_1")), Qt::LeftButton);
    check(batch, "batch.png");
    PadSettingsDialog pad(day.s(), ui);
    check(pad, "pad-settings.png");
  }

  void oddsWindows() {
    SampleDay day;
    RecordingUi ui;
    OddsStatusGrid grid;
    QCOMPARE(showOddsStatus(day.s(), ui, grid), StepResult::Done);
    OddsStatusDialog status(grid);
    check(status, "odds-status.png");
    KolOddsConverterDialog kol(day.s(), ui, OddsConversionSource::Kol, PatQuinellaLayout::Pat98,
                               day.home / "kol" / "J261206.LZH");
    check(kol, "kol-conversion.png");
    QLineEdit target;
    FolderPickerDialog folders(ui, &target, QString::fromStdString(day.s().appFolder()));
    check(folders, "folder-picker.png");
  }

  void pendingBetWindows() {
    SampleDay day;
    RecordingUi ui;
    PendingBetSummary summary;
    QCOMPARE(SummarisePendingBets(day.s(), ui, summary), StepResult::Done);
    PendingBetViewer viewer(summary);
    check(viewer, "bet-summary.png");
    auto sheet = openBakenjuku(day.s(), ui);
    QVERIFY(sheet);
    BakenjukuExportDialog bakenjuku(day.s(), ui, *sheet);
    check(bakenjuku, "bakenjuku.png");
    OverwriteChoiceDialog overwrite(
        QStringLiteral("\n　ベット数［２］、購入金額［６００円］の保留ＢＥＴを出力します。\n\n　既存の保留ＢＥＴファイルをどうしますか？"));
    check(overwrite, "confirm-overwrite.png");
  }

  void messageBoxesAndQtsOwnDialogs() {
    // A message box is wide enough for its whole title.
    QWidget owner;
    QtUserInterface qui(&owner, nullptr);
    NextModal next;
    next.arm("message-box.png");
    qui.inform("開催場所が把握出来なかったため一括処理を中止しました！", "【トルブ】一括処理エラー", Icon::Critical);
    QVERIFY(next.seen);
    QVERIFY2(next.problems.isEmpty(), qPrintable(next.problems));
    NextModal short_;
    short_.arm(nullptr);
    qui.inform("OK", "【トルブ】WARS形式出力エラー", Icon::Exclamation);
    QVERIFY2(short_.problems.isEmpty(), qPrintable(short_.problems));

    // Qt's own file chooser, in Japanese.
    SampleDay day;
    QFileDialog chooser(nullptr, QStringLiteral("開く"), QString::fromStdString((day.home / "logs").string()));
    chooser.setOption(QFileDialog::DontUseNativeDialog, true);
    chooser.setNameFilters({QStringLiteral("すべてのファイル (*.*)"), QStringLiteral("テキスト ファイル (*.TXT)"),
                            QStringLiteral("ログ ファイル (*.LOG)")});
    chooser.selectNameFilter(QStringLiteral("ログ ファイル (*.LOG)"));
    check(chooser, "file-chooser.png", QSize(760, 440));
  }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_test.moc"
