// Software lists (TOLVSOFT.LST, PIRUNE.LST, warssoft.lst).
#include "collect/software_list.h"
#include "fuzz_support.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto bytes = fuzz::bytesOf(data, size);
  parseSoftwareList(fuzz::textLines(bytes), kMaxProgramNames);
  loadCodeList(fuzz::writeInput("PIRUNE.LST", bytes));
  return 0;
}
