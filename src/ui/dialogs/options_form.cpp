#include "ui/dialogs/options_form.h"

#include "core/profile.h"
#include "core/text.h"

namespace tolv::ui {

namespace {

OptionsOutputForm outputForm(const WarsOutputSettings& w) {
  OptionsOutputForm f;
  f.outFolder = w.outFolder;
  f.naming = static_cast<int>(valInt(w.ka1));
  if (f.naming < 0 || f.naming > 2) f.naming = 0;
  f.extension = w.ka2;
  f.output = w.output;
  f.code = w.code;
  f.ownHeader = w.hedaFlag == 1;
  f.header = w.orgHeda;
  f.sort = w.sortFlag == 1;
  return f;
}

void writeOutput(ProfileFile& ini, const char* section, const char* ka1, const char* ka2, const OptionsOutputForm& f,
                 const char* defaultCode, bool pirune) {
  ini.set(section, "OUTFOLDER", f.outFolder);
  ini.set(section, "OUTPUT", outputCount(f.output));
  ini.set(section, "CODE", trim(f.code).empty() ? defaultCode : f.code);
  ini.set(section, ka1, std::to_string(f.naming));
  // The extension is taken only with "その他"; otherwise the stored one stays.
  if (f.naming == 2) ini.set(section, ka2, f.extension);
  ini.set(section, "HEDAFLAG", f.ownHeader ? "1" : "0");
  ini.set(section, "ORGHEDA", f.ownHeader ? f.header : std::string());
  if (pirune) ini.set(section, "SORTFLAG", f.sort ? "1" : "0");
}

}  // namespace

OptionsForm optionsFormFromSettings(const Settings& s) {
  OptionsForm f;
  f.logFile = s.logFile[0];
  f.cutFolder = s.cutFileFolder;
  f.denFolder = s.denFileFolder;
  f.denFlag = s.denFlag;
  f.oddsSource = static_cast<int>(valInt(s.oddsSource));
  if (f.oddsSource < 0 || f.oddsSource > 4) f.oddsSource = 0;
  f.patFolder = s.patFolderConfigured;
  f.fhWars = s.fhWars;
  f.stakes = {s.stakeBracket, s.stakeQuinella, s.stakeWide};
  f.betOutFlag = s.betOutFlag == 1 ? 1 : 0;
  f.exportFolder = f.betOutFlag == 1 ? s.betAutoFolder : s.patBetFolder;
  f.pendingFolder = s.pendingBetFolder;
  f.wars = outputForm(s.wars);
  f.pirune = outputForm(s.pirune);
  return f;
}

std::string roundStake(const std::string& text) {
  const long hundreds = static_cast<long>(val(text) / 100);
  const long stake = hundreds * 100;
  return stake < 100 ? std::string("100") : std::to_string(stake);
}

std::string outputCount(const std::string& text) {
  if (trim(text).empty() || val(text) > 6) return "6";
  return trim(text);
}

bool applyOptionsForm(Session& session, const OptionsForm& f, std::string* error) {
  auto ini = ProfileFile::load(session.iniFilePath(), error);
  if (!ini) return false;

  // FILE
  ini->set("FILE", "LogFile1", f.logFile);
  ini->set("FILE", "CutFileFolder", withSlash(f.cutFolder));
  ini->set("FILE", "DenFileFolder", withSlash(f.denFolder));
  ini->set("FILE", "DenFlag", std::to_string(f.denFlag));
  // ODDS
  ini->set("ODDS", "PAT", std::to_string(f.oddsSource));
  ini->set("ODDS", "PATFolder", withSlash(f.patFolder));
  ini->set("ODDS", "FHwars", f.fhWars);
  // BET
  ini->set("BET", "枠連", roundStake(f.stakes[0]));
  ini->set("BET", "馬連", roundStake(f.stakes[1]));
  ini->set("BET", "ワイド", roundStake(f.stakes[2]));
  ini->set("BET", f.betOutFlag == 1 ? "Bet Auto" : "パッとベッと", withSlash(f.exportFolder));
  ini->set("BET", "BetOutFlag", std::to_string(f.betOutFlag));
  ini->set("BET", "保留ＢＥＴ", withSlash(trim(f.pendingFolder).empty() ? session.dataFolder() : f.pendingFolder));
  // WARS, ぴるね
  writeOutput(*ini, "WARS", "WKA1", "WKA2", f.wars, "7777", false);
  writeOutput(*ini, "ぴるね", "HKA1", "HKA2", f.pirune, "0870", true);

  if (!ini->save(error)) return false;

  // The record takes the values as loading would give them, so that empty
  // folders read as their defaults at once rather than at the next start.
  const Settings loaded = loadSettings(session.iniFilePath(), session.settingsFolders());
  Settings& s = session.settings;
  s.logFile[0] = loaded.logFile[0];
  s.cutFileFolder = loaded.cutFileFolder;
  s.denFileFolder = loaded.denFileFolder;
  s.denFlag = loaded.denFlag;
  s.oddsSource = loaded.oddsSource;
  s.patFolderConfigured = loaded.patFolderConfigured;
  // With forum odds the folder in use stays the one the conversion writes.
  if (s.oddsSource != "2") s.patFolder = loaded.patFolder;
  s.fhWars = loaded.fhWars;
  s.stakeBracket = loaded.stakeBracket;
  s.stakeQuinella = loaded.stakeQuinella;
  s.stakeWide = loaded.stakeWide;
  s.patBetFolder = loaded.patBetFolder;
  s.betAutoFolder = loaded.betAutoFolder;
  s.betOutFlag = loaded.betOutFlag;
  s.pendingBetFolder = loaded.pendingBetFolder;
  s.wars = loaded.wars;
  s.pirune = loaded.pirune;
  return true;
}

}  // namespace tolv::ui
