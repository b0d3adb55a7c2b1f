#pragma once
// The settings record: the values of TOLV.INI, loaded with their defaults and
// validation, and the saved defaults (a second file of the same keys).

#include <array>
#include <string>
#include <vector>

#include "core/files.h"

namespace tolv {

// Output settings of the WARS-format files (sections WARS and ぴるね).
struct WarsOutputSettings {
  std::string outFolder;  // OUTFOLDER, ends with '/'
  std::string output;     // OUTPUT, most picks per race, "1".."6"
  std::string code;       // CODE, four-digit WARS code
  int hedaFlag = 0;       // HEDAFLAG, 0 or 1
  std::string orgHeda;    // ORGHEDA
  std::string ka1, ka2;   // WKA1/WKA2 or HKA1/HKA2
  int sortFlag = 0;       // SORTFLAG (ぴるね only), 0 or 1
};

struct Settings {
  // FILE
  std::array<std::string, 3> logFile;       // LogFile1..3
  std::array<bool, 3> logFlag{};            // LogFflag1..3
  std::string denFileFolder;                // DenFileFolder, ends with '/'
  int denFlag = 3;                          // DenFlag 0..3
  std::string cutFileFolder;                // CutFileFolder
  int cutFileSty = 0;                       // CutFileSty
  std::string myCutFile;                    // MyCutFile
  int softCut = 0;                          // SOFT_CUT
  // ODDS
  std::string oddsSource;                   // PAT: "0".."4"
  std::string patFolderConfigured;          // PATFolder as configured (saved as default)
  std::string patFolder;                    // PATFolder as read by odds import and hits
  std::string fhWars;                       // FHwars
  std::string oddsMin, oddsMax;             // MIN, MAX
  // OTHER
  std::string minW, maxW;                   // MinW, MaxW
  std::string list1, list2;                 // LIST1, LIST2
  // BET
  std::string stakeBracket, stakeQuinella, stakeWide;  // 枠連, 馬連, ワイド
  std::string patBetFolder;                 // パッとベッと
  std::string betAutoFolder;                // Bet Auto
  int betOutFlag = 0;                       // BetOutFlag
  std::string pendingBetFolder;             // 保留ＢＥＴ
  // WARS, ぴるね
  WarsOutputSettings wars;
  WarsOutputSettings pirune;

  // The main window's forum-odds conversion command is enabled exactly when
  // the odds source is "2".
  bool forumOddsEnabled() const { return oddsSource == "2"; }
};

// Folders the defaults refer to.
struct SettingsFolders {
  std::string appFolder;     // ends with '/'
  std::string dataFolder;    // ends with '/'
  std::string outPutFolder;  // ends with '/'
};

// Reads every key of FILE, ODDS (up to MAX), OTHER, BET, WARS and ぴるね and
// applies the defaults and validation. A missing file reads as all keys empty.
Settings loadSettings(const fs::path& iniPath, const SettingsFolders& folders);

// Stores every key that belongs to the saved defaults in `defaultsPath`.
bool saveDefaults(const Settings& s, const fs::path& defaultsPath, std::string* error = nullptr);

// Reads the saved defaults for every key that loadSettings reads (empty when
// absent), validates them the same way, and writes them to TOLV.INI.
bool restoreDefaults(Settings& s, const fs::path& defaultsPath, const fs::path& iniPath,
                     const SettingsFolders& folders, std::string* error = nullptr);

// One key of the settings with its value as held in the record.
struct SettingValue {
  std::string section, key, value;
  bool savedAsDefault;
};

// Every key that loadSettings reads, in its order, with the record's values.
std::vector<SettingValue> settingValues(const Settings& s);

// Appends '/' to a folder text when it lacks one (and is not empty).
std::string withSlash(std::string folder);

}  // namespace tolv
