// LZH archives: unpacked into the scratch home's Work folder, which must hold
// nothing but what the result says was written.
#include "core/lzh.h"
#include "fuzz_support.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session session = fuzz::makeSession("20261206");
  const fs::path archive = fuzz::writeInput("input.lzh", fuzz::bytesOf(data, size));
  const auto result = unpackArchive(session, archive);

  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(session.workFolder())) {
    (void)entry;
    ++files;
  }
  if (files > result.written.size()) __builtin_trap();
  // Nothing may land beside the archive or above the home.
  for (const auto& entry : fs::directory_iterator(fuzz::scratchHome())) {
    const auto name = entry.path().filename().string();
    if (entry.is_regular_file() && name != "input.lzh" && name != "defaults.ini" && name != "TOLV.INI") __builtin_trap();
  }
  return 0;
}
