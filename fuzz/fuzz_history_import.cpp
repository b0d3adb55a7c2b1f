// The history import: a damaged cut index and results file of a day. The
// input's first two bytes give the length of the cut index part (modulo the
// rest); the remainder is the day's results file. A day either is refused
// (and the database keeps what it had) or is stored, and then its figures
// hold together.
#include "fuzz_support.h"
#include "history/backtest.h"
#include "history/program_stats.h"
#include "output/race_results.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string bytes(fuzz::bytesOf(data + 2, size - 2));
  const std::size_t split = bytes.empty() ? 0 : (static_cast<std::size_t>(data[0]) << 8 | data[1]) % (bytes.size() + 1);

  const std::string day = "20261206";
  static Session session = fuzz::makeSession(day);
  static auto db = HistoryDb::open(historyDbPath(session), HistoryDb::Mode::ReadWrite);
  if (!db) __builtin_trap();
  writeFileAtomic(session.cutIndexPath(), bytes.substr(0, split));
  writeFileAtomic(resultsFilePath(session), bytes.substr(split));

  fuzz::QuietUi ui;
  const std::vector<StoredDay> before = db->days();
  if (importHistoryDay(session, ui, *db, day) != StepResult::Done) {
    const std::vector<StoredDay> after = db->days();
    if (after.size() != before.size()) __builtin_trap();
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (after[i].imported != before[i].imported || after[i].posts != before[i].posts) __builtin_trap();
    }
    return 0;
  }
  for (HistoryBet bet : {HistoryBet::Quinella, HistoryBet::Wide, HistoryBet::Bracket}) {
    ProgramQuery q;
    q.bet = bet;
    for (const ProgramFigures& p : programFigures(*db, q)) {
      if (p.hits > p.picks || p.stake != p.picks * kStakePerPick || p.races > p.picks || p.longestMiss > p.races) {
        __builtin_trap();
      }
    }
    BacktestQuery b;
    b.bet = bet;
    const auto r = runBacktest(*db, b);
    if (!r || r->hits > r->bets || r->stake != r->bets * kStakePerPick) __builtin_trap();
  }
  return 0;
}
