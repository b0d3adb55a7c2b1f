#include "core/pending_bet.h"

#include <algorithm>
#include <cmath>

#include "core/codes.h"
#include "core/cp932.h"
#include "core/session.h"
#include "core/text.h"

namespace tolv {

namespace {

std::string spaces(std::size_t n) { return std::string(n, ' '); }

// Padded with spaces on the right, or cut, to n characters.
std::string fitChars(std::string_view s, std::size_t n) {
  std::size_t len = lenChars(s);
  if (len >= n) return leftChars(s, static_cast<long>(n));
  return std::string(s) + spaces(n - len);
}

// Right-aligned in n characters: the last n of n spaces + the text.
std::string rightAlign(std::string_view s, std::size_t n) {
  return rightChars(spaces(n) + std::string(s), static_cast<long>(n));
}

// Right-aligned in at least n characters; a longer text is kept whole.
std::string rightAlignWhole(std::string_view s, std::size_t n) {
  std::size_t len = lenChars(s);
  return len >= n ? std::string(s) : spaces(n - len) + std::string(s);
}

}  // namespace

BetKind betKindOf(std::string_view type) {
  std::string first = leftChars(trim(type), 1);
  if (first == "単") return BetKind::Win;
  if (first == "複") return BetKind::Place;
  if (first == "枠") return BetKind::Bracket;
  if (first == "馬") return BetKind::Quinella;
  if (first == "拡" || first == "ワ" || first == "ﾜ") return BetKind::QuinellaPlace;
  return BetKind::Unknown;
}

long stakeYen(std::string_view stake) {
  double v = val(stake);
  if (!std::isfinite(v) || v > 2e9 || v < -2e9) return 0;
  return static_cast<long>(v);
}

std::string stakeText(long yen) { return rightAlignWhole(std::to_string(yen), 6) + "円"; }

std::optional<PendingBetEntry> decodePendingBetLine(std::string_view line) {
  std::string fields[6];
  std::size_t start = 0;
  for (int i = 0; i < 6 && start <= line.size(); ++i) {
    std::size_t comma = line.find(',', start);
    std::size_t end = comma == std::string_view::npos ? line.size() : comma;
    fields[i] = trim(line.substr(start, end - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (fields[0].empty()) return std::nullopt;
  return PendingBetEntry{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}

namespace {

bool onlyOf(std::string_view text, std::string_view allowed) {
  return text.find_first_not_of(allowed) == std::string_view::npos;
}

}  // namespace

std::optional<PendingBetEntry> decodeWholePendingBetLine(std::string_view line) {
  if (std::count(line.begin(), line.end(), ',') != 5) return std::nullopt;
  auto e = decodePendingBetLine(line);
  if (!e) return std::nullopt;
  constexpr std::string_view kDigits = "0123456789";
  if (e->course.size() > 8 || CourseCodeOfNameOrEmpty(e->course).empty()) return std::nullopt;
  const std::string_view race = e->race;
  if (race.size() < 2 || race.size() > 3 || race.back() != 'R' || !onlyOf(race.substr(0, race.size() - 1), kDigits))
    return std::nullopt;
  if (const long n = valInt(race); n < 1 || n > 12) return std::nullopt;
  if (betKindOf(e->type) == BetKind::Unknown || lenBytes(e->type) > 6) return std::nullopt;
  if (e->pick.empty() || e->pick.size() > 5 || !onlyOf(e->pick, "0123456789- ")) return std::nullopt;
  if (e->odds.size() > 6 || !onlyOf(e->odds, "0123456789.")) return std::nullopt;
  std::string_view stake = e->stake;
  if (stake.size() >= 3 && stake.substr(stake.size() - 3) == "円") stake.remove_suffix(3);
  if (stake.empty() || !onlyOf(stake, kDigits)) return std::nullopt;
  return e;
}

std::optional<std::vector<PendingBetLine>> readPendingBetLines(const fs::path& path, std::string* error) {
  auto bytes = readFile(path, error);
  if (!bytes) return std::nullopt;
  std::vector<PendingBetLine> lines;
  // CP932 trail bytes are never CR or LF, so the raw bytes split as the text does.
  for (auto& raw : splitLines(*bytes)) {
    lines.push_back(PendingBetLine{decodeWholePendingBetLine(fromCp932(raw)), std::move(raw)});
  }
  return lines;
}

std::string encodePendingBetLines(const std::vector<PendingBetLine>& lines) {
  std::string out;
  for (const auto& l : lines) {
    out += l.entry ? toCp932(encodePendingBetLine(*l.entry)) : l.bytes;
    out += "\r\n";
  }
  return out;
}

PendingBetEntry normalizePendingBet(const PendingBetEntry& e) {
  PendingBetEntry n;
  n.course = fitChars(e.course, 2);
  n.race = fitChars(rightChars(" " + e.race, 3), 3);
  std::string type = leftChars(e.type, 1) == "拡" ? std::string("ワイド") : e.type;
  n.type = fitChars(leftBytes(type + spaces(6), 6), 6);
  n.pick = rightAlign(e.pick, 5);
  n.odds = rightAlign(e.odds, 6);
  n.stake = rightAlignWhole(e.stake, 7);
  return n;
}

std::string encodePendingBetLine(const PendingBetEntry& e) {
  return fitChars(e.course, 2) + "," + rightAlign(e.race, 3) + "," + fitChars(e.type, 6) + "," + rightAlign(e.pick, 5) +
         "," + rightAlign(e.odds, 6) + "," + rightAlignWhole(e.stake, 7);
}

std::string encodePendingBets(const std::vector<PendingBetEntry>& entries) {
  std::vector<std::string> lines;
  lines.reserve(entries.size());
  for (const auto& e : entries) lines.push_back(encodePendingBetLine(e));
  return encodeTextLines(lines);
}

std::vector<PendingBetEntry> readPendingBets(const fs::path& path, std::string* error) {
  std::vector<PendingBetEntry> entries;
  auto lines = readTextLines(path, error);
  if (!lines) return entries;
  for (const auto& line : *lines) {
    if (auto e = decodePendingBetLine(line)) entries.push_back(std::move(*e));
  }
  return entries;
}

FolderLock lockPendingBetFolder(const Session& s) {
  return FolderLock(pendingBetPath(s).parent_path());
}

fs::path pendingBetPath(const Session& s) {
  const std::string& folder = s.settings.pendingBetFolder.empty() ? s.dataFolder() : s.settings.pendingBetFolder;
  fs::path dir = s.resolvePath(folder);
  std::string name = "~B" + s.meetingDate() + ".TXT";
  if (auto found = findCaseless(dir, name)) return *found;
  return dir / name;
}

}  // namespace tolv
