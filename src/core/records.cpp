#include "core/records.h"

#include "core/cp932.h"

namespace tolv {

long long recordCount(const fs::path& p, std::size_t recordLength) {
  long long size = fileSize(p);
  if (size < 0 || recordLength == 0) return -1;
  return size / static_cast<long long>(recordLength);
}

std::optional<std::vector<std::string>> readRecords(const fs::path& p, std::size_t recordLength,
                                                    std::string* error) {
  auto data = readFile(p, error);
  if (!data) return std::nullopt;
  std::vector<std::string> out;
  if (recordLength == 0) return out;
  std::size_t n = data->size() / recordLength;
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) out.push_back(data->substr(i * recordLength, recordLength));
  return out;
}

std::optional<RecordFile> readRecordFile(const fs::path& p, std::size_t recordLength, std::string* error) {
  auto data = readFile(p, error);
  if (!data) return std::nullopt;
  return RecordFile(std::move(*data), recordLength);
}

std::optional<std::string> readRecord(const fs::path& p, std::size_t recordLength, long long n) {
  auto all = readRecords(p, recordLength);
  if (!all || n < 1 || n > static_cast<long long>(all->size())) return std::nullopt;
  return (*all)[static_cast<std::size_t>(n - 1)];
}

bool writeRecords(const fs::path& p, const std::vector<std::string>& records, std::string* error) {
  std::string data;
  for (const auto& r : records) data += r;
  return writeFileAtomic(p, data, error);
}

RecordBuilder& RecordBuilder::text(std::size_t offset, std::size_t width, std::string_view utf8) {
  return raw(offset, width, toCp932(utf8));
}

RecordBuilder& RecordBuilder::raw(std::size_t offset, std::size_t width, std::string_view bytes) {
  if (offset >= bytes_.size()) return *this;
  std::string field = fitCp932(bytes, width);
  bytes_.replace(offset, std::min(width, bytes_.size() - offset), field.substr(0, bytes_.size() - offset));
  return *this;
}

RecordBuilder& RecordBuilder::int16(std::size_t offset, int value) {
  if (offset + 2 > bytes_.size()) return *this;
  auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
  bytes_[offset] = static_cast<char>(v & 0xFF);
  bytes_[offset + 1] = static_cast<char>(v >> 8);
  return *this;
}

std::string_view RecordReader::raw(std::size_t offset, std::size_t width) const {
  if (offset >= bytes_.size()) return {};
  return bytes_.substr(offset, width);
}

std::string RecordReader::text(std::size_t offset, std::size_t width) const { return fromCp932(raw(offset, width)); }

int RecordReader::int16(std::size_t offset) const {
  if (offset + 2 > bytes_.size()) return 0;
  auto lo = static_cast<unsigned char>(bytes_[offset]);
  auto hi = static_cast<unsigned char>(bytes_[offset + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

}  // namespace tolv
