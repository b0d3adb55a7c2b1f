#pragma once
// Exports of the day's pending bets to the three outside betting aids:
// purchase files of パッとベッと, the list file of Bet Auto, and the voting
// text of 馬券塾 (to a file or the clipboard).
//
// Every export reads the whole pending-bet file (any number of entries; a
// line whose first field is empty is skipped) and stops with
// "保留ＢＥＴはありません！" when the day has no pending-bet file.

#include <optional>
#include <string>
#include <vector>

#include "core/pending_bet.h"
#include "core/session.h"
#include "core/ui.h"

namespace tolv {

// --- パッとベッと ---------------------------------------------------------------
// Bets per purchase file; the ninth and last file takes every bet from 401 on.
inline constexpr int kPatBetPerFile = 50;
inline constexpr int kPatBetMaxFiles = 9;

// One bet line of a purchase file (fields four spaces apart).
std::string patBetLine(const PendingBetEntry& bet);

// Deletes the day's old purchase files (yymmdd + "??.BET"), writes the bets to
// yymmdd + "_1.BET" … "_9.BET" in the パッとベッと folder, reports, and offers to
// delete the pending-bet file.
StepResult ExportPatBet(Session& session, UserInterface& ui);

// --- Bet Auto ------------------------------------------------------------------
// One bet line: the pick in bytes 45–49, a space, the stake in bytes 51–56.
std::string betAutoLine(const PendingBetEntry& bet);
inline constexpr const char* kBetAutoClosingLine = "0 09:00:30 投票";

// The list file: the Bet Auto folder + yyyymmdd + ".lst".
fs::path betAutoPath(const Session& session);

// Writes the list file (asking 上書き/追加/中止 as Yes/No/Cancel when it exists),
// reports, and offers to delete the pending-bet file. Cancel writes nothing.
StepResult ExportBetAuto(Session& session, UserInterface& ui);

// --- 馬券塾 --------------------------------------------------------------------
// The model of the 馬券塾 window: the editable bet lines and the two labels.
struct BakenjukuSheet {
  std::string text;        // the bet lines, each ended by CR LF (the editor's text)
  long count = 0;          // 全ベット数
  long total = 0;          // ベット金額 (yen)
  std::string countLabel() const;  // plain decimal
  std::string totalLabel() const;  // "#,###" (empty for 0)
};

inline constexpr const char* kBakenjukuCaption = "ニフティサーブ「FKEIBADO」Mes20 【馬券塾】投票フォーマット";
inline constexpr const char* kBakenjukuCopiedMessage = "「クリップボードにコピーしました！";

// One voting line: "#," + yyyymmdd + "," + course + "," + race + "," + type
// letter + "," + pick + "," + stake (right-aligned in 6).
std::string bakenjukuLine(const std::string& meetingDate, const PendingBetEntry& bet);

// Opening the window: the lines of every pending bet with their count and
// total. Without a pending-bet file (or when it cannot be read) the message is
// shown and nothing is returned.
std::optional<BakenjukuSheet> openBakenjuku(Session& session, UserInterface& ui);

// "再計算": counts the edited lines (seven comma-separated fields, the last a
// whole number) and sums their stakes. Empty lines are passed over; the first
// line that cannot be read ends the count.
void recountBakenjuku(BakenjukuSheet& sheet);

// The output text as lines: title, every line of the sheet, summary and
// signature; with `quinellaToWide`, the first ",馬," of every line longer than
// 20 characters becomes ",ワ,".
std::vector<std::string> bakenjukuOutputLines(const Session& session, const BakenjukuSheet& sheet,
                                              bool quinellaToWide);

// The clipboard text: CR LF, then each line followed by CR LF, then CR LF.
std::string bakenjukuClipboardText(const std::vector<std::string>& lines);

// The output file: OutPutFolder + "馬券塾" + yyyymmdd + ".TXT".
fs::path bakenjukuPath(const Session& session);

// "ファイルに出力": writes the lines (replacing the file), one more line holding
// CR LF, and reports the path.
StepResult writeBakenjukuFile(const Session& session, UserInterface& ui, const std::vector<std::string>& lines);

}  // namespace tolv
