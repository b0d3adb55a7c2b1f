#include "core/settings.h"

#include <cmath>
#include <functional>
#include <vector>

#include "core/profile.h"
#include "core/text.h"

namespace tolv {

std::string withSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder.push_back('/');
  return folder;
}

namespace {

// One key of the settings: where it lives and how it loads into the record.
struct KeyDef {
  const char* section;
  const char* key;
  bool savedAsDefault;
  // Applies the raw value to the record with the key's validation.
  std::function<void(Settings&, const std::string&, const SettingsFolders&)> load;
  // The value as stored in the record (for saving and writing back).
  std::function<std::string(const Settings&)> value;
};

std::string orDefault(const std::string& v, const std::string& def) { return trim(v).empty() ? def : trim(v); }

std::string stake(const std::string& raw) {
  double v = std::floor(val(raw) / 100.0) * 100.0;
  if (v < 100) return "100";
  return std::to_string(static_cast<long long>(v));
}

std::string flagText(bool b) { return b ? "True" : "False"; }

std::vector<KeyDef> keyTable() {
  std::vector<KeyDef> k;
  auto add = [&](const char* section, const char* key, bool saved, auto load, auto value) {
    k.push_back(KeyDef{section, key, saved, load, value});
  };
  // FILE
  for (int i = 0; i < 3; ++i) {
    static const char* const kLog[] = {"LogFile1", "LogFile2", "LogFile3"};
    add("FILE", kLog[i], true, [i](Settings& s, const std::string& v, const SettingsFolders&) { s.logFile[i] = trim(v); },
        [i](const Settings& s) { return s.logFile[i]; });
  }
  for (int i = 0; i < 3; ++i) {
    static const char* const kFlag[] = {"LogFflag1", "LogFflag2", "LogFflag3"};
    add("FILE", kFlag[i], false,
        [i](Settings& s, const std::string& v, const SettingsFolders&) { s.logFlag[i] = upperAscii(trim(v)) == "TRUE"; },
        [i](const Settings& s) { return flagText(s.logFlag[i]); });
  }
  add("FILE", "DenFileFolder", true,
      [](Settings& s, const std::string& v, const SettingsFolders& f) {
        s.denFileFolder = withSlash(orDefault(v, f.appFolder));
      },
      [](const Settings& s) { return s.denFileFolder; });
  add("FILE", "DenFlag", true,
      [](Settings& s, const std::string& v, const SettingsFolders&) {
        long n = valInt(v);
        s.denFlag = (trim(v).empty() || n < 0 || n > 3) ? 3 : static_cast<int>(n);
      },
      [](const Settings& s) { return std::to_string(s.denFlag); });
  add("FILE", "CutFileFolder", true,
      [](Settings& s, const std::string& v, const SettingsFolders& f) { s.cutFileFolder = orDefault(v, f.appFolder); },
      [](const Settings& s) { return s.cutFileFolder; });
  add("FILE", "CutFileSty", false,
      [](Settings& s, const std::string& v, const SettingsFolders&) { s.cutFileSty = static_cast<int>(valInt(v)); },
      [](const Settings& s) { return std::to_string(s.cutFileSty); });
  add("FILE", "MyCutFile", false,
      [](Settings& s, const std::string& v, const SettingsFolders&) { s.myCutFile = orDefault(v, "WARS.TXT"); },
      [](const Settings& s) { return s.myCutFile; });
  add("FILE", "SOFT_CUT", false,
      [](Settings& s, const std::string& v, const SettingsFolders&) { s.softCut = static_cast<int>(valInt(v)); },
      [](const Settings& s) { return std::to_string(s.softCut); });
  // ODDS
  add("ODDS", "PAT", true, [](Settings& s, const std::string& v, const SettingsFolders&) { s.oddsSource = trim(v); },
      [](const Settings& s) { return s.oddsSource; });
  add("ODDS", "PATFolder", true,
      [](Settings& s, const std::string& v, const SettingsFolders& f) {
        s.patFolderConfigured = orDefault(v, f.appFolder);
        s.patFolder = s.patFolderConfigured;
      },
      [](const Settings& s) { return s.patFolderConfigured; });
  add("ODDS", "FHwars", true, [](Settings& s, const std::string& v, const SettingsFolders&) { s.fhWars = trim(v); },
      [](const Settings& s) { return s.fhWars; });
  add("ODDS", "MIN", false,
      [](Settings& s, const std::string& v, const SettingsFolders&) {
        double n = val(v);
        s.oddsMin = (n == 0 || n > 9000) ? "100" : trim(v);
      },
      [](const Settings& s) { return s.oddsMin; });
  add("ODDS", "MAX", false,
      [](Settings& s, const std::string& v, const SettingsFolders&) {
        s.oddsMax = val(v) == 0 ? "9999" : trim(v);
        if (val(s.oddsMin) >= val(s.oddsMax)) s.oddsMax = "9999";
      },
      [](const Settings& s) { return s.oddsMax; });
  // OTHER
  add("OTHER", "MinW", false,
      [](Settings& s, const std::string& v, const SettingsFolders&) {
        double n = val(v);
        s.minW = (n == 0 || n > 998) ? "2" : trim(v);
      },
      [](const Settings& s) { return s.minW; });
  add("OTHER", "MaxW", false,
      [](Settings& s, const std::string& v, const SettingsFolders&) {
        s.maxW = (val(v) == 0 || val(s.minW) >= val(v)) ? "999" : trim(v);
      },
      [](const Settings& s) { return s.maxW; });
  add("OTHER", "LIST1", false,
      [](Settings& s, const std::string& v, const SettingsFolders&) { s.list1 = orDefault(v, "TOLVSOFT.LST"); },
      [](const Settings& s) { return s.list1; });
  add("OTHER", "LIST2", false,
      [](Settings& s, const std::string& v, const SettingsFolders&) { s.list2 = orDefault(v, "PIRUNE.LST"); },
      [](const Settings& s) { return s.list2; });
  // BET
  add("BET", "枠連", true, [](Settings& s, const std::string& v, const SettingsFolders&) { s.stakeBracket = stake(v); },
      [](const Settings& s) { return s.stakeBracket; });
  add("BET", "馬連", true, [](Settings& s, const std::string& v, const SettingsFolders&) { s.stakeQuinella = stake(v); },
      [](const Settings& s) { return s.stakeQuinella; });
  add("BET", "ワイド", true, [](Settings& s, const std::string& v, const SettingsFolders&) { s.stakeWide = stake(v); },
      [](const Settings& s) { return s.stakeWide; });
  add("BET", "パッとベッと", true,
      [](Settings& s, const std::string& v, const SettingsFolders& f) { s.patBetFolder = withSlash(orDefault(v, f.outPutFolder)); },
      [](const Settings& s) { return s.patBetFolder; });
  add("BET", "Bet Auto", true,
      [](Settings& s, const std::string& v, const SettingsFolders& f) { s.betAutoFolder = withSlash(orDefault(v, f.outPutFolder)); },
      [](const Settings& s) { return s.betAutoFolder; });
  add("BET", "BetOutFlag", true,
      [](Settings& s, const std::string& v, const SettingsFolders&) { s.betOutFlag = static_cast<int>(valInt(v)); },
      [](const Settings& s) { return std::to_string(s.betOutFlag); });
  add("BET", "保留ＢＥＴ", true,
      [](Settings& s, const std::string& v, const SettingsFolders& f) { s.pendingBetFolder = withSlash(orDefault(v, f.dataFolder)); },
      [](const Settings& s) { return s.pendingBetFolder; });
  // WARS and ぴるね share their shape.
  for (int which = 0; which < 2; ++which) {
    const char* section = which == 0 ? "WARS" : "ぴるね";
    auto part = [which](Settings& s) -> WarsOutputSettings& { return which == 0 ? s.wars : s.pirune; };
    auto cpart = [which](const Settings& s) -> const WarsOutputSettings& { return which == 0 ? s.wars : s.pirune; };
    const char* defaultCode = which == 0 ? "7777" : "0870";
    add(section, "OUTFOLDER", true,
        [part](Settings& s, const std::string& v, const SettingsFolders& f) { part(s).outFolder = withSlash(orDefault(v, f.outPutFolder)); },
        [cpart](const Settings& s) { return cpart(s).outFolder; });
    add(section, "OUTPUT", true,
        [part](Settings& s, const std::string& v, const SettingsFolders&) {
          double n = val(v);
          // Only 1-6 picks per race make sense; a negative number is no better than 0.
          part(s).output = (n < 1 || n > 6) ? "6" : trim(v);
        },
        [cpart](const Settings& s) { return cpart(s).output; });
    add(section, "CODE", true,
        [part, defaultCode](Settings& s, const std::string& v, const SettingsFolders&) { part(s).code = orDefault(v, defaultCode); },
        [cpart](const Settings& s) { return cpart(s).code; });
    add(section, which == 0 ? "WKA1" : "HKA1", true,
        [part](Settings& s, const std::string& v, const SettingsFolders&) { part(s).ka1 = trim(v); },
        [cpart](const Settings& s) { return cpart(s).ka1; });
    add(section, which == 0 ? "WKA2" : "HKA2", true,
        [part](Settings& s, const std::string& v, const SettingsFolders&) { part(s).ka2 = trim(v); },
        [cpart](const Settings& s) { return cpart(s).ka2; });
    add(section, "HEDAFLAG", true,
        [part](Settings& s, const std::string& v, const SettingsFolders&) { part(s).hedaFlag = (trim(v) == "1") ? 1 : 0; },
        [cpart](const Settings& s) { return std::to_string(cpart(s).hedaFlag); });
    add(section, "ORGHEDA", true,
        [part](Settings& s, const std::string& v, const SettingsFolders&) { part(s).orgHeda = v; },
        [cpart](const Settings& s) { return cpart(s).orgHeda; });
    if (which == 1) {
      add(section, "SORTFLAG", true,
          [part](Settings& s, const std::string& v, const SettingsFolders&) { part(s).sortFlag = (trim(v) == "1") ? 1 : 0; },
          [cpart](const Settings& s) { return std::to_string(cpart(s).sortFlag); });
    }
  }
  return k;
}

// The order in which the saved defaults are stored.
const std::vector<std::pair<const char*, const char*>>& defaultsOrder() {
  static const std::vector<std::pair<const char*, const char*>> order = {
      {"FILE", "LogFile1"},    {"FILE", "LogFile2"},      {"FILE", "LogFile3"},   {"FILE", "CutFileFolder"},
      {"FILE", "DenFileFolder"}, {"FILE", "DenFlag"},     {"ODDS", "PAT"},        {"ODDS", "PATFolder"},
      {"ODDS", "FHwars"},      {"BET", "枠連"},           {"BET", "馬連"},        {"BET", "ワイド"},
      {"BET", "パッとベッと"}, {"BET", "Bet Auto"},       {"BET", "BetOutFlag"},  {"BET", "保留ＢＥＴ"},
      {"WARS", "OUTFOLDER"},   {"WARS", "OUTPUT"},        {"WARS", "CODE"},       {"WARS", "WKA1"},
      {"WARS", "WKA2"},        {"WARS", "HEDAFLAG"},      {"WARS", "ORGHEDA"},    {"ぴるね", "OUTFOLDER"},
      {"ぴるね", "OUTPUT"},    {"ぴるね", "CODE"},        {"ぴるね", "HKA1"},     {"ぴるね", "HKA2"},
      {"ぴるね", "HEDAFLAG"},  {"ぴるね", "ORGHEDA"},     {"ぴるね", "SORTFLAG"}};
  return order;
}

}  // namespace

Settings loadSettings(const fs::path& iniPath, const SettingsFolders& folders) {
  auto profile = ProfileFile::load(iniPath);
  ProfileFile empty = ProfileFile::fromBytes(iniPath, "");
  const ProfileFile& p = profile ? *profile : empty;
  Settings s;
  for (const auto& def : keyTable()) def.load(s, p.get(def.section, def.key), folders);
  return s;
}

std::vector<SettingValue> settingValues(const Settings& s) {
  std::vector<SettingValue> out;
  for (const auto& def : keyTable()) out.push_back({def.section, def.key, def.value(s), def.savedAsDefault});
  return out;
}

bool saveDefaults(const Settings& s, const fs::path& defaultsPath, std::string* error) {
  auto profile = ProfileFile::load(defaultsPath, error);
  if (!profile) return false;
  auto table = keyTable();
  for (const auto& [section, key] : defaultsOrder()) {
    for (const auto& def : table) {
      if (std::string_view(def.section) == section && std::string_view(def.key) == key) {
        profile->set(section, key, def.value(s));
      }
    }
  }
  std::error_code ec;
  fs::create_directories(defaultsPath.parent_path(), ec);
  return profile->save(error);
}

bool restoreDefaults(Settings& s, const fs::path& defaultsPath, const fs::path& iniPath,
                     const SettingsFolders& folders, std::string* error) {
  // Without saved defaults there is nothing to restore: every setting would
  // fall back to the program's own default.
  std::error_code ec;
  if (!fs::exists(defaultsPath, ec)) {
    if (error) *error = "デフォルトの設定は記録されていません（" + defaultsPath.string() + "）";
    return false;
  }
  auto defaults = ProfileFile::load(defaultsPath, error);
  if (!defaults) return false;
  auto ini = ProfileFile::load(iniPath, error);
  if (!ini) return false;
  Settings restored;
  for (const auto& def : keyTable()) {
    std::string v = def.savedAsDefault ? defaults->get(def.section, def.key) : std::string();
    def.load(restored, v, folders);
    ini->set(def.section, def.key, def.value(restored));
  }
  if (!ini->save(error)) return false;
  s = restored;
  return true;
}

}  // namespace tolv
