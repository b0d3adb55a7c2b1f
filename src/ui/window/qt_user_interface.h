#pragma once
// The desktop program's side of the UserInterface: message boxes with the
// steps' titles, icons and buttons, the progress window, the hourglass and the
// desktop's file opener. The program is single-threaded: progress reports let
// the event loop run so that the windows repaint during long steps.

#include <QPointer>
#include <QWidget>

#include "core/ui.h"

namespace tolv::ui {

class ProgressWindow;

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

 private:
  void letEventsRun();
  QPointer<QWidget> parent_;
  QPointer<ProgressWindow> progress_;
  int busyDepth_ = 0;
};

// Message text as a label shows it: CR LF and CR become line breaks.
QString messageText(std::string_view text);

}  // namespace tolv::ui
