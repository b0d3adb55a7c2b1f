#include "support/test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "core/cp932.h"

namespace tolv::testing {

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "tolv-test-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

fs::path testDataPath(const std::string& relative) {
  const char* dir = std::getenv("TOLV_TEST_DATA");
  if (!dir || !*dir) throw std::runtime_error("TOLV_TEST_DATA is not set");
  return fs::path(dir) / relative;
}

std::string sj(std::string_view utf8) { return toCp932(utf8); }

std::string sjLines(const std::vector<std::string>& lines) { return encodeTextLines(lines); }

void writeBytes(const fs::path& p, std::string_view bytes) {
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  if (!writeFileAtomic(p, bytes)) throw std::runtime_error("cannot write " + p.string());
}

std::string readBytes(const fs::path& p) {
  auto d = readFile(p);
  return d ? *d : std::string();
}

namespace {
Session makeSession(const fs::path& home, const std::string& date) {
  auto s = Session::create(home);
  if (!s) throw std::runtime_error("cannot create a session");
  s->setDefaultsPath(home / "defaults" / "defaults.ini");
  s->loadSettings();
  s->setMeetingDate(date);
  return std::move(*s);
}
}  // namespace

TestHome::TestHome(const std::string& meetingDate) : session(makeSession(dir.path(), meetingDate)) {}

void RecordingUi::inform(std::string_view text, std::string_view title, Icon icon) {
  messages.push_back({std::string(text), std::string(title), icon});
}

Answer RecordingUi::ask(std::string_view text, std::string_view title, Buttons, Answer defaultAnswer) {
  questions.push_back({std::string(text), std::string(title), Icon::Question});
  if (answers.empty()) return defaultAnswer;
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

void RecordingUi::progressBegin(std::string_view caption, unsigned) {
  captions.emplace_back(caption);
  progressOpen = true;
}
void RecordingUi::progressAdvance(int percent) { percents.push_back(percent); }
void RecordingUi::progressDetail(std::string_view text) { details.emplace_back(text); }
void RecordingUi::progressEnd() { progressOpen = false; }
void RecordingUi::busy(bool on) { busyDepth += on ? 1 : -1; }
bool RecordingUi::openWithShell(const std::string& path) {
  opened.push_back(path);
  return true;
}

}  // namespace tolv::testing
