#pragma once
// File helpers: the one directory order, caseless names, wildcards, whole-file
// reads and atomic whole-file writes.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolv {

namespace fs = std::filesystem;

// The directory order: names compared by their upper-case form, then by the
// name itself. Every "first match" of the program uses it.
bool directoryOrderLess(std::string_view a, std::string_view b);

// Caseless wildcard match: '?' one character, '*' any run of characters.
bool wildcardMatch(std::string_view pattern, std::string_view name);

// Regular files of `dir` whose names match `pattern`, in directory order.
// A missing or unreadable folder gives an empty list.
std::vector<fs::path> listFiles(const fs::path& dir, std::string_view pattern = "*");

// The entry of `dir` named `name`: an exact match first, else the first
// caseless match in directory order.
std::optional<fs::path> findCaseless(const fs::path& dir, std::string_view name);

// A path resolved component by component, ignoring case where the path does
// not exist as given. Components that cannot be found are kept as given.
fs::path resolveCaseless(const fs::path& p);

// True when `dir` is a folder whose entries can be listed; else false with
// the reason in `error`.
bool canListFolder(const fs::path& dir, std::string* error = nullptr);

bool isRegularFile(const fs::path& p);
bool isDirectory(const fs::path& p);
// Size of a regular file, or -1.
long long fileSize(const fs::path& p);

// Reads a whole file. On failure returns nullopt and sets `error` to a short
// description.
std::optional<std::string> readFile(const fs::path& p, std::string* error = nullptr);

// Writes a whole file atomically: a temporary file in the same folder, flushed
// and renamed over the target. A crash leaves the old or the new file. A link
// is written through to the file it points to, the file's permissions are
// kept, and a read-only file (no write permission for anyone) is refused.
bool writeFileAtomic(const fs::path& p, std::string_view bytes, std::string* error = nullptr);

// Reads a CP932 text file as UTF-8 lines (CR LF, LF or CR ends).
std::optional<std::vector<std::string>> readTextLines(const fs::path& p, std::string* error = nullptr);

// Joins UTF-8 lines as CP932 text, each ending in CR LF.
std::string encodeTextLines(const std::vector<std::string>& lines);

// Removes a file if it exists; true when it is gone afterwards.
bool removeFile(const fs::path& p);

}  // namespace tolv

namespace tolv {

// Test hook for the crash-safety tests: TOLV_CRASH_AT=POINT:PATTERN kills the
// process with SIGKILL when it reaches POINT with a file whose name matches
// PATTERN. The atomic writer has "partial", "rename" and "renamed"; the
// history import has "commit" (the day written, not yet committed).
void crashPoint(std::string_view point, const fs::path& target);

// An exclusive lock on a folder (flock on the folder itself, so no lock file
// is left behind), waited for and held for the object's lifetime. Programs
// that read, change and rewrite a shared file of the folder take it first.
// A folder that cannot be opened gives no lock (held() false): the caller
// goes on, and fails where it reads or writes.
class FolderLock {
 public:
  explicit FolderLock(const fs::path& dir);
  ~FolderLock();
  FolderLock(FolderLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  FolderLock& operator=(FolderLock&&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Removes the temporary files a killed rewrite left in `dir` (the names
// AtomicFileWriter gives them, of a process no longer running). Returns the
// number removed.
int removeStaleTempFiles(const fs::path& dir);

// A file written through a temporary file in the target's folder and renamed
// over the target by commit(); dropped without commit() (an error, a crash),
// the target keeps its old contents. As writeFileAtomic: links followed,
// permissions kept, a read-only file refused.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool open(const fs::path& target, std::string* error = nullptr);
  bool isOpen() const { return fd_ >= 0; }
  bool write(std::string_view bytes);
  // Flushes, syncs and renames over the target.
  bool commit(std::string* error = nullptr);
  // Drops the temporary file.
  void discard();
  const fs::path& target() const { return target_; }

 private:
  bool flush();
  int fd_ = -1;
  bool failed_ = false;
  std::string error_;
  std::string buffer_;
  fs::path target_, temp_;
};

}  // namespace tolv
