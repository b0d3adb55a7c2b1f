// The desktop program as a user meets it: viewers that follow the commands
// that rewrite their files, the cautious answer on Enter, Space and Escape,
// choosers that open where a relative path in their box points, the grid
// from the keyboard, and long steps whose windows keep up without slowing
// them and that stop on 中止 with the previous files left as they were.

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "aggregate/pirune_creation.h"
#include "bets/bet_maintenance.h"
#include "bets/pending_bet_file.h"
#include "collect/extraction.h"
#include "core/cp932.h"
#include "core/pending_bet.h"
#include "core/tolv_record.h"
#include "output/batch_run.h"
#include "output/pirune_output.h"
#include "output/race_day.h"
#include "support/test_support.h"
#include "ui/common/qt_text.h"
#include "ui/dialogs/batch_window.h"
#include "ui/dialogs/folder_picker_dialog.h"
#include "ui/dialogs/pickers.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/window/execution_menu.h"
#include "ui/window/extraction_window.h"
#include "ui/window/main_window.h"
#include "ui/window/overwrite_choice_dialog.h"
#include "ui/window/progress_window.h"
#include "ui/window/qt_user_interface.h"
#include "ui/window/result_grid_window.h"
#include "ui/window/text_viewer.h"
#include "ui/window/wars_viewer.h"
#include "ui/window/window_test_support.h"

using namespace tolv;
using namespace tolv::testing;
using namespace tolv::ui;

namespace {

const std::vector<std::string> kBetLines = {"東京,11R,馬連    ,03-05,   8.0,  1000円",
                                            "東京,11R,馬連    ,02-05,  12.3,  1000円",
                                            "東京,11R,馬連    ,03-05,   8.0,  1000円"};

// A user who pressed 中止 as the step began.
class StoppingUi : public RecordingUi {
 public:
  bool stopRequested() override { return true; }
};

// Presses `key` in the modal window that comes up next (its focused control,
// as a keyboard does). Returns after the window has gone; `closed` tells
// whether the key closed it (otherwise it is closed with done(-1)).
struct KeyInModal {
  bool closed = false;
  QString title;
  void arm(Qt::Key key, int backTabs = 0) {
    QTimer::singleShot(0, [this, key, backTabs] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      title = modal->windowTitle();
      for (int i = 0; i < backTabs; ++i) QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Backtab);
      QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, key);
      closed = !modal->isVisible();
      if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && !closed) dialog->done(-1);
    });
  }
};

// The folder the next modal file dialog opens in; the dialog is cancelled.
struct OpenedFolder {
  QString folder;
  void arm() {
    QTimer::singleShot(0, [this] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        folder = QDir::cleanPath(dialog->directory().absolutePath());
        dialog->reject();
      }
    });
  }
};

QString q(const fs::path& p) { return QDir::cleanPath(QString::fromStdString(p.string())); }

}  // namespace

class SafeUseTest : public QObject {
  Q_OBJECT
 private slots:
  void viewerFollowsCommandsAndSavingAsksFirst();
  void newDayClosesTheViews();
  void cautiousAnswersFromTheKeyboard();
  void choosersStartWhereTheBoxPoints();
  void gridFromTheKeyboard();
  void progressFollowsAtMostOncePerInterval();
  void stopButtonAndInputDuringAStep();
  void stoppedStepsLeaveTheirFiles();
  void batchWindowCancelStopsTheRun();
};

void SafeUseTest::viewerFollowsCommandsAndSavingAsksFirst() {
  SampleHome sample;
  const fs::path bets = pendingBetPath(sample.s());
  writeBytes(bets, sjLines(kBetLines));
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.show();
  QVERIFY(window.showPendingBets());
  WarsViewer* viewer = window.fileView();

  // 重複買い目を統合, then ファイルに 再保存: the merge stays.
  ui.answers = {Answer::Ok};
  window.mergeBets();
  const std::string merged = readBytes(bets);
  QCOMPARE(std::count(merged.begin(), merged.end(), '\n'), 2);
  QCOMPARE(viewer->text()->fileText(), fromCp932(merged));
  click(viewer, "sCommand3");
  QCOMPARE(readBytes(bets), merged);
  QCOMPARE(ui.messages.back().text, std::string("セーブしました！"));

  // Unsaved edits are not reloaded away: the sort leaves the viewer alone,
  // and saving then asks first. Enter (the default) keeps the sorted file.
  viewer->text()->appendPlainText(QStringLiteral("東京,12R,馬連    ,01-02,   3.0,   100円"));
  ui.answers = {Answer::Ok};
  window.sortBets();
  const std::string sorted = readBytes(bets);
  QVERIFY(sorted != merged);
  QVERIFY(viewer->text()->toPlainText().contains(QStringLiteral("12R")));
  const std::size_t asked = ui.questions.size();
  click(viewer, "sCommand3");
  QCOMPARE(ui.questions.size(), asked + 1);
  QVERIFY(ui.questions.back().text.find("書き替えられています") != std::string::npos);
  QCOMPARE(readBytes(bets), sorted);
  // はい reloads the file ...
  ui.answers = {Answer::Yes};
  click(viewer, "sCommand3");
  QCOMPARE(viewer->text()->fileText(), fromCp932(sorted));
  QCOMPARE(readBytes(bets), sorted);
  // ... いいえ overwrites it with the text shown.
  viewer->text()->appendPlainText(QStringLiteral("東京,12R,馬連    ,01-02,   3.0,   100円"));
  writeBytes(bets, sjLines({kBetLines[1]}));
  ui.answers = {Answer::No};
  click(viewer, "sCommand3");
  QVERIFY(fromCp932(readBytes(bets)).find("12R") != std::string::npos);

  // A command that deletes the file closes its viewer without a message.
  const std::size_t said = ui.messages.size();
  fs::remove(bets);
  ui.answers = {Answer::Ok};
  window.removeDuplicateBets();
  QVERIFY(!viewer->isVisible());
  QCOMPARE(ui.messages.size(), said + 1);  // the step's own "保留ＢＥＴはありません！"
}

void SafeUseTest::newDayClosesTheViews() {
  SampleHome sample;
  prepareSampleDay(sample);
  writeBytes(pendingBetPath(sample.s()), sjLines(kBetLines));
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.show();
  QVERIFY(window.showGrid());
  QCOMPARE(window.activeView(), static_cast<QWidget*>(window.gridView()));
  // The grid would send the 6th's picks into the 7th's pending bets.
  window.executionMenu()->dayBox()->setText(QStringLiteral("7"));
  QVERIFY(!window.activeView());
  window.executionMenu()->dayBox()->setText(QStringLiteral("6"));
  QVERIFY(window.showPendingBets());
  window.executionMenu()->dayBox()->setText(QStringLiteral("7"));
  QVERIFY(!window.activeView());
  // A viewer with unsaved edits stays: it saves to the file it came from.
  window.executionMenu()->dayBox()->setText(QStringLiteral("6"));
  QVERIFY(window.showPendingBets());
  window.fileView()->text()->appendPlainText(QStringLiteral("x"));
  window.executionMenu()->dayBox()->setText(QStringLiteral("7"));
  QVERIFY(window.fileView()->isVisible());
}

void SafeUseTest::cautiousAnswersFromTheKeyboard() {
  // frmKakunin: Space, Enter and Escape are 中止; 上書き and 追加 are chosen on
  // purpose (Shift+Tab to 追加, then Enter).
  auto answer = [](Qt::Key key, int backTabs = 0) {
    OverwriteChoiceDialog window(QStringLiteral("出力します。"));
    KeyInModal press;
    press.arm(key, backTabs);
    window.exec();
    return press.closed ? window.choice() : -1;
  };
  QCOMPARE(answer(Qt::Key_Space), 0);
  QCOMPARE(answer(Qt::Key_Return), 0);
  QCOMPARE(answer(Qt::Key_Enter), 0);
  QCOMPARE(answer(Qt::Key_Escape), 0);
  QCOMPARE(answer(Qt::Key_Return, 1), 2);
  QCOMPARE(answer(Qt::Key_Space, 2), 1);

  // Through the program: Space on 保留BETへ出力's question keeps the file.
  SampleHome sample;
  prepareSampleDay(sample);
  const fs::path bets = pendingBetPath(sample.s());
  writeBytes(bets, sjLines(kBetLines));
  QWidget parent;
  QtUserInterface ui(&parent, nullptr);
  std::vector<PendingBetEntry> entries = {{"中山", " 1R", "馬連  ", "01-02", "  12.3", "   100"}};
  KeyInModal space;
  space.arm(Qt::Key_Space);
  QCOMPARE(WritePendingBets(sample.s(), ui, entries, 100), StepResult::Cancelled);
  QVERIFY(space.closed);
  QCOMPARE(space.title, QStringLiteral("保留ＢＥＴへの出力確認！"));
  QCOMPARE(readBytes(bets), sjLines(kBetLines));

  // The questions that rewrite or delete the pending bets: Enter is the
  // cautious answer.
  KeyInModal enter;
  enter.arm(Qt::Key_Return);
  QCOMPARE(MergeDuplicateBets(sample.s(), ui), StepResult::Cancelled);
  QVERIFY(enter.closed);
  enter.arm(Qt::Key_Return);
  QCOMPARE(RemoveDuplicateBets(sample.s(), ui), StepResult::Cancelled);
  enter.arm(Qt::Key_Return);
  QCOMPARE(SortPendingBets(sample.s(), ui), StepResult::Cancelled);
  QCOMPARE(readBytes(bets), sjLines(kBetLines));
  KeyInModal escape;
  escape.arm(Qt::Key_Escape);
  QCOMPARE(ui.ask("保留ＢＥＴファイルを削除しますか？", "確認", Buttons::YesNo, Answer::No), Answer::No);
  QVERIFY(escape.closed);
}

void SafeUseTest::choosersStartWhereTheBoxPoints() {
  SampleHome sample;
  const QString home = q(sample.home);
  const QString logs = q(sample.home / "logs");
  auto start = [&](const char* box) { return QDir::cleanPath(chooserStartFolder(QString::fromUtf8(box), home)); };
  QCOMPARE(start("logs/FORUM1.LOG"), logs);
  QCOMPARE(start(" LOGS\\forum1.log "), logs);  // Windows separators, any case, blanks
  QCOMPARE(start("logs/FH%M1%D1.LOG"), logs);   // a file not there (yet)
  QCOMPARE(start("OutPut/"), q(sample.home / "OutPut"));
  QCOMPARE(start("nowhere/FORUM1.LOG"), home);
  QCOMPARE(start(""), home);
  QCOMPARE(QDir::cleanPath(chooserStartFolder(logs + "/FORUM1.LOG", QString())), logs);

  // The real choosers, as the buttons open them.
  RecordingUi ui;
  ExtractionWindow extraction(sample.s(), ui, nullptr);
  QCOMPARE(extraction.logPath(0)->text(), QStringLiteral("logs/FORUM1.LOG"));
  OpenedFolder opened;
  opened.arm();
  extraction.logBrowse(0)->click();
  QCOMPARE(opened.folder, logs);
  QCOMPARE(extraction.logPath(0)->text(), QStringLiteral("logs/FORUM1.LOG"));  // cancelled: kept
  opened.arm();
  extraction.cutFolderButton()->click();
  QCOMPARE(opened.folder, q(sample.home / "OutPut"));

  SettingsDialog settings(sample.s(), ui);
  opened.arm();
  settings.findChild<QPushButton*>(QStringLiteral("Command1_0"))->click();
  QCOMPARE(opened.folder, logs);

  QLineEdit target;
  target.setText(QStringLiteral("kol"));
  FolderPickerDialog folders(ui, &target, home);
  QCOMPARE(QDir::cleanPath(folders.findChild<QLineEdit*>(QStringLiteral("Text1"))->text()), q(sample.home / "kol"));
}

void SafeUseTest::gridFromTheKeyboard() {
  SampleHome sample;
  prepareSampleDay(sample);
  RecordingUi ui;
  MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
  window.show();
  QVERIFY(window.showGrid());
  ResultGridWindow* grid = window.gridView();
  QTableView* table = grid->table();
  const ResultGrid& rows = *grid->grid();
  QVERIFY(rows.pickCount() >= 3);
  QCOMPARE(table->currentIndex().row(), 0);

  QTest::keyClick(table, Qt::Key_Space);
  QVERIFY(grid->grid()->isSelected(1));
  QTest::keyClick(table, Qt::Key_Down);
  QTest::keyClick(table, Qt::Key_Down);
  QTest::keyClick(table, Qt::Key_Space);
  QVERIFY(grid->grid()->isSelected(3));
  QVERIFY(!grid->grid()->isSelected(2));
  QTest::keyClick(table, Qt::Key_Space);
  QVERIFY(!grid->grid()->isSelected(3));
  QTest::keyClick(table, Qt::Key_Up);
  QCOMPARE(table->currentIndex().row(), 1);

  // Ctrl+A is the corner button: row 1 is selected, so every row is cleared.
  QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
  for (int r = 1; r <= grid->grid()->pickCount(); ++r) QVERIFY(!grid->grid()->isSelected(r));
  QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
  for (int r = 1; r <= grid->grid()->pickCount(); ++r) QVERIFY(grid->grid()->isSelected(r));

  // Enter sends the selection to the pending bets.
  const fs::path bets = pendingBetPath(sample.s());
  QVERIFY(!fs::exists(bets));
  QTest::keyClick(table, Qt::Key_Return);
  QVERIFY(fs::exists(bets));
  const std::string sent = readBytes(bets);
  QCOMPARE(static_cast<int>(std::count(sent.begin(), sent.end(), '\n')), grid->grid()->pickCount());

  // The mouse as before: a click toggles the row clicked.
  const QRect cell = table->visualRect(table->model()->index(1, 0));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QVERIFY(!grid->grid()->isSelected(2));
}

void SafeUseTest::progressFollowsAtMostOncePerInterval() {
  QWidget parent;
  parent.resize(600, 200);
  ProgressWindow progress(&parent);
  QtUserInterface ui(&parent, &progress);
  parent.show();
  ui.setProgressInterval(60 * 60 * 1000);
  ui.progressBegin("[logs/FORUM1.LOG]を検索中…!!", 0x000080);
  QVERIFY(progress.isVisible());
  for (int p = 1; p <= 100; ++p) {
    ui.progressAdvance(p);
    ui.progressDetail("post " + std::to_string(p));
  }
  // Within the interval nothing is repainted ...
  QCOMPARE(progress.bar()->percent(), 0);
  QCOMPARE(progress.detailText(), QString());
  // ... after it, the latest of each shows.
  ui.setProgressInterval(0);
  ui.progressAdvance(100);
  QCOMPARE(progress.bar()->percent(), 100);
  QCOMPARE(progress.detailText(), QStringLiteral("post 100"));
  ui.progressEnd();
  QVERIFY(!progress.isVisible());

  // The extraction window's own counter ends on the whole count however
  // seldom it was repainted.
  SampleHome sample;
  RecordingUi base;
  ExtractionWindow extraction(sample.s(), base, nullptr);
  extraction.show();
  ExtractionStats stats;
  RecordingUi core;
  QCOMPARE(startExtraction(sample.s(), core, extractionFormFromSettings(sample.s().settings), &stats), StepResult::Done);
  QCOMPARE(extraction.start(), StepResult::Done);
  QCOMPARE(extraction.countLabel()->text(), QString::number(stats.posts));
}

void SafeUseTest::stopButtonAndInputDuringAStep() {
  QWidget parent;
  parent.resize(600, 200);
  ProgressWindow progress(&parent);
  auto* other = new QPushButton(QStringLiteral("トルブ作成"), &parent);
  other->setGeometry(0, 0, 100, 30);
  int otherClicks = 0;
  connect(other, &QPushButton::clicked, [&] { ++otherClicks; });
  QtUserInterface ui(&parent, &progress);
  parent.show();
  progress.setGeometry(0, 100, 600, 64);

  ui.busy(true);
  ui.progressBegin("【中山】のトルブを制作中！…", 0x000080);
  QVERIFY(progress.stopButton()->isVisible());
  QCOMPARE(progress.stopButton()->text(), QStringLiteral("中止"));
  QVERIFY(!ui.stopRequested());

  // While the step lets events run, a click on another command is dropped,
  // a click on 中止 asks the step to stop.
  auto post = [](QWidget* w) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QCoreApplication::postEvent(
        w, new QMouseEvent(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(
        w, new QMouseEvent(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, {}));
  };
  post(other);
  ui.setProgressInterval(0);
  ui.progressAdvance(10);
  QCOMPARE(otherClicks, 0);
  QVERIFY(!ui.stopRequested());
  post(progress.stopButton());
  ui.progressAdvance(20);
  QVERIFY(ui.stopRequested());
  ui.progressEnd();
  ui.busy(false);

  // A step started by a click runs inside it: the mouse still goes to the
  // button that started it, and 中止 is found under the pointer.
  ui.busy(true);
  ui.progressBegin("x", 0x000080);
  QVERIFY(!ui.stopRequested());
  const QPoint stopCentre = progress.stopButton()->mapTo(&parent, progress.stopButton()->rect().center());
  const QPointF at(stopCentre);
  QCoreApplication::postEvent(
      other, new QMouseEvent(QEvent::MouseButtonPress, at, parent.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {}));
  QCoreApplication::postEvent(
      other, new QMouseEvent(QEvent::MouseButtonRelease, at, parent.mapToGlobal(at), Qt::LeftButton, Qt::NoButton, {}));
  ui.progressAdvance(25);
  QVERIFY(ui.stopRequested());
  QCOMPARE(otherClicks, 0);
  ui.progressEnd();
  ui.busy(false);

  // The next command starts afresh; Escape stops it too.
  ui.busy(true);
  QVERIFY(!ui.stopRequested());
  ui.progressBegin("x", 0x000080);
  QCoreApplication::postEvent(other, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  ui.progressAdvance(30);
  QVERIFY(ui.stopRequested());
  ui.progressEnd();
  ui.busy(false);
  QCoreApplication::processEvents();
  QCOMPARE(otherClicks, 0);
}

void SafeUseTest::stoppedStepsLeaveTheirFiles() {
  SampleHome sample;
  prepareSampleDay(sample);
  Session& s = sample.s();
  const std::string before = "previous run";

  // Log extraction, from its window's 中止: the cut index and cut file stay,
  // the window stays open for another try.
  writeBytes(s.cutIndexPath(), before);
  {
    StoppingUi stopping;
    ExtractionWindow window(s, stopping, nullptr);
    window.show();
    QCOMPARE(window.start(), StepResult::Cancelled);
    QVERIFY(window.isVisible());
    QVERIFY(!window.stopButton()->isVisible());
    QCOMPARE(readBytes(s.cutIndexPath()), before);
    QCOMPARE(stopping.messages.back().text, std::string(kStepStoppedMessage));
  }
  RecordingUi ui;
  QCOMPARE(startExtraction(s, ui, extractionFormFromSettings(s.settings)), StepResult::Done);

  // Tolv creation: every course file as it was.
  std::vector<fs::path> tolvFiles;
  for (int i = 1; i <= s.courseCount; ++i) tolvFiles.emplace_back(s.tolvFilePaths[static_cast<std::size_t>(i)]);
  QVERIFY(tolvFiles.size() >= 2);
  for (const auto& path : tolvFiles) writeBytes(path, before);
  {
    StoppingUi stopping;
    QCOMPARE(tolv::createTolv(s, stopping), StepResult::Cancelled);
    for (const auto& path : tolvFiles) QCOMPARE(readBytes(path), before);
    QCOMPARE(stopping.messages.back().text, std::string(kStepStoppedMessage));
    QVERIFY(!stopping.progressOpen);
  }
  QCOMPARE(tolv::createTolv(s, ui), StepResult::Done);

  // Odds import, stopped after filling the first course: no course file is
  // rewritten (a run to its end puts the real odds back).
  std::vector<std::string> marked;
  for (const auto& path : tolvFiles) {
    std::string bytes = readBytes(path);
    for (std::size_t at = 0; at + kTolvRecordLength <= bytes.size(); at += kTolvRecordLength) {
      TolvRecord r = TolvRecord::decode(std::string_view(bytes).substr(at, kTolvRecordLength));
      r.odds = " 999.9";
      bytes.replace(at, kTolvRecordLength, r.encode());
    }
    writeBytes(path, bytes);
    marked.push_back(bytes);
  }
  {
    StoppingUi stopping;
    QCOMPARE(tolv::reloadOdds(s, stopping), StepResult::Cancelled);
    for (std::size_t i = 0; i < tolvFiles.size(); ++i) QCOMPARE(readBytes(tolvFiles[i]), marked[i]);
  }
  QCOMPARE(tolv::reloadOdds(s, ui), StepResult::Done);
  QVERIFY(readBytes(tolvFiles[0]) != marked[0]);

  // Pirune creation: its selection file stays.
  const fs::path selection = piruneSelectionPath(s);
  writeBytes(selection, before);
  {
    StoppingUi stopping;
    QCOMPARE(tolv::createPirune(s, stopping), StepResult::Cancelled);
    QCOMPARE(readBytes(selection), before);
  }

  // The batch ends with the step that was stopped.
  {
    StoppingUi stopping;
    BatchChoices choices;
    choices.logs = choices.tolv = choices.wars = choices.pirune = true;
    const BatchOutcome out = RunBatch(s, stopping, choices, standardBatchSteps({}));
    QVERIFY(out.stopped);
    QCOMPARE(out.ran.size(), std::size_t(1));
    QCOMPARE(out.ran[0].result, StepResult::Cancelled);
  }
}

void SafeUseTest::batchWindowCancelStopsTheRun() {
  SampleHome sample;
  RecordingUi ui;
  BatchWindow window(sample.s(), ui);
  window.show();
  for (int i = 0; i < 7; ++i) {
    window.findChild<QCheckBox*>(QStringLiteral("Check1_%1").arg(i))->setChecked(i == 0 || i == 1);
  }
  // The batch window is modal over the progress window: its キャンセル is
  // the 中止 of the run, and it takes a click while the steps run.
  auto* cancel = window.findChild<QPushButton*>(QStringLiteral("Command2"));
  QVERIFY(cancel->property(kStopsStepProperty).toBool());
  int tolvRuns = 0;
  window.steps.logs = [&](Session&, UserInterface& u) {
    cancel->click();
    return u.stopRequested() ? stepStopped(u) : StepResult::Done;
  };
  window.steps.tolv = [&](Session&, UserInterface&) {
    ++tolvRuns;
    return StepResult::Done;
  };
  window.start(false);
  QCOMPARE(tolvRuns, 0);
  QCOMPARE(ui.messages.back().text, std::string(kStepStoppedMessage));
  QVERIFY(!window.isVisible());
  QCOMPARE(sample.s().batchRunning, 0);
}

QTEST_MAIN(SafeUseTest)
#include "safe_use_test.moc"
