#include "cli/terminal_ui.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "core/text.h"

namespace tolv::cli {
namespace {

std::string forTerminal(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') continue;
      out.push_back('\n');
    } else {
      out.push_back(text[i]);
    }
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

struct Choice {
  Answer answer;
  const char* word;   // what --answer and the prompt take
  const char* label;  // the button's caption
};

std::vector<Choice> choicesOf(Buttons b) {
  switch (b) {
    case Buttons::Ok: return {{Answer::Ok, "ok", "OK"}};
    case Buttons::OkCancel: return {{Answer::Ok, "ok", "OK"}, {Answer::Cancel, "cancel", "キャンセル"}};
    case Buttons::YesNo: return {{Answer::Yes, "yes", "はい"}, {Answer::No, "no", "いいえ"}};
    case Buttons::YesNoCancel:
      return {{Answer::Yes, "yes", "はい"}, {Answer::No, "no", "いいえ"}, {Answer::Cancel, "cancel", "キャンセル"}};
    case Buttons::OverwriteAppendCancel:
      return {{Answer::Overwrite, "overwrite", "上書き"}, {Answer::Append, "append", "追加"}, {Answer::Abort, "cancel", "中止"}};
  }
  return {};
}

// The cautious answer of a question: Cancel, No, 中止.
Answer cautious(Buttons b) {
  switch (b) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: return Answer::Cancel;
    case Buttons::OverwriteAppendCancel: return Answer::Abort;
  }
  return Answer::Cancel;
}

bool isCautious(Answer a) { return a == Answer::Cancel || a == Answer::No || a == Answer::Abort; }

bool isButtonOf(Answer a, Buttons b) {
  for (const auto& c : choicesOf(b)) {
    if (c.answer == a) return true;
  }
  return false;
}

// An --answer given for this very question: its own button, or the button
// that means the same. A cautious word always gives the cautious answer; an
// affirmative word answers only where it cannot be misread: "yes" takes OK,
// and Bet Auto's はい/いいえ question reads はい as 上書き and いいえ as 追加.
// "ok" or "overwrite" never answers a Yes/No question (it deletes the
// pending bets), nor "yes" or "ok" the choice of 上書き/追加.
std::optional<Answer> fit(Answer a, Buttons b) {
  if (isButtonOf(a, b)) return a;
  if (isCautious(a)) return cautious(b);
  switch (b) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel:
      if (a == Answer::Yes) return Answer::Ok;
      return std::nullopt;
    case Buttons::YesNoCancel:
      if (a == Answer::Overwrite) return Answer::Yes;
      if (a == Answer::Append) return Answer::No;
      return std::nullopt;
    case Buttons::YesNo:
    case Buttons::OverwriteAppendCancel: return std::nullopt;
  }
  return std::nullopt;
}

// The last --answer, reused for a later question: only where it is one of
// that question's own buttons (or a cautious word); anything else would read
// it another way than the user gave it.
std::optional<Answer> fitReused(Answer a, Buttons b) {
  if (isButtonOf(a, b)) return a;
  if (isCautious(a) || b == Buttons::Ok) return cautious(b);
  return std::nullopt;
}

const char* wordOf(Answer a) {
  switch (a) {
    case Answer::Ok: return "ok";
    case Answer::Cancel: return "cancel";
    case Answer::Yes: return "yes";
    case Answer::No: return "no";
    case Answer::Overwrite: return "overwrite";
    case Answer::Append: return "append";
    case Answer::Abort: return "cancel";
  }
  return "";
}

}  // namespace

std::optional<Answer> parseAnswer(const std::string& text) {
  std::string t = upperAscii(text);
  if (t == "OK") return Answer::Ok;
  if (t == "CANCEL") return Answer::Cancel;
  if (t == "YES") return Answer::Yes;
  if (t == "NO") return Answer::No;
  if (t == "OVERWRITE") return Answer::Overwrite;
  if (t == "APPEND") return Answer::Append;
  return std::nullopt;
}

TerminalUi::TerminalUi(std::vector<Answer> presetAnswers, bool quiet)
    : presets_(std::move(presetAnswers)), showProgress_(!quiet && ::isatty(STDERR_FILENO)) {}

std::optional<TerminalUi::Preset> TerminalUi::nextPreset() {
  if (presets_.empty()) return std::nullopt;
  const bool reused = asked_ >= presets_.size();
  const Answer a = presets_[std::min(asked_, presets_.size() - 1)];
  ++asked_;
  return Preset{a, reused};
}

void TerminalUi::inform(std::string_view text, std::string_view title, Icon) {
  clearBar();
  if (!title.empty()) std::cerr << title << '\n';
  std::cerr << forTerminal(text) << '\n' << std::flush;
  drawBar();
}

Answer TerminalUi::ask(std::string_view text, std::string_view title, Buttons buttons, Answer defaultAnswer) {
  clearBar();
  if (!title.empty()) std::cerr << title << '\n';
  std::cerr << forTerminal(text) << '\n';
  auto choices = choicesOf(buttons);
  if (auto preset = nextPreset()) {
    if (auto a = preset->reused ? fitReused(preset->answer, buttons) : fit(preset->answer, buttons)) {
      for (const auto& c : choices) {
        if (c.answer == *a) std::cerr << "→ " << c.label << " (--answer)\n";
      }
      drawBar();
      return *a;
    }
    if (preset->reused) {
      // A reused answer that does not fit is never put to a terminal prompt
      // either: the script asked for no questions.
      const Answer a = cautious(buttons);
      for (const auto& c : choices) {
        if (c.answer == a)
          std::cerr << "→ " << c.label << " (--answer " << wordOf(preset->answer)
                    << " does not answer this question: the cautious answer)\n";
      }
      drawBar();
      return a;
    }
  }
  if (::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO)) {
    for (;;) {
      std::cerr << "[";
      for (std::size_t i = 0; i < choices.size(); ++i) {
        std::cerr << (i ? " / " : "") << choices[i].word << "=" << choices[i].label
                  << (choices[i].answer == defaultAnswer ? "*" : "");
      }
      std::cerr << "] " << std::flush;
      std::string line;
      if (!std::getline(std::cin, line)) break;
      line = trim(line);
      if (line.empty()) {
        drawBar();
        return defaultAnswer;
      }
      for (const auto& c : choices) {
        if (equalsIgnoreCase(line, c.word) || line == c.label) {
          drawBar();
          return c.answer;
        }
      }
    }
  }
  Answer a = cautious(buttons);
  for (const auto& c : choices) {
    if (c.answer == a) std::cerr << "→ " << c.label << " (no terminal to ask: the cautious answer)\n";
  }
  drawBar();
  return a;
}

void TerminalUi::progressBegin(std::string_view caption, unsigned) {
  clearBar();
  caption_ = std::string(caption);
  percent_ = 0;
  if (showProgress_) {
    barShown_ = true;
    drawBar();
  }
}

void TerminalUi::progressAdvance(int percent) {
  if (percent == percent_) return;
  percent_ = percent;
  drawBar();
}

void TerminalUi::progressDetail(std::string_view) {}

void TerminalUi::progressEnd() {
  clearBar();
  barShown_ = false;
}

void TerminalUi::drawBar() {
  if (!showProgress_ || !barShown_) return;
  int filled = percent_ * 30 / 100;
  std::cerr << "\r\x1b[K" << leftBytes(caption_, 40) << " [" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(30 - filled), '.') << "] " << percent_ << "%" << std::flush;
}

void TerminalUi::clearBar() {
  if (showProgress_ && barShown_) std::cerr << "\r\x1b[K" << std::flush;
}

bool TerminalUi::openWithShell(const std::string& path) {
  // Headless: say where the file is instead of opening it.
  std::cout << path << '\n';
  return true;
}

}  // namespace tolv::cli
