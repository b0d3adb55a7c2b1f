#pragma once
// Fixed-length record files: no header, record count = size / record length.
// A trailing partial record (a truncated file from another program) is never
// read past its end: it is simply not counted.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"

namespace tolv {

// Number of whole records in the file, or -1 when it cannot be read.
long long recordCount(const fs::path& p, std::size_t recordLength);

// Every whole record of the file, as raw bytes.
std::optional<std::vector<std::string>> readRecords(const fs::path& p, std::size_t recordLength,
                                                    std::string* error = nullptr);

// A record file read whole, its records seen in place: for files of many
// small records (the cut index), without one allocation per record.
class RecordFile {
 public:
  RecordFile(std::string data, std::size_t recordLength)
      : data_(std::move(data)), length_(recordLength), count_(recordLength ? data_.size() / recordLength : 0) {}
  // Whole records only: a trailing partial record is not counted.
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  std::string_view operator[](std::size_t i) const { return std::string_view(data_).substr(i * length_, length_); }

 private:
  std::string data_;
  std::size_t length_;
  std::size_t count_;
};
std::optional<RecordFile> readRecordFile(const fs::path& p, std::size_t recordLength, std::string* error = nullptr);

// Record `n` (1-based), or nullopt when the file has fewer whole records.
std::optional<std::string> readRecord(const fs::path& p, std::size_t recordLength, long long n);

// Writes the records back to back, atomically.
bool writeRecords(const fs::path& p, const std::vector<std::string>& records, std::string* error = nullptr);

// Builds one fixed-length record; unwritten bytes are zero bytes.
class RecordBuilder {
 public:
  explicit RecordBuilder(std::size_t length) : bytes_(length, '\0') {}
  // UTF-8 text as CP932, blank-padded or cut to `width` bytes at `offset`.
  RecordBuilder& text(std::size_t offset, std::size_t width, std::string_view utf8);
  // Raw CP932 bytes, blank-padded or cut to `width` bytes.
  RecordBuilder& raw(std::size_t offset, std::size_t width, std::string_view bytes);
  // 16-bit signed little-endian integer.
  RecordBuilder& int16(std::size_t offset, int value);
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Reads fields of one record.
class RecordReader {
 public:
  explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}
  // The field as UTF-8 text (bytes past the record's end read as nothing).
  std::string text(std::size_t offset, std::size_t width) const;
  std::string_view raw(std::size_t offset, std::size_t width) const;
  int int16(std::size_t offset) const;

 private:
  std::string_view bytes_;
};

}  // namespace tolv
