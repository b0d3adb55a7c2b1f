#include "odds/target_csv.h"

#include <cmath>

#include "core/cp932.h"
#include "core/session.h"
#include "core/text.h"
#include "odds/pat_odds.h"

namespace tolv {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Odds of one CSV field: its value with one decimal, right-aligned in six;
// six spaces when it holds no value above 0.
std::string fieldOdds(const std::string& field) {
  const double v = val(field);
  if (!(v > 0)) return std::string(kBlankOdds);
  return formatOdds(v, 6, "####.0");
}

// A whole number 1..limit read from text, or 0.
int smallNumber(std::string_view text, int limit) {
  const double v = val(text);
  if (v < 1 || v > limit || v != std::floor(v)) return 0;
  return static_cast<int>(v);
}

}  // namespace

// --- CSV ----------------------------------------------------------------------

std::vector<std::vector<std::string>> parseCsv(std::string_view text, std::size_t maxFields) {
  std::vector<std::vector<std::string>> records;
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    std::vector<std::string> record;
    std::size_t fields = 0;
    for (;;) {
      std::string field;
      while (i < n && isBlank(text[i])) ++i;
      std::size_t start = i;
      if (i < n && text[i] == '"') {
        ++i;
        while (i < n) {
          if (text[i] != '"') {
            field.push_back(text[i++]);
          } else if (i + 1 < n && text[i + 1] == '"') {
            field.push_back('"');
            i += 2;
          } else {
            ++i;  // the closing quote
            break;
          }
        }
        start = i;
      }
      while (i < n && text[i] != ',' && !isLineEnd(text[i])) ++i;
      field += trimBlanks(text.substr(start, i - start));
      if (record.size() < maxFields) record.push_back(std::move(field));
      ++fields;

      if (i < n && text[i] == ',') {
        ++i;
        continue;
      }
      if (i < n) i += (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
      break;
    }
    const bool emptyLine = fields == 1 && (record.empty() || record[0].empty());
    if (!emptyLine) records.push_back(std::move(record));
  }
  return records;
}

bool isLongTargetCsv(std::string_view text) {
  int commas = 0;
  for (char c : text) {
    if (isLineEnd(c)) break;
    if (c == ',') ++commas;
  }
  return commas > kTargetCsvLongCommas;
}

TargetCsvFile parseTargetCsv(std::string_view text) {
  TargetCsvFile file;
  file.longFormat = isLongTargetCsv(text);
  const std::size_t count = file.fieldCount();
  file.records = parseCsv(text, count);
  for (auto& r : file.records) r.resize(count);
  return file;
}

std::optional<TargetCsvFile> readTargetCsvFile(const fs::path& p, std::string* error) {
  auto bytes = readFile(p, error);
  if (!bytes) return std::nullopt;
  return parseTargetCsv(fromCp932(*bytes));
}

fs::path targetCsvOddsPath(const Session& s) {
  const fs::path folder = s.resolvePath(s.settings.patFolder);
  const std::string name = "OD" + rightChars(s.meetingDate(), 6) + ".CSV";
  auto found = findCaseless(folder, name);
  return found ? *found : folder / name;
}

// --- lookups ------------------------------------------------------------------

TargetCsvOdds::TargetCsvOdds(TargetCsvFile file) : file_(std::move(file)) {
  for (std::size_t i = 0; i < file_.records.size(); ++i) {
    const std::string& key = file_.records[i][0];
    first_.try_emplace({leftChars(key, 4), rightChars(key, 4)}, i);
  }
}

std::optional<TargetCsvOdds> TargetCsvOdds::load(const fs::path& p, std::string* error) {
  auto file = readTargetCsvFile(p, error);
  if (!file) return std::nullopt;
  return TargetCsvOdds(std::move(*file));
}

std::string TargetCsvOdds::lookup(std::string_view kind, std::string_view pick, std::string_view raceKey,
                                  std::string_view meetingDate, std::string& wide) const {
  const std::string none(kBlankOdds);
  wide = none;
  const bool quinella = kind == "馬";
  if (!quinella && kind != "枠") return none;

  std::string row;
  std::size_t field = 0, wideField = 0;  // 1-based field numbers
  if (quinella) {
    row = rightChars("0" + trim(leftChars(pick, 2)), 2);
    const int h = smallNumber(rightChars("0" + trim(rightChars(pick, 2)), 2), kPatHorses);
    if (h == 0) return none;
    field = 10 + static_cast<std::size_t>(h);
    wideField = 36 + 2 * static_cast<std::size_t>(h);
  } else {
    const std::string brackets = rightChars(pick, 2);
    row = "0" + leftChars(brackets, 1);
    const int b = smallNumber(rightChars(brackets, 1), 8);
    if (b == 0) return none;
    field = 28 + static_cast<std::size_t>(b);
  }

  const std::string keyStart = leftChars(raceKey, 2) + midChars(meetingDate, 3, 2);
  const std::string keyEnd = rightChars(raceKey, 2) + row;
  auto it = first_.find({keyStart, keyEnd});
  if (it == first_.end()) return none;

  const std::vector<std::string>& record = file_.records[it->second];
  if (quinella && file_.longFormat) wide = fieldOdds(record[wideField - 1]);
  return fieldOdds(record[field - 1]);
}

std::string LookupTargetCsvOdds(const fs::path& path, std::string_view kind, std::string_view pick,
                                std::string_view raceKey, std::string_view meetingDate, std::string& wide) {
  wide = std::string(kBlankOdds);
  if (!isRegularFile(path)) return std::string(kBlankOdds);
  auto odds = TargetCsvOdds::load(path);
  if (!odds) return std::string(kBlankOdds);
  return odds->lookup(kind, pick, raceKey, meetingDate, wide);
}

}  // namespace tolv
