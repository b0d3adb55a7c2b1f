#include "core/lzh.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
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

// The member's name as its header stores it. The library tidies names before
// handing them out (it drops ".." components and lower-cases names written
// all in capitals), so the safety check and the name written into Work/ read
// the header's own name fields: the name of a level-0/1 header and the file
// and directory extension headers (types 1 and 2) of levels 1-3. Directory
// separators come out as '/'; "" when the header holds no readable name.
std::string storedName(const LHAFileHeader& h) {
  const unsigned char* raw = h.raw_data;
  const std::size_t len = raw ? h.raw_data_len : 0;
  auto number = [&](std::size_t at, std::size_t width) -> std::size_t {
    if (at + width > len) return 0;
    std::size_t v = 0;
    for (std::size_t k = width; k-- > 0;) v = (v << 8) | raw[at + k];
    return v;
  };
  std::string dir, file;
  std::size_t width = 2, ext = 0, next = 0;
  if (h.header_level <= 1 && len > 22) {
    file.assign(reinterpret_cast<const char*>(raw) + 22, std::min<std::size_t>(raw[21], len - 22));
    if (h.header_level == 1) {
      ext = std::size_t{raw[0]} + 2;  // after the base header, whose last field
      next = number(raw[0], 2);       // is the size of the first extension
    }
  } else if (h.header_level == 2) {
    ext = 26;
    next = number(24, 2);
  } else if (h.header_level == 3) {
    width = 4;
    ext = 32;
    next = number(28, 4);
  }
  while (next > width && ext + next <= len) {
    const char* data = reinterpret_cast<const char*>(raw) + ext + 1;
    const std::size_t dataLen = next - 1 - width;
    if (raw[ext] == 0x01) file.assign(data, dataLen);
    if (raw[ext] == 0x02) dir.assign(data, dataLen);
    const std::size_t following = number(ext + next - width, width);
    ext += next;
    next = following;
  }
  for (char& c : dir) {
    if (static_cast<unsigned char>(c) == 0xFF) c = '/';
  }
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir.push_back('/');
  return dir + file;
}

// The last component of a name ('/' or '\\' separated).
std::string baseName(const std::string& name) {
  std::size_t slash = name.find_last_of("/\\");
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

}  // namespace

UnpackResult unpackArchive(const Session& s, const fs::path& archive) {
  UnpackResult result;
  clearWorkFolder(s);
  const fs::path folder = s.unpackFolder();
  std::error_code ec;
  fs::create_directory(folder, ec);
  if (!fs::is_directory(fs::symlink_status(folder, ec))) {
    result.error = "cannot make the unpack folder " + folder.string();
    return result;
  }
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
  bool anyHeader = false;
  for (LHAFileHeader* h = lha_reader_next_file(reader); h; h = lha_reader_next_file(reader)) {
    anyHeader = true;
    std::string rawName = std::string(h->path ? h->path : "") + (h->filename ? h->filename : "");
    std::string stored = fromCp932(storedName(*h));
    std::string name = stored.empty() ? fromCp932(rawName) : stored;
    if (h->symlink_target || unsafeName(rawName) || unsafeName(name)) {
      result.refused.push_back(name);
      continue;
    }
    if (!h->filename || std::strcmp(h->compress_method, "-lhd-") == 0) continue;  // a directory
    std::string base = stored.empty() ? fromCp932(h->filename) : baseName(stored);
    if (base.empty() || base == "." || base == "..") {
      result.refused.push_back(name);
      continue;
    }
    fs::path target = folder / base;
    int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
      if (result.writeError.empty()) result.writeError = target.string() + ": " + std::strerror(errno);
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
        if (result.writeError.empty()) result.writeError = target.string() + ": " + std::strerror(errno);
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
  // An archive without members is a single end-of-archive byte; a file in
  // which no member header can be found is no archive.
  bool endMarkerOnly = !anyHeader && std::fseek(f, 0, SEEK_SET) == 0 && std::fgetc(f) == 0;
  std::fclose(f);
  if (capped) {
    result.error = "the archive unpacks to more than the allowed size";
    return result;
  }
  if (!anyHeader && !endMarkerOnly) {
    result.error = "not an LZH archive";
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace tolv
