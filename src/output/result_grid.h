#pragma once
// The result grid of one meeting: the Tolv picks that pass the output ranges
// with their odds (quinella or quinella-place), vote count and programs, hits
// marked; the selection of rows, and the selected picks turned into pending
// bets. Also the picks of a WARS-format file sent to the pending bets.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/pending_bet.h"
#include "core/session.h"
#include "core/tolv_record.h"
#include "core/ui.h"

namespace tolv {

// Colours as the grid stores them (blue in the high byte).
inline constexpr std::uint32_t kGridRed = 0x0000FF;
inline constexpr std::uint32_t kGridWhite = 0xFFFFFF;
inline constexpr std::uint32_t kGridYellow = 0x00FFFF;
inline constexpr std::uint32_t kGridBlue = 0xFF0000;
inline constexpr std::uint32_t kGridMagenta = 0xFF00FF;
inline constexpr std::uint32_t kGridCyan = 0xFFFF00;
inline constexpr std::uint32_t kGridBlack = 0x000000;

inline constexpr int kGridColumns = 68;
inline constexpr std::string_view kNoRowsSelectedMessage = "買い目が選択されていません！";

enum class GridMode { Quinella, QuinellaPlace };

struct GridCell {
  std::string text;
  std::uint32_t back = kGridWhite;
  std::uint32_t fore = kGridBlack;
};

// Row 0 is the header, rows 1..pickCount() the picks, the last row the empty
// closing row.
struct ResultGrid {
  std::string courseCode;  // "05"
  std::string courseName;  // "東京"
  GridMode mode = GridMode::Quinella;
  std::vector<std::vector<GridCell>> rows;  // each kGridColumns cells
  std::vector<TolvRecord> records;          // the record of each pick row (index row - 1)

  int pickCount() const { return static_cast<int>(records.size()); }
  // A pick row is selected when its pick cell is cyan.
  bool isSelected(int row) const;
  // Flips a pick row between white and cyan; other colours are left alone.
  void toggleRow(int row);
  // By row 1: white paints every row's pick cell cyan, cyan paints them
  // white, anything else changes nothing.
  void toggleAll();
};

// The grid sends a pick as a bracket bet (枠連) when its third character is a
// blank and the number of its last two characters is above 10 ("   36"), and
// every other pick as a quinella (馬連) or quinella-place (ワイド) bet.
bool isGridBracketPick(std::string_view pick);

// The race label of the grid: " １Ｒ", "12Ｒ".
std::string gridRaceLabel(long race);

// The day's files of one kind, one per course: `folder` + "W" + date + "_" +
// code + `extension` with a code 01-10, at most three, in directory order;
// each with its code.
std::vector<std::pair<std::string, fs::path>> dayCourseFiles(const fs::path& folder, const std::string& date,
                                                             std::string_view extension);

// The course codes of the day's Tolv data files the grid offers (see
// dayCourseFiles).
std::vector<std::string> gridCourseCodes(const Session& session);

// Builds the grid of a course. nullopt when the course has no data file (or
// it cannot be read).
std::optional<ResultGrid> buildResultGrid(const Session& session, const std::string& courseCode, GridMode mode);

// The pending bets of the selected rows, in row order, with the stakes of the
// 枠連 / 馬連 / ワイド settings; rows whose pick is blank are passed over.
std::vector<PendingBetEntry> selectedPendingBets(const Session& session, const ResultGrid& grid);

// Sends the selection to the pending-bet file; without one shows
// kNoRowsSelectedMessage (Failed) and writes nothing.
StepResult SendGridSelection(Session& session, UserInterface& ui, const ResultGrid& grid);

// The pending bets of the picks of a WARS-format file (UTF-8 lines), at most
// 512, with odds from `odds` (race key, pick as written in the file); an empty
// odds text when `odds` is null.
class OddsFiller;
std::vector<PendingBetEntry> warsPendingBets(const Session& session, const std::vector<std::string>& lines,
                                             OddsFiller* odds);

inline constexpr std::string_view kWarsSendFailedMessage = "「保留ＢＥＴ」ファイルへの出力に失敗しました(ﾟﾟ;) アｾアｾ";

// Reads the WARS-format file, looks the odds up silently in what is on hand,
// and sends the picks to the pending-bet file. A file that cannot be read
// shows kWarsSendFailedMessage (Failed); a file without picks sends nothing.
StepResult SendWarsPicks(Session& session, UserInterface& ui, const fs::path& warsPath);

}  // namespace tolv
