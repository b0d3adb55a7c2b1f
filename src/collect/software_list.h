#pragma once
// Software list files (TOLVSOFT.LST, PIRUNE.LST, warssoft.lst): one program
// per line, WARS code in bytes 1-4 and a short name in bytes 5-10.

#include <string>
#include <vector>

#include "core/session.h"

namespace tolv {

inline constexpr std::size_t kMaxCodeListEntries = 256;

// The entries of a list file's lines: a line counts when the number of its
// first four bytes lies in 1-9999 and the number of its first byte in 0-9.
// Stops after `limit` entries.
std::vector<ProgramEntry> parseSoftwareList(const std::vector<std::string>& lines, std::size_t limit);

// The program-name table: AppFolder + LIST1, or warssoft.lst when that file
// does not exist; empty when neither does. At most 1024 entries.
std::vector<ProgramEntry> loadProgramNames(const Session& s);

// The codes of a list file (for Pirune), at most 256; empty when missing.
std::vector<std::string> loadCodeList(const fs::path& path);

}  // namespace tolv
