#include "collect/software_list.h"

#include "core/text.h"

namespace tolv {

std::vector<ProgramEntry> parseSoftwareList(const std::vector<std::string>& lines, std::size_t limit) {
  std::vector<ProgramEntry> out;
  for (const auto& line : lines) {
    if (out.size() >= limit) break;
    std::string code = leftBytes(line, 4);
    double number = val(code);
    double first = val(leftBytes(line, 1));
    if (number < 1 || number > 9999 || first < 0 || first > 9) continue;
    out.push_back(ProgramEntry{padBytes(code, 4), padBytes(midBytes(line, 5, 6), 6)});
  }
  return out;
}

namespace {
std::optional<fs::path> listFile(const Session& s, const std::string& name) {
  auto p = findCaseless(s.appFolder(), name);
  if (p && isRegularFile(*p)) return p;
  return std::nullopt;
}
}  // namespace

std::vector<ProgramEntry> loadProgramNames(const Session& s) {
  auto path = listFile(s, s.settings.list1);
  if (!path) path = listFile(s, "warssoft.lst");
  if (!path) return {};
  auto lines = readTextLines(*path);
  if (!lines) return {};
  return parseSoftwareList(*lines, kMaxProgramNames);
}

std::vector<std::string> loadCodeList(const fs::path& path) {
  auto lines = readTextLines(resolveCaseless(path));
  if (!lines) return {};
  std::vector<std::string> codes;
  for (auto& e : parseSoftwareList(*lines, kMaxCodeListEntries)) codes.push_back(e.code);
  return codes;
}

}  // namespace tolv
