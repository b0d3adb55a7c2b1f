#pragma once
// Where ヘルプ → トピックの検索 finds the user guide: the HTML pages built from
// docs/user-guide.md (cmake/UserGuide.cmake).

#include <vector>

#include "core/files.h"
#include "core/ui.h"

class QWidget;

namespace tolv::ui {

// The places looked at, in order: the guide installed under the program's
// own prefix (bin/../share/doc/tolv/html), the one installed under the
// configured prefix, and the one in the build tree the program was built in.
std::vector<fs::path> userGuideCandidates(const fs::path& programFolder);

// The first candidate that exists; empty when none does.
fs::path findUserGuide(const fs::path& programFolder);
fs::path findUserGuide(const std::vector<fs::path>& candidates);

enum class GuideShown { Shell, Window, Missing };

// ヘルプ → トピックの検索: the first of `candidates` that exists, opened with
// the desktop's program for HTML, or in the program's own guide window
// ("frmHelp") when the desktop has none; when no candidate exists,
// "ヘルプファイル「…」を開けません！" naming the first.
GuideShown openUserGuide(UserInterface& ui, const std::vector<fs::path>& candidates, QWidget* parent);

}  // namespace tolv::ui
