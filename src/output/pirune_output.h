#pragma once
// The Pirune outputs: from the day's selection (DATA/HAyyyymmdd.DAT) a text
// listing ("HT" + date + ".txt") and a WARS-format file signed with the
// Pirune WARS code ("HW" + date + ..., named by HKA1/HKA2), both in the ぴるね
// OUTFOLDER. Only pairs whose odds lie in the odds range are written, at most
// OUTPUT per race. The listing's lines are 78 bytes wide, the WARS file's 76.
//
// Also the whole "ぴるね作成" command: the schedule check, the creation and
// these outputs.

#include <string>
#include <string_view>
#include <vector>

#include "aggregate/pirune_creation.h"
#include "core/session.h"
#include "core/ui.h"
#include "output/output_range.h"

namespace tolv {

// Width of the Pirune listing's lines and rules.
inline constexpr long kPiruneListingWidth = 78;
// Races the output table holds (three meetings of twelve races); selection
// records after these are not output.
inline constexpr std::size_t kPiruneOutputRaces = 36;
inline constexpr int kPiruneOutputPairs = 6;

// One race of the output table: the pairs in range, at most OUTPUT.
struct PiruneOutputRace {
  std::string courseCode;
  std::string raceNo;
  std::vector<PiruneCandidate> entries;
  bool hasPicks() const { return !entries.empty(); }
};

// The output table of the selection: the first 36 records, each with the
// used candidates whose odds lie in MIN..MAX (blank odds read 0), in slot
// order, at most OUTPUT (1-6).
std::vector<PiruneOutputRace> piruneOutputTable(const Settings& settings,
                                                const std::vector<PiruneSelectionRecord>& selection);

// The three banner lines: a rule of "=", the day with the greeting, a rule of "-".
std::vector<std::string> WritePiruneBanner(const Session& session);
// The 78-byte heading of a race: course, race number in full width, the
// race's conditions from the schedule and its post time.
std::string FormatPiruneHeading(const Session& session, const DaySchedule& schedule, const PiruneOutputRace& race);
// The pick line: pair + "[" + odds + "] " per entry, odds of 1000 or more as 999.9.
std::string FormatPirunePickLine(const PiruneOutputRace& race);
// The three header lines of a meeting, signed with the Pirune code and
// " 『ぴるね』 by ころもち", or " " + ORGHEDA when HEDAFLAG is set.
std::vector<std::string> WritePiruneWarsHeader(const Session& session, const DaySchedule& schedule,
                                               std::string_view courseCode);
// The race line of the WARS file ("11R   3  3- 7  3-12 "), or "" when the race
// has no pair.
std::string FormatPiruneWarsRace(const PiruneOutputRace& race);

// OUTFOLDER + "HT" + date + ".txt" and the WARS file's name by HKA1/HKA2.
fs::path piruneTextPath(const Session& session);
fs::path piruneWarsPath(const Session& session);

// The lines of both files for an output table with at least one race with picks.
struct PiruneOutputLines {
  std::vector<std::string> text, wars;
};
PiruneOutputLines piruneOutputLines(const Session& session, const DaySchedule& schedule,
                                    const std::vector<PiruneOutputRace>& table);

// Writes both files (each atomically, replacing an older one). Failed with
// "本日は『ぴるね』の買い目がありません！" when no race has a pair in range
// (the files of an earlier run are left as they were) or with a message
// naming a file that cannot be written. `written` receives the text file,
// then the WARS file.
StepResult WritePiruneOutput(Session& session, UserInterface& ui, const std::vector<PiruneSelectionRecord>& selection,
                             std::vector<fs::path>* written = nullptr);

// "ぴるね作成": Pirune creation with the schedule check of Tolv creation, then
// the output files. The caller takes the day and the odds range into the
// session first.
StepResult createPirune(Session& session, UserInterface& ui, std::vector<fs::path>* written = nullptr);

}  // namespace tolv
