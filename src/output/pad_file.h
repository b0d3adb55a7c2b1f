#pragma once
// The PAD file: the day's outputs gathered into one file of forum messages
// for the user's communication program. One message per Tolv text listing
// (at most three), then the Tolv WARS-format file, the Pirune listing and the
// Pirune WARS-format file when they exist, each with a subject line and a
// closing "/POST" line.
//
// For the autopilot kind of communication program (STAFF TERM = 1) every
// message starts with three script commands and the messages are added to
// the end of PADOUTDIR/PAD.PAD; otherwise PADOUTDIR/wPAD.TXT is written anew.
// The early edition (RaceOutFlag 1) posts races 1-3 of each listing, the late
// edition (RaceOutFlag 2) the races from 4 on.

#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"
#include "core/ui.h"

namespace tolv {

// Races of the listings that go into the PAD file.
enum class PadEdition : int {
  AllRaces = 0,  // 全レース出力
  Early = 1,     // ３Ｒまで出力 (早版)
  Late = 2,      // ４Ｒ以降出力 (遅版)
};

// Section STAFF of TOLV.INI.
struct PadSettings {
  std::string outDir;   // PADOUTDIR as written (trimmed); empty is the home folder
  int term = 0;         // TERM: 1 the autopilot kind (ＡｉｒＣｒａｆｔ), 0 plain (ＮｉｆＴｅｒｍ)
  int padEdit = 0;      // PADEDIT: 1 opens the PAD file with its program afterwards
  int raceOutFlag = 0;  // RaceOutFlag: see PadEdition; other numbers post every race

  bool autopilot() const { return term == 1; }
};

// Reads section STAFF: TERM and PADEDIT are 1 when their Val is 1, else 0;
// RaceOutFlag is a whole number.
PadSettings LoadPadSettings(const Session& session);

// Writes the four keys of section STAFF (the PAD settings window's "ＯＫ"),
// keeping the rest of TOLV.INI.
bool SavePadSettings(const Session& session, const PadSettings& pad, std::string* error = nullptr);

// The PAD file: PADOUTDIR + "PAD.PAD" for TERM 1, else + "wPAD.TXT". An
// existing file of the same name in another case is the one used.
fs::path padFilePath(const Session& session, const PadSettings& pad);

// The course name a listing's message shows for its two-character course
// code ("01"-"10"); any other code gives "(^^;".
std::string padCourseName(std::string_view courseCode);

// The date of the subjects: year + "年" + month + "月" + day + "日", month and
// day in two characters with a leading space below 10.
std::string padSubjectDate(const Session& session);

// The body a listing posts: its lines up to the first one shorter than ten
// characters; the early edition stops at the first race heading above race 3,
// the late edition leaves out every race below 4 with its heading. `lastWritten`
// receives the last line posted (empty when none).
std::vector<std::string> padListingBody(const std::vector<std::string>& listing, int raceOutFlag,
                                        std::string* lastWritten = nullptr);

inline constexpr std::string_view kPadNoListingMessage = "トルブファイルがみつかりません(~_~ﾒ)／~~~~~。";
inline constexpr std::string_view kPadLineCheckTitle = "行数チェック";
// The line-count question is asked when a listing's body lines plus six (the
// frame of a message) come to more than 298.
inline constexpr int kPadMessageLineLimit = 298;
inline constexpr int kPadFrameLines = 6;

// "PAD作成": writes the PAD file from the day's listings (OutPut/W + date +
// "_??.TXT", directory order, at most three) and the WARS-format and Pirune
// files that exist. Failed with its message when there is no listing or a
// file cannot be read or written (nothing is written then). A listing whose
// message has more than 298 body lines asks whether to go on: OK goes on with
// the remaining messages, Cancel writes what is gathered up to and including
// that message and ends (Cancelled). With PADEDIT 1 the file written is then
// opened with its associated program. `written` receives the PAD file's path
// whenever it was written.
StepResult writePadFile(Session& session, UserInterface& ui, fs::path* written = nullptr);

// The name the menu and batch commands know the step by.
inline StepResult WritePadFile(Session& session, UserInterface& ui, fs::path* written = nullptr) {
  return writePadFile(session, ui, written);
}

}  // namespace tolv
