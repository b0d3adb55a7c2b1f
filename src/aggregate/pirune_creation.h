#pragma once
// Pirune creation (ぴるね): the second selection of the day. The first program
// of the Pirune list that posted anything (the base program, looked for among
// the first three entries) names the candidate horses of each race; every
// pick of the list's other programs that holds a candidate gives that horse a
// vote. The voted horses of a race are ranked by votes and paired in rank
// order; the first twenty pairs get odds from the configured odds source and
// are stored in the day's selection file DATA/HAyyyymmdd.DAT, from which the
// output step writes the text listing and the WARS-format file.
//
// The work of a run (the base program's races, their votes and pairs) is kept
// in memory: nothing but this step would read the work files, so none are
// written. The selection file is written whole, atomically.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/cut_record.h"
#include "core/session.h"
#include "core/ui.h"

namespace tolv {

inline constexpr std::size_t kPiruneSelectionRecordLength = 344;
inline constexpr int kPiruneCourses = 10;      // course codes 1-10
inline constexpr int kPiruneRaces = 12;        // race numbers 1-12
inline constexpr int kPiruneHorses = 18;       // horse numbers 1-18 (0 takes no part)
inline constexpr int kPirunePairSlots = 66;    // pairs stored per race
inline constexpr int kPiruneCandidates = 20;   // pairs taken into odds and the selection

inline constexpr std::string_view kPiruneErrorTitle = "【ぴるね】エラーメッセージ";
inline constexpr std::string_view kPiruneNoPicksMessage = "本日は『ぴるね』の買い目がありません！";
inline constexpr std::string_view kPiruneNoPicksTitle = "【ぴるね】の作成について";

// One pair slot: the pair ("03-07", smaller number first), its odds and the
// quinella-place odds of a PAT98 source (six characters each, blank when
// unknown). A slot is used while the number of the pair's last two
// characters is above 0.
struct PiruneSlot {
  std::string pair = "     ";
  std::string odds = "      ";
  std::string wideOdds = "      ";

  bool used() const;
};

// A vote position: the horse (0 until it gets a vote) and its votes.
struct PiruneVote {
  int horse = 0;
  int count = 0;
};

// One race of the base program with its votes and pairs.
struct PiruneRaceEntry {
  bool marked = false;                      // the base named at least one pair
  std::string raceNo;                       // RaceNo of the base record, as posted
  std::array<bool, kPiruneHorses + 1> baseMarks{};  // horses 0-18 named by the base
  std::array<PiruneVote, kPiruneHorses + 1> votes{};  // positions 0-18; 0 is never ranked
  std::array<PiruneSlot, kPirunePairSlots> pairs{};
};

// A horse number read from characters of a pick: its number when that is a
// whole number in 0-18, else -1 (such a number is skipped).
int piruneHorse(std::string_view text);

// Ranks vote positions 1-18 by votes, most first, with the exchange the
// program has always used: for i = 1..17, j = i+1..18, positions i and j
// (horse and votes) are swapped when votes(i) < votes(j). Equal counts end in
// the order this exchange leaves them (1, 2, 2 for horses 1, 2, 3 ranks 2, 3, 1).
void rankPiruneVotes(PiruneRaceEntry& race);

// Fills the pair slots from the ranked votes: (1st, 2nd), (1st, 3rd), ...,
// (2nd, 3rd), ... of the voted horses, each pair written smaller number
// first; pairs beyond the 66 slots are not stored, later slots stay blank.
void BuildPirunePairs(PiruneRaceEntry& race);

// Orders pair slots 1-20 by the number of their odds, with the program's
// exchange (slots i < j swapped when odds(i) > odds(j)). Blank odds count as
// 0, so unused slots and pairs without odds move ahead of priced pairs. The
// quinella-place odds stay where they are.
void sortPiruneSlotsByOdds(std::array<PiruneSlot, kPirunePairSlots>& pairs);

// A record of the selection file.
struct PiruneCandidate {
  std::string pair;  // 5
  std::string odds;  // 6
};
struct PiruneSelectionRecord {
  std::string courseCode;                   // 2 digits, "05"
  std::string raceNo;                       // 2, as the base posted it
  std::vector<PiruneCandidate> candidates;  // the used slots, at most 20, in order

  // 344 bytes: course, race, then 20 slots of pair (5), odds (6) and six
  // spaces; unused slots are blank.
  std::string encode() const;
  static PiruneSelectionRecord decode(std::string_view bytes);
};

// DATA/ + "HA" + date + ".DAT".
fs::path piruneSelectionPath(const Session& s);
// The Pirune list: LIST2 of section OTHER, taken from the home folder.
fs::path piruneListPath(const Session& s);

// Attaches odds to the pairs of one race from the odds source of the settings
// (ODDS/PAT), by the rules of the odds import: PAT95/PAT98 files of PATFolder
// ("0", "1"), of WarsOdds/ ("2"), the TARGET CSV file ("3") or the MJH text
// ("4"). Each odds file is read once per run. A missing TARGET CSV file or
// MJH text is reported once, at the first race that needs it; the races keep
// blank odds and the run goes on.
class PiruneOddsAttacher {
 public:
  PiruneOddsAttacher(const Session& s, UserInterface& ui);
  ~PiruneOddsAttacher();
  PiruneOddsAttacher(const PiruneOddsAttacher&) = delete;
  PiruneOddsAttacher& operator=(const PiruneOddsAttacher&) = delete;

  // Pair slots 1-20 of race `race` of course `course`, ending at the first
  // unused slot.
  void attach(int course, int race, PiruneRaceEntry& entry);

 private:
  void prepare();
  struct State;
  const Session& session_;
  UserInterface& ui_;
  bool prepared_ = false;
  std::unique_ptr<State> state_;
};

// What the creation takes from the modules it does not depend on: the
// reader of the list's codes (the software lists' loadCodeList) and the
// schedule check that runs once the inputs are known to be there (the one
// Tolv creation uses).
struct PiruneHooks {
  std::function<std::vector<std::string>(const fs::path&)> loadCodeList;
  std::function<void(Session&)> checkSchedule;
};

// What a run produced.
struct PiruneCreation {
  std::string baseCode;  // the base program's WARS code
  int baseEntry = 0;     // its entry in the list, 1-3
  std::vector<PiruneSelectionRecord> selection;
};

// The whole creation, in the order the user sees it: the list (missing, or
// fewer than two codes), the cut index (missing, then the schedule check,
// then empty), the base program, its races, the votes, and per course and
// race the ranking, pairs, odds, optional odds order (SORTFLAG) and the
// selection record. Writes the selection file (also when it stays empty).
//
// Done with at least one selection record; Failed with its message otherwise
// (the message of a day without pairs included). The output files are the
// output step's.
StepResult createPiruneSelection(Session& s, UserInterface& ui, const PiruneHooks& hooks,
                                 PiruneCreation* out = nullptr);

}  // namespace tolv
