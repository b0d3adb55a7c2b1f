#include "core/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

#include "core/cp932.h"
#include "core/text.h"
#include "core/utf8.h"

namespace tolv {

bool directoryOrderLess(std::string_view a, std::string_view b) {
  std::string ua = upperAscii(a), ub = upperAscii(b);
  if (ua != ub) return ua < ub;
  return a < b;
}

namespace {

// Case folding for wildcard and caseless matching: ASCII letters and
// full-width Latin letters.
char32_t foldCase(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0xFF41 + 0xFF21;
  return c;
}

std::u32string decode(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) out.push_back(foldCase(nextUtf8(s, i)));
  return out;
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  // As on Windows, "*.*" (and "X*.*") also takes names without a dot.
  if (pattern.size() >= 3 && pattern.substr(pattern.size() - 3) == "*.*" &&
      name.find('.') == std::string_view::npos) {
    pattern.remove_suffix(2);
  }
  std::u32string p = decode(pattern), n = decode(name);
  // Iterative match with backtracking to the last '*'.
  std::size_t pi = 0, ni = 0, star = std::u32string::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == U'?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == U'*') {
      star = pi++;
      mark = ni;
    } else if (star != std::u32string::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

std::vector<fs::path> listFiles(const fs::path& dir, std::string_view pattern) {
  std::vector<std::pair<std::string, fs::path>> found;
  std::error_code ec;
  fs::directory_iterator it(dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    if (!it->is_regular_file(ec2)) continue;
    std::string name = it->path().filename().string();
    if (wildcardMatch(pattern, name)) found.emplace_back(name, it->path());
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return directoryOrderLess(a.first, b.first); });
  std::vector<fs::path> out;
  out.reserve(found.size());
  for (auto& f : found) out.push_back(std::move(f.second));
  return out;
}

std::optional<fs::path> findCaseless(const fs::path& dir, std::string_view name) {
  std::error_code ec;
  fs::path exact = dir / std::string(name);
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  std::optional<std::string> best;
  std::u32string want = decode(name);
  fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (decode(candidate) == want && (!best || directoryOrderLess(candidate, *best))) best = candidate;
  }
  if (!best) return std::nullopt;
  return dir / *best;
}

fs::path resolveCaseless(const fs::path& p) {
  std::error_code ec;
  if (p.empty() || fs::exists(p, ec)) return p;
  fs::path out = p.root_path();
  bool lost = false;
  for (const auto& part : p.relative_path()) {
    if (lost || part == "." || part == "..") {
      out /= part;
      continue;
    }
    auto found = findCaseless(out.empty() ? fs::path() : out, part.string());
    if (found) {
      out = out.empty() ? found->filename() : *found;
    } else {
      out /= part;
      lost = true;
    }
  }
  return out;
}

bool isRegularFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

bool isDirectory(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

long long fileSize(const fs::path& p) {
  std::error_code ec;
  if (!fs::is_regular_file(p, ec)) return -1;
  auto n = fs::file_size(p, ec);
  return ec ? -1 : static_cast<long long>(n);
}

std::optional<std::string> readFile(const fs::path& p, std::string* error) {
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (error) *error = "not a regular file";
    ::close(fd);
    return std::nullopt;
  }
  std::string data;
  data.reserve(static_cast<std::size_t>(st.st_size));
  char buf[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (error) *error = std::strerror(errno);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    data.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return data;
}

bool writeFileAtomic(const fs::path& p, std::string_view bytes, std::string* error) {
  AtomicFileWriter w;
  if (!w.open(p, error)) return false;
  w.write(bytes);
  return w.commit(error);
}

std::optional<std::vector<std::string>> readTextLines(const fs::path& p, std::string* error) {
  auto data = readFile(p, error);
  if (!data) return std::nullopt;
  return splitLines(fromCp932(*data));
}

std::string encodeTextLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += toCp932(line);
    out += "\r\n";
  }
  return out;
}

FolderLock::FolderLock(const fs::path& dir) {
  fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    ::close(fd_);
    fd_ = -1;
    return;
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool canListFolder(const fs::path& dir, std::string* error) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  ::closedir(d);
  return true;
}

bool removeFile(const fs::path& p) {
  std::error_code ec;
  fs::remove(p, ec);
  return !fs::exists(fs::symlink_status(p, ec));
}

}  // namespace tolv

namespace tolv {

namespace {

// Test hook for the crash-safety tests: TOLV_CRASH_AT=POINT:PATTERN kills the
// process with SIGKILL while it rewrites a file whose name matches PATTERN
// (caseless wildcards): at "partial" with half of the new bytes in the
// temporary file, at "rename" with the temporary file complete just before
// it replaces the target, at "renamed" just after. Unset, it costs one
// getenv per process.
const std::string& crashSetting() {
  static const std::string setting = [] {
    const char* v = std::getenv("TOLV_CRASH_AT");
    return std::string(v ? v : "");
  }();
  return setting;
}

}  // namespace

void crashPoint(std::string_view point, const fs::path& target) {
  const std::string& setting = crashSetting();
  if (setting.empty()) return;
  const auto colon = setting.find(':');
  const std::string_view at = std::string_view(setting).substr(0, colon);
  const std::string_view pattern = colon == std::string::npos ? "*" : std::string_view(setting).substr(colon + 1);
  if (at == point && wildcardMatch(pattern, target.filename().string())) ::kill(::getpid(), SIGKILL);
}

namespace {

// The file a path names once its links are followed (a link that points
// nowhere yet names the file it would point to).
fs::path followLinks(const fs::path& p) {
  fs::path real = p;
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(real, ec)); ++hops) {
    const fs::path link = fs::read_symlink(real, ec);
    if (ec) break;
    real = link.is_absolute() ? link : real.parent_path() / link;
  }
  return real;
}

// The temporary file of a rewrite: "." + name + ".tmp" + pid + "-" + number.
// The pid of a name of that form, or 0.
long tempFilePid(const std::string& name) {
  if (name.size() < 2 || name[0] != '.') return 0;
  const std::size_t tmp = name.rfind(".tmp");
  if (tmp == std::string::npos || tmp < 2) return 0;
  const std::size_t dash = name.find('-', tmp + 4);
  if (dash == std::string::npos || dash == tmp + 4 || dash + 1 == name.size()) return 0;
  const std::string pid = name.substr(tmp + 4, dash - tmp - 4), number = name.substr(dash + 1);
  if (pid.find_first_not_of("0123456789") != std::string::npos || pid.size() > 9 ||
      number.find_first_not_of("0123456789") != std::string::npos)
    return 0;
  return std::stol(pid);
}

}  // namespace

int removeStaleTempFiles(const fs::path& dir) {
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const long pid = tempFilePid(name);
    if (pid <= 0 || !it->is_regular_file(ec) || it->is_symlink(ec)) continue;
    // A run still going (another home sharing the folder) keeps its file.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    if (removeFile(it->path())) ++removed;
  }
  return removed;
}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

bool AtomicFileWriter::open(const fs::path& target, std::string* error) {
  discard();
  // A link (a TOLV.INI kept elsewhere) is written through to its target, and
  // the file's permissions are kept; a read-only file is not replaced.
  target_ = followLinks(target);
  mode_t mode = 0644;
  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && S_ISREG(st.st_mode)) {
    if ((st.st_mode & 0222) == 0) {
      if (error) *error = "the file is read-only";
      return false;
    }
    mode = st.st_mode & 07777;
  }
  fs::path dir = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
  std::random_device rd;
  temp_ = dir / ("." + target_.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
                 std::to_string(rd() % 1000000));
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : mode);
  if (fd_ < 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  if (exists) ::fchmod(fd_, mode);
  failed_ = false;
  buffer_.clear();
  return true;
}

bool AtomicFileWriter::flush() {
  const char* data = buffer_.data();
  std::size_t left = buffer_.size();
  while (left > 0 && !failed_) {
    ssize_t n = ::write(fd_, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      error_ = std::strerror(errno);
      break;
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return !failed_;
}

bool AtomicFileWriter::write(std::string_view bytes) {
  if (fd_ < 0 || failed_) return false;
  buffer_.append(bytes);
  if (buffer_.size() >= (1u << 16)) return flush();
  return true;
}

bool AtomicFileWriter::commit(std::string* error) {
  if (fd_ < 0) {
    if (error) *error = "not open";
    return false;
  }
  if (!crashSetting().empty()) {
    // The test hook's "partial" point: half of what is left written, unsynced.
    const std::string rest = std::move(buffer_);
    buffer_ = rest.substr(0, rest.size() / 2);
    flush();
    crashPoint("partial", target_);
    buffer_ = rest.substr(rest.size() / 2);
  }
  flush();
  if (!failed_ && ::fsync(fd_) != 0) {
    failed_ = true;
    error_ = std::strerror(errno);
  }
  if (::close(fd_) != 0 && !failed_) {
    failed_ = true;
    error_ = std::strerror(errno);
  }
  fd_ = -1;
  if (!failed_) crashPoint("rename", target_);
  if (!failed_ && ::rename(temp_.c_str(), target_.c_str()) != 0) {
    failed_ = true;
    error_ = std::strerror(errno);
  }
  if (!failed_) crashPoint("renamed", target_);
  if (failed_) {
    ::unlink(temp_.c_str());
    if (error) *error = error_;
    return false;
  }
  return true;
}

void AtomicFileWriter::discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
    ::unlink(temp_.c_str());
  }
  buffer_.clear();
}

}  // namespace tolv
