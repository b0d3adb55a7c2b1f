#pragma once
// How steps talk to the user. Steps never show a window or print: they call
// this interface, which the desktop program implements with message boxes and
// the progress window, tolv-cli with stderr and prompts, and tests with a
// recording fake.

#include <string>
#include <string_view>

namespace tolv {

enum class Icon { None, Information, Exclamation, Critical, Question };

enum class Buttons {
  Ok,
  OkCancel,
  YesNo,
  YesNoCancel,
  OverwriteAppendCancel,  // 上書き / 追加 / 中止 of the pending-bet file
};

enum class Answer { Ok, Cancel, Yes, No, Overwrite, Append, Abort };

// What a step ended with.
enum class StepResult {
  Done,       // ran to its end
  Failed,     // stopped with one of its messages
  Cancelled,  // the user answered Cancel or No
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A message box.
  virtual void inform(std::string_view text, std::string_view title = {}, Icon icon = Icon::None) = 0;
  // A question; returns the button chosen.
  virtual Answer ask(std::string_view text, std::string_view title, Buttons buttons, Answer defaultAnswer) = 0;

  // The progress window: a caption (and bar colour as 0xRRGGBB), the bar in
  // percent, a detail line (the current item), and its end. Long steps call
  // progressAdvance often; front ends keep themselves responsive there.
  virtual void progressBegin(std::string_view caption, unsigned colour = 0x000080) = 0;
  virtual void progressAdvance(int percent) = 0;
  virtual void progressDetail(std::string_view text) = 0;
  virtual void progressEnd() = 0;

  // The hourglass pointer.
  virtual void busy(bool on) = 0;

  // True once the user asked the running step to stop (the progress
  // window's 中止). Long steps look at it where they report progress; one
  // that sees it writes nothing more, leaves the files it would have
  // replaced as they were, and returns stepStopped(ui).
  virtual bool stopRequested() { return false; }

  // Opens a file with its associated program; false when it could not.
  virtual bool openWithShell(const std::string& path) = 0;
};

// Passes everything on to another interface; a wrapper overrides only what
// it adds (keeping the last message, a stop of its own window).
class ForwardingUserInterface : public UserInterface {
 public:
  explicit ForwardingUserInterface(UserInterface& base) : base_(base) {}
  void inform(std::string_view text, std::string_view title, Icon icon) override { base_.inform(text, title, icon); }
  Answer ask(std::string_view text, std::string_view title, Buttons buttons, Answer defaultAnswer) override {
    return base_.ask(text, title, buttons, defaultAnswer);
  }
  void progressBegin(std::string_view caption, unsigned colour) override { base_.progressBegin(caption, colour); }
  void progressAdvance(int percent) override { base_.progressAdvance(percent); }
  void progressDetail(std::string_view text) override { base_.progressDetail(text); }
  void progressEnd() override { base_.progressEnd(); }
  void busy(bool on) override { base_.busy(on); }
  bool stopRequested() override { return base_.stopRequested(); }
  bool openWithShell(const std::string& path) override { return base_.openWithShell(path); }

 protected:
  UserInterface& base_;
};

inline constexpr std::string_view kStepStoppedMessage = "処理を中止しました。ファイルは中止する前のままです。";

// Ends the progress window and says that the step was stopped.
inline StepResult stepStopped(UserInterface& ui) {
  ui.progressEnd();
  ui.inform(kStepStoppedMessage, "【トルブ】", Icon::Information);
  return StepResult::Cancelled;
}

// Shows busy for the lifetime of the object.
class BusyScope {
 public:
  explicit BusyScope(UserInterface& ui) : ui_(ui) { ui_.busy(true); }
  ~BusyScope() { ui_.busy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  UserInterface& ui_;
};

}  // namespace tolv
