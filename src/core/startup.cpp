#include "core/startup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/codes.h"
#include "core/pending_bet.h"
#include "core/profile.h"
#include "core/text.h"

namespace tolv {

std::unique_ptr<InstanceLock> InstanceLock::acquire(const fs::path& home, std::string* error, Failure* why) {
  auto fail = [&](Failure f, const std::string& text) {
    if (why) *why = f;
    if (error) *error = text;
    return nullptr;
  };
  std::error_code ec;
  if (!fs::is_directory(home, ec)) return fail(Failure::NotAFolder, "not a folder");
  fs::path p = home / ".tolv.lock";
  int fd = ::open(p.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 && (errno == EROFS || errno == EACCES || errno == EPERM)) {
    // A lock file that is there can still be locked read-only.
    fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(Failure::ReadOnly, std::string("the lock file cannot be made: ") + std::strerror(errno));
  }
  if (fd < 0) return fail(Failure::ReadOnly, std::string("the lock file cannot be made: ") + std::strerror(errno));
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int e = errno;
    ::close(fd);
    if (e == EWOULDBLOCK) return fail(Failure::InUse, "another instance is running");
    return fail(Failure::ReadOnly, std::string("the lock file cannot be locked: ") + std::strerror(e));
  }
  return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
}

InstanceLock::~InstanceLock() {
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

int purgeOldPendingBets(const Session& s, const Date& today) {
  long cutoff = std::stol(toYmd(addDays(today, -7)));
  int deleted = 0;
  for (const auto& p : listFiles(s.dataFolder(), "~B*.*")) {
    std::string name = p.filename().string();
    // Only "~B" + eight digits + ".TXT": nothing else is ever deleted.
    if (name.size() != 14 || !equalsIgnoreCase(name.substr(10), ".TXT") ||
        name.substr(2, 8).find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    if (std::stol(name.substr(2, 8)) < cutoff && removeFile(p)) ++deleted;
  }
  return deleted;
}

int findTolvDataFiles(Session& s) {
  int kept = 0;
  std::array<std::string, 3> codes{"0", "0", "0"};
  std::array<std::string, 4> paths{s.tolvFilePaths[0], "", "", ""};
  for (const auto& p : listFiles(s.dataFolder(), "W" + s.meetingDate() + "_??.DAT")) {
    std::string name = p.filename().string();
    long n = valInt(midChars(name, 11, 2));
    if (n < 1 || n > 10) continue;
    codes[static_cast<std::size_t>(kept)] = TwoDigits(static_cast<int>(n));
    paths[static_cast<std::size_t>(kept) + 1] = p.string();
    if (++kept == 3) break;
  }
  s.courseCodes = codes;
  s.tolvFilePaths = paths;
  s.courseCount = kept;
  return kept;
}

void clearWorkFolder(const Session& s) {
  const fs::path dir = s.unpackFolder();
  std::error_code ec;
  // Only a real folder is emptied: a link named like it may point anywhere.
  if (!fs::is_directory(fs::symlink_status(dir, ec))) return;
  for (const auto& p : listFiles(dir, "*")) removeFile(p);
  fs::remove(dir, ec);  // only when empty: something not ours stays
}

std::optional<Session> startUp(const fs::path& home, const Date& today, std::string* error) {
  auto s = Session::create(home, error);
  if (!s) return std::nullopt;
  s->batchRunning = 0;
  // A settings file that is there but cannot be read (a folder, no
  // permission) is not the same as none: its defaults would be written over it.
  std::string iniError;
  if (fs::exists(s->iniFilePath()) && !ProfileFile::load(s->iniFilePath(), &iniError)) {
    if (error) *error = "cannot read the settings file " + s->iniFilePath().string() + ": " + iniError;
    return std::nullopt;
  }
  purgeOldPendingBets(*s, today);
  s->loadSettings();
  // Temporary files of a run killed in the middle of a rewrite.
  for (const fs::path& dir : {fs::path(s->appFolder()), fs::path(s->dataFolder()), fs::path(s->outPutFolder()),
                             fs::path(s->warsOddsFolder()), pendingBetPath(*s).parent_path()})
    removeStaleTempFiles(dir);
  s->setMeetingDate(defaultMeetingDate(today));
  return s;
}

}  // namespace tolv
