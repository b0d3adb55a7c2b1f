#include "odds/odds_status.h"

#include "core/codes.h"
#include "core/dates.h"
#include "core/text.h"
#include "odds/mjh.h"
#include "odds/pat_odds.h"
#include "odds/target_csv.h"

namespace tolv {

namespace {

constexpr std::string_view kSearchErrorTitle = "【トルブ】ファイル検索エラー";
constexpr unsigned kMagenta = 0xFF00FF, kBlue = 0x0000FF, kRed = 0xFF0000, kBlack = 0x000000;

void mark(std::array<CourseOddsFlags, kStatusCourses>& table, long course, long race) {
  if (course < 1 || course > kStatusCourses) return;
  table[static_cast<std::size_t>(course - 1)].mark(static_cast<int>(race));
}

// Marks the PAT files of the folder matching `pattern` dated `date`.
void scanPatFiles(const fs::path& folder, std::string_view pattern, std::size_t minimumLength,
                  const std::string& date, std::array<CourseOddsFlags, kStatusCourses>& table) {
  for (const fs::path& p : listFiles(folder, pattern)) {
    const std::string name = p.filename().string();
    if (name.size() < 6) continue;
    const std::string courseLetter = name.substr(3, 1);
    const long course = (courseLetter == "A" || courseLetter == "a") ? 10 : RaceNumberOfPatLetter(courseLetter);
    const int race = RaceNumberOfPatLetter(name.substr(5, 1));
    if (course < 1 || course > kStatusCourses || race < 1 || race > kStatusRaces) continue;
    // Only a whole record of the day counts, as for the odds lookups.
    if (fileSize(p) < static_cast<long long>(minimumLength)) continue;
    auto bytes = readFile(p);
    if (!bytes || PatOddsHeader::decode(bytes->substr(0, kPatOddsHeaderLength)).date != date) continue;
    mark(table, course, race);
  }
}

}  // namespace

void CourseOddsFlags::mark(int race) {
  present = true;
  if (race >= 1 && race <= kStatusRaces) races[static_cast<std::size_t>(race - 1)] = true;
}

OddsStatusTables scanPatOddsStatus(const fs::path& folder, const std::string& meetingDate) {
  OddsStatusTables t;
  scanPatFiles(folder, "ZO-???.JRA", kPatBracketRecordLength, meetingDate, t.bracket);
  // Either layout: the shorter PAT95 record is enough.
  scanPatFiles(folder, "UO-???.JRA", kPatQuinella95RecordLength, meetingDate, t.quinella);
  return t;
}

OddsStatusTables scanTargetOddsStatus(const std::vector<std::vector<std::string>>& records) {
  OddsStatusTables t;
  for (const auto& r : records) {
    if (r.empty()) continue;
    const long course = valInt(leftChars(r[0], 2));
    const long race = valInt(midChars(r[0], 7, 2));
    mark(t.bracket, course, race);
    const bool quinella = r.size() >= 2 && val(r[1]) > 8;
    mark(t.quinella, course, quinella ? race : 0);
  }
  return t;
}

OddsStatusTables scanMjhOddsStatus(const std::vector<std::string>& lines) {
  OddsStatusTables t;
  for (const std::string& line : lines) {
    const std::string type = leftChars(line, 2);
    if (type != "21" && type != "22") continue;
    const long course = valInt(midChars(line, 4, 2));
    const long race = valInt(midChars(line, 7, 2));
    if (race < 1 || race > kStatusRaces) continue;
    mark(type == "21" ? t.bracket : t.quinella, course, race);
  }
  return t;
}

std::string OddsStatusRow::cell(int race) const {
  return race >= 1 && race <= kStatusRaces && races[static_cast<std::size_t>(race - 1)] ? "○" : "×";
}

unsigned OddsStatusRow::cellColour(int race) const { return cell(race) == "○" ? kRed : kBlack; }

std::vector<std::string> OddsStatusGrid::headerRow() {
  std::vector<std::string> row{"競馬場", "種別"};
  for (int r = 1; r <= kStatusRaces; ++r) row.push_back(PatHorseNumber(r, ' ') + "R");
  return row;
}

OddsStatusGrid oddsStatusGrid(const OddsStatusTables& tables, const std::string& meetingDate) {
  OddsStatusGrid g;
  g.heading = leftChars(meetingDate, 4) + "年" + midChars(meetingDate, 5, 2) + "月" + midChars(meetingDate, 7, 2) +
              "日(" + weekdayKanji(meetingDate) + ") のオッズ取得状況";
  for (int c = 1; c <= kStatusCourses; ++c) {
    const std::size_t i = static_cast<std::size_t>(c - 1);
    const std::string name = CourseNameOfCode(TwoDigits(c));
    if (tables.bracket[i].present) g.rows.push_back({c, name, "枠連", kMagenta, tables.bracket[i].races});
    if (tables.quinella[i].present) g.rows.push_back({c, name, "馬連", kBlue, tables.quinella[i].races});
  }
  return g;
}

StepResult showOddsStatus(const Session& s, UserInterface& ui, OddsStatusGrid& grid) {
  grid = {};
  if (!parseYmd(s.meetingDate())) {
    ui.inform("処理日付が特定できません！　作者までご連絡ください<m(__)m>。", "", Icon::Exclamation);
    return StepResult::Failed;
  }
  const std::string source = trim(s.settings.oddsSource);
  OddsStatusTables tables;
  if (source == "3") {
    const fs::path csv = targetCsvOddsPath(s);
    if (!isRegularFile(csv)) {
      ui.inform("「TARGET」のCSV形式オッズが指定されていますが、ファイルが見つかりません！", kSearchErrorTitle,
                Icon::Critical);
      return StepResult::Failed;
    }
    std::string error;
    auto file = readTargetCsvFile(csv, &error);
    if (!file) {
      ui.inform("「TARGET」のCSV形式オッズ（" + csv.string() + "）を読み込めません！\r\n" + error, kSearchErrorTitle,
                Icon::Critical);
      return StepResult::Failed;
    }
    tables = scanTargetOddsStatus(file->records);
  } else if (source == "4") {
    const fs::path text = mjhTextPath(s);
    if (!isRegularFile(text)) {
      ui.inform("「ＭＪＨ」形式オッズが指定されていますが、ファイルが見つかりません！", kSearchErrorTitle,
                Icon::Critical);
      return StepResult::Failed;
    }
    std::string error;
    auto lines = readTextLines(text, &error);
    if (!lines) {
      ui.inform("「ＭＪＨ」形式オッズ（" + text.string() + "）を読み込めません！\r\n" + error, kSearchErrorTitle,
                Icon::Critical);
      return StepResult::Failed;
    }
    tables = scanMjhOddsStatus(*lines);
  } else {
    const fs::path folder = s.resolvePath(source == "2" ? s.warsOddsFolder() : s.settings.patFolder);
    tables = scanPatOddsStatus(folder, s.meetingDate());
  }
  grid = oddsStatusGrid(tables, s.meetingDate());
  return StepResult::Done;
}

}  // namespace tolv
