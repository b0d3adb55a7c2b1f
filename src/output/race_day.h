#pragma once
// The race-day commands of the execution menu that drive the Tolv selection,
// shared by the desktop program and tolv-cli. The caller takes the day and
// the ranges into the session first.

#include <vector>

#include "core/session.h"
#include "core/ui.h"

namespace tolv {

struct RaceDayOutputs {
  std::vector<fs::path> listings;  // text listings written
  fs::path wars;                   // WARS-format file written
};

// "トルブ作成": Tolv creation, then odds import and the text listing. The
// listing is written also when the odds import stops with one of its messages
// (no TARGET CSV file, ...); the step then ends Failed, as "オッズ再読込" does.
StepResult createTolv(Session& s, UserInterface& ui, RaceDayOutputs* out = nullptr);

// "オッズ再読込": when the day has Tolv files, imports odds and rewrites the
// listing. Cancelled (and nothing done) when there are none.
StepResult reloadOdds(Session& s, UserInterface& ui, RaceDayOutputs* out = nullptr);

// "トルブ再編": when the day has Tolv files, rewrites the listing.
StepResult rebuildListing(Session& s, UserInterface& ui, RaceDayOutputs* out = nullptr);

// "WARS形式出力": writes the WARS-format file; its error message when the day
// has no Tolv files.
StepResult outputWars(Session& s, UserInterface& ui, RaceDayOutputs* out = nullptr);

// The schedule check of the steps, with the MJH conversion of the odds module.
bool checkMeetingSchedule(Session& s);

}  // namespace tolv
