#include "core/profile.h"

#include "core/cp932.h"
#include "core/text.h"

namespace tolv {
namespace {

constexpr std::size_t kMaxValueBytes = 1023;

std::string_view trimBlanks(std::string_view s) {
  std::size_t a = s.find_first_not_of(" \t");
  if (a == std::string_view::npos) return {};
  std::size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

bool sameName(std::string_view a, std::string_view b) {
  // Names are compared as text, ignoring ASCII case; CP932 trail bytes can
  // look like letters, so compare decoded text.
  return equalsIgnoreCase(fromCp932(a), fromCp932(b));
}

// Section name of a header line, or nullopt.
std::optional<std::string_view> sectionOf(std::string_view raw) {
  std::string_view t = trimBlanks(raw);
  if (t.empty() || t.front() != '[') return std::nullopt;
  // ']' (0x5D) can be the trail byte of a double-byte character: scan
  // character by character.
  std::size_t i = 1;
  while (i < t.size()) {
    unsigned char b = static_cast<unsigned char>(t[i]);
    if (b == ']') return trimBlanks(t.substr(1, i - 1));
    i += (isCp932Lead(b) && i + 1 < t.size()) ? 2 : 1;
  }
  return trimBlanks(t.substr(1));
}

// Position of the first '=' that is a character of its own, or npos.
std::size_t equalsOf(std::string_view raw) {
  std::size_t i = 0;
  while (i < raw.size()) {
    unsigned char b = static_cast<unsigned char>(raw[i]);
    if (b == '=') return i;
    i += (isCp932Lead(b) && i + 1 < raw.size()) ? 2 : 1;
  }
  return std::string_view::npos;
}

bool isComment(std::string_view raw) {
  std::string_view t = trimBlanks(raw);
  return !t.empty() && t.front() == ';';
}

}  // namespace

ProfileFile ProfileFile::fromBytes(const fs::path& p, std::string_view bytes) {
  ProfileFile f;
  f.path_ = p;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\r' || c == '\n') {
      Line line{std::string(bytes.substr(start, i - start)), std::string(1, c)};
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        line.end = "\r\n";
        ++i;
      }
      f.lines_.push_back(std::move(line));
      start = i + 1;
    }
  }
  if (start < bytes.size()) f.lines_.push_back(Line{std::string(bytes.substr(start)), ""});
  return f;
}

std::optional<ProfileFile> ProfileFile::load(const fs::path& p, std::string* error) {
  if (!fs::exists(p)) return fromBytes(p, "");
  auto data = readFile(p, error);
  if (!data) return std::nullopt;
  return fromBytes(p, *data);
}

long ProfileFile::findSection(std::string_view section) const {
  std::string want = toCp932(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    auto name = sectionOf(lines_[i].raw);
    if (name && sameName(*name, want)) return static_cast<long>(i);
  }
  return -1;
}

long ProfileFile::findKey(long header, std::string_view key) const {
  std::string want = toCp932(key);
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines_.size(); ++i) {
    const std::string& raw = lines_[i].raw;
    if (sectionOf(raw)) break;
    if (isComment(raw)) continue;
    std::size_t eq = equalsOf(raw);
    if (eq == std::string::npos) continue;
    if (sameName(trimBlanks(std::string_view(raw).substr(0, eq)), want)) return static_cast<long>(i);
  }
  return -1;
}

bool ProfileFile::has(std::string_view section, std::string_view key) const {
  long s = findSection(section);
  return s >= 0 && findKey(s, key) >= 0;
}

std::string ProfileFile::get(std::string_view section, std::string_view key) const {
  long s = findSection(section);
  if (s < 0) return {};
  long k = findKey(s, key);
  if (k < 0) return {};
  std::string_view raw = lines_[static_cast<std::size_t>(k)].raw;
  std::string_view value = trimBlanks(raw.substr(equalsOf(raw) + 1));
  if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                            (value.front() == '\'' && value.back() == '\''))) {
    value = value.substr(1, value.size() - 2);
  }
  std::size_t nul = value.find('\0');
  if (nul != std::string_view::npos) value = value.substr(0, nul);
  if (value.size() <= kMaxValueBytes) return fromCp932(value);
  // Longer values are cut, as by a fixed read buffer.
  return fromCp932(value.substr(0, kMaxValueBytes));
}

void ProfileFile::set(std::string_view section, std::string_view key, std::string_view value) {
  // A value never spans lines: line breaks inside it would corrupt the file.
  std::string clean(value);
  for (char& c : clean) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  std::string line = toCp932(key) + "=" + toCp932(clean);
  long s = findSection(section);
  if (s < 0) {
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = "\r\n";
    lines_.push_back(Line{"[" + toCp932(section) + "]", "\r\n"});
    lines_.push_back(Line{line, "\r\n"});
    return;
  }
  long k = findKey(s, key);
  if (k >= 0) {
    lines_[static_cast<std::size_t>(k)].raw = line;
    return;
  }
  // After the last non-blank line of the section.
  std::size_t insertAt = static_cast<std::size_t>(s) + 1;
  for (std::size_t i = static_cast<std::size_t>(s) + 1; i < lines_.size(); ++i) {
    if (sectionOf(lines_[i].raw)) break;
    if (!trimBlanks(lines_[i].raw).empty()) insertAt = i + 1;
  }
  if (lines_[insertAt - 1].end.empty()) lines_[insertAt - 1].end = "\r\n";
  lines_.insert(lines_.begin() + static_cast<long>(insertAt), Line{line, "\r\n"});
}

std::string ProfileFile::bytes() const {
  std::string out;
  for (const auto& l : lines_) {
    out += l.raw;
    out += l.end;
  }
  return out;
}

bool ProfileFile::save(std::string* error) const { return writeFileAtomic(path_, bytes(), error); }

std::string readProfileString(const fs::path& p, std::string_view section, std::string_view key) {
  auto f = ProfileFile::load(p);
  return f ? f->get(section, key) : std::string();
}

bool writeProfileString(const fs::path& p, std::string_view section, std::string_view key, std::string_view value,
                        std::string* error) {
  auto f = ProfileFile::load(p, error);
  if (!f) return false;
  f->set(section, key, value);
  return f->save(error);
}

}  // namespace tolv
