#include "odds/csv_odds.h"

#include <algorithm>
#include <fstream>

#include "core/codes.h"
#include "core/text.h"

namespace tolv {

namespace {

constexpr std::string_view kErrorTitle = "【トルブ】エラーメッセージ";

std::string blank(int width) { return std::string(static_cast<std::size_t>(width), ' '); }

// Field n (from 1) of a record, empty when the record is shorter.
const std::string& field(const std::vector<std::string>& record, std::size_t n) {
  static const std::string none;
  return n >= 1 && n <= record.size() ? record[n - 1] : none;
}

// Odds of a field in `width` bytes with `pattern`; blank when it holds no
// value above 0 (a missing field, or a horse without odds).
std::string fieldOdds(const std::string& text, int width, std::string_view pattern) {
  const double v = val(text);
  return v > 0 ? formatOdds(v, width, pattern) : blank(width);
}

// A whole number 1..limit, or 0.
int numberIn(std::string_view text, int limit) {
  const long n = valInt(text);
  return n >= 1 && n <= limit ? static_cast<int>(n) : 0;
}

// The first `length` bytes of a file when it holds exactly that many and is
// dated `date`; nullopt otherwise.
std::optional<std::string> existingRecord(const fs::path& p, std::size_t length, const std::string& date) {
  if (fileSize(p) != static_cast<long long>(length)) return std::nullopt;
  auto bytes = readFile(p);
  if (!bytes || bytes->size() != length || PatOddsHeader::decode(*bytes).date != date) return std::nullopt;
  return bytes;
}

bool isDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<std::string> csvOddsDate(const fs::path& csv) {
  const std::string name = csv.filename().string();
  if (name.size() != 12 || !equalsIgnoreCase(name.substr(0, 2), "OD") || !equalsIgnoreCase(name.substr(8), ".CSV")) {
    return std::nullopt;
  }
  const std::string yymmdd = name.substr(2, 6);
  if (!isDigits(yymmdd)) return std::nullopt;
  const std::string century = std::stoi(yymmdd.substr(0, 2)) >= 40 ? "19" : "20";
  return century + yymmdd;
}

std::string csvConversionHeading(const std::string& date) {
  return leftChars(date, 4) + "年" + midChars(date, 5, 2) + "月" + midChars(date, 7, 2) +
         "日のＣＳＶオッズをＰＡＴ形式に変換します…";
}

std::string csvProgressText(const std::vector<std::string>& record) {
  const std::string& key = field(record, 1);
  return CourseNameOfCode(leftChars(key, 2)) + " " + midChars(key, 5, 1) + "回 " + midChars(key, 6, 1) + "日目 " +
         midChars(key, 7, 2) + "Ｒ  " + field(record, 2) + "立て  (TARGET形式CSVオッズ)";
}

// --- CsvOddsUpdater -------------------------------------------------------------

CsvOddsUpdater::CsvOddsUpdater(fs::path folder, std::string date, PatQuinellaLayout layout)
    : folder_(std::move(folder)), date_(std::move(date)), layout_(layout) {}

PatBracketRecord& CsvOddsUpdater::bracketFile(const std::string& name, const PatOddsHeader& header,
                                              const std::string& runners) {
  auto it = brackets_.find(name);
  if (it != brackets_.end()) return it->second;
  const std::string fileName = "ZO-" + name + ".JRA";
  const fs::path p = detail::outputFile(folder_, fileName);
  PatBracketRecord r;
  if (auto bytes = existingRecord(p, kPatBracketRecordLength, date_)) {
    r = PatBracketRecord::decode(*bytes);
  } else {
    r.header = header;
    r.runners = runners;
  }
  order_.push_back(fileName);
  paths_[fileName] = p;
  return brackets_.emplace(name, std::move(r)).first->second;
}

PatQuinellaRecord& CsvOddsUpdater::quinellaFile(const std::string& name, const PatOddsHeader& header,
                                                const std::string& runners, int runnerCount) {
  auto it = quinellas_.find(name);
  if (it != quinellas_.end()) return it->second;
  const std::string fileName = "UO-" + name + ".JRA";
  const fs::path p = detail::outputFile(folder_, fileName);
  const bool pat95 = layout_ == PatQuinellaLayout::Pat95;
  PatQuinellaRecord r;
  if (auto bytes = existingRecord(p, pat95 ? kPatQuinella95RecordLength : kPatQuinella98RecordLength, date_)) {
    if (pat95) {
      r = PatQuinella95Record::decode(*bytes);
    } else {
      r = PatQuinella98Record::decode(*bytes);
    }
  } else {
    r.header = header;
    r.runners = runners;
    r.layOutPairs(runnerCount, '0');
  }
  order_.push_back(fileName);
  paths_[fileName] = p;
  return quinellas_.emplace(name, std::move(r)).first->second;
}

bool CsvOddsUpdater::apply(const std::vector<std::string>& record) {
  if (field(record, 3) == "6") return false;
  const std::string& key = field(record, 1);
  const std::string course = leftChars(key, 2);
  const std::string meeting = midChars(key, 5, 1), day = midChars(key, 6, 1), race = midChars(key, 7, 2);
  const int row = static_cast<int>(valInt(rightChars(key, 2)));
  // A key that names no JRA course, day or race (a header line, garbage)
  // would otherwise point at another race's files.
  if (lenChars(key) < 10 || !isDigits(course) || numberIn(course, 10) == 0 || !isDigits(day) || !isDigits(race) ||
      numberIn(race, 13) == 0) {
    return false;
  }
  const std::string name = PatOddsName(course, race, day);
  if (name.size() != 3) return false;

  PatOddsHeader h;
  h.date = date_;
  h.identifier = date_ + std::string(12, '0');
  h.courseName = CourseNameOfCode(course);
  h.year = leftChars(date_, 4);
  h.meeting = "0" + meeting;
  h.day = "0" + day;
  h.race = race;
  h.time = rightAlign(field(record, 4), 4);
  const std::string runners = rightAlign(field(record, 2), 2);

  PatBracketRecord& b = bracketFile(name, h, runners);
  if (row >= 1 && row <= kPatHorses) {
    PatWinPlaceEntry& e = b.horses[static_cast<std::size_t>(row - 1)];
    e.horse = PatHorseNumber(row, ' ');
    e.win = fieldOdds(field(record, 8), 5, "###.0");
    e.placeLow = fieldOdds(field(record, 9), 5, "###.0");
    e.placeHigh = fieldOdds(field(record, 10), 5, "###.0");
    e.flag = "0";
  }
  // The same line's row is a bracket number for its bracket fields.
  if (row >= 1 && row <= 8) {
    for (int second = row; second <= 8; ++second) {
      PatBracketEntry& e = b.brackets[static_cast<std::size_t>(BracketPairIndex(row, second) - 1)];
      e.bracket1 = std::to_string(row);
      e.bracket2 = std::to_string(second);
      e.odds = fieldOdds(field(record, 28 + static_cast<std::size_t>(second)), 5, "###.0");
      e.tail = "0 ";
    }
  }

  const long runnerCount = valInt(field(record, 2));
  if (runnerCount > 8) {
    PatQuinellaRecord& q = quinellaFile(name, h, runners, static_cast<int>(std::min<long>(runnerCount, kPatHorses)));
    for (PatQuinellaEntry& e : q.entries) {
      if (!e.used() || valInt(e.first) != row || row < 1) continue;
      const int second = numberIn(e.second, kPatHorses);
      const double odds = second ? val(field(record, 10 + static_cast<std::size_t>(second))) : 0;
      if (!(odds > 0)) {
        e.odds = e.wideLow = e.wideHigh = blank(6);
        continue;
      }
      e.odds = formatOdds(odds, 6, "####.0");
      e.wideLow = formatOdds(std::max(odds / 3, 1.0), 6, "####.0");
      e.wideHigh = formatOdds(std::max(odds / 2, 2.0), 6, "####.0");
    }
  }
  return true;
}

std::vector<CsvOddsUpdater::File> CsvOddsUpdater::files() const {
  std::vector<File> out;
  out.reserve(order_.size());
  for (const std::string& fileName : order_) {
    const std::string name = fileName.substr(3, 3);
    File f{paths_.at(fileName), {}};
    if (fileName[0] == 'Z') {
      f.bytes = brackets_.at(name).encode();
    } else {
      f.bytes = encodeQuinella(quinellas_.at(name), layout_);
    }
    out.push_back(std::move(f));
  }
  return out;
}

// --- the step -------------------------------------------------------------------

StepResult convertCsvOdds(const Session& s, UserInterface& ui, const fs::path& csv, PatQuinellaLayout layout,
                          const OddsConversionSettings& settings, OddsConversionResult* out) {
  OddsConversionResult local;
  OddsConversionResult& result = out ? *out : local;
  result = {};
  auto folder = detail::prepareOutputFolder(s, ui, settings, result);
  if (!folder) return StepResult::Failed;

  auto date = csvOddsDate(csv);
  if (!date) {
    ui.inform("ＣＳＶオッズのファイル名（" + csv.filename().string() +
                  "）から日付が分かりません！\r\nファイル名は OD + 年月日(yymmdd) + .CSV です。",
              kErrorTitle, Icon::Critical);
    return StepResult::Failed;
  }
  std::string error;
  auto file = readTargetCsvFile(csv, &error);
  if (!file) {
    ui.inform("ＣＳＶオッズ（" + csv.string() + "）を読み込めません！\r\n" + error, kErrorTitle, Icon::Critical);
    return StepResult::Failed;
  }

  BusyScope busy(ui);
  ui.progressBegin(oddsConversionReadingLabel(OddsConversionSource::Csv));
  CsvOddsUpdater updater(*folder, *date, layout);
  const std::size_t n = file->records.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto& record = file->records[i];
    if (field(record, 3) == "6") continue;
    ui.progressDetail(csvProgressText(record));
    ui.progressAdvance(static_cast<int>((i + 1) * 100 / n));
    if (updater.apply(record)) ++result.records;
  }
  for (const auto& f : updater.files()) {
    if (!detail::writeOddsFile(ui, f.path, f.bytes, result)) {
      ui.progressEnd();
      return StepResult::Failed;
    }
  }
  ui.progressEnd();
  result.topLabel = std::string(kOddsConversionFinished);
  return StepResult::Done;
}

}  // namespace tolv
