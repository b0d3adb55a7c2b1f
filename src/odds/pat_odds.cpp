#include "odds/pat_odds.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "core/codes.h"
#include "core/numformat.h"
#include "core/records.h"
#include "core/session.h"
#include "core/text.h"

namespace tolv {

// --- file names ---------------------------------------------------------------

std::string RaceLetter(std::string_view raceNumber) {
  std::string t = trim(raceNumber);
  switch (valInt(t)) {
    case 10: return "A";
    case 11: return "B";
    case 12: return "C";
    case 13: return "D";
    default: return rightChars(t, 1);
  }
}

std::string PatOddsName(std::string_view courseCode, std::string_view raceNumber, std::string_view dayNumber) {
  std::string course = CourseLetter(trim(courseCode));
  std::string day = rightChars(trim(dayNumber), 1);
  std::string race = RaceLetter(raceNumber);
  if (course.empty() || day.empty() || race.empty()) return {};
  return course + day + race;
}

std::string PatOddsPattern(std::string_view courseCode, std::string_view raceNumber) {
  std::string course = CourseLetter(trim(courseCode));
  std::string race = RaceLetter(raceNumber);
  if (course.empty() || race.empty()) return {};
  return course + "?" + race;
}

int RaceNumberOfPatLetter(std::string_view letter) {
  if (letter.size() != 1) return 0;
  char c = letter[0];
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'D') return 10 + (c - 'A');
  return 0;
}

int RaceNumberOfPatName(std::string_view fileName) {
  return fileName.size() > 5 ? RaceNumberOfPatLetter(fileName.substr(5, 1)) : 0;
}

// --- positions ----------------------------------------------------------------

int QuinellaPairIndex(int& a, int& b) {
  if (a > b) std::swap(a, b);
  if (a < 1 || b > kPatHorses || a == b) return 0;
  return (a - 1) * kPatHorses - a * (a - 1) / 2 + (b - a);
}

int BracketPairIndex(int a, int b) {
  if (a < 1 || a > 8 || b < 1 || b > 8) return 0;
  // A pair written the other way round would point at another pair's slot.
  if (b < a) return 0;
  static constexpr int kBase[] = {0, 7, 13, 18, 22, 25, 27};  // a = 1 to 7
  if (a == 8) return kPatBracketPairs;
  return b + kBase[a - 1];
}

// --- odds text ----------------------------------------------------------------

std::string rightAlign(std::string_view text, int width) {
  if (width <= 0) return {};
  return rightChars(std::string(static_cast<std::size_t>(width), ' ') + trim(text), width);
}

std::string formatOdds(double value, int width, std::string_view pattern) {
  if (width >= 3) {
    // The largest value with one decimal that fits: 999.9 in 5, 9999.9 in 6.
    double largest = std::pow(10.0, width - 2) - 0.1;
    if (value >= largest + 0.05) value = largest;
  }
  return rightAlign(formatNumber(value, pattern), width);
}

std::string scratchedOdds(int width) { return rightAlign(kScratchedText, width); }

std::string PatHorseNumber(int n, char pad) {
  if (n < 1 || n > 99) return "  ";
  if (n < 10) return std::string(1, pad) + static_cast<char>('0' + n);
  return std::to_string(n);
}

// --- records ------------------------------------------------------------------

namespace {

constexpr std::size_t kWinPlaceOffset = 143, kWinPlaceLength = 18;
constexpr std::size_t kBracketOffset = 468, kBracketLength = 10;
constexpr std::size_t kQuinella95Offset = 143, kQuinella95Length = 12;
constexpr std::size_t kQuinella98Offset = 144, kQuinella98Length = 25;

bool blank(std::string_view s) { return trim(s).empty(); }

// A text field of a record or of one of its entries: where it lies and how
// wide it is. Each layout is a table of these; one pair of loops reads and
// writes every table, and only the fixed separators are written by hand.
template <class T>
struct Field {
  std::string T::*member;
  std::size_t offset, width;
};

template <class T, std::size_t N>
void writeFields(RecordBuilder& b, std::size_t at, const T& item, const Field<T> (&fields)[N]) {
  for (const auto& f : fields) b.text(at + f.offset, f.width, item.*f.member);
}

template <class T, std::size_t N>
void readFields(const RecordReader& r, std::size_t at, T& item, const Field<T> (&fields)[N]) {
  for (const auto& f : fields) item.*f.member = r.text(at + f.offset, f.width);
}

// Every entry of `entries`, the k-th at `offset` + k * `length`.
template <class Entries, class T, std::size_t N>
void writeEntries(RecordBuilder& b, std::size_t offset, std::size_t length, const Entries& entries,
                  const Field<T> (&fields)[N]) {
  for (std::size_t k = 0; k < entries.size(); ++k) writeFields(b, offset + length * k, entries[k], fields);
}

template <class Entries, class T, std::size_t N>
void readEntries(const RecordReader& r, std::size_t offset, std::size_t length, Entries& entries,
                 const Field<T> (&fields)[N]) {
  for (std::size_t k = 0; k < entries.size(); ++k) readFields(r, offset + length * k, entries[k], fields);
}

constexpr Field<PatOddsHeader> kHeaderFields[] = {
    {&PatOddsHeader::date, 0, 8},      {&PatOddsHeader::identifier, 8, 20}, {&PatOddsHeader::courseName, 28, 4},
    {&PatOddsHeader::year, 32, 4},     {&PatOddsHeader::meeting, 36, 2},    {&PatOddsHeader::day, 38, 2},
    {&PatOddsHeader::race, 40, 2},     {&PatOddsHeader::reserved, 42, 2},   {&PatOddsHeader::time, 44, 4},
    {&PatOddsHeader::raceName, 48, 28},
};

// Win/place entry: horse, win odds, place bounds, flag.
constexpr Field<PatWinPlaceEntry> kWinPlaceFields[] = {
    {&PatWinPlaceEntry::horse, 0, 2},      {&PatWinPlaceEntry::win, 2, 5}, {&PatWinPlaceEntry::placeLow, 7, 5},
    {&PatWinPlaceEntry::placeHigh, 12, 5}, {&PatWinPlaceEntry::flag, 17, 1},
};

// Bracket entry: bracket 1, "-" (written by hand), bracket 2, odds, tail.
constexpr Field<PatBracketEntry> kBracketFields[] = {
    {&PatBracketEntry::bracket1, 0, 1},
    {&PatBracketEntry::bracket2, 2, 1},
    {&PatBracketEntry::odds, 3, 5},
    {&PatBracketEntry::tail, 8, 2},
};

// PAT95 quinella entry: first, "-", second, odds, a space.
constexpr Field<PatQuinellaEntry> kQuinella95Fields[] = {
    {&PatQuinellaEntry::first, 0, 2},
    {&PatQuinellaEntry::second, 3, 2},
    {&PatQuinellaEntry::odds, 5, 6},
};

// PAT98 quinella entry: "00", first, "-", second, odds, quinella-place bounds.
constexpr Field<PatQuinellaEntry> kQuinella98Fields[] = {
    {&PatQuinellaEntry::first, 2, 2},    {&PatQuinellaEntry::second, 5, 2},    {&PatQuinellaEntry::odds, 7, 6},
    {&PatQuinellaEntry::wideLow, 13, 6}, {&PatQuinellaEntry::wideHigh, 19, 6},
};

}  // namespace

void PatOddsHeader::writeTo(RecordBuilder& b) const {
  writeFields(b, 0, *this, kHeaderFields);
  b.raw(76, 64, "");
}

PatOddsHeader PatOddsHeader::readFrom(const RecordReader& r) {
  PatOddsHeader h;
  readFields(r, 0, h, kHeaderFields);
  return h;
}

std::string PatOddsHeader::encode() const {
  RecordBuilder b(kPatOddsHeaderLength);
  writeTo(b);
  return b.bytes();
}

PatOddsHeader PatOddsHeader::decode(std::string_view bytes) { return readFrom(RecordReader(bytes)); }

void PatBracketRecord::layOutBrackets() {
  std::size_t k = 0;
  for (int a = 1; a <= 8; ++a) {
    for (int b = a; b <= 8; ++b, ++k) {
      brackets[k].bracket1 = std::to_string(a);
      brackets[k].bracket2 = std::to_string(b);
    }
  }
}

std::string PatBracketRecord::encode() const {
  RecordBuilder b(kPatBracketRecordLength);
  header.writeTo(b);
  b.text(140, 2, runners).raw(142, 1, "0");
  writeEntries(b, kWinPlaceOffset, kWinPlaceLength, horses, kWinPlaceFields);
  b.raw(467, 1, " ");
  writeEntries(b, kBracketOffset, kBracketLength, brackets, kBracketFields);
  for (std::size_t k = 0; k < brackets.size(); ++k) {
    const bool used = !blank(brackets[k].bracket1) || !blank(brackets[k].bracket2);
    b.raw(kBracketOffset + kBracketLength * k + 1, 1, used ? "-" : " ");
  }
  return b.bytes();
}

PatBracketRecord PatBracketRecord::decode(std::string_view bytes) {
  RecordReader r(bytes);
  PatBracketRecord rec;
  rec.header = PatOddsHeader::readFrom(r);
  rec.runners = r.text(140, 2);
  readEntries(r, kWinPlaceOffset, kWinPlaceLength, rec.horses, kWinPlaceFields);
  readEntries(r, kBracketOffset, kBracketLength, rec.brackets, kBracketFields);
  return rec;
}

bool PatQuinellaEntry::used() const { return !blank(first) || !blank(second); }

int PatQuinellaRecord::layOutPairs(int runnerCount, char pad) {
  int n = std::clamp(runnerCount, 0, kPatHorses);
  std::size_t k = 0;
  for (int a = 1; a < n; ++a) {
    for (int b = a + 1; b <= n; ++b, ++k) entries[k] = {PatHorseNumber(a, pad), PatHorseNumber(b, pad), {}, {}, {}};
  }
  for (std::size_t i = k; i < entries.size(); ++i) entries[i] = {};
  return static_cast<int>(k);
}

std::string PatQuinella95Record::encode() const {
  RecordBuilder b(kPatQuinella95RecordLength);
  header.writeTo(b);
  b.raw(140, 1, " ").text(141, 2, runners);
  writeEntries(b, kQuinella95Offset, kQuinella95Length, entries, kQuinella95Fields);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::size_t at = kQuinella95Offset + kQuinella95Length * k;
    b.raw(at + 2, 1, entries[k].used() ? "-" : " ").raw(at + 11, 1, " ");
  }
  b.raw(1979, 1, " ");
  return b.bytes();
}

PatQuinella95Record PatQuinella95Record::decode(std::string_view bytes) {
  RecordReader r(bytes);
  PatQuinella95Record rec;
  rec.header = PatOddsHeader::readFrom(r);
  rec.runners = r.text(141, 2);
  readEntries(r, kQuinella95Offset, kQuinella95Length, rec.entries, kQuinella95Fields);
  return rec;
}

std::string PatQuinella98Record::encode() const {
  RecordBuilder b(kPatQuinella98RecordLength);
  header.writeTo(b);
  b.text(140, 2, runners).raw(142, 2, "11");
  writeEntries(b, kQuinella98Offset, kQuinella98Length, entries, kQuinella98Fields);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::size_t at = kQuinella98Offset + kQuinella98Length * k;
    const bool used = entries[k].used();
    b.raw(at, 2, used ? "00" : "  ").raw(at + 4, 1, used ? "-" : " ");
  }
  b.raw(3969, 2, "\r\n");
  return b.bytes();
}

PatQuinella98Record PatQuinella98Record::decode(std::string_view bytes) {
  RecordReader r(bytes);
  PatQuinella98Record rec;
  rec.header = PatOddsHeader::readFrom(r);
  rec.runners = r.text(140, 2);
  readEntries(r, kQuinella98Offset, kQuinella98Length, rec.entries, kQuinella98Fields);
  return rec;
}

// --- lookups ------------------------------------------------------------------

namespace {

// At most the first `length` bytes of a file; nullopt when it cannot be opened.
std::optional<std::string> readHead(const fs::path& p, std::size_t length) {
  if (!isRegularFile(p)) return std::nullopt;
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(length, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(length));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return bytes;
}

// A pattern path split into its folder (resolved ignoring case) and its file
// name pattern. Backslashes count as separators.
std::pair<fs::path, std::string> splitPattern(const fs::path& patternPath) {
  std::string s = patternPath.string();
  std::replace(s.begin(), s.end(), '\\', '/');
  std::size_t slash = s.rfind('/');
  if (slash == std::string::npos) return {fs::path(), s};
  std::string folder = slash == 0 ? std::string("/") : s.substr(0, slash);
  return {resolveCaseless(fs::path(folder).lexically_normal()), s.substr(slash + 1)};
}

}  // namespace

PatOddsReader::PatOddsReader(const Session& session) : date_(session.meetingDate()) {}

PatOddsReader::PatOddsReader(std::string meetingDate) : date_(std::move(meetingDate)) {}

const PatOddsReader::Loaded& PatOddsReader::load(const fs::path& file, Layout layout) {
  Key key{file.string(), layout};
  auto it = files_.find(key);
  if (it != files_.end()) return it->second;

  Loaded loaded;
  std::size_t length = layout == Layout::Bracket      ? kPatBracketRecordLength
                       : layout == Layout::Quinella95 ? kPatQuinella95RecordLength
                                                      : kPatQuinella98RecordLength;
  auto bytes = readHead(file, length);
  const PatOddsHeader header = bytes ? PatOddsHeader::decode(*bytes) : PatOddsHeader{};
  if (bytes && bytes->size() == length && header.date == date_) {
    loaded.usable = true;
    loaded.race = static_cast<int>(valInt(header.race));
    if (layout == Layout::Bracket) {
      loaded.bracket = PatBracketRecord::decode(*bytes);
    } else {
      if (layout == Layout::Quinella95) {
        loaded.quinella = PatQuinella95Record::decode(*bytes);
      } else {
        loaded.quinella = PatQuinella98Record::decode(*bytes);
      }
      loaded.pairs.reserve(loaded.quinella.entries.size());
      for (const auto& e : loaded.quinella.entries) loaded.pairs.emplace_back(val(e.first), val(e.second));
    }
  }
  return files_.emplace(std::move(key), std::move(loaded)).first->second;
}

const PatOddsReader::Loaded* PatOddsReader::select(const fs::path& patternPath, Layout layout, std::string* file) {
  auto [folder, name] = splitPattern(patternPath);
  Key key{(folder / name).string(), layout};
  auto it = chosen_.find(key);
  if (it == chosen_.end()) {
    std::string found;
    // A pattern that names no race ("UO-5??.JRA") takes a file of any race.
    const int race = RaceNumberOfPatName(name);
    if (!name.empty() && !folder.empty()) {
      for (const fs::path& candidate : listFiles(folder, name)) {
        const Loaded& l = load(candidate, layout);
        if (l.usable && (race == 0 || l.race == race)) {
          found = candidate.string();
          break;
        }
      }
    }
    it = chosen_.emplace(std::move(key), std::move(found)).first;
  }
  if (it->second.empty()) return nullptr;
  if (file) *file = it->second;
  return &files_.at(Key{it->second, layout});
}

std::string PatOddsReader::lookup(const fs::path& patternPath, std::string_view kind, std::string_view pick,
                                  Layout quinella, std::string* wide) {
  const std::string none(kBlankOdds);
  if (wide) *wide = none;

  if (kind == "馬") {
    const Loaded* l = select(patternPath, quinella);
    if (!l) return none;
    std::pair<double, double> want{val(leftChars(pick, 2)), val(rightChars(pick, 2))};
    for (std::size_t i = 0; i < l->pairs.size(); ++i) {
      if (l->pairs[i] != want) continue;
      const PatQuinellaEntry& e = l->quinella.entries[i];
      std::string odds = rightAlign6(e.odds);
      if (wide && odds != none) *wide = rightAlign6(e.wideLow);
      return odds;
    }
    return none;
  }

  bool win = kind == "単", place = kind == "複", bracket = kind == "枠";
  if (!win && !place && !bracket) return none;
  const Loaded* l = select(patternPath, Layout::Bracket);
  if (!l) return none;
  if (bracket) {
    std::string want = trim(pick);
    for (const PatBracketEntry& e : l->bracket.brackets) {
      if (e.bracket1 + e.bracket2 == want) return rightAlign6(e.odds);
    }
    return none;
  }
  // Horse numbers 1-18 have an entry; any other number has none.
  double horse = val(pick);
  if (horse < 1 || horse > kPatHorses || horse != std::floor(horse)) return none;
  const PatWinPlaceEntry& e = l->bracket.horses[static_cast<std::size_t>(horse) - 1];
  return rightAlign6(win ? e.win : e.placeLow);
}

std::string PatOddsReader::lookup95(const fs::path& patternPath, std::string_view kind, std::string_view pick) {
  return lookup(patternPath, kind, pick, Layout::Quinella95, nullptr);
}

std::string PatOddsReader::lookup98(const fs::path& patternPath, std::string_view kind, std::string_view pick,
                                    std::string& wide) {
  return lookup(patternPath, kind, pick, Layout::Quinella98, &wide);
}

const PatBracketRecord* PatOddsReader::bracketRecord(const fs::path& patternPath) {
  const Loaded* l = select(patternPath, Layout::Bracket);
  return l ? &l->bracket : nullptr;
}

const PatQuinellaRecord* PatOddsReader::quinellaRecord(const fs::path& patternPath, PatQuinellaLayout layout) {
  const Loaded* l =
      select(patternPath, layout == PatQuinellaLayout::Pat95 ? Layout::Quinella95 : Layout::Quinella98);
  return l ? &l->quinella : nullptr;
}

std::optional<fs::path> PatOddsReader::bracketFile(const fs::path& patternPath) {
  std::string file;
  if (!select(patternPath, Layout::Bracket, &file)) return std::nullopt;
  return fs::path(file);
}

std::optional<fs::path> PatOddsReader::quinellaFile(const fs::path& patternPath, PatQuinellaLayout layout) {
  std::string file;
  if (!select(patternPath, layout == PatQuinellaLayout::Pat95 ? Layout::Quinella95 : Layout::Quinella98, &file)) {
    return std::nullopt;
  }
  return fs::path(file);
}

std::string LookupPat95Odds(const Session& session, const fs::path& patternPath, std::string_view kind,
                            std::string_view pick) {
  return PatOddsReader(session).lookup95(patternPath, kind, pick);
}

std::string LookupPat98Odds(const Session& session, const fs::path& patternPath, std::string_view kind,
                            std::string_view pick, std::string& wide) {
  return PatOddsReader(session).lookup98(patternPath, kind, pick, wide);
}

}  // namespace tolv
