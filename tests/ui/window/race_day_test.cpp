// A whole race day through the windows, as a user drives it: the date in the
// execution menu, the logs read in the extraction window, "トルブ作成" and its
// listing, the grid with quinella-place odds and selected rows sent to the
// pending bets (追加), the WARS file with its hit marks. The files written are
// compared with the sample day's expected files and with the same steps run
// through the core functions.
//
// With TOLV_SCREENSHOTS=DIR set, the run also saves the screenshots of the
// README into DIR.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "collect/extraction.h"
#include "core/cp932.h"
#include "core/profile.h"
#include "output/race_day.h"
#include "output/result_grid.h"
#include "support/test_support.h"
#include "ui/window/extraction_window.h"
#include "ui/window/execution_menu.h"
#include "ui/window/result_grid_window.h"
#include "ui/window/listing_viewer.h"
#include "ui/window/wars_viewer.h"
#include "ui/window/main_window.h"
#include "ui/window/text_viewer.h"
#include "ui/window/window_test_support.h"

using namespace tolv;
using namespace tolv::testing;
using namespace tolv::ui;

namespace {

void clickCell(QTableView* table, int row, int column) {
  const QRect r = table->visualRect(table->model()->index(row, column));
  QVERIFY(r.isValid());
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, r.center());
}

void clickRowHeader(QTableView* table, int row) {
  QHeaderView* header = table->verticalHeader();
  const int y = header->sectionViewportPosition(row) + header->sectionSize(row) / 2;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->width() / 2, y));
}

std::string fileText(const fs::path& p) {
  std::string t = fromCp932(readBytes(p));
  std::string out;
  for (char c : t) {
    if (c != '\r') out += c;
  }
  return out;
}

void saveShot(QWidget* w, const char* name) {
  const QByteArray dir = qgetenv("TOLV_SCREENSHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(QString::fromLocal8Bit(dir));
  QVERIFY(w->grab().save(QString::fromLocal8Bit(dir) + "/" + name));
}

int lineCount(const std::string& bytes) {
  int n = 0;
  for (char c : bytes) n += c == '\n';
  return n;
}

}  // namespace

class RaceDayTest : public QObject {
  Q_OBJECT
 private slots:
  void wholeDayThroughTheWindows();
  void listingShownWhenTheOddsImportStops();
};

void RaceDayTest::wholeDayThroughTheWindows() {
  // The program's own font when taking the screenshots.
  if (!qgetenv("TOLV_SCREENSHOTS").isEmpty()) QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
  SampleHome sample;
  QVERIFY(sample.session);
  Session& s = sample.s();
  s.setMeetingDate("20020101");  // the user sets the day in the menu
  RecordingUi ui;
  MainWindow window(s, *parseYmd(kSampleDay), &ui);
  window.resize(1200, 800);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const QString version = window.statusPanel(1)->text();
  QVERIFY2(version == QStringLiteral("【トルブ】for Win Ver4.16.1") ||
               version.startsWith(QStringLiteral("【トルブ】for Win Ver4.16.1 (git ")),
           qPrintable(version));
  QCOMPARE(window.statusPanel(3)->text(), QStringLiteral("2026年12月06日(日)"));

  // The day, typed into the execution menu.
  ExecutionMenu* menu = window.executionMenu();
  typeInto(menu->yearBox()->edit(), "2026");
  typeInto(menu->monthBox()->edit(), "12");
  typeInto(menu->dayBox()->edit(), "6");
  QCOMPARE(menu->weekdayLabel()->text(), QStringLiteral("日"));

  // ログ読込み: the extraction window, filled from TOLV.INI.
  click(menu, "cmdLogRead");
  QPointer<ExtractionWindow> extraction = window.extractionWindow();
  QVERIFY(extraction);
  QCOMPARE(s.meetingDate(), std::string(kSampleDay));
  QCOMPARE(extraction->logPath(1)->text(), QStringLiteral("logs/FH%M1%D1.LOG"));
  QVERIFY(extraction->logCheck(2)->isChecked());
  QVERIFY(!extraction->cutName()->isEnabled());  // style 0: the name box is off
  saveShot(extraction, "extraction.png");
  click(extraction, "Command3");
  QVERIFY2(ui.messages.empty(), ui.messages.empty() ? "" : ui.messages.front().text.c_str());
  if (extraction) QVERIFY(extraction->postsFound() > 0);
  QTRY_VERIFY(!extraction);  // closed after reading
  const fs::path expected = sampleDayDir() / "expected";
  QVERIFY(readBytes(s.cutIndexPath()) == readBytes(expected / "20261206.DAT"));
  QVERIFY(readBytes(sample.home / "OutPut" / "WARS20261206.TXT") == readBytes(expected / "WARS20261206.TXT"));

  // トルブ作成: the listing of the first meeting in the text viewer.
  click(menu, "cmdTolv");
  QVERIFY2(ui.messages.empty(), ui.messages.empty() ? "" : ui.messages.front().text.c_str());
  ListingViewer* listing = window.listingView();
  QVERIFY(listing && listing->isVisible());
  QCOMPARE(window.activeView(), static_cast<QWidget*>(listing));
  const fs::path listing06 = sample.home / "OutPut" / "W20261206_06.TXT";
  QCOMPARE(fs::path(listing->shownPath()).filename(), listing06.filename());
  QCOMPARE(listing->text()->toPlainText().toStdString(), fileText(listing06));
  QVERIFY(listing->courseButton(6)->isEnabled() && listing->courseButton(7)->isEnabled() &&
          listing->courseButton(9)->isEnabled());
  QVERIFY(!listing->courseButton(5)->isEnabled());
  click(listing, "Command1_9");
  QCOMPARE(listing->text()->toPlainText().toStdString(), fileText(sample.home / "OutPut" / "W20261206_09.TXT"));
  for (const char* name : {"W20261206_06.DAT", "W20261206_07.DAT", "W20261206_09.DAT"}) {
    QVERIFY2(readBytes(sample.home / "DATA" / name) == readBytes(expected / "tolv" / name), name);
  }
  saveShot(&window, "listing.png");

  // The grid: first meeting in quinella mode; the second meeting by its button.
  trigger(&window, "mnuTolvItiran");
  ResultGridWindow* grid = window.gridView();
  QVERIFY(grid && grid->isVisible());
  QVERIFY(!listing->isVisible());
  QCOMPARE(grid->grid()->courseCode, std::string("06"));
  QTableView* table = grid->table();
  QCOMPARE(table->model()->columnCount(), 67);
  QCOMPARE(table->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("ODDS"));
  QCOMPARE(grid->selectAllButton()->text(), QStringLiteral("中山"));
  click(grid, "Command1_7");
  QCOMPARE(grid->grid()->courseCode, std::string("07"));
  clickCell(table, 0, 0);
  clickCell(table, 2, 5);
  QVERIFY(grid->grid()->isSelected(1) && grid->grid()->isSelected(3) && !grid->grid()->isSelected(2));
  click(grid, "sCommand2");
  QCOMPARE(ui.messages.size(), std::size_t(1));
  QCOMPARE(ui.messages[0].text, std::string("ベット数［２BET］、購入金額［４００円］の保留ＢＥＴを出力しました。"));

  // ワイドオッズ while the second meeting is shown: the first meeting, quinella-place.
  click(grid, "Command3_0");
  QCOMPARE(grid->grid()->courseCode, std::string("06"));
  QCOMPARE(grid->grid()->mode, GridMode::QuinellaPlace);
  QCOMPARE(table->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("ワイド"));
  QVERIFY(grid->restoreButton()->isVisible() && !grid->wideButton()->isVisible());
  clickRowHeader(table, 0);
  clickCell(table, 1, 0);
  clickCell(table, 4, 10);
  clickCell(table, 4, 10);  // a second click takes the row back
  QVERIFY(grid->grid()->isSelected(1) && grid->grid()->isSelected(2) && !grid->grid()->isSelected(5));
  saveShot(&window, "main-window.png");
  saveShot(grid, "grid.png");
  ui.answers = {Answer::Append};
  click(grid, "sCommand2");
  QCOMPARE(ui.questions.size(), std::size_t(1));
  QCOMPARE(ui.questions[0].title, std::string("保留ＢＥＴへの出力確認！"));
  QVERIFY(ui.questions[0].text.find("ベット数［２］、購入金額［２００円］") != std::string::npos);
  const fs::path bets = sample.home / "DATA" / "~B20261206.TXT";
  const std::string betBytes = readBytes(bets);
  QCOMPARE(lineCount(betBytes), 4);

  // The same picks sent through the core functions give the same file.
  {
    SampleHome core;
    RecordingUi coreUi;
    QCOMPARE(startExtraction(core.s(), coreUi, extractionFormFromSettings(core.s().settings)), StepResult::Done);
    QCOMPARE(tolv::createTolv(core.s(), coreUi), StepResult::Done);
    auto quinella = buildResultGrid(core.s(), "07", GridMode::Quinella);
    QVERIFY(quinella);
    quinella->toggleRow(1);
    quinella->toggleRow(3);
    QCOMPARE(SendGridSelection(core.s(), coreUi, *quinella), StepResult::Done);
    auto wide = buildResultGrid(core.s(), "06", GridMode::QuinellaPlace);
    QVERIFY(wide);
    wide->toggleRow(1);
    wide->toggleRow(2);
    coreUi.answers = {Answer::Append};
    QCOMPARE(SendGridSelection(core.s(), coreUi, *wide), StepResult::Done);
    QVERIFY(readBytes(core.home / "DATA" / "~B20261206.TXT") == betBytes);
  }

  // WARS形式出力 opens the WARS file; after 的中判定 it shows the hit marks.
  click(menu, "cmdWars");
  WarsViewer* viewer = window.fileView();
  QVERIFY(viewer && viewer->isVisible());
  QVERIFY(!grid->isVisible());
  QCOMPARE(viewer->statusLabel()->text(), QStringLiteral("トルブWARS形式を表示中…"));
  QVERIFY(viewer->pathLabel()->text().endsWith(QStringLiteral("Tolv_WARS20261206_7777.TXT")));
  QVERIFY(!viewer->text()->toPlainText().contains(QStringLiteral("的中！")));
  click(menu, "cmdTekityu");
  QVERIFY(fs::exists(sample.home / "DATA" / "Sei20261206.DAT"));
  trigger(&window, "mnuTolvWarsVew");
  QVERIFY(viewer->pathLabel()->text().endsWith(QStringLiteral("Tolv_WARS20261206_7777.TXTS")));
  const QString shown = viewer->text()->toPlainText();
  QVERIFY(shown.contains(QStringLiteral("的中！")));
  QCOMPARE(shown.toStdString(), fileText(sample.home / "OutPut" / "Tolv_WARS20261206_7777.TXTS"));
  QVERIFY(viewer->sendButton()->isEnabled());

  // The grid now marks the hits: payout on magenta in the odds column.
  trigger(&window, "mnuTolvItiran");
  int hitRow = -1;
  for (int r = 1; r <= grid->grid()->pickCount() && hitRow < 0; ++r) {
    if (grid->grid()->rows[static_cast<std::size_t>(r)][2].back == kGridMagenta) hitRow = r;
  }
  QVERIFY(hitRow > 0);
  // The race label of a hit row: white on red in the row header.
  QCOMPARE(table->model()->headerData(hitRow - 1, Qt::Vertical, Qt::BackgroundRole).value<QBrush>().color(),
           QColor(Qt::red));
  QCOMPARE(table->model()->data(table->model()->index(hitRow - 1, 1), Qt::BackgroundRole).value<QBrush>().color(),
           QColor(Qt::magenta));

  // Closing the window empties the program's unpack folder (the user's own
  // files in Work/ stay) and keeps the ranges in TOLV.INI.
  writeBytes(sample.home / "Work" / "tolv-unpack" / "scratch.tmp", "x");
  writeBytes(sample.home / "Work" / "mine.txt", "x");
  typeInto(menu->oddsMinBox()->edit(), "7");
  window.close();
  QVERIFY(!fs::exists(sample.home / "Work" / "tolv-unpack"));
  QVERIFY(fs::exists(sample.home / "Work" / "mine.txt"));
  QVERIFY(fromCp932(readBytes(sample.home / "TOLV.INI")).find("MIN=7") != std::string::npos);
}

// トルブ作成 with TARGET CSV odds and no CSV file: the odds import shows its
// message, the listing is written and shown all the same.
void RaceDayTest::listingShownWhenTheOddsImportStops() {
  SampleHome sample;
  QVERIFY(sample.session);
  Session& s = sample.s();
  QVERIFY(writeProfileString(sample.home / "TOLV.INI", "ODDS", "PAT", "3"));
  s.settings.oddsSource.assign(1, '3');  // as loaded from TOLV.INI
  RecordingUi ui;
  QCOMPARE(startExtraction(s, ui, extractionFormFromSettings(s.settings)), StepResult::Done);
  MainWindow window(s, *parseYmd(kSampleDay), &ui);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  trigger(&window, "mnuTolv");
  QCOMPARE(ui.messages.size(), std::size_t(1));
  QCOMPARE(QString::fromStdString(ui.messages[0].text), QStringLiteral("「Target」用ＣＳＶ形式オッズファイルが見つかりません！"));
  ListingViewer* listing = window.listingView();
  QVERIFY(listing && listing->isVisible());
  QCOMPARE(fs::path(listing->shownPath()).filename(), fs::path("W20261206_06.TXT"));
}

QTEST_MAIN(RaceDayTest)
#include "race_day_test.moc"
