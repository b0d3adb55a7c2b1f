#include "core/lzh.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

extern "C" {
#include <lhasa.h>
}

#include "core/cp932.h"
#include "core/startup.h"

namespace tolv {
namespace {

// CRC-16 of LHA archives (reflected polynomial 0xA001).
std::uint16_t crc16(std::uint16_t crc, const unsigned char* data, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
  }
  return crc;
}

bool unsafeName(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.front() == '\\') return true;
  if (name.size() >= 2 && name[1] == ':') return true;  // a drive letter
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0 && end - start == 2) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

UnpackResult unpackArchive(const Session& s, const fs::path& archive) {
  UnpackResult result;
  clearWorkFolder(s);
  FILE* f = std::fopen(archive.c_str(), "rb");
  if (!f) {
    result.error = std::strerror(errno);
    return result;
  }
  LHAInputStream* stream = lha_input_stream_from_FILE(f);
  LHAReader* reader = stream ? lha_reader_new(stream) : nullptr;
  if (!reader) {
    if (stream) lha_input_stream_free(stream);
    std::fclose(f);
    result.error = "not an LZH archive";
    return result;
  }
  std::size_t total = 0;
  bool capped = false;
  std::vector<unsigned char> buf(1 << 16);
  for (LHAFileHeader* h = lha_reader_next_file(reader); h; h = lha_reader_next_file(reader)) {
    std::string rawName = std::string(h->path ? h->path : "") + (h->filename ? h->filename : "");
    std::string name = fromCp932(rawName);
    if (h->symlink_target || unsafeName(rawName) || unsafeName(name)) {
      result.refused.push_back(name);
      continue;
    }
    if (!h->filename || std::strcmp(h->compress_method, "-lhd-") == 0) continue;  // a directory
    std::string base = fromCp932(h->filename);
    if (base.empty() || base == "." || base == "..") {
      result.refused.push_back(name);
      continue;
    }
    fs::path target = fs::path(s.workFolder()) / base;
    int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
      result.refused.push_back(name);
      continue;
    }
    std::uint16_t crc = 0;
    std::size_t got = 0;
    bool ok = true;
    for (;;) {
      std::size_t n = lha_reader_read(reader, buf.data(), buf.size());
      if (n == 0) break;
      if (total + n > kMaxUnpackedBytes) {
        capped = true;
        ok = false;
        break;
      }
      crc = crc16(crc, buf.data(), n);
      if (::write(fd, buf.data(), n) != static_cast<ssize_t>(n)) {
        ok = false;
        break;
      }
      got += n;
      total += n;
    }
    ::close(fd);
    if (!ok || got != h->length || crc != h->crc) {
      ::unlink(target.c_str());
      if (capped) break;
      result.refused.push_back(name);
      continue;
    }
    result.written.push_back(base);
  }
  lha_reader_free(reader);
  lha_input_stream_free(stream);
  std::fclose(f);
  if (capped) {
    result.error = "the archive unpacks to more than the allowed size";
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace tolv
