// KOL predicted-odds records (kol_ods.KD2): every 1504-byte record of the
// input (the last one may be short) decoded and made into its PAT files.
#include "fuzz_support.h"
#include "odds/kol_odds.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto bytes = fuzz::bytesOf(data, size);
  for (std::size_t at = 0; at < bytes.size(); at += kKolRecordLength) {
    const auto r = KolRaceRecord::decode(bytes.substr(at, kKolRecordLength));
    r.runnerCount();
    r.hasQuinellaFile();
    kolProgressText(r);
    kolConversionHeading(r);
    if (auto files = kolRaceFiles(r)) {
      files->bracket.encode();
      if (files->quinella) {
        encodeQuinella(*files->quinella, PatQuinellaLayout::Pat95);
        encodeQuinella(*files->quinella, PatQuinellaLayout::Pat98);
      }
    }
    for (const auto& cell : r.quinella) kolQuinella98Odds(cell);
  }
  return 0;
}
