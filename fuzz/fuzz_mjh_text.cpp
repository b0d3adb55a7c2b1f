// MJH text (RX + yymmdd + .TXT): the parser and the data file records.
#include "core/mjh_record.h"
#include "fuzz_support.h"
#include "odds/mjh.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto records = parseMjhText(fuzz::textLines(fuzz::bytesOf(data, size)));
  for (const auto& r : records) {
    const std::string bytes = r.encode();
    MjhRecord::decode(bytes);
  }
  return 0;
}
