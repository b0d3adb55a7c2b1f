// The main window, execution menu, extraction window, grid and viewers on
// their edge cases: missing files, wrong odds source, nothing selected, the
// date boxes, the view menu and resizing, the enabling rules and messages of
// the extraction window, the message boxes and the percentage bar.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QProcess>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "collect/extraction.h"
#include "core/cp932.h"
#include "core/startup.h"
#include "output/race_day.h"
#include "support/test_support.h"
#include "ui/common/qt_text.h"
#include "ui/window/overwrite_choice_dialog.h"
#include "ui/window/extraction_window.h"
#include "ui/window/execution_menu.h"
#include "ui/window/progress_window.h"
#include "ui/window/result_grid_window.h"
#include "ui/window/wars_viewer.h"
#include "ui/window/main_window.h"
#include "ui/window/qt_user_interface.h"
#include "ui/window/text_viewer.h"
#include "ui/window/window_test_support.h"

using namespace tolv;
using namespace tolv::testing;
using namespace tolv::ui;

namespace {

// Answers the next modal window with the button captioned `caption`, noting
// the box's title and text.
struct ModalAnswer {
  QString title, text;
  QStringList buttons;
  void arm(const QString& caption) {
    QTimer::singleShot(0, [this, caption] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      title = modal->windowTitle();
      if (auto* box = qobject_cast<QMessageBox*>(modal)) text = box->text();
      for (auto* b : modal->findChildren<QPushButton*>()) {
        buttons << b->text();
      }
      for (auto* b : modal->findChildren<QPushButton*>()) {
        if (b->text() == caption) {
          b->click();
          return;
        }
      }
    });
  }
};

}  // namespace

class WindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void warsOutputWithoutTolvFilesShowsItsError();
  void hitsWithTargetCsvOddsShowTheNotice();
  void sendingWithoutSelectionWritesNothing();
  void gridAndViewersWithoutFiles();
  void dateBoxesAndWeekdayColours();
  void viewMenuDoubleClickAndResize();
  void piruneCreationShowsItsListing();
  void extractionWindowRulesAndMessages();
  void extractionStartsByItselfInABatch();
  void fileViewerSavesCopiesAndSends();
  void gridModelWithThousandsOfRows();
  void messageBoxesAndConfirmation();
  void percentBarDrawsInverted();
  void secondInstanceEndsAtOnce();
  void trackRecordWithoutHistoryTellsHowToImport();
};

void WindowsTest::warsOutputWithoutTolvFilesShowsItsError() {
  EmptyHome empty;
  RecordingUi ui;
  MainWindow window(empty.s(), *parseYmd("20020512"), &ui);
  window.show();
  click(window.executionMenu(), "cmdWars");
  QCOMPARE(ui.messages.size(), std::size_t(1));
  QCOMPARE(ui.messages[0].text, std::string("「トルブ」ファイルが見つかりません！\r\n先に［トルブ作成］を実行してください…"));
  QCOMPARE(ui.messages[0].title, std::string("【トルブ】WARS形式出力エラー"));
  QCOMPARE(ui.messages[0].icon, Icon::Critical);
  QVERIFY(fs::is_empty(empty.home / "OutPut"));
  QVERIFY(!window.activeView());
}

void WindowsTest::hitsWithTargetCsvOddsShowTheNotice() {
  SampleHome sample;
  prepareSampleDay(sample);
  sample.s().settings.oddsSource = "3";
  const std::string before = readBytes(sample.home / "DATA" / "W20261206_06.DAT");
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.show();
  click(window.executionMenu(), "cmdTekityu");
  QCOMPARE(ui.messages.size(), std::size_t(1));
  QCOMPARE(ui.messages[0].text, std::string("的中判定は「PAT98」および「PAT95」のみ対応しています。\r\n"
                                            "他の形式の成績は「PAT」形式に変換してからご利用ください。\r\n"));
  QVERIFY(!fs::exists(sample.home / "DATA" / "Sei20261206.DAT"));
  QVERIFY(readBytes(sample.home / "DATA" / "W20261206_06.DAT") == before);
}

void WindowsTest::sendingWithoutSelectionWritesNothing() {
  SampleHome sample;
  prepareSampleDay(sample);
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.show();
  trigger(&window, "mnuTolvItiran");
  ResultGridWindow* grid = window.gridView();
  QVERIFY(grid && grid->isVisible());
  // Everything selected and unselected again with the corner button.
  click(grid->table(), "Command2");
  QVERIFY(grid->grid()->isSelected(1) && grid->grid()->isSelected(grid->grid()->pickCount()));
  click(grid->table(), "Command2");
  QVERIFY(!grid->grid()->isSelected(1));
  click(grid, "sCommand2");
  QCOMPARE(ui.messages.size(), std::size_t(1));
  QCOMPARE(ui.messages[0].text, std::string("買い目が選択されていません！"));
  QVERIFY(!fs::exists(sample.home / "DATA" / "~B20261206.TXT"));
}

void WindowsTest::gridAndViewersWithoutFiles() {
  EmptyHome empty;
  RecordingUi ui;
  MainWindow window(empty.s(), *parseYmd("20020512"), &ui);
  window.show();
  trigger(&window, "mnuTolvItiran");
  QCOMPARE(ui.messages.back().text, std::string("指定された日付のデータファイルが見つかりません！"));
  QVERIFY(!window.gridView());
  // The listing viewer opens empty; a missing WARS file leaves it in place.
  trigger(&window, "mnuTolvTXT");
  QVERIFY(window.listingView() && window.listingView()->isVisible());
  QVERIFY(window.listingView()->text()->toPlainText().isEmpty());
  trigger(&window, "mnuTolvWarsVew");
  const std::string& missing = ui.messages.back().text;
  QVERIFY(missing.rfind("指定された「", 0) == 0);
  QVERIFY2(missing.ends_with("」は存在しません！ ") && missing.find("/OutPut/Tolv_WARS20020512") != std::string::npos,
           missing.c_str());
  QVERIFY(window.listingView()->isVisible());
  QVERIFY(!window.fileView() || !window.fileView()->isVisible());
  trigger(&window, "mnuHoBetEdit");
  QCOMPARE(ui.messages.back().text, std::string("指定された日付の「保留ＢＥＴ」ファイルは存在しません！"));
}

void WindowsTest::dateBoxesAndWeekdayColours() {
  EmptyHome empty;
  RecordingUi ui;
  MainWindow window(empty.s(), *parseYmd("20020512"), &ui);
  window.show();
  ExecutionMenu* menu = window.executionMenu();
  QCOMPARE(menu->yearBox()->text(), QStringLiteral("2002"));
  QCOMPARE(menu->dayBox()->text(), QStringLiteral("12"));

  // Month "5" typed: the step processes yyyy05dd.
  typeInto(menu->monthBox()->edit(), "5");
  typeInto(menu->dayBox()->edit(), "7");
  click(menu, "cmdTolv");
  QCOMPARE(empty.s().meetingDate(), std::string("20020507"));
  QCOMPARE(ui.messages.back().text, std::string("『ログの読み込み』が実行されていません！"));

  // The day's arrows: Friday 2026-12-04, then Saturday (blue), Sunday (red), Monday.
  typeInto(menu->yearBox()->edit(), "2026");
  typeInto(menu->monthBox()->edit(), "12");
  typeInto(menu->dayBox()->edit(), "4");
  QCOMPARE(menu->weekdayLabel()->text(), QStringLiteral("金"));
  QTest::mouseClick(menu->dayBox()->upButton(), Qt::LeftButton);
  QCOMPARE(empty.s().meetingDate(), std::string("20261205"));
  QCOMPARE(menu->weekdayLabel()->text(), QStringLiteral("土"));
  QVERIFY(menu->weekdayLabel()->styleSheet().contains("blue"));
  QTest::mouseClick(menu->dayBox()->upButton(), Qt::LeftButton);
  QCOMPARE(menu->weekdayLabel()->text(), QStringLiteral("日"));
  QVERIFY(menu->weekdayLabel()->styleSheet().contains("red"));
  QTest::mouseClick(menu->dayBox()->upButton(), Qt::LeftButton);
  QCOMPARE(empty.s().meetingDate(), std::string("20261207"));
  QVERIFY(menu->weekdayLabel()->styleSheet().contains("black"));
  // The arrows never leave 1-31.
  typeInto(menu->dayBox()->edit(), "31");
  QTest::mouseClick(menu->dayBox()->upButton(), Qt::LeftButton);
  QCOMPARE(menu->dayBox()->text(), QStringLiteral("31"));

  // The ranges are what the steps take.
  typeInto(menu->oddsMinBox()->edit(), " 2.5 ");
  QTest::mouseClick(menu->dupMaxBox()->downButton(), Qt::LeftButton);
  QVERIFY(menu->prepare());
  QCOMPARE(empty.s().settings.oddsMin, std::string("2.5"));
  QCOMPARE(empty.s().settings.maxW, std::to_string(std::stol(fromQ(menu->dupMaxBox()->text()))));

  // A day that does not exist is refused before any step runs.
  typeInto(menu->monthBox()->edit(), "2");
  typeInto(menu->dayBox()->edit(), "30");
  QCOMPARE(menu->weekdayLabel()->text(), QStringLiteral("？"));
  const std::string before = empty.s().meetingDate();
  click(menu, "cmdWars");
  QCOMPARE(ui.messages.back().text, std::string("開催日「2026年2月30日」は正しい日付ではありません！"));
  QCOMPARE(empty.s().meetingDate(), before);
  click(menu, "cmdOddsItiran");
  QCOMPARE(ui.messages.back().text, std::string("処理日付が特定できません！　作者までご連絡ください<m(__)m>。"));
}

void WindowsTest::viewMenuDoubleClickAndResize() {
  SampleHome sample;
  prepareSampleDay(sample);
  {
    RecordingUi ui;
    QCOMPARE(tolv::outputWars(sample.s(), ui), StepResult::Done);
  }
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.resize(1000, 700);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  // The right button offers the five view commands.
  QWidget* client = window.clientArea();
  QTest::mouseClick(client, Qt::RightButton, {}, QPoint(client->width() - 20, client->height() - 20));
  QMenu* menu = window.viewMenu();
  QTRY_VERIFY(menu->isVisible());
  QStringList names;
  for (QAction* a : menu->actions()) {
    if (!a->isSeparator()) names << a->objectName();
  }
  QCOMPARE(names, QStringList({"mnuTolvItiran", "mnuTolvTXT", "mnuTolvWarsVew", "mnuPiruTXT", "mnuPiruWarsVew"}));
  menu->hide();

  // A double click on the empty area opens the listing.
  QTest::mouseDClick(client, Qt::LeftButton, {}, QPoint(client->width() - 20, client->height() - 20));
  QVERIFY(window.listingView() && window.listingView()->isVisible());

  // The WARS viewer follows the main window's size; the progress window stays hidden.
  trigger(&window, "mnuTolvWarsVew");
  WarsViewer* viewer = window.fileView();
  QVERIFY(viewer && viewer->isVisible() && !window.listingView()->isVisible());
  window.resize(1300, 900);
  QTRY_COMPARE(client->width() > 1200, true);
  QTRY_COMPARE(viewer->geometry(),
               QRect(ExecutionMenu::kWidth, 0, client->width() - ExecutionMenu::kWidth, client->height()));
  QCOMPARE(window.executionMenu()->height(), client->height());
  QVERIFY(!window.progressWindow()->isVisible());
  QCOMPARE(window.progressWindow()->geometry().bottom(), client->height() - 1);
}

void WindowsTest::piruneCreationShowsItsListing() {
  SampleHome sample;
  prepareSampleDay(sample);
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.show();
  // The forum-odds conversion is offered whatever the odds source (here PAT98).
  QVERIFY(window.findChild<QAction*>("mnuWarsOdds")->isEnabled());
  trigger(&window, "mnuPirune");
  QVERIFY2(ui.messages.empty(), ui.messages.empty() ? "" : ui.messages.front().text.c_str());
  WarsViewer* viewer = window.fileView();
  QVERIFY(viewer && viewer->isVisible());
  QCOMPARE(viewer->statusLabel()->text(), QStringLiteral("ぴるねテキスト形式を表示中…"));
  QVERIFY(viewer->pathLabel()->text().endsWith(QStringLiteral("HT20261206.txt")));
  QVERIFY(!viewer->sendButton()->isEnabled());
  QVERIFY(readBytes(sample.home / "OutPut" / "HT20261206.txt") ==
          readBytes(sampleDayDir() / "expected" / "pirune" / "HT20261206.txt"));
  trigger(&window, "mnuPiruWarsVew");
  QCOMPARE(viewer->statusLabel()->text(), QStringLiteral("ぴるねWARS形式を表示中…"));
  QVERIFY(viewer->sendButton()->isEnabled());
}

void WindowsTest::extractionWindowRulesAndMessages() {
  SampleHome sample;
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.show();
  click(window.executionMenu(), "cmdLogRead");
  ExtractionWindow* k = window.extractionWindow();
  QVERIFY(k);

  // Ticks and the cut-file choice switch the boxes on and off.
  QTest::mouseClick(k->logCheck(1), Qt::LeftButton);
  QVERIFY(!k->logPath(1)->isEnabled() && !k->logBrowse(1)->isEnabled());
  k->styleOption(2)->click();
  QVERIFY(!k->cutFolder()->isEnabled() && !k->cutName()->isEnabled());
  k->styleOption(1)->click();
  QVERIFY(k->cutFolder()->isEnabled() && k->cutName()->isEnabled());
  k->styleOption(0)->click();
  QVERIFY(k->cutFolder()->isEnabled() && !k->cutName()->isEnabled());

  // The choosers fill the boxes; a cancelled folder browser keeps the text.
  k->chooseLog = [](QWidget*, const QString&) { return QStringLiteral("logs/FORUM3.LOG"); };
  k->chooseFolder = [](QWidget*, const QString&) { return QString(); };
  QTest::mouseClick(k->logBrowse(0), Qt::LeftButton);
  QCOMPARE(k->logPath(0)->text(), QStringLiteral("logs/FORUM3.LOG"));
  QTest::mouseClick(k->cutFolderButton(), Qt::LeftButton);
  QCOMPARE(k->cutFolder()->text(), QStringLiteral("OutPut/"));

  // A missing cut folder: its message, nothing read, the folder button in focus.
  typeInto(k->cutFolder(), "nowhere/");
  QTest::mouseClick(k->startButton(), Qt::LeftButton);
  // The second line names the folder looked for.
  QCOMPARE(ui.messages.back().text, "切り出しファイル格納フォルダが見つかりません。再度設定してください！\r\n" +
                                        sample.s().resolvePath("nowhere/").string());
  QVERIFY(QString::fromStdString(ui.messages.back().text).contains(QStringLiteral("/nowhere")));
  QVERIFY(window.extractionWindow());
  QCOMPARE(k->focusWidget(), static_cast<QWidget*>(k->cutFolderButton()));
  QVERIFY(!fs::exists(sample.s().cutIndexPath()));

  // Style 1 without a name.
  typeInto(k->cutFolder(), "OutPut/");
  k->styleOption(1)->click();
  typeInto(k->cutName(), "  ");
  QTest::mouseClick(k->startButton(), Qt::LeftButton);
  QCOMPARE(ui.messages.back().text, std::string("切り出しファイル名がオリジナルに設定されていますが、\r\nファイル名の記載がありません！"
                                                "\r\n\r\n    再度設定してください！"));
  QCOMPARE(k->focusWidget(), static_cast<QWidget*>(k->cutName()));

  // A ticked log that does not exist.
  k->styleOption(2)->click();
  QTest::mouseClick(k->logCheck(1), Qt::LeftButton);
  typeInto(k->logPath(1), "logs/NONE%D1.LOG");
  QTest::mouseClick(k->startButton(), Qt::LeftButton);
  QCOMPARE(ui.messages.back().text, "予想ファイル（2）が存在しません！\r\n" + (sample.home / "logs/NONE06.LOG").string() +
                                        "\r\n再度設定してください。\r\n");
  QCOMPARE(k->focusWidget(), static_cast<QWidget*>(k->logBrowse(1)));

  // Nothing ticked: the first log is read; style 2 writes no cut file.
  for (int n = 0; n < 3; ++n) k->logCheck(n)->setChecked(false);
  const std::size_t before = ui.messages.size();
  QPointer<ExtractionWindow> guard = k;
  QTest::mouseClick(k->startButton(), Qt::LeftButton);
  QCOMPARE(ui.messages.size(), before);
  QTRY_VERIFY(!guard);
  QVERIFY(fs::file_size(sample.s().cutIndexPath()) > 0);
  QVERIFY(!fs::exists(sample.home / "OutPut" / "WARS20261206.TXT"));
  const std::string ini = fromCp932(readBytes(sample.home / "TOLV.INI"));
  QVERIFY(ini.find("LogFflag1=True") != std::string::npos);
  QVERIFY(ini.find("LogFile1=logs/FORUM3.LOG") != std::string::npos);
  QVERIFY(ini.find("CutFileSty=2") != std::string::npos);
}

void WindowsTest::extractionStartsByItselfInABatch() {
  SampleHome sample;
  sample.s().batchRunning = 1;
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.show();
  ExtractionWindow* k = window.openExtraction();
  QVERIFY(k);
  QVERIFY(ui.messages.empty());
  QVERIFY(fs::file_size(sample.s().cutIndexPath()) > 0);
  QVERIFY(k->postsFound() > 0);
  QCOMPARE(k->countLabel()->text(), QString::number(k->postsFound()));
  // It stays open while the batch runs.
  QCoreApplication::processEvents();
  QVERIFY(window.extractionWindow() && k->isVisible());
}

void WindowsTest::fileViewerSavesCopiesAndSends() {
  SampleHome sample;
  prepareSampleDay(sample);
  const fs::path bets = sample.home / "DATA" / "~B20261206.TXT";
  const std::string original = sjLines({"中山, 1R,馬連  ,04-12,  12.3,   200円", "阪神,11R,ワイド,01-05,   3.4,   100円"});
  writeBytes(bets, original);
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.show();
  trigger(&window, "mnuHoBetEdit");
  WarsViewer* viewer = window.fileView();
  QVERIFY(viewer && viewer->isVisible());
  QCOMPARE(viewer->statusLabel()->text(), QStringLiteral("保留ＢＥＴを表示中…"));
  QVERIFY(!viewer->sendButton()->isEnabled());

  // Saved unchanged, the file keeps its bytes; an edit is saved in CP932.
  click(viewer, "sCommand3");
  QCOMPARE(ui.messages.back().text, std::string("セーブしました！"));
  QVERIFY(readBytes(bets) == original);
  viewer->text()->moveCursor(QTextCursor::End);
  viewer->text()->textCursor().insertText(QStringLiteral("京都, 2R,枠連  ,  3-6,      ,   100円"));
  click(viewer, "sCommand3");
  QVERIFY(readBytes(bets) == original + sj("京都, 2R,枠連  ,  3-6,      ,   100円"));

  // A character Shift-JIS lacks: the user is asked first; キャンセル saves nothing.
  const std::string edited = readBytes(bets);
  viewer->text()->textCursor().insertText(QString::fromUtf8("\xF0\x9F\x98\x80"));
  const std::size_t messages = ui.messages.size();
  ui.answers = {Answer::Cancel};
  click(viewer, "sCommand3");
  QCOMPARE(ui.questions.size(), std::size_t(1));
  QCOMPARE(ui.messages.size(), messages);
  QVERIFY(readBytes(bets) == edited);
  QTextCursor cursor = viewer->text()->textCursor();
  cursor.movePosition(QTextCursor::End);
  cursor.deletePreviousChar();

  // A file that cannot be written: its message, nothing else changes.
  viewer->pathLabel()->setText(toQ((sample.home / "DATA").string()));
  click(viewer, "sCommand3");
  QCOMPARE(ui.messages.back().text, std::string("保存に失敗しました(ﾟﾟ;) アｾアｾ"));
  QVERIFY(fs::is_directory(sample.home / "DATA"));

  click(viewer, "sCommand2");
  QCOMPARE(ui.messages.back().text, std::string("「クリップボードにコピーしました！"));
  QCOMPARE(QGuiApplication::clipboard()->text(), toQ(fromCp932(readBytes(bets))));

  // The WARS file's picks go to the pending bets (追加 to the file above).
  {
    RecordingUi coreUi;
    QCOMPARE(tolv::outputWars(sample.s(), coreUi), StepResult::Done);
  }
  trigger(&window, "mnuTolvWarsVew");
  QVERIFY(viewer->sendButton()->isEnabled());
  ui.answers = {Answer::Append};
  const std::size_t before = readBytes(bets).size();
  click(viewer, "sCommand4");
  QCOMPARE(ui.questions.back().title, std::string("保留ＢＥＴへの出力確認！"));
  QCOMPARE(ui.questions.size(), std::size_t(2));
  QVERIFY(readBytes(bets).size() > before);
  QVERIFY(readBytes(bets).rfind(original, 0) == 0);
}

void WindowsTest::gridModelWithThousandsOfRows() {
  ResultGrid g;
  g.courseName = "東京";
  g.rows.assign(1, std::vector<GridCell>(kGridColumns));
  for (int i = 0; i < 6000; ++i) {
    std::vector<GridCell> row(kGridColumns);
    row[1] = {"01-02", kGridWhite, kGridRed};
    g.rows.push_back(row);
    g.records.emplace_back();
  }
  g.rows.emplace_back(kGridColumns);
  ResultGridModel model;
  model.setGrid(std::move(g));
  QCOMPARE(model.rowCount(), 6001);
  QCOMPARE(model.columnCount(), 67);
  model.toggleRow(5999);
  QCOMPARE(model.data(model.index(5998, 0), Qt::BackgroundRole).value<QBrush>().color(), QColor(0, 255, 255));
  QTableView view;
  view.setModel(&model);
  view.resize(600, 400);
  view.show();
  view.scrollToBottom();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  // The column widths: race 500, pick and odds 700, votes 450 twips.
  QCOMPARE(gridColumnWidth(0), 33);
  QCOMPARE(gridColumnWidth(1), 46);
  QCOMPARE(gridColumnWidth(3), 30);
  QCOMPARE(gridColour(kGridBlue), QColor(0, 0, 255));
}

void WindowsTest::messageBoxesAndConfirmation() {
  QWidget parent;
  ProgressWindow progress(&parent);
  QtUserInterface ui(&parent, &progress);

  ModalAnswer answer;
  answer.arm(QStringLiteral("いいえ"));
  QCOMPARE(ui.ask("消しますか？\r\nよろしいですか", "確認", Buttons::YesNo, Answer::Yes), Answer::No);
  QCOMPARE(answer.title, QStringLiteral("確認"));
  QCOMPARE(answer.text, QStringLiteral("消しますか？\nよろしいですか"));
  QCOMPARE(answer.buttons, QStringList({"はい", "いいえ"}));

  ModalAnswer cancel;
  cancel.arm(QStringLiteral("キャンセル"));
  QCOMPARE(ui.ask("続けますか？", "行数チェック", Buttons::OkCancel, Answer::Ok), Answer::Cancel);

  ModalAnswer choice;
  choice.arm(QStringLiteral("追加"));
  QCOMPARE(ui.ask("出力します。", "保留ＢＥＴへの出力確認！", Buttons::OverwriteAppendCancel, Answer::Abort),
           Answer::Append);
  QCOMPARE(choice.title, QStringLiteral("保留ＢＥＴへの出力確認！"));
  QCOMPARE(choice.buttons, QStringList({"上書き", "追加", "中止"}));

  ModalAnswer info;
  info.arm(QStringLiteral("OK"));
  ui.inform("予想は見つかりませんでした。", "【トルブ】エラーメッセージ", Icon::Critical);
  QCOMPARE(info.title, QStringLiteral("【トルブ】エラーメッセージ"));

  // Closing frmKakunin any other way is 中止.
  OverwriteChoiceDialog window(QStringLiteral("x"));
  QTimer::singleShot(0, &window, &QDialog::reject);
  window.exec();
  QCOMPARE(window.choice(), 0);
  OverwriteChoiceDialog overwrite(QStringLiteral("x"));
  QTimer::singleShot(0, overwrite.button(0), &QPushButton::click);
  QCOMPARE(overwrite.exec(), int(QDialog::Accepted));
  QCOMPARE(overwrite.choice(), 1);

  // The progress window shows the step's caption and bar, then hides.
  parent.show();
  ui.setProgressInterval(0);
  ui.progressBegin("[logs/FORUM1.LOG]を検索中…!!", 0x008000);
  ui.progressAdvance(40);
  QVERIFY(progress.isVisible());
  QCOMPARE(progress.caption(), QStringLiteral("[logs/FORUM1.LOG]を検索中…!!"));
  QCOMPARE(progress.bar()->percent(), 40);
  QCOMPARE(progress.bar()->colour(), QColor(0, 0x80, 0));
  ui.progressEnd();
  QVERIFY(!progress.isVisible());

  ui.busy(true);
  QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ui.busy(false);
  QVERIFY(!QApplication::overrideCursor());
}

void WindowsTest::percentBarDrawsInverted() {
  QImage image(200, 20, QImage::Format_RGB32);
  const QColor navy(0, 0, 0x80);
  {
    QPainter p(&image);
    drawPercentBar(p, image.rect(), 0, navy);
  }
  QCOMPARE(image.pixelColor(5, 10), QColor(Qt::white));
  {
    QPainter p(&image);
    drawPercentBar(p, image.rect(), 75, navy);
  }
  QCOMPARE(image.pixelColor(5, 10), navy);
  QCOMPARE(image.pixelColor(195, 10), QColor(Qt::white));
  // The "75%" in the middle: inverted where the bar covers it.
  int inverted = 0, dark = 0;
  for (int x = 60; x < 140; ++x) {
    for (int y = 0; y < 20; ++y) {
      const QColor c = image.pixelColor(x, y);
      if (x < 150 && c.red() > 200 && c.green() > 200 && c.blue() < 200) ++inverted;
      if (c == navy) ++dark;
    }
  }
  QVERIFY(inverted > 0);
  QVERIFY(dark > 0);
}

void WindowsTest::secondInstanceEndsAtOnce() {
  // The program beside the tests in the build tree.
  const QString program = QCoreApplication::applicationDirPath() + "/../../src/ui/tolv";
  if (!QFileInfo(program).isExecutable()) QSKIP("tolv is not built");
  EmptyHome empty;
  std::string error;
  auto lock = InstanceLock::acquire(empty.home, &error);
  QVERIFY(lock);
  QProcess second;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  second.setProcessEnvironment(env);
  second.start(program, {"--home", QString::fromStdString(empty.home.string()), "--date", "20020512"});
  QVERIFY(second.waitForFinished(20000));
  QCOMPARE(second.exitStatus(), QProcess::NormalExit);
  QCOMPARE(second.exitCode(), 0);
  QVERIFY(QString::fromUtf8(second.readAllStandardError()).contains(QStringLiteral("another instance")));
}

void WindowsTest::trackRecordWithoutHistoryTellsHowToImport() {
  EmptyHome empty;
  RecordingUi ui;
  MainWindow window(empty.s(), *parseYmd("20020512"), &ui);
  window.show();
  window.executionMenu()->oddsMinBox()->setText("7");
  trigger(&window, "mnuSeiseki");
  QCOMPARE(ui.messages.size(), std::size_t(1));
  QVERIFY(ui.messages[0].text.find("tolv-cli history import") != std::string::npos);
  QCOMPARE(ui.messages[0].title, std::string("成績分析"));
  // The menu's boxes as they stand are what the window's backtest uses.
  QCOMPARE(empty.s().settings.oddsMin, std::string("7"));
  QVERIFY(!fs::exists(empty.home / "history.sqlite"));
}

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
