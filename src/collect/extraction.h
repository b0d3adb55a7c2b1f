#pragma once
// Forum log extraction: cuts the processing day's WARS posts out of up to
// three forum logs into the day's cut index and, optionally, a cut file.

#include <array>
#include <string>

#include "core/dates.h"  // replaceDatePlaceholders
#include "core/session.h"
#include "core/ui.h"

namespace tolv {

// Cut file choice.
enum class CutFileStyle { Dated = 0, Named = 1, None = 2 };

// The controls of the extraction window.
struct ExtractionForm {
  std::array<std::string, 3> logPaths;
  std::array<bool, 3> ticked{};
  CutFileStyle style = CutFileStyle::Dated;
  std::string cutFolder;   // the cut-folder box
  std::string cutName;     // the user-named cut file box
  bool listedOnly = false; // "リストで指示されたソフトのみ"
};

// The window's controls as filled from the settings when it opens.
ExtractionForm extractionFormFromSettings(const Settings& s);


struct ExtractionStats {
  int posts = 0;
  long long records = 0;
  fs::path cutIndex;
  fs::path cutFile;  // empty when no cut file is written
};

// The "読み込み開始" button: checks the form, writes its FILE keys to TOLV.INI,
// and runs the extraction. Done when posts were found; Failed with its
// message otherwise.
StepResult startExtraction(Session& s, UserInterface& ui, ExtractionForm form, ExtractionStats* stats = nullptr);

}  // namespace tolv
