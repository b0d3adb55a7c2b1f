// Pending-bet files (~Byyyymmdd.TXT): the line reader, the fixed-width form
// and the file written back.
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
  return 0;
}
