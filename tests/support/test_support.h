#pragma once
// Helpers for the tests: temporary homes, CP932 file contents written as
// UTF-8 literals, and a user interface that records every message and answers
// questions from a script.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "core/session.h"
#include "core/ui.h"

namespace tolv::testing {

// A fresh temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }
  fs::path operator/(std::string_view name) const { return path_ / std::string(name); }

 private:
  fs::path path_;
};

// UTF-8 text as CP932 bytes.
std::string sj(std::string_view utf8);
// UTF-8 lines as a CP932 text file's bytes, each line ending in CR LF.
std::string sjLines(const std::vector<std::string>& lines);

// A file of tests/data (found through TOLV_TEST_DATA, which CTest sets).
fs::path testDataPath(const std::string& relative);

// Writes bytes to a file, creating its folder.
void writeBytes(const fs::path& p, std::string_view bytes);
// Reads a file's bytes ("" when missing).
std::string readBytes(const fs::path& p);

// A session on a temporary home, with the defaults file inside the home and
// the processing day set.
struct TestHome {
  TempDir dir;
  Session session;
  explicit TestHome(const std::string& meetingDate = "20020512");
  fs::path home() const { return dir.path(); }
};

struct Message {
  std::string text;
  std::string title;
  Icon icon;
};

class RecordingUi : public UserInterface {
 public:
  void inform(std::string_view text, std::string_view title, Icon icon) override;
  Answer ask(std::string_view text, std::string_view title, Buttons buttons, Answer defaultAnswer) override;
  void progressBegin(std::string_view caption, unsigned colour) override;
  void progressAdvance(int percent) override;
  void progressDetail(std::string_view text) override;
  void progressEnd() override;
  void busy(bool on) override;
  bool openWithShell(const std::string& path) override;

  // Answers given to the next questions, in order; when empty the default.
  std::deque<Answer> answers;
  std::vector<Message> messages;   // informs
  std::vector<Message> questions;  // asks
  std::vector<std::string> captions;
  std::vector<std::string> details;
  std::vector<std::string> opened;
  std::vector<int> percents;
  int busyDepth = 0;
  bool progressOpen = false;
};

}  // namespace tolv::testing
