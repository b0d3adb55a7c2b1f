#pragma once
// The desktop program's side of the UserInterface: message boxes with the
// steps' titles, icons and buttons, the progress window, the hourglass and the
// desktop's file opener. The program is single-threaded: progress reports let
// the event loop run so that the windows repaint during long steps.

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <string>

#include "core/ui.h"
#include "ui/common/step_stop.h"

namespace tolv::ui {

class ProgressWindow;

// Long steps report progress for every post or record, thousands of times a
// second; repainting and running the event loop each time made a step many
// times slower than on the command line. The windows follow at most once per
// interval (counts and bar may jump).
class ProgressThrottle {
 public:
  static constexpr int kDefaultIntervalMs = 50;
  // True when the interval has passed since the last true (or restart()).
  bool due();
  void restart() { timer_.start(); }
  void setInterval(int ms) { interval_ = ms; }

 private:
  QElapsedTimer timer_;
  int interval_ = kDefaultIntervalMs;
};

// Lets the event loop run inside a long step: repaints and timers, and of
// the user's input only what goes to a control that stops the step; any
// other click or key is dropped (a second step must not start inside the
// first) and the windows cannot be closed. True when Escape was pressed.
bool runStepEvents();

class QtUserInterface : public UserInterface {
 public:
  // Messages open over `parent`; progress goes to `progress` (may be null).
  QtUserInterface(QWidget* parent, ProgressWindow* progress);
  ~QtUserInterface() override;

  void inform(std::string_view text, std::string_view title, Icon icon) override;
  Answer ask(std::string_view text, std::string_view title, Buttons buttons, Answer defaultAnswer) override;
  void progressBegin(std::string_view caption, unsigned colour) override;
  void progressAdvance(int percent) override;
  void progressDetail(std::string_view text) override;
  void progressEnd() override;
  void busy(bool on) override;
  bool openWithShell(const std::string& path) override;
  // The progress window's 中止 or Escape during the step.
  bool stopRequested() override { return stop_; }

  // How often the progress window follows the step (tests).
  void setProgressInterval(int ms) { throttle_.setInterval(ms); }

 private:
  void letEventsRun();
  void showPending();
  QPointer<QWidget> parent_;
  QPointer<ProgressWindow> progress_;
  QMetaObject::Connection stopConnection_;
  ProgressThrottle throttle_;
  int pendingPercent_ = -1;
  std::optional<std::string> pendingDetail_;
  bool stop_ = false;
  int busyDepth_ = 0;
};

// Message text as a label shows it: CR LF and CR become line breaks.
QString messageText(std::string_view text);

}  // namespace tolv::ui
