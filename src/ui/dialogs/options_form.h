#pragma once
// What the settings dialog (frmOptions) holds, and how its values are applied
// to the settings record and TOLV.INI. Kept free of widgets so the applying
// rules can be tested on their own.

#include <array>
#include <string>

#include "core/session.h"

namespace tolv::ui {

// One of the two WARS-format output panels (WARS, ぴるね).
struct OptionsOutputForm {
  std::string outFolder;  // Text6 / Text11
  int naming = 0;         // Option4 / Option5: 0 WARSｺｰﾄﾞ, 1 TXT, 2 その他
  std::string extension;  // Text13 / Text14
  std::string output;     // the spinner's label (出力点数)
  std::string code;       // Text7 / Text10
  bool ownHeader = false; // Check1 / Check2
  std::string header;     // Text8 / Text9
  bool sort = false;      // Check3 (ぴるね only)
};

struct OptionsForm {
  // ﾌｧｲﾙ・ﾌｫﾙﾀﾞ
  std::string logFile;     // Text1(0)
  std::string cutFolder;   // Text1(1)
  std::string denFolder;   // Text1(2)
  int denFlag = 3;         // Option2
  // PAT・ｵｯｽﾞ
  int oddsSource = 0;      // Option3
  std::string patFolder;   // Text2
  std::string fhWars;      // Text12
  // 保留ＢＥＴ
  std::array<std::string, 3> stakes;  // Text3(0..2): 枠連, 馬連, ワイド
  int betOutFlag = 0;      // Option1
  std::string exportFolder;  // Text4: the chosen export's folder
  std::string pendingFolder; // Text5
  // WARS出力, ぴるね
  OptionsOutputForm wars, pirune;
};

// The form as the dialog opens: every control from the current settings.
OptionsForm optionsFormFromSettings(const Settings& s);

// A stake box's value as stored: its number rounded down to 100s, at least 100.
std::string roundStake(const std::string& text);
// The 出力点数 as stored: "6" when empty or above 6.
std::string outputCount(const std::string& text);

// Applies the form ("更新", and "OK" before closing): every value into
// TOLV.INI under its section and key (one atomic rewrite that keeps the rest
// of the file) and into the session's settings record, validated as loading
// validates it. Folder boxes are stored with a trailing "/" (the cut-file,
// meeting-data, odds, export and pending-bet folders; the output folders get
// theirs when loaded). False with `error` when TOLV.INI cannot be written
// (the record is then left as it was).
bool applyOptionsForm(Session& session, const OptionsForm& form, std::string* error = nullptr);

}  // namespace tolv::ui
