// The batch window: opening, the reserved time, the run, 自動終了.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialog_test_util.h"
#include "ui/dialogs/batch_window.h"

using namespace tolv;
using namespace tolv::ui;
using namespace tolv::ui::test;

namespace {

// A clock that stands at a time and moves one second per wait.
class FakeClock : public BatchClock {
 public:
  explicit FakeClock(int seconds) : seconds_(seconds) {}
  ClockReading now() override { return {Date{std::chrono::year{2002}, std::chrono::month{5}, std::chrono::day{12}}, seconds_}; }
  bool wait() override {
    ++waits;
    if (onWait) onWait();
    ++seconds_;
    return true;
  }
  int waits = 0;
  std::function<void()> onWait;

 private:
  int seconds_;
};

struct Recorder {
  std::vector<std::string> ran;
  BatchSteps steps() {
    auto step = [this](const char* name) {
      return [this, name](Session&, UserInterface&) {
        ran.push_back(name);
        return StepResult::Done;
      };
    };
    BatchSteps s;
    s.forumOdds = step("odds");
    s.logs = step("logs");
    s.tolv = step("tolv");
    s.wars = step("wars");
    s.pirune = step("pirune");
    s.pad = [this](Session&, UserInterface&, fs::path*) {
      ran.push_back("pad");
      return StepResult::Done;
    };
    return s;
  }
};

void setSteps(QWidget* w, std::initializer_list<std::pair<int, bool>> states) {
  for (auto [index, on] : states) {
    child<QCheckBox>(w, QStringLiteral("Check1_%1").arg(index).toUtf8().constData())->setChecked(on);
  }
}

}  // namespace

class BatchWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void openingReadsTheSectionAndRejectsABadStoredTime() {
    TestHome h;
    writeBytes(h.session.iniFilePath(),
               sjLines({"[一括処理]", "ログ読み込み=False", "自動終了=True", "予約時間=250000", "WARSオッズ変換=False"}));
    RecordingUi ui;
    BatchWindow w(h.session, ui);
    QCOMPARE(child<QLineEdit>(&w, "Text1")->text(), QStringLiteral("09:45:00"));
    QVERIFY(!child<QCheckBox>(&w, "Check1_0")->isChecked());
    QVERIFY(child<QCheckBox>(&w, "Check1_1")->isChecked());
    QVERIFY(child<QCheckBox>(&w, "Check1_4")->isChecked());
    QVERIFY(!child<QCheckBox>(&w, "Check1_6")->isChecked());
    // Not the forum odds source: the forum-odds step cannot be changed.
    QVERIFY(!child<QCheckBox>(&w, "Check1_5")->isEnabled());
    QVERIFY(child<QCheckBox>(&w, "Check1_6")->isEnabled());
    // "すぐに実行" is selected and BatchRunning becomes 1.
    QVERIFY(child<QRadioButton>(&w, "Option1_0")->isChecked());
    QCOMPARE(h.session.batchRunning, kBatchAtOnce);
    QVERIFY(!child<QLineEdit>(&w, "Text1")->isEnabled());
    QVERIFY(!child<QPushButton>(&w, "Command1_0")->isEnabled());
    QVERIFY(child<QPushButton>(&w, "Command1_1")->isEnabled());
    click(&w, "Option1_1");
    QVERIFY(child<QLineEdit>(&w, "Text1")->isEnabled());
    QVERIFY(child<QPushButton>(&w, "Command1_0")->isEnabled());
    QVERIFY(!child<QPushButton>(&w, "Command1_1")->isEnabled());
  }

  void forumOddsStepFollowsTheOddsSource() {
    TestHome h;
    writeBytes(h.session.iniFilePath(), sjLines({"[ODDS]", "PAT=2", "[一括処理]", "WARSオッズ変換=True"}));
    h.session.loadSettings();
    RecordingUi ui;
    BatchWindow w(h.session, ui);
    QVERIFY(child<QCheckBox>(&w, "Check1_5")->isEnabled());
    QVERIFY(child<QCheckBox>(&w, "Check1_5")->isChecked());
  }

  void aReservedTimeAlreadyPassedRunsAtOnce() {
    TestHome h;
    RecordingUi ui;
    BatchWindow w(h.session, ui);
    Recorder rec;
    w.steps = rec.steps();
    FakeClock clock(10 * 3600);
    w.clock = &clock;
    setSteps(&w, {{0, true}, {1, false}, {2, false}, {3, true}, {4, false}, {6, true}});
    click(&w, "Option1_1");
    type(&w, "Text1", "09:45:00");
    click(&w, "Command1_0");
    QCOMPARE(clock.waits, 0);
    QCOMPARE(rec.ran, (std::vector<std::string>{"logs", "pirune", "pad"}));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(!w.closeProgram());
    QCOMPARE(h.session.batchRunning, kBatchIdle);
    QCOMPARE(ini(h.session, "一括処理", "予約時間"), std::string("094500"));
    QCOMPARE(ini(h.session, "一括処理", "トルブ作成"), std::string("False"));
    QCOMPARE(ini(h.session, "一括処理", "PAD作成"), std::string("True"));
    QVERIFY(ui.messages.empty());
  }

  void waitingDisablesTheButtonsAndMinimisesTheMainWindow() {
    TestHome h;
    RecordingUi ui;
    QWidget mainWindow;
    mainWindow.show();
    BatchWindow w(h.session, ui, &mainWindow);
    Recorder rec;
    w.steps = rec.steps();
    FakeClock clock(9 * 3600 + 44 * 60 + 58);
    bool buttonsOff = true, minimised = true;
    clock.onWait = [&] {
      buttonsOff = buttonsOff && !child<QPushButton>(&w, "Command1_0")->isEnabled() &&
                   !child<QPushButton>(&w, "Command1_1")->isEnabled() && w.waiting();
      minimised = minimised && mainWindow.isMinimized();
    };
    w.clock = &clock;
    // The wait is over before the run: the main window is back and the start
    // buttons on while the steps run.
    bool restoredForTheRun = false;
    w.steps.pad = [&](Session&, UserInterface&, fs::path*) {
      restoredForTheRun = !mainWindow.isMinimized() && !w.waiting() &&
                          child<QPushButton>(&w, "Command1_0")->isEnabled();
      rec.ran.push_back("pad");
      return StepResult::Done;
    };
    setSteps(&w, {{0, false}, {1, false}, {2, false}, {3, false}, {4, false}, {6, true}});
    click(&w, "Option1_1");
    type(&w, "Text1", "09:45:00");
    click(&w, "Command1_0");
    QCOMPARE(clock.waits, 2);
    QVERIFY(buttonsOff);
    QVERIFY(minimised);
    QVERIFY(restoredForTheRun);
    QVERIFY(!mainWindow.isMinimized());
    QCOMPARE(rec.ran, (std::vector<std::string>{"pad"}));
  }

  void everyStepOffWithAutoCloseClosesTheProgram() {
    TestHome h;
    RecordingUi ui;
    BatchWindow w(h.session, ui);
    Recorder rec;
    w.steps = rec.steps();
    setSteps(&w, {{0, false}, {1, false}, {2, false}, {3, false}, {4, true}, {6, false}});
    click(&w, "Command1_1");
    QVERIFY(rec.ran.empty());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(w.closeProgram());
    QCOMPARE(ini(h.session, "一括処理", "自動終了"), std::string("True"));
  }

  void aWrongTimeIsReportedAndNothingRuns() {
    TestHome h;
    RecordingUi ui;
    BatchWindow w(h.session, ui);
    Recorder rec;
    w.steps = rec.steps();
    FakeClock clock(0);
    w.clock = &clock;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    click(&w, "Option1_1");
    type(&w, "Text1", "25:00:00");
    child<QPushButton>(&w, "Command1_0")->setFocus();
    click(&w, "Command1_0");
    QVERIFY(child<QLineEdit>(&w, "Text1")->hasFocus());
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(ui.messages[0].text, std::string("時間（hh）は ００～２３ の範囲で記載してください！"));
    QCOMPARE(ui.messages[0].title, std::string("タイマー予約の時刻設定不正！"));
    QVERIFY(ui.messages[0].icon == Icon::Critical);
    QVERIFY(rec.ran.empty());
    QCOMPARE(w.result(), 0);
    // The text saved is the default time, as it is not valid.
    QCOMPARE(ini(h.session, "一括処理", "予約時間"), std::string("094500"));
    type(&w, "Text1", "09:61:00");
    click(&w, "Command1_0");
    QCOMPARE(ui.messages.back().text, std::string("分（mm）は ００～５９ の範囲で記載してください！"));
  }

  void noMeetingAtTheWarsStepKeepsTheWindowOpen() {
    TestHome h;
    RecordingUi ui;
    BatchWindow w(h.session, ui);
    Recorder rec;
    w.steps = rec.steps();
    setSteps(&w, {{0, true}, {1, false}, {2, true}, {3, true}, {4, true}, {6, false}});
    click(&w, "Command1_1");
    QCOMPARE(rec.ran, (std::vector<std::string>{"logs"}));
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(ui.messages[0].text, std::string("開催場所が把握出来なかったため一括処理を中止しました！"));
    QCOMPARE(ui.messages[0].title, std::string("【トルブ】一括処理エラー"));
    QCOMPARE(w.result(), 0);
    QVERIFY(!w.closeProgram());
    QVERIFY(h.session.batchRunning != kBatchIdle);
    click(&w, "Command2");
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(h.session.batchRunning, kBatchIdle);
  }
};

QTEST_MAIN(BatchWindowTest)
#include "batch_window_test.moc"
