#pragma once
// LZH archives (race cards, predicted odds) unpacked with liblhasa.

#include <string>
#include <vector>

#include "core/session.h"

namespace tolv {

// The unpacked total of one archive is capped.
inline constexpr std::size_t kMaxUnpackedBytes = 512ull << 20;

struct UnpackResult {
  bool ok = false;                   // the archive could be read to its end
  std::vector<std::string> written;  // base names written into the unpack folder
  std::vector<std::string> refused;  // member names refused (.., absolute, links)
  std::string error;                 // why it was not ok
  std::string writeError;            // a member that could not be written (disk full, ...)
};

// Empties the unpack folder inside WorkFolder, then writes each member of the archive into it by its
// base name. Members whose names hold "..", absolute names and links are
// refused; directories are skipped; a member whose data does not check out is
// removed again. The total written is capped at kMaxUnpackedBytes.
UnpackResult unpackArchive(const Session& s, const fs::path& archive);

}  // namespace tolv
