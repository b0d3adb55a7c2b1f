// TARGET CSV odds: the CSV reader, the lookups, and the conversion of every
// record into PAT files in memory.
#include "fuzz_support.h"
#include "odds/csv_odds.h"
#include "odds/target_csv.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto bytes = fuzz::bytesOf(data, size);
  const std::string text = fromCp932(bytes);
  parseCsv(text, 5);
  TargetCsvFile file = parseTargetCsv(text);
  for (const auto& r : file.records) {
    if (r.size() != file.fieldCount()) __builtin_trap();
  }

  TargetCsvOdds odds(file);
  std::string wide;
  for (const char* kind : {"馬", "枠", "単"}) {
    for (const char* pick : {"03-07", "18-17", "01-19", "   36", "   81", "x"}) {
      for (const char* race : {"0611", "0601", "1012", ""}) {
        odds.lookup(kind, pick, race, "20261206", wide);
      }
    }
  }

  fs::path folder = fuzz::scratchHome() / "conv";
  fs::create_directories(folder);
  for (auto layout : {PatQuinellaLayout::Pat95, PatQuinellaLayout::Pat98}) {
    CsvOddsUpdater updater(folder, "20261206", layout);
    for (const auto& r : file.records) {
      updater.apply(r);
      csvProgressText(r);
    }
    updater.files();
  }
  return 0;
}
