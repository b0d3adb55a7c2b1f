// Race results: PAT results files (ks-?????.JRA, both layouts), the day's
// results file, and the WARS file annotated with them.
#include "fuzz_support.h"
#include "output/race_results.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto bytes = fuzz::bytesOf(data, size);

  // The input as a PAT results file of the day, in both layouts.
  fs::path folder = fuzz::scratchHome() / "pat";
  fs::create_directories(folder);
  writeFileAtomic(folder / "ks-61206.JRA", bytes);
  std::vector<RaceResultRecord> results;
  for (auto layout : {PatResultsLayout::Pat95, PatResultsLayout::Pat98}) {
    auto day = collectRaceResults(folder, layout, "20261206");
    results.insert(results.end(), day.begin(), day.end());
    std::string date;
    convertPatResults(bytes, layout, &date);
  }

  // The input as the day's results file.
  const fs::path sei = fuzz::writeInput("Sei20261206.DAT", bytes);
  if (auto stored = readResultsFile(sei)) {
    for (const auto& r : *stored) {
      if (r.encode().size() != kRaceResultRecordLength) __builtin_trap();
    }
    results.insert(results.end(), stored->begin(), stored->end());
  }

  // And as a WARS-format file checked against all of them.
  annotateWarsLines(fuzz::textLines(bytes), results);
  return 0;
}
