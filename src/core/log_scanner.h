#pragma once
// Streaming line reader for large forum logs. Lines end at CR LF, LF or CR; a
// last line without an end is kept. Lines are raw CP932 bytes. Besides plain
// line-by-line reading it can jump to the next line holding a byte pattern,
// which lets extraction skip chatter at close to the speed of reading.
// A line longer than kMaxLineBytes (no post has one; a file without line
// ends) is skipped as chatter and reads as an empty line, so memory stays
// bounded whatever the file holds.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"

namespace tolv {

class LogScanner {
 public:
  static constexpr std::size_t kMaxLineBytes = std::size_t{4} << 20;

  LogScanner() = default;
  ~LogScanner();
  LogScanner(const LogScanner&) = delete;
  LogScanner& operator=(const LogScanner&) = delete;

  bool open(const fs::path& p, std::string* error = nullptr);
  // The next line without its end; false at the end of the file (or on a
  // read error, see failed()). The view is valid until the next call.
  bool nextLine(std::string_view& line);
  // Skips to the next line that contains `needle` (which holds no CR or LF)
  // and returns it like nextLine.
  bool nextLineContaining(std::string_view needle, std::string_view& line);

  // Bytes of the file consumed so far, line ends included.
  std::uint64_t offset() const { return offset_; }
  bool failed() const { return failed_; }
  const std::string& error() const { return error_; }

 private:
  // Reads more data; false when nothing more could be read.
  bool fill();
  void consume(std::size_t n);
  void forgetLf();
  // Consumes the rest of an overlong line up to (not including) its end.
  void dropOverlongLine();

  int fd_ = -1;
  std::vector<char> buf_;
  std::size_t begin_ = 0, end_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  std::string error_;
  std::uint64_t offset_ = 0;
  // Position of the next LF at or after the current line (end_ when none),
  // valid until the buffer moves.
  std::size_t nextLf_ = 0;
  bool lfValid_ = false;
};

}  // namespace tolv
