#pragma once
// Tidying the day's pending-bet file in place: removing or merging repeated
// bets, and sorting. Each command shows what it found and rewrites the file
// (atomically) only after the user's OK. Any number of entries is handled.

#include <vector>

#include "core/pending_bet.h"
#include "core/session.h"
#include "core/ui.h"

namespace tolv {

// Two entries are duplicates when pick, type, course and race are equal as
// stored (normalised); odds and stake do not take part.
bool isDuplicateBet(const PendingBetEntry& a, const PendingBetEntry& b);

// The nine-digit sort key of a normalised entry: course code, race number,
// bet-type digit and a four-digit pick key, as a number.
long pendingBetSortKey(const PendingBetEntry& e);

// Keeps the first occurrence of every bet. Done also when there was nothing
// to remove; Cancelled on Cancel; Failed when the file is missing or unusable.
StepResult RemoveDuplicateBets(Session& s, UserInterface& ui);
// Folds repeated bets into their first occurrence, adding the stakes.
StepResult MergeDuplicateBets(Session& s, UserInterface& ui);
// Orders the bets by course, race, bet type and pick.
StepResult SortPendingBets(Session& s, UserInterface& ui);

}  // namespace tolv
