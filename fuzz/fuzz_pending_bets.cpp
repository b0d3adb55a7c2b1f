// Pending-bet files (~Byyyymmdd.TXT): the line reader, the fixed-width form
// and the file written back; the rewriting commands' reading that keeps the
// lines it does not understand.
#include "core/pending_bet.h"
#include "fuzz_support.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto bytes = fuzz::bytesOf(data, size);
  const auto entries = readPendingBets(fuzz::writeInput("~B20261206.TXT", bytes));
  std::vector<PendingBetEntry> normalized;
  for (const auto& e : entries) {
    betKindOf(e.type);
    stakeText(stakeYen(e.stake));
    normalized.push_back(normalizePendingBet(e));
  }
  // What is written reads back as as many entries.
  const auto written = fuzz::writeInput("~B20261207.TXT", encodePendingBets(normalized));
  if (readPendingBets(written).size() != normalized.size()) __builtin_trap();

  // The rewriting commands' reading: whole entries and lines kept as they
  // stand. Written back, every kept line is the same bytes and every entry
  // reads back as a whole entry.
  const auto path = fuzz::writeInput("~B20261208.TXT", bytes);
  if (auto lines = readPendingBetLines(path)) {
    for (auto& l : *lines) {
      if (l.entry) l.entry = normalizePendingBet(*l.entry);
    }
    const auto again = readPendingBetLines(fuzz::writeInput("~B20261209.TXT", encodePendingBetLines(*lines)));
    if (!again || again->size() != lines->size()) __builtin_trap();
    for (std::size_t i = 0; i < lines->size(); ++i) {
      if ((*lines)[i].entry.has_value() != (*again)[i].entry.has_value()) __builtin_trap();
      if (!(*lines)[i].entry && (*lines)[i].bytes != (*again)[i].bytes) __builtin_trap();
    }
  }
  return 0;
}
