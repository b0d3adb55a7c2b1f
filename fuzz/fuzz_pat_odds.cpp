// PAT odds files: the three record layouts and the lookups on a file of the
// processing day.
#include "core/session.h"
#include "fuzz_support.h"
#include "odds/pat_odds.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session session = fuzz::makeSession("20261206");
  const auto bytes = fuzz::bytesOf(data, size);

  // Each decoder, and a round trip through its encoder.
  const auto zo = PatBracketRecord::decode(bytes);
  if (zo.encode().size() != kPatBracketRecordLength) __builtin_trap();
  const auto uo95 = PatQuinella95Record::decode(bytes);
  if (uo95.encode().size() != kPatQuinella95RecordLength) __builtin_trap();
  const auto uo98 = PatQuinella98Record::decode(bytes);
  if (uo98.encode().size() != kPatQuinella98RecordLength) __builtin_trap();

  // The same bytes as both files of a race, looked up.
  fs::path folder = fuzz::scratchHome() / "odds";
  fs::create_directories(folder);
  writeFileAtomic(folder / "ZO-621.JRA", bytes);
  writeFileAtomic(folder / "UO-621.JRA", bytes);
  PatOddsReader reader(session);
  std::string wide;
  for (const char* kind : {"馬", "単", "複", "枠"}) {
    for (const char* pick : {"03-07", "01-18", "18-01", " 5", "   36", "   18", "00-00", "12"}) {
      reader.lookup95(folder / "UO-6?1.JRA", kind, pick);
      reader.lookup95(folder / "ZO-6?1.JRA", kind, pick);
      reader.lookup98(folder / "UO-6?1.JRA", kind, pick, wide);
    }
  }
  return 0;
}
