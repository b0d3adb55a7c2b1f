#pragma once
// 中止 of a window of its own (the extraction window, the batch window): a
// step run through StopForwardingUi talks to the program's interface as
// before and stops when either that interface or the window asks.

#include "core/ui.h"

namespace tolv::ui {

// The controls that stop a running step carry this property (true): while
// the step lets events run, they are the only controls that take a click.
inline constexpr const char* kStopsStepProperty = "tolvStopsStep";

class StopForwardingUi : public ForwardingUserInterface {
 public:
  StopForwardingUi(UserInterface& base, const bool& stop) : ForwardingUserInterface(base), stop_(stop) {}
  bool stopRequested() override { return stop_ || base_.stopRequested(); }

 private:
  const bool& stop_;
};

}  // namespace tolv::ui
