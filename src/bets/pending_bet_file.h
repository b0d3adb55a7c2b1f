#pragma once
// Writing picks to the day's pending-bet file (the result grid's and the WARS
// viewer's "保留BETへ出力").

#include <vector>

#include "core/pending_bet.h"
#include "core/session.h"
#include "core/ui.h"

namespace tolv {

// Title of the question asked when the day's file already exists.
inline constexpr std::string_view kPendingBetConfirmTitle = "保留ＢＥＴへの出力確認！";

// Writes `entries` (already built by the caller, stakes summed into `total`)
// to the day's pending-bet file. A new file is created and the counts are
// reported; an existing one is replaced (上書き) or extended (追加) at the
// user's choice, 中止 leaves it untouched (Cancelled). Failed when the file
// cannot be written.
StepResult WritePendingBets(Session& s, UserInterface& ui, const std::vector<PendingBetEntry>& entries, long total);
// As above with the total summed from the entries' stakes.
StepResult WritePendingBets(Session& s, UserInterface& ui, const std::vector<PendingBetEntry>& entries);

}  // namespace tolv
