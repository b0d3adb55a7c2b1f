#pragma once
// The run state of the program and its loaded settings, in one object that
// the front end owns and passes to every step. No globals: a test makes as many
// sessions as it likes, each on its own home folder.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/settings.h"

namespace tolv {

// One entry of the program-name table: WARS code and six-byte short name.
struct ProgramEntry {
  std::string code;  // four characters
  std::string name;  // blank-padded to six CP932 bytes
};

inline constexpr std::size_t kMaxProgramNames = 1024;

class Session {
 public:
  // A session on `home`: the folders are fixed (and created when missing) but
  // nothing is loaded; see startUp() for the whole start-up sequence.
  static std::optional<Session> create(const fs::path& home, std::string* error = nullptr);

  // --- folders (each ends with '/') ---
  const std::string& appFolder() const { return appFolder_; }
  const std::string& dataFolder() const { return dataFolder_; }
  const std::string& outPutFolder() const { return outPutFolder_; }
  const std::string& workFolder() const { return workFolder_; }
  const std::string& warsOddsFolder() const { return warsOddsFolder_; }
  // The program's own scratch folder inside WorkFolder, where archives are
  // unpacked. Work/ may hold files of the user's: only this folder is ever
  // emptied.
  fs::path unpackFolder() const { return fs::path(workFolder_) / "tolv-unpack"; }
  fs::path iniFilePath() const { return fs::path(appFolder_) / "TOLV.INI"; }
  // The per-user saved defaults file.
  fs::path defaultsPath() const { return defaultsPath_; }
  void setDefaultsPath(fs::path p) { defaultsPath_ = std::move(p); }
  SettingsFolders settingsFolders() const { return {appFolder_, dataFolder_, outPutFolder_}; }

  // A path from the settings or the command line: backslashes become '/',
  // a relative path is taken from the home folder, and a path that does not
  // exist as given is matched component by component ignoring case. Empty
  // text is the home folder.
  fs::path resolvePath(const std::string& text) const;

  // --- processing day ---
  // Sets the day from yyyymmdd text, with its parts, weekday and schedule path.
  void setMeetingDate(const std::string& ymd);
  // The execution menu's date boxes: trimmed, month and day below 10 padded.
  bool takeMeetingDate(const std::string& year, const std::string& month, const std::string& day);
  const std::string& meetingDate() const { return meetingDate_; }
  const std::string& meetingYear() const { return meetingYear_; }
  const std::string& meetingMonth() const { return meetingMonth_; }
  const std::string& meetingDay() const { return meetingDay_; }
  const std::string& meetingWeekday() const { return meetingWeekday_; }
  fs::path scheduleFilePath() const;
  bool scheduleReady = false;

  // --- settings and tables ---
  Settings settings;
  void loadSettings();
  // The execution menu's odds and "ダブリの数" boxes, taken unvalidated.
  void takeOddsRange(const std::string& min, const std::string& max);
  void takeDupRange(const std::string& min, const std::string& max);

  std::vector<ProgramEntry> programNames;
  // Short name of the first entry whose code equals `code`, else `fallback`.
  std::string programName(const std::string& code, const std::string& fallback) const;

  // --- the day's courses ---
  int courseCount = 0;
  std::array<std::string, 3> courseCodes{"0", "0", "0"};
  std::array<std::string, 4> tolvFilePaths;  // 0: work file; 1-3: per course
  int batchRunning = 0;
  // The day's MJH text has been converted by the meeting schedule step.
  bool mjhConverted = false;

  // Paths of the day's files.
  fs::path cutIndexPath() const { return fs::path(dataFolder_) / (meetingDate_ + ".DAT"); }

 private:
  Session() = default;
  std::string appFolder_, dataFolder_, outPutFolder_, workFolder_, warsOddsFolder_;
  fs::path defaultsPath_;
  std::string meetingDate_, meetingYear_, meetingMonth_, meetingDay_, meetingWeekday_;
};

// The default per-user defaults file: $XDG_CONFIG_HOME/tolv/defaults.ini.
fs::path defaultDefaultsPath();

}  // namespace tolv
