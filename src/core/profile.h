#pragma once
// Private-profile (INI) files as Windows reads and writes them: section and
// key names compared ignoring case, blanks around '=' and around the value
// ignored, one pair of surrounding quotes removed, the first of two equal keys
// wins, ';' starts a comment line. Values are at most 1023 bytes. Writing a key
// keeps every other line of the file byte for byte; a new key goes at the end
// of its section, a new section at the end of the file. Files are CP932.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"

namespace tolv {

class ProfileFile {
 public:
  // Loads the file; a missing file is an empty profile. Returns nullopt only
  // when the file exists but cannot be read.
  static std::optional<ProfileFile> load(const fs::path& p, std::string* error = nullptr);
  // A profile from CP932 bytes (for tests and parsing).
  static ProfileFile fromBytes(const fs::path& p, std::string_view bytes);

  // The value, or "" when the section or key is missing.
  std::string get(std::string_view section, std::string_view key) const;
  bool has(std::string_view section, std::string_view key) const;
  void set(std::string_view section, std::string_view key, std::string_view value);

  bool save(std::string* error = nullptr) const;
  std::string bytes() const;
  const fs::path& path() const { return path_; }

 private:
  struct Line {
    std::string raw;  // CP932 bytes without the line end
    std::string end;  // "\r\n", "\n", "\r" or "" for a last line without one
  };
  // Index of the section header line, or -1.
  long findSection(std::string_view section) const;
  // Index of the key's line within the section starting at `header`, or -1.
  long findKey(long header, std::string_view key) const;

  fs::path path_;
  std::vector<Line> lines_;
};

// One value read from a profile file ("" when anything is missing).
std::string readProfileString(const fs::path& p, std::string_view section, std::string_view key);
// Writes one value into a profile file, keeping the rest of it.
bool writeProfileString(const fs::path& p, std::string_view section, std::string_view key, std::string_view value,
                        std::string* error = nullptr);

}  // namespace tolv
