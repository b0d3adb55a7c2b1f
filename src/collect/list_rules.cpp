#include "collect/list_rules.h"

#include <algorithm>
#include <cctype>

#include "core/text.h"

namespace tolv {

namespace {

bool isNumber(const std::string& s) {
  const std::string t = trim(s);
  return !t.empty() && std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

int compareGeneric(const std::string& a, const std::string& b) {
  if (isNumber(a) && isNumber(b)) {
    const double x = val(a), y = val(b);
    if (x != y) return x < y ? -1 : 1;
    return 0;
  }
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace

ListRow readListLine(const std::string& line) {
  const std::string padded = line + std::string(30, ' ');
  ListRow row;
  const char first = padded.empty() ? ' ' : padded[0];
  if (first != ':' && (first < '0' || first > '9')) {
    row.comment = true;
    row.name = line;
    return row;
  }
  if (first >= '0' && first <= '9') {
    row.code = midChars(padded, 1, 4);
    const long n = valInt(row.code);
    row.mark = (n >= 1 && n <= 9999) ? kAdoptedMark : "";
    row.name = midChars(padded, 5, 20);
  } else {
    row.code = midChars(padded, 2, 4);
    row.name = midChars(padded, 6, 20);
  }
  // The padding read past a short line is no part of the name.
  row.name = trimRight(row.name);
  return row;
}

std::optional<std::string> writeListLine(const ListRow& row) {
  if (row.comment) return row.name;
  if (row.mark == kDeletedMark) return std::nullopt;
  std::string line = row.mark.empty() ? ":" : "";
  return line + trim(row.code) + row.name;
}

std::string nextMark(const std::string& mark) {
  if (mark == kAdoptedMark) return "";
  if (mark.empty()) return kDeletedMark;
  if (mark == kDeletedMark) return kAdoptedMark;
  return mark;
}

std::optional<std::vector<std::string>> readListFile(const fs::path& p, std::string* error) {
  auto lines = readTextLines(p, error);
  if (!lines) return std::nullopt;
  std::vector<std::string> out;
  for (const auto& l : *lines) {
    if (l.empty()) continue;
    out.push_back(l);
    if (out.size() >= kMaxListLines) break;
  }
  return out;
}

bool writeListFile(const fs::path& p, const std::vector<ListRow>& rows, std::string* error) {
  std::vector<std::string> lines;
  for (const auto& r : rows) {
    if (auto l = writeListLine(r)) lines.push_back(*l);
  }
  return writeFileAtomic(p, encodeTextLines(lines), error);
}

std::optional<fs::path> saveAsPath(const std::string& appFolder, const std::string& answer) {
  std::string name = trim(answer);
  if (name.empty()) return std::nullopt;
  // The list lives in the program folder: no folder parts in the name.
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos || name == "." || name == "..") {
    return std::nullopt;
  }
  if (name.size() < 4 || upperAscii(name.substr(name.size() - 4)) != ".LST") name += ".lst";
  return fs::path(appFolder) / name;
}

void sortRowsByCode(std::vector<ListRow>& rows) {
  std::vector<std::size_t> slots;
  std::vector<ListRow> programs;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].comment) continue;
    slots.push_back(i);
    programs.push_back(rows[i]);
  }
  std::stable_sort(programs.begin(), programs.end(), [](const ListRow& a, const ListRow& b) {
    if (int c = compareGeneric(a.code, b.code); c != 0) return c < 0;
    return compareGeneric(a.name, b.name) < 0;
  });
  for (std::size_t k = 0; k < slots.size(); ++k) rows[slots[k]] = std::move(programs[k]);
}

std::optional<std::size_t> baseProgramRow(const std::vector<ListRow>& rows) {
  std::optional<std::size_t> firstProgram;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].comment) continue;
    if (rows[i].mark == kAdoptedMark) return i;
    if (!firstProgram) firstProgram = i;
  }
  return firstProgram;
}

std::vector<std::string> withBaseProgram(const std::string& code, const std::string& name,
                                         const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  bool placed = false;
  for (const auto& l : lines) {
    if (l.empty()) continue;
    if (!placed && !readListLine(l).comment) {
      out.push_back(trim(code) + trim(name));
      placed = true;
    }
    out.push_back(l);
  }
  if (!placed) out.push_back(trim(code) + trim(name));
  return out;
}

}  // namespace tolv
