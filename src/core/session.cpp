#include "core/session.h"

#include <cstdlib>

#include "core/dates.h"
#include "core/text.h"

namespace tolv {

fs::path defaultDefaultsPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  fs::path base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = fs::path(home && *home ? home : ".") / ".config";
  }
  return base / "tolv" / "defaults.ini";
}

std::optional<Session> Session::create(const fs::path& home, std::string* error) {
  std::error_code ec;
  fs::path abs = fs::absolute(home, ec);
  if (ec) abs = home;
  fs::create_directories(abs, ec);
  if (!isDirectory(abs)) {
    if (error) *error = "cannot create the home folder " + abs.string();
    return std::nullopt;
  }
  Session s;
  s.appFolder_ = withSlash(abs.lexically_normal().string());
  std::string* slots[] = {&s.dataFolder_, &s.outPutFolder_, &s.workFolder_, &s.warsOddsFolder_};
  const char* names[] = {"DATA", "OutPut", "Work", "WarsOdds"};
  for (int i = 0; i < 4; ++i) {
    fs::path dir = fs::path(s.appFolder_) / names[i];
    // A folder brought from Windows may differ in case.
    if (auto found = findCaseless(s.appFolder_, names[i]); found && isDirectory(*found)) dir = *found;
    if (!isDirectory(dir)) fs::create_directory(dir, ec);
    if (!isDirectory(dir)) {
      if (error) *error = "cannot create the folder " + dir.string();
      return std::nullopt;
    }
    *slots[i] = withSlash(dir.string());
  }
  s.defaultsPath_ = defaultDefaultsPath();
  s.setMeetingDate(defaultMeetingDate(today()));
  return s;
}

fs::path Session::resolvePath(const std::string& text) const {
  std::string t = text;
  for (char& c : t) {
    if (c == '\\') c = '/';
  }
  fs::path p(t);
  if (t.empty()) return fs::path(appFolder_);  // an empty folder setting is the home folder
  if (p.is_relative()) p = fs::path(appFolder_) / p;
  return resolveCaseless(p.lexically_normal());
}

void Session::setMeetingDate(const std::string& ymd) {
  meetingDate_ = ymd;
  meetingYear_ = leftChars(ymd, 4);
  meetingMonth_ = midChars(ymd, 5, 2);
  meetingDay_ = midChars(ymd, 7, 2);
  meetingWeekday_ = weekdayKanji(ymd);
  mjhConverted = false;
  scheduleReady = isRegularFile(scheduleFilePath());
}

bool Session::takeMeetingDate(const std::string& year, const std::string& month, const std::string& day) {
  std::string y = trim(year), m = trim(month), d = trim(day);
  if (val(m) < 10) m = zeroPad(valInt(m), 2);
  if (val(d) < 10) d = zeroPad(valInt(d), 2);
  setMeetingDate(y + m + d);
  return true;
}

fs::path Session::scheduleFilePath() const { return fs::path(dataFolder_) / (meetingDate_ + "開催.DAT"); }

void Session::loadSettings() { settings = tolv::loadSettings(iniFilePath(), settingsFolders()); }

void Session::takeOddsRange(const std::string& min, const std::string& max) {
  settings.oddsMin = trim(min);
  settings.oddsMax = trim(max);
}

void Session::takeDupRange(const std::string& min, const std::string& max) {
  settings.minW = trim(min);
  settings.maxW = trim(max);
}

std::string Session::programName(const std::string& code, const std::string& fallback) const {
  for (const auto& e : programNames) {
    if (e.code == code) return e.name;
  }
  return fallback;
}

}  // namespace tolv
