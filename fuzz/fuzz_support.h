#pragma once
// What the fuzz targets share: a user interface that answers every question
// with its default and shows nothing, a scratch home under /tmp made once per
// process and removed at its exit, and the input split into text lines.
//
// Targets never write outside their scratch home.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/cp932.h"
#include "core/files.h"
#include "core/session.h"
#include "core/ui.h"

// Durability is no concern of a fuzz run: the atomic writes' fsync would
// spend most of its time waiting for the disk. (Each target is one
// translation unit, so this definition exists once per program.)
extern "C" int fsync(int) { return 0; }

namespace tolv::fuzz {

class QuietUi : public UserInterface {
 public:
  void inform(std::string_view, std::string_view, Icon) override {}
  Answer ask(std::string_view, std::string_view, Buttons, Answer defaultAnswer) override { return defaultAnswer; }
  void progressBegin(std::string_view, unsigned) override {}
  void progressAdvance(int) override {}
  void progressDetail(std::string_view) override {}
  void progressEnd() override {}
  void busy(bool) override {}
  bool openWithShell(const std::string&) override { return false; }
};

// A temporary folder made on first use, removed when the process exits.
inline const fs::path& scratchHome() {
  static const fs::path home = [] {
    std::string templ = (fs::temp_directory_path() / "tolv-fuzz-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    static fs::path made = templ;
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(made, ec);
    });
    return made;
  }();
  return home;
}

// A session on the scratch home with the processing day set. The defaults
// file lives inside the home as well.
inline Session makeSession(const std::string& meetingDate) {
  auto s = Session::create(scratchHome());
  if (!s) std::abort();
  s->setDefaultsPath(scratchHome() / "defaults.ini");
  s->setMeetingDate(meetingDate);
  return std::move(*s);
}

inline std::string_view bytesOf(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Writes the input as a file of the scratch home and returns its path.
inline fs::path writeInput(const std::string& name, std::string_view bytes) {
  fs::path p = scratchHome() / name;
  if (!writeFileAtomic(p, bytes)) std::abort();
  return p;
}

// CP932 bytes as UTF-8 lines, split at CR LF, LF or CR (what readTextLines gives).
inline std::vector<std::string> textLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(fromCp932(bytes.substr(start, i - start)));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(fromCp932(bytes.substr(start)));
  return lines;
}

}  // namespace tolv::fuzz
