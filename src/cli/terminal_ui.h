#pragma once
// The user interface of tolv-cli: messages on stderr, a progress bar when
// stderr is a terminal, questions answered by --answer, at a terminal prompt,
// or with the cautious answer when there is no terminal. Several --answer
// values go to the questions in turn; the last one is reused only for a later
// question whose own buttons include it, every other question gets the
// cautious answer (Cancel, No, 中止).

#include <optional>
#include <string>
#include <vector>

#include "core/ui.h"

namespace tolv::cli {

class TerminalUi : public UserInterface {
 public:
  TerminalUi(std::vector<Answer> presetAnswers, bool quiet);

  void inform(std::string_view text, std::string_view title, Icon icon) override;
  Answer ask(std::string_view text, std::string_view title, Buttons buttons, Answer defaultAnswer) override;
  void progressBegin(std::string_view caption, unsigned colour) override;
  void progressAdvance(int percent) override;
  void progressDetail(std::string_view text) override;
  void progressEnd() override;
  void busy(bool) override {}
  bool openWithShell(const std::string& path) override;

 private:
  void drawBar();
  void clearBar();
  struct Preset {
    Answer answer;
    bool reused;  // the last --answer, given again past the ones listed
  };
  std::optional<Preset> nextPreset();
  std::vector<Answer> presets_;
  std::size_t asked_ = 0;
  bool showProgress_;
  bool barShown_ = false;
  std::string caption_;
  int percent_ = 0;
};

// Parses an --answer value.
std::optional<Answer> parseAnswer(const std::string& text);

}  // namespace tolv::cli
