#include "ui/dialogs/batch_window.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "history/history_db.h"
#include "output/pad_file.h"
#include "ui/common/qt_text.h"
#include "ui/common/step_stop.h"

namespace tolv::ui {

namespace {

const char* kErrorTitle = "【トルブ】エラーメッセージ";

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

ClockReading QtBatchClock::now() { return system_.now(); }

bool QtBatchClock::wait() {
  if (cancelled_) return false;
  QEventLoop loop;
  QTimer::singleShot(200, &loop, &QEventLoop::quit);
  loop.exec();
  return !cancelled_;
}

BatchWindow::BatchWindow(Session& session, UserInterface& ui, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui) {
  setObjectName(QStringLiteral("frmYoyaku"));
  setWindowTitle(QStringLiteral("【トルブ】一括処理の設定"));
  steps = standardBatchSteps([](Session& s, UserInterface& u, fs::path* written) { return writePadFile(s, u, written); });
  steps.history = importProcessingDay;

  auto* layout = new QVBoxLayout(this);
  auto* stepsFrame = new QGroupBox(this);
  stepsFrame->setObjectName(QStringLiteral("Frame1"));
  auto* stepsLayout = new QVBoxLayout(stepsFrame);
  // In the order they run, then the closing of the program.
  const std::array<std::pair<int, const char*>, 7> boxes = {{{5, "FHwarsオッズの読み込み"},
                                                              {0, "ログ読み込み"},
                                                              {1, "トルブ作成"},
                                                              {2, "WARS形式出力"},
                                                              {3, "ぴるね作成"},
                                                              {6, "ＰＡＤ作成"},
                                                              {4, "トルブ終了"}}};
  for (const auto& [index, caption] : boxes) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), stepsFrame);
    box->setObjectName(QStringLiteral("Check1_%1").arg(index));
    checks_[static_cast<std::size_t>(index)] = box;
    stepsLayout->addWidget(box);
  }
  layout->addWidget(stepsFrame);

  auto* modeFrame = new QGroupBox(this);
  modeFrame->setObjectName(QStringLiteral("Frame2"));
  auto* modeLayout = new QGridLayout(modeFrame);
  auto* group = new QButtonGroup(modeFrame);
  modes_[0] = new QRadioButton(QStringLiteral("すぐに実行"), modeFrame);
  modes_[0]->setObjectName(QStringLiteral("Option1_0"));
  modes_[1] = new QRadioButton(QStringLiteral("タイマー予約"), modeFrame);
  modes_[1]->setObjectName(QStringLiteral("Option1_1"));
  group->addButton(modes_[0]);
  group->addButton(modes_[1]);
  modeLayout->addWidget(modes_[0], 0, 0);
  modeLayout->addWidget(modes_[1], 0, 1);
  label1_ = new QLabel(QStringLiteral("予約開始時刻"), modeFrame);
  label1_->setObjectName(QStringLiteral("Label1"));
  text1_ = new QLineEdit(modeFrame);
  text1_->setObjectName(QStringLiteral("Text1"));
  text1_->setMaxLength(8);
  modeLayout->addWidget(label1_, 1, 0);
  modeLayout->addWidget(text1_, 1, 1);
  countdown_ = new QLabel(modeFrame);
  countdown_->setObjectName(QStringLiteral("lblCountdown"));
  modeLayout->addWidget(countdown_, 2, 0, 1, 2);
  layout->addWidget(modeFrame);
  connect(modes_[0], &QRadioButton::toggled, this, &BatchWindow::updateMode);

  auto* buttons = new QHBoxLayout;
  starts_[0] = button(this, QStringLiteral("Command1_0"), QStringLiteral("タイマー予約"));
  starts_[1] = button(this, QStringLiteral("Command1_1"), QStringLiteral("一括処理開始"));
  auto* cancel = button(this, QStringLiteral("Command2"), QStringLiteral("キャンセル"));
  buttons->addWidget(starts_[0]);
  buttons->addWidget(starts_[1]);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(starts_[0], &QPushButton::clicked, this, [this] { start(true); });
  connect(starts_[1], &QPushButton::clicked, this, [this] { start(false); });
  connect(cancel, &QPushButton::clicked, this, &BatchWindow::reject);
  // While the steps run, キャンセル stops them (as Escape does).
  cancel->setProperty(kStopsStepProperty, true);

  // Opening: the choices from TOLV.INI, the mode from BatchRunning.
  const BatchForm f = openBatchForm(session_);
  const BatchChoices& c = f.choices;
  const std::array<bool, 7> flags = {c.logs, c.tolv, c.wars, c.pirune, c.autoClose, c.forumOdds, c.pad};
  for (std::size_t i = 0; i < 7; ++i) checks_[i]->setChecked(flags[i]);
  // The forum-odds step belongs to the forum odds source only.
  checks_[5]->setEnabled(session_.settings.oddsSource == "2");
  checks_[6]->setEnabled(true);
  modes_[f.timer ? 1 : 0]->setChecked(true);
  text1_->setText(toQ(f.timeText));
  updateMode();
}

void BatchWindow::updateMode() {
  const bool timer = modes_[1]->isChecked();
  label1_->setEnabled(timer);
  text1_->setEnabled(timer);
  starts_[0]->setEnabled(timer);
  starts_[1]->setEnabled(!timer);
}

BatchForm BatchWindow::form() const {
  BatchForm f;
  BatchChoices& c = f.choices;
  c.logs = checks_[0]->isChecked();
  c.tolv = checks_[1]->isChecked();
  c.wars = checks_[2]->isChecked();
  c.pirune = checks_[3]->isChecked();
  c.autoClose = checks_[4]->isChecked();
  c.forumOdds = checks_[5]->isChecked();
  c.pad = checks_[6]->isChecked();
  f.timer = modes_[1]->isChecked();
  f.timeText = fromQ(text1_->text());
  return f;
}

void BatchWindow::start(bool timer) {
  if (waiting_) return;
  bool ok = true;
  std::string error;
  const BatchChoices choices = SaveBatchSettings(session_, form(), &ok, &error);
  if (!ok) {
    ui_.inform("設定を保存できません：" + session_.iniFilePath().string() + "\r\n" + error, kErrorTitle, Icon::Critical);
    return;
  }
  BatchStart how;
  how.timer = timer;
  how.timeText = fromQ(text1_->text());

  QWidget* mainWindow = mainWindow_ ? mainWindow_.data() : parentWidget() ? parentWidget()->window() : nullptr;
  bool minimised = false;
  // The end of a wait: the start buttons back and the main window restored,
  // before the run.
  auto endWait = [&] {
    if (!waiting_) return;
    waiting_ = false;
    countdown_->clear();
    updateMode();
    if (minimised && mainWindow) {
      mainWindow->showNormal();
      // The batch window stays in front of the restored main window.
      raise();
      activateWindow();
    }
  };
  // The first countdown report means the time was valid and the wait has
  // begun; the report of 0, that the time has come.
  BatchCountdown countdown = [&](int secondsLeft) {
    if (secondsLeft <= 0) {
      endWait();
      return;
    }
    if (!waiting_) {
      waiting_ = true;
      starts_[0]->setEnabled(false);
      starts_[1]->setEnabled(false);
      if (mainWindow && !mainWindow->isMinimized()) {
        mainWindow->showMinimized();
        minimised = true;
      }
    }
    const TimeOfDay left{secondsLeft / 3600, secondsLeft / 60 % 60, secondsLeft % 60};
    countdown_->setText(QStringLiteral("開始まで ") + toQ(left.text()));
  };

  BatchClock& useClock = clock ? *clock : static_cast<BatchClock&>(ownClock_);
  stopRequested_ = false;
  running_ = true;
  StopForwardingUi runUi(ui_, stopRequested_);
  const StepResult r = startBatch(session_, runUi, choices, how, useClock, steps, countdown);
  running_ = false;
  endWait();
  if (r == StepResult::Done) {
    closeProgram_ = choices.autoClose;
    accept();
  } else if (r == StepResult::Cancelled || cancelled_) {
    session_.batchRunning = kBatchIdle;
    QDialog::reject();
  }
  // Failed: the message has been shown and the window stays open; a wrong
  // reserved time puts the focus back into its box.
  if (r == StepResult::Failed && timer && !parseReservationText(how.timeText)) text1_->setFocus();
}

void BatchWindow::reject() {
  if (running_ && !waiting_) {
    // The step that runs stops; start() closes the window afterwards.
    stopRequested_ = true;
    return;
  }
  session_.batchRunning = kBatchIdle;
  if (waiting_) {
    // The wait ends at its next tick; start() then closes the window.
    cancelled_ = true;
    ownClock_.cancel();
    return;
  }
  QDialog::reject();
}

}  // namespace tolv::ui
