#include "output/race_results.h"

#include <algorithm>

#include "core/codes.h"
#include "core/numformat.h"
#include "core/records.h"
#include "core/text.h"
#include "odds/pat_odds.h"

namespace tolv {

namespace {

constexpr std::string_view kErrorTitle = "【トルブ】エラーメッセージ";
constexpr std::string_view kNoResults = "該当日の競走成績データが見つかりませんでした！";

// Field offsets of one PAT results layout.
struct PatResultsFields {
  std::size_t recordLength;
  std::size_t win, bracket, quinella;  // first entry of each kind
  std::size_t payoutWidth;             // 6 (PAT98) or 8 (PAT95, its last 6 count)
  bool hasWide;
};

constexpr PatResultsFields kPat98{kPatResults98RecordLength, 375, 456, 492, 6, true};
constexpr PatResultsFields kPat95{kPatResults95RecordLength, 374, 455, 491, 8, false};
constexpr std::size_t kPat98WideOffset = 534;

const PatResultsFields& fieldsOf(PatResultsLayout layout) { return layout == PatResultsLayout::Pat98 ? kPat98 : kPat95; }

// A payout field: its last six characters.
std::string payoutAt(const RecordReader& r, std::size_t offset, std::size_t width) {
  return rightChars(r.text(offset, width), 6);
}

// Trimmed text with leading zeros to two digits ("1" -> "01").
std::string twoDigitRace(std::string_view text) {
  std::string t = trim(text);
  while (lenChars(t) < 2) t = "0" + t;
  return t;
}

// Both numbers of a pick equal those of a result entry (as stored); a pick
// number of 0 never matches, so a blank entry is never a hit.
bool entryMatches(const ResultEntry& e, double a, double b) {
  return a > 0 && b > 0 && val(e.first) == a && val(e.second) == b;
}

// The result entry that pays the pick among `entries`, or null.
template <std::size_t N>
const ResultEntry* matchEntry(const std::array<ResultEntry, N>& entries, double a, double b) {
  for (const auto& e : entries) {
    if (entryMatches(e, a, b)) return &e;
  }
  return nullptr;
}

}  // namespace

// --- the results record --------------------------------------------------------

RaceResultRecord::RaceResultRecord() : raceKey("    "), courseCode("  "), raceNumber("  ") {
  for (auto& e : win) e = {"  ", "", "      "};
  for (auto& e : bracket) e = {" ", " ", "      "};
  for (auto& e : quinella) e = {"  ", "  ", "      "};
  for (auto& e : wide) e = {"  ", "  ", "      "};
}

std::string RaceResultRecord::encode() const {
  RecordBuilder b(kRaceResultRecordLength);
  b.text(0, 4, raceKey).text(4, 2, courseCode).text(6, 2, raceNumber);
  for (std::size_t i = 0; i < win.size(); ++i) b.text(8 + 8 * i, 2, win[i].first).text(10 + 8 * i, 6, win[i].payout);
  for (std::size_t i = 0; i < bracket.size(); ++i) {
    b.text(24 + 8 * i, 1, bracket[i].first).text(25 + 8 * i, 1, bracket[i].second).text(26 + 8 * i, 6, bracket[i].payout);
  }
  auto pairs = [&b](std::size_t offset, const ResultEntry& e) {
    b.text(offset, 2, e.first).text(offset + 2, 2, e.second).text(offset + 4, 6, e.payout);
  };
  for (std::size_t i = 0; i < quinella.size(); ++i) pairs(40 + 10 * i, quinella[i]);
  for (std::size_t i = 0; i < wide.size(); ++i) pairs(60 + 10 * i, wide[i]);
  return b.bytes();
}

RaceResultRecord RaceResultRecord::decode(std::string_view bytes) {
  RecordReader r(bytes);
  RaceResultRecord t;
  t.raceKey = r.text(0, 4);
  t.courseCode = r.text(4, 2);
  t.raceNumber = r.text(6, 2);
  for (std::size_t i = 0; i < t.win.size(); ++i) t.win[i] = {r.text(8 + 8 * i, 2), "", r.text(10 + 8 * i, 6)};
  for (std::size_t i = 0; i < t.bracket.size(); ++i) {
    t.bracket[i] = {r.text(24 + 8 * i, 1), r.text(25 + 8 * i, 1), r.text(26 + 8 * i, 6)};
  }
  auto pairs = [&r](std::size_t offset) { return ResultEntry{r.text(offset, 2), r.text(offset + 2, 2), r.text(offset + 4, 6)}; };
  for (std::size_t i = 0; i < t.quinella.size(); ++i) t.quinella[i] = pairs(40 + 10 * i);
  for (std::size_t i = 0; i < t.wide.size(); ++i) t.wide[i] = pairs(60 + 10 * i);
  return t;
}

fs::path resultsFilePath(const Session& session) {
  return fs::path(session.dataFolder()) / ("Sei" + session.meetingDate() + ".DAT");
}

std::optional<std::vector<RaceResultRecord>> readResultsFile(const fs::path& p, std::string* error) {
  auto raw = readRecords(p, kRaceResultRecordLength, error);
  if (!raw) return std::nullopt;
  std::vector<RaceResultRecord> out;
  const std::size_t n = std::min<std::size_t>(raw->size(), kMaxRaceResults);
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) out.push_back(RaceResultRecord::decode((*raw)[i]));
  return out;
}

// --- PAT results files -----------------------------------------------------------

std::optional<PatResultsLayout> resultsLayoutOfOddsSource(std::string_view oddsSource) {
  const std::string s = trim(oddsSource);
  if (s == "1") return PatResultsLayout::Pat98;
  if (s == "0") return PatResultsLayout::Pat95;
  return std::nullopt;
}

RaceResultRecord convertPatResults(std::string_view record, PatResultsLayout layout, std::string* date) {
  const PatResultsFields& f = fieldsOf(layout);
  RecordReader r(record);
  if (date) *date = r.text(0, 4) + r.text(4, 2) + r.text(6, 2);
  RaceResultRecord t;
  // A name of no JRA course gives a blank code (and the race key the race
  // number alone), never the "00" of the other lookup.
  t.courseCode = CourseCodeOfNameOrEmpty(leftChars(r.text(8, 4), 2));
  t.raceNumber = twoDigitRace(r.text(20, 2));
  t.raceKey = t.courseCode + t.raceNumber;
  const std::size_t payoutSkip = f.payoutWidth - 6;
  for (std::size_t i = 0; i < t.win.size(); ++i) {
    const std::size_t at = f.win + 10 * i;
    const std::size_t payout = layout == PatResultsLayout::Pat98 ? at + 4 : at + 2;
    t.win[i] = {rightAlign(r.text(at, 2), 2), "", payoutAt(r, payout + payoutSkip, 6)};
  }
  for (std::size_t i = 0; i < t.bracket.size(); ++i) {
    const std::size_t at = f.bracket + 12 * i;
    if (layout == PatResultsLayout::Pat98) {
      const std::string brackets = r.text(at, 3);
      t.bracket[i] = {leftChars(brackets, 1), rightChars(brackets, 1), payoutAt(r, at + 5, 6)};
    } else {
      t.bracket[i] = {r.text(at, 1), r.text(at + 2, 1), payoutAt(r, at + 3 + payoutSkip, 6)};
    }
  }
  // Quinella and quinella-place entries: horse a, a gap, horse b, then the
  // payout (PAT98 after two more unused bytes).
  auto pair = [&](std::size_t at) {
    const std::size_t payout = layout == PatResultsLayout::Pat98 ? at + 7 : at + 5 + payoutSkip;
    return ResultEntry{r.text(at, 2), r.text(at + 3, 2), payoutAt(r, payout, 6)};
  };
  for (std::size_t i = 0; i < t.quinella.size(); ++i) t.quinella[i] = pair(f.quinella + 14 * i);
  if (f.hasWide) {
    for (std::size_t i = 0; i < t.wide.size(); ++i) t.wide[i] = pair(kPat98WideOffset + 14 * i);
  }
  return t;
}

std::vector<RaceResultRecord> collectRaceResults(const fs::path& patFolder, PatResultsLayout layout,
                                                 const std::string& meetingDate) {
  std::vector<RaceResultRecord> results;
  const std::size_t length = fieldsOf(layout).recordLength;
  for (const auto& file : listFiles(resolveCaseless(patFolder), "ks-?????.JRA")) {
    auto records = readRecords(file, length);
    if (!records) continue;
    for (const auto& bytes : *records) {
      std::string date;
      RaceResultRecord r = convertPatResults(bytes, layout, &date);
      if (date != meetingDate) break;
      results.push_back(std::move(r));
      if (results.size() >= static_cast<std::size_t>(kMaxRaceResults)) return results;
    }
  }
  return results;
}

// --- hits in the Tolv records ------------------------------------------------------

int markTolvHits(std::vector<TolvRecord>& records, const std::vector<RaceResultRecord>& results) {
  int changed = 0;
  for (auto& rec : records) {
    const TolvRecord before = rec;
    // A race the results cover is judged afresh: a mark left by an earlier
    // run (a wrong results file since corrected) goes first.
    const bool covered = std::any_of(results.begin(), results.end(),
                                     [&](const RaceResultRecord& r) { return r.raceKey == rec.raceKey; });
    if (covered) {
      const TolvRecord fresh;
      rec.hitFlag = fresh.hitFlag;
      rec.payout = fresh.payout;
      rec.wideHitFlag = fresh.wideHitFlag;
      rec.widePayout = fresh.widePayout;
    }
    for (const auto& result : results) {
      if (result.raceKey != rec.raceKey) continue;
      if (val(leftChars(rec.pick, 2)) == 0) {
        // Bracket quinella: three spaces and the two brackets.
        if (const ResultEntry* e = matchEntry(result.bracket, val(charAt(rec.pick, 4)), val(charAt(rec.pick, 5)))) {
          rec.hitFlag = -1;
          rec.payout = e->payout;
          break;
        }
        continue;
      }
      const double a = val(leftChars(rec.pick, 2));
      const double b = val(rightChars(rec.pick, 2));
      const ResultEntry* q = matchEntry(result.quinella, a, b);
      if (q) {
        rec.hitFlag = -1;
        rec.payout = q->payout;
      }
      const ResultEntry* w = matchEntry(result.wide, a, b);
      if (w) {
        rec.wideHitFlag = -1;
        rec.widePayout = w->payout;
      }
      if (q || w) break;
    }
    if (rec.hitFlag != before.hitFlag || rec.payout != before.payout || rec.wideHitFlag != before.wideHitFlag ||
        rec.widePayout != before.widePayout) {
      ++changed;
    }
  }
  return changed;
}

StepResult ReadRaceResults(Session& session, UserInterface& ui, int* resultCount, int* hitCount) {
  BusyScope busy(ui);
  std::vector<RaceResultRecord> results;
  if (auto layout = resultsLayoutOfOddsSource(session.settings.oddsSource)) {
    results = collectRaceResults(session.resolvePath(session.settings.patFolder), *layout, session.meetingDate());
  }
  if (resultCount) *resultCount = static_cast<int>(results.size());
  if (hitCount) *hitCount = 0;

  // The results file holds exactly this run's records (none: an empty file,
  // which the viewers delete).
  const fs::path resultsPath = resultsFilePath(session);
  std::string bytes;
  bytes.reserve(results.size() * kRaceResultRecordLength);
  for (const auto& r : results) bytes += r.encode();
  std::string error;
  if (!writeFileAtomic(resultsPath, bytes, &error)) {
    ui.inform("競走成績データファイルを書き込めません：" + resultsPath.string() + "\r\n" + error, kErrorTitle,
              Icon::Critical);
    return StepResult::Failed;
  }
  if (results.empty()) {
    ui.inform(kNoResults);
    return StepResult::Failed;
  }

  StepResult outcome = StepResult::Done;
  for (const auto& file : listFiles(session.dataFolder(), "W" + session.meetingDate() + "_??.DAT")) {
    auto records = readTolvFile(file, &error);
    if (!records) {
      ui.inform("「トルブ」データファイルを読み込めません：" + file.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
      outcome = StepResult::Failed;
      continue;
    }
    const int marked = markTolvHits(*records, results);
    if (hitCount) {
      *hitCount += static_cast<int>(std::count_if(records->begin(), records->end(), [](const TolvRecord& r) {
        return r.hitFlag != 0 || r.wideHitFlag != 0;
      }));
    }
    if (marked == 0) continue;
    if (!writeTolvFile(file, *records, &error)) {
      ui.inform("「トルブ」データファイルを書き込めません：" + file.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
      outcome = StepResult::Failed;
    }
  }
  return outcome;
}

StepResult checkHits(Session& session, UserInterface& ui, int* resultCount, int* hitCount) {
  const std::string source = trim(session.settings.oddsSource);
  if (source == "2" || source == "3" || source == "4") {
    ui.inform(
        "的中判定は「PAT98」および「PAT95」のみ対応しています。\r\n"
        "他の形式の成績は「PAT」形式に変換してからご利用ください。\r\n");
    return StepResult::Failed;
  }
  return ReadRaceResults(session, ui, resultCount, hitCount);
}

// --- the annotated WARS-format file ------------------------------------------------

namespace {

constexpr long kRacePartChars = 45;
constexpr long kLineBytes = 76;
constexpr long kPickPositions[] = {9, 15, 21, 27, 33, 39};
const std::string kTrailingSpaces(35, ' ');

std::string replaceChar(const std::string& s, long pos, std::string_view c) {
  return leftChars(s, pos - 1) + std::string(c) + midChars(s, pos + 1);
}

std::string annotateRaceLine(const std::string& line, const std::string& courseCode,
                             const std::vector<RaceResultRecord>& results) {
  // A short line is padded to its race part, so a missing pick reads as blanks
  // and ends the scan.
  std::string work = line;
  if (long n = static_cast<long>(lenChars(work)); n < kRacePartChars) work += std::string(kRacePartChars - n, ' ');
  const std::string raceNo = twoDigitRace(leftChars(line, 2));
  bool hit = false;
  if (val(raceNo) > 0) {
    for (long p : kPickPositions) {
      const std::string pick = midChars(work, p, 5);
      if (lenChars(pick) < 5 || rightChars(pick, 1) == " ") break;
      for (const auto& result : results) {
        if (result.raceKey != courseCode + raceNo) continue;
        const bool bracket = charAt(pick, 3) != "-";
        const ResultEntry* e = nullptr;
        if (bracket) {
          e = matchEntry(result.bracket, val(charAt(pick, 4)), val(charAt(pick, 5)));
        } else {
          e = matchEntry(result.quinella, val(leftChars(pick, 2)), val(rightChars(pick, 2)));
        }
        if (e) {
          hit = true;
          work = replaceChar(work, p + 5, "*");
          work = leftChars(work, kRacePartChars) + (bracket ? "|枠連的中！ [" : "|馬連的中！ [") + pick + "]  " +
                 formatNumber(val(e->payout), "###,###") + "円" + kTrailingSpaces;
        }
        work = leftBytes(work, kLineBytes);
        if (e) break;
      }
    }
  }
  if (!hit) work = leftBytes(leftChars(work, kRacePartChars) + "|外れ(ﾉﾍ;)ｼｸｼｸ.." + kTrailingSpaces, kLineBytes);
  return work;
}

}  // namespace

std::vector<std::string> annotateWarsLines(const std::vector<std::string>& lines,
                                           const std::vector<RaceResultRecord>& results) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  std::string courseCode;
  for (const auto& line : lines) {
    if (std::string code = CourseCodeOfNameOrEmpty(leftChars(line, 2)); !code.empty()) {
      courseCode = code;
      out.push_back(line);
    } else if (charAt(line, 3) == "R") {
      out.push_back(annotateRaceLine(line, courseCode, results));
    } else {
      out.push_back(line);
    }
  }
  return out;
}

std::optional<WarsHitCheck> MarkWarsHits(const fs::path& warsPath, const fs::path& resultsPath, std::string* error) {
  auto results = readResultsFile(resultsPath, error);
  if (!results) return std::nullopt;
  auto lines = readTextLines(warsPath, error);
  if (!lines) return std::nullopt;
  WarsHitCheck check;
  check.annotated = fs::path(warsPath.string() + "S");
  check.results = static_cast<int>(results->size());
  if (!writeFileAtomic(check.annotated, encodeTextLines(annotateWarsLines(*lines, *results)), error)) {
    return std::nullopt;
  }
  return check;
}

}  // namespace tolv
