#pragma once
// Odds acquisition status: for the processing day, which races of which
// courses have odds on hand in the chosen odds source, as the grid of the
// status window (a row per course and bet type, a column per race, "○" where
// odds exist, "×" where they do not).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/session.h"
#include "core/ui.h"

namespace tolv {

inline constexpr int kStatusCourses = 10;  // JRA course numbers 1-10
inline constexpr int kStatusRaces = 12;    // races 1-12

// The flags of one course of one bet type.
struct CourseOddsFlags {
  bool present = false;
  std::array<bool, kStatusRaces> races{};  // race r at [r - 1]

  // Sets the course and, for a race of 1-12, the race.
  void mark(int race);
};

// What a scan found: course n at [n - 1].
struct OddsStatusTables {
  std::array<CourseOddsFlags, kStatusCourses> bracket;   // 枠連
  std::array<CourseOddsFlags, kStatusCourses> quinella;  // 馬連
};

// PAT odds files of `folder` dated `meetingDate`: ZO-???.JRA into the
// bracket table, UO-???.JRA into the quinella table (either layout). The
// course is the name's fourth character ("1"-"9", "A" 10), the race its sixth
// ("1"-"9", "A"-"C" 10-12, either case). Files of another day, files too short
// to hold a record and names of no course or race are not counted.
OddsStatusTables scanPatOddsStatus(const fs::path& folder, const std::string& meetingDate);

// A TARGET CSV file read: every record marks its course (first two
// characters of the key) and race (characters 7-8) in the bracket table, its
// course in the quinella table, and its race there too when it has more than
// 8 runners (field 2).
OddsStatusTables scanTargetOddsStatus(const std::vector<std::vector<std::string>>& records);

// MJH text lines: "21" lines (bracket odds) and "22" lines (quinella odds)
// mark the course of characters 4-5 and the race of characters 7-8.
OddsStatusTables scanMjhOddsStatus(const std::vector<std::string>& lines);

// One row of the grid.
struct OddsStatusRow {
  int course = 0;           // 1-10
  std::string courseName;   // "中山"
  std::string betType;      // "枠連" or "馬連"
  unsigned betTypeColour = 0;  // 0xRRGGBB: magenta for 枠連, blue for 馬連
  std::array<bool, kStatusRaces> races{};

  // "○" or "×" of race r (1-12), and its colour (red, black).
  std::string cell(int race) const;
  unsigned cellColour(int race) const;
};

struct OddsStatusGrid {
  // "2026年12月06日(日) のオッズ取得状況"
  std::string heading;
  std::vector<OddsStatusRow> rows;

  // The header row: "競馬場", "種別", " 1R" ... "12R".
  static std::vector<std::string> headerRow();
};

// The grid of the tables for the day: per course 1-10 its 枠連 row, then its
// 馬連 row, each only when the table has the course.
OddsStatusGrid oddsStatusGrid(const OddsStatusTables& tables, const std::string& meetingDate);

// The status of the session's processing day from its odds source (ODDS PAT:
// "3" the TARGET CSV file, "4" the MJH text, others the PAT files of
// PATFolder, or of WarsOddsFolder for "2"). Shows "処理日付が特定できません！…"
// when the day is no date, or the TARGET / MJH file's "見つかりません" message,
// and returns Failed; else fills `grid` and returns Done.
StepResult showOddsStatus(const Session& s, UserInterface& ui, OddsStatusGrid& grid);

}  // namespace tolv
