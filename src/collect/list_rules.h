#pragma once
// The software list editor's reading and writing of list lines, free of
// widgets.
//
// Reading: a line starting with a digit is adopted ("●") when the number of
// its first four characters lies in 1-9999, its code is characters 1-4 and
// its name characters 5-24; any other line is not adopted, its code is
// characters 2-5 and its name characters 6-25. Writing: ":" when not adopted,
// then the trimmed code and the name; rows marked "削除" are left out.
//
// A line that starts with neither a digit nor ":" never counts as a program
// (a comment such as "; ぴるね ソフトリスト"): it reads as a comment row that
// is written back as it stands, in its place.

#include <optional>
#include <string>
#include <vector>

#include "core/files.h"

namespace tolv {

inline constexpr const char* kAdoptedMark = "●";
inline constexpr const char* kDeletedMark = "削除";
inline constexpr std::size_t kMaxListLines = 1024;
inline constexpr std::size_t kMaxListFiles = 64;

struct ListRow {
  std::string mark;  // "●", "" or "削除"
  std::string code;
  std::string name;  // a comment row: the whole line
  bool comment = false;
  friend bool operator==(const ListRow&, const ListRow&) = default;
};

ListRow readListLine(const std::string& line);
// The line written for a row (without its line end); nullopt for "削除".
std::optional<std::string> writeListLine(const ListRow& row);
// The 採用 column's cycle: "●" → "" → "削除" → "●"; anything else stays.
std::string nextMark(const std::string& mark);

// The non-empty lines of a list file (at most 1024); nullopt when it cannot
// be read.
std::optional<std::vector<std::string>> readListFile(const fs::path& p, std::string* error = nullptr);
// Writes the rows as list lines (CP932, CR LF), atomically.
bool writeListFile(const fs::path& p, const std::vector<ListRow>& rows, std::string* error = nullptr);

// "別名で保存": the file for an answer, `appFolder` + the answer, + ".lst"
// unless it already ends in ".LST" in any case; nullopt for an empty
// (trimmed) answer or one that names no plain file in the folder.
std::optional<fs::path> saveAsPath(const std::string& appFolder, const std::string& answer);

// Sorts rows by code (then name) in ascending order: numbers as numbers when
// both are numbers, else as text. Equal rows keep their order; comment rows
// stay where they stand and the program rows are sorted around them.
void sortRowsByCode(std::vector<ListRow>& rows);

// The row of the base program of a Pirune list: the first that counts as a
// program (adopted), else the first that is not a comment; nullopt when all
// are comments.
std::optional<std::size_t> baseProgramRow(const std::vector<ListRow>& rows);

// "基準ソフトの更新": the list's new lines, the file's non-empty lines in their
// old order with the base program put before the first program line (after
// the comments that head the file; at the end when there is no program line).
std::vector<std::string> withBaseProgram(const std::string& code, const std::string& name,
                                         const std::vector<std::string>& lines);

}  // namespace tolv
