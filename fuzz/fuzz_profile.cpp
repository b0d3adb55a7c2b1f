// TOLV.INI: the profile reader and writer, and the settings loaded from it.
#include "core/profile.h"
#include "core/settings.h"
#include "fuzz_support.h"

using namespace tolv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto bytes = fuzz::bytesOf(data, size);
  const fs::path ini = fuzz::writeInput("TOLV.INI", bytes);

  auto profile = ProfileFile::fromBytes(ini, bytes);
  profile.get("FILE", "LogFile1");
  profile.has("ODDS", "PAT");
  // Writing keeps every other line; the result must read back the value.
  profile.set("FILE", "LogFile1", "logs/FORUM1.LOG");
  profile.set("新しい", "キー", "\"値\"");
  const std::string written = profile.bytes();
  auto again = ProfileFile::fromBytes(ini, written);
  if (again.get("FILE", "LogFile1") != "logs/FORUM1.LOG") __builtin_trap();

  const SettingsFolders folders{fuzz::scratchHome().string() + "/", fuzz::scratchHome().string() + "/DATA/",
                                fuzz::scratchHome().string() + "/OutPut/"};
  Settings s = loadSettings(ini, folders);
  settingValues(s);
  return 0;
}
