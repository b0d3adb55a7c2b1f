#pragma once
// 中止 of a window of its own (the extraction window, the batch window): a
// step run through StopForwardingUi talks to the program's interface as
// before and stops when either that interface or the window asks.

#include "core/ui.h"

namespace tolv::ui {

// The controls that stop a running step carry this property (true): while
// the step lets events run, they are the only controls that take a click.
inline constexpr const char* kStopsStepProperty = "tolvStopsStep";

class StopForwardingUi : public UserInterface {
 public:
  StopForwardingUi(UserInterface& base, const bool& stop) : base_(base), stop_(stop) {}
  void inform(std::string_view text, std::string_view title, Icon icon) override { base_.inform(text, title, icon); }
  Answer ask(std::string_view text, std::string_view title, Buttons buttons, Answer defaultAnswer) override {
    return base_.ask(text, title, buttons, defaultAnswer);
  }
  void progressBegin(std::string_view caption, unsigned colour) override { base_.progressBegin(caption, colour); }
  void progressAdvance(int percent) override { base_.progressAdvance(percent); }
  void progressDetail(std::string_view text) override { base_.progressDetail(text); }
  void progressEnd() override { base_.progressEnd(); }
  void busy(bool on) override { base_.busy(on); }
  bool openWithShell(const std::string& path) override { return base_.openWithShell(path); }
  bool stopRequested() override { return stop_ || base_.stopRequested(); }

 protected:
  UserInterface& base_;

 private:
  const bool& stop_;
};

}  // namespace tolv::ui
