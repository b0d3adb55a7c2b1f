#pragma once
// frmYoyaku "【トルブ】一括処理の設定": the steps of the batch run, at once or
// at a reserved time. While it waits for the time the window stays
// responsive (the clock lets the event loop run) and the main window is
// minimised; キャンセル gives the wait up.

#include <QDialog>
#include <QPointer>
#include <array>

#include "core/session.h"
#include "core/ui.h"
#include "output/batch_run.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tolv::ui {

// The wall clock whose wait() runs the event loop for about 200 ms; a
// wait given up with cancel() returns false.
class QtBatchClock : public BatchClock {
 public:
  ClockReading now() override;
  bool wait() override;
  void cancel() { cancelled_ = true; }

 private:
  SystemBatchClock system_;
  bool cancelled_ = false;
};

class BatchWindow : public QDialog {
  Q_OBJECT
 public:
  BatchWindow(Session& session, UserInterface& ui, QWidget* parent = nullptr);

  // What the run does and the clock it waits on (tests replace both).
  BatchSteps steps;
  BatchClock* clock = nullptr;  // null: the window's own QtBatchClock

  // The window's controls as the batch form.
  BatchForm form() const;
  // Command1(0) "タイマー予約" (timer true) or Command1(1) "一括処理開始".
  void start(bool timer);
  // True once a successful run asks the program to close (自動終了).
  bool closeProgram() const { return closeProgram_; }
  bool waiting() const { return waiting_; }
  // The window minimised while a reserved start waits; without one, the
  // parent's window.
  void setMainWindow(QWidget* window) { mainWindow_ = window; }

 protected:
  void reject() override;

 private:
  void updateMode();

  Session& session_;
  UserInterface& ui_;
  QtBatchClock ownClock_;
  std::array<QCheckBox*, 7> checks_{};
  std::array<QRadioButton*, 2> modes_{};
  QLabel* label1_ = nullptr;
  QLineEdit* text1_ = nullptr;
  std::array<QPushButton*, 2> starts_{};
  QLabel* countdown_ = nullptr;
  bool closeProgram_ = false;
  bool waiting_ = false;
  bool cancelled_ = false;
  QPointer<QWidget> mainWindow_;
  bool running_ = false;        // start() is waiting or running the steps
  bool stopRequested_ = false;  // キャンセル while the steps run
};

}  // namespace tolv::ui
