#pragma once
// A suggested software list: the best programs of the figures, written in the
// lists' own format by the list editor's rules (saveAsPath, writeListFile:
// atomic, in the home folder), asking before it replaces a file.

#include <string>
#include <vector>

#include "collect/list_rules.h"
#include "core/session.h"
#include "core/ui.h"
#include "history/program_stats.h"

namespace tolv {

// The first `top` programs as adopted list rows, in the figures' order: code
// as four digits, the short name.
std::vector<ListRow> suggestedListRows(const std::vector<ProgramFigures>& ranked, int top);

inline constexpr std::string_view kReplaceListTitle = "リストの保存";

// Writes the rows to the list `name` (AppFolder + name, ".lst" added as the
// editor adds it). An existing file is replaced only after a Yes to
// "…は既に存在します。置き換えますか？"; No is Cancelled. Failed with a message
// naming the file when the name or the writing fails.
StepResult writeSuggestedList(const Session& session, UserInterface& ui, const std::string& name,
                              const std::vector<ListRow>& rows, fs::path* written = nullptr);

}  // namespace tolv
