#include "core/log_scanner.h"

#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tolv {
namespace {
constexpr std::size_t kChunk = 1 << 20;
}

LogScanner::~LogScanner() {
  if (fd_ >= 0) ::close(fd_);
}

bool LogScanner::open(const fs::path& p, std::string* error) {
  fd_ = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
#ifdef POSIX_FADV_SEQUENTIAL
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  buf_.resize(kChunk);
  return true;
}

bool LogScanner::fill() {
  if (eof_ || fd_ < 0) return false;
  // Keep the unconsumed tail at the front; grow for a very long line.
  forgetLf();
  if (begin_ > 0) {
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buf_.size()) buf_.resize(buf_.size() * 2);
  for (;;) {
    ssize_t n = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      error_ = std::strerror(errno);
      eof_ = true;
      return false;
    }
    if (n == 0) {
      eof_ = true;
      return false;
    }
    end_ += static_cast<std::size_t>(n);
    return true;
  }
}

void LogScanner::consume(std::size_t n) {
  begin_ += n;
  offset_ += n;
}

void LogScanner::forgetLf() {
  lfValid_ = false;
}

bool LogScanner::nextLine(std::string_view& line) {
  std::size_t scanFrom = begin_;
  for (;;) {
    const char* data = buf_.data();
    // The next LF is remembered across lines, so that a file with CR ends
    // only is not searched to its end for every line.
    if (!lfValid_ || nextLf_ < scanFrom) {
      const void* lf = std::memchr(data + scanFrom, '\n', end_ - scanFrom);
      nextLf_ = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : end_;
      lfValid_ = true;
    }
    const void* cr = std::memchr(data + scanFrom, '\r', nextLf_ - scanFrom);
    std::size_t i = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : nextLf_;
    if (i < end_) {
      std::size_t lineEnd = i;
      std::size_t next = i + 1;
      if (data[i] == '\r') {
        if (next == end_ && !eof_) {
          // The LF of a CR LF may be in the next chunk.
          std::size_t rel = scanFrom - begin_;
          fill();
          scanFrom = begin_ + rel;
          continue;
        }
        if (next < end_ && data[next] == '\n') ++next;
      }
      line = std::string_view(buf_.data() + begin_, lineEnd - begin_);
      consume(next - begin_);
      return true;
    }
    if (eof_) {
      if (begin_ == end_) return false;
      line = std::string_view(buf_.data() + begin_, end_ - begin_);
      consume(end_ - begin_);
      return true;
    }
    if (end_ - begin_ >= kMaxLineBytes) {
      dropOverlongLine();  // then the line reads as empty
      scanFrom = begin_;
      continue;
    }
    std::size_t rel = end_ - begin_;
    fill();
    scanFrom = begin_ + rel;
  }
}

void LogScanner::dropOverlongLine() {
  forgetLf();
  for (;;) {
    const char* data = buf_.data();
    std::size_t i = begin_;
    while (i < end_ && data[i] != '\n' && data[i] != '\r') ++i;
    consume(i - begin_);
    if (i < end_ || !fill()) return;
  }
}

bool LogScanner::nextLineContaining(std::string_view needle, std::string_view& line) {
  for (;;) {
    const char* data = buf_.data();
    const void* hit = begin_ < end_ ? ::memmem(data + begin_, end_ - begin_, needle.data(), needle.size()) : nullptr;
    if (hit) {
      std::size_t m = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
      std::size_t start = m;
      while (start > begin_ && data[start - 1] != '\n' && data[start - 1] != '\r') --start;
      consume(start - begin_);
      return nextLine(line);
    }
    if (eof_) {
      consume(end_ - begin_);
      return false;
    }
    // Skip every whole line; keep the partial last one (and a CR whose LF may
    // follow in the next chunk).
    std::size_t last = end_;
    while (last > begin_ && data[last - 1] != '\n' && data[last - 1] != '\r') --last;
    if (last == end_ && last > begin_ && data[last - 1] == '\r') --last;
    consume(last - begin_);
    if (end_ - begin_ >= kMaxLineBytes) {
      dropOverlongLine();
      continue;
    }
    fill();
  }
}

}  // namespace tolv
