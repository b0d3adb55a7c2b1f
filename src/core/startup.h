#pragma once
// Start-up and the small file helpers of the run state.

#include <memory>
#include <optional>
#include <string>

#include "core/dates.h"
#include "core/session.h"

namespace tolv {

// Refuses a second instance: an exclusive lock on a file in the home folder,
// held for the object's lifetime (released by the system if the process dies).
class InstanceLock {
 public:
  // Why the lock could not be had.
  enum class Failure {
    InUse,       // another tolv or tolv-cli holds it
    ReadOnly,    // the lock file cannot be made (read-only folder, no permission)
    NotAFolder,  // the home is not a folder
  };
  // nullptr when another instance holds the lock or it cannot be made; then
  // `error` says why in words and `why` (when given) which case it is.
  static std::unique_ptr<InstanceLock> acquire(const fs::path& home, std::string* error = nullptr,
                                               Failure* why = nullptr);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_;
};

// The start-up sequence without its windows and lists: folders, purge of old
// pending-bet files, settings, the processing day and the schedule state (the
// program-name table is loaded by startSession() of collect/). `today` is passed in so tests can fix it.
std::optional<Session> startUp(const fs::path& home, const Date& today, std::string* error = nullptr);

// Deletes the pending-bet files "~B" + yyyymmdd + ".TXT" (any case) of
// DataFolder dated more than seven days before `today`. Returns the number
// deleted. No other file is ever touched.
int purgeOldPendingBets(const Session& s, const Date& today);

// Lists DataFolder for the day's Tolv data files "W" + date + "_??.DAT" in
// directory order and keeps those of a JRA course (01-10), at most three, in
// CourseCodes and TolvFilePaths. Returns the number kept.
int findTolvDataFiles(Session& s);

// Deletes the files unpacked into the scratch folder inside WorkFolder and the
// folder itself; nothing else in WorkFolder is touched.
void clearWorkFolder(const Session& s);

}  // namespace tolv
