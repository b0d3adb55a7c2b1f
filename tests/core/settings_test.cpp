#include <gtest/gtest.h>

#include "core/profile.h"
#include "core/settings.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::sjLines;
using testing::TempDir;
using testing::TestHome;
using testing::writeBytes;

const SettingsFolders kFolders{"/srv/tolv/", "/srv/tolv/DATA/", "/srv/tolv/OutPut/"};

Settings loadLines(const std::vector<std::string>& lines) {
  TempDir d;
  writeBytes(d / "TOLV.INI", sjLines(lines));
  return loadSettings(d / "TOLV.INI", kFolders);
}

// The output settings of one section as "folder|output|code|heda|org|ka1|ka2|sort".
std::string describe(const WarsOutputSettings& w) {
  return w.outFolder + "|" + w.output + "|" + w.code + "|" + std::to_string(w.hedaFlag) + "|" + w.orgHeda + "|" +
         w.ka1 + "|" + w.ka2 + "|" + std::to_string(w.sortFlag);
}

TEST(Settings, EveryKeyLoadsAsWritten) {
  const Settings s = loadLines({
      "[FILE]", "LogFile1=/logs/%Y1%M1%D1.log", "LogFile2= /logs/two.log ", "LogFile3=", "LogFflag1=True",
      "LogFflag2=False", "LogFflag3=TRUE", "DenFileFolder=/race/cards", "DenFlag=1", "CutFileFolder=/cut/",
      "CutFileSty=1", "MyCutFile=MINE.TXT", "SOFT_CUT=1",
      "[ODDS]", "PAT=2", "PATFolder=/pat/", "FHwars=/logs/odds.log", "MIN=150", "MAX=5000",
      "[OTHER]", "MinW=3", "MaxW=20", "LIST1=MY.LST", "LIST2=MYPIRUNE.LST",
      "[BET]", "枠連=300", "馬連=1000", "ワイド=200", "パッとベッと=/export/pat", "Bet Auto=/export/auto/", "BetOutFlag=2",
      "保留ＢＥＴ=/bets",
      "[WARS]", "OUTFOLDER=/wars", "OUTPUT=4", "CODE=1234", "HEDAFLAG=1", "ORGHEDA=\"  トルブ予想  \"", "WKA1=1",
      "WKA2=TXT",
      "[ぴるね]", "OUTFOLDER=/pirune/", "OUTPUT=2", "CODE=4321", "HEDAFLAG=1", "ORGHEDA=ぴるね予想", "HKA1=0",
      "HKA2=DAT", "SORTFLAG=1",
  });
  EXPECT_EQ(s.logFile[0], "/logs/%Y1%M1%D1.log");
  EXPECT_EQ(s.logFile[1], "/logs/two.log");
  EXPECT_EQ(s.logFile[2], "");
  EXPECT_EQ(s.logFlag, (std::array<bool, 3>{true, false, true}));
  EXPECT_EQ(s.denFileFolder, "/race/cards/");
  EXPECT_EQ(s.denFlag, 1);
  EXPECT_EQ(s.cutFileFolder, "/cut/");
  EXPECT_EQ(s.cutFileSty, 1);
  EXPECT_EQ(s.myCutFile, "MINE.TXT");
  EXPECT_EQ(s.softCut, 1);
  EXPECT_EQ(s.oddsSource, "2");
  EXPECT_TRUE(s.forumOddsEnabled());
  EXPECT_EQ(s.patFolderConfigured, "/pat/");
  EXPECT_EQ(s.patFolder, "/pat/");
  EXPECT_EQ(s.fhWars, "/logs/odds.log");
  EXPECT_EQ(s.oddsMin, "150");
  EXPECT_EQ(s.oddsMax, "5000");
  EXPECT_EQ(s.minW, "3");
  EXPECT_EQ(s.maxW, "20");
  EXPECT_EQ(s.list1, "MY.LST");
  EXPECT_EQ(s.list2, "MYPIRUNE.LST");
  EXPECT_EQ(s.stakeBracket, "300");
  EXPECT_EQ(s.stakeQuinella, "1000");
  EXPECT_EQ(s.stakeWide, "200");
  EXPECT_EQ(s.patBetFolder, "/export/pat/");
  EXPECT_EQ(s.betAutoFolder, "/export/auto/");
  EXPECT_EQ(s.betOutFlag, 2);
  EXPECT_EQ(s.pendingBetFolder, "/bets/");
  EXPECT_EQ(describe(s.wars), "/wars/|4|1234|1|  トルブ予想  |1|TXT|0");
  EXPECT_EQ(describe(s.pirune), "/pirune/|2|4321|1|ぴるね予想|0|DAT|1");
}

TEST(Settings, MissingFileGivesAWorkingConfiguration) {
  TestHome h;
  ASSERT_FALSE(fs::exists(h.session.iniFilePath()));
  const Settings& s = h.session.settings;
  const std::string app = h.session.appFolder();
  ASSERT_EQ(app.back(), '/');
  EXPECT_EQ(s.logFile, (std::array<std::string, 3>{}));
  EXPECT_EQ(s.logFlag, (std::array<bool, 3>{}));
  EXPECT_EQ(s.denFileFolder, app);
  EXPECT_EQ(s.denFlag, 3);
  EXPECT_EQ(s.cutFileFolder, app);
  EXPECT_EQ(s.myCutFile, "WARS.TXT");
  EXPECT_EQ(s.oddsSource, "");
  EXPECT_FALSE(s.forumOddsEnabled());
  EXPECT_EQ(s.patFolder, app);
  EXPECT_EQ(s.patFolderConfigured, app);
  EXPECT_EQ(s.oddsMin, "100");
  EXPECT_EQ(s.oddsMax, "9999");
  EXPECT_EQ(s.minW, "2");
  EXPECT_EQ(s.maxW, "999");
  EXPECT_EQ(s.list1, "TOLVSOFT.LST");
  EXPECT_EQ(s.list2, "PIRUNE.LST");
  EXPECT_EQ(s.stakeBracket, "100");
  EXPECT_EQ(s.stakeQuinella, "100");
  EXPECT_EQ(s.stakeWide, "100");
  EXPECT_EQ(s.patBetFolder, h.session.outPutFolder());
  EXPECT_EQ(s.betAutoFolder, h.session.outPutFolder());
  EXPECT_EQ(s.pendingBetFolder, h.session.dataFolder());
  EXPECT_EQ(describe(s.wars), h.session.outPutFolder() + "|6|7777|0||||0");
  EXPECT_EQ(describe(s.pirune), h.session.outPutFolder() + "|6|0870|0||||0");
  EXPECT_EQ(h.session.dataFolder(), app + "DATA/");
  EXPECT_EQ(h.session.outPutFolder(), app + "OutPut/");
}

TEST(Settings, OddsRange) {
  auto range = [](const char* min, const char* max) {
    Settings s = loadLines({"[ODDS]", std::string("MIN=") + min, std::string("MAX=") + max});
    return s.oddsMin + "/" + s.oddsMax;
  };
  EXPECT_EQ(range("9500", "9999"), "100/9999");
  EXPECT_EQ(range("9000", "9500"), "9000/9500");
  EXPECT_EQ(range("0", "300"), "100/300");
  EXPECT_EQ(range("abc", "300"), "100/300");
  EXPECT_EQ(range("500", "300"), "500/9999");
  EXPECT_EQ(range("150", "150"), "150/9999");
  EXPECT_EQ(range("150", ""), "150/9999");
  EXPECT_EQ(range("9500", "300"), "100/300");  // MAX is checked against the corrected MIN
  EXPECT_EQ(range(" 1.5 ", "20.5"), "1.5/20.5");
}

TEST(Settings, DupRange) {
  auto range = [](const char* min, const char* max) {
    Settings s = loadLines({"[OTHER]", std::string("MinW=") + min, std::string("MaxW=") + max});
    return s.minW + "/" + s.maxW;
  };
  EXPECT_EQ(range("0", "10"), "2/10");
  EXPECT_EQ(range("999", "10"), "2/10");
  EXPECT_EQ(range("998", ""), "998/999");
  EXPECT_EQ(range("5", "3"), "5/999");
  EXPECT_EQ(range("5", "5"), "5/999");
  EXPECT_EQ(range("3", "10"), "3/10");
  EXPECT_EQ(range("3", "0"), "3/999");
}

TEST(Settings, StakesAreWholeHundreds) {
  auto stakes = [](const char* v) {
    Settings s = loadLines({"[BET]", std::string("枠連=") + v, std::string("馬連=") + v, std::string("ワイド=") + v});
    EXPECT_EQ(s.stakeBracket, s.stakeQuinella);
    EXPECT_EQ(s.stakeWide, s.stakeQuinella);
    return s.stakeQuinella;
  };
  EXPECT_EQ(stakes("250"), "200");
  EXPECT_EQ(stakes("50"), "100");
  EXPECT_EQ(stakes("100"), "100");
  EXPECT_EQ(stakes("1099"), "1000");
  EXPECT_EQ(stakes("12300"), "12300");
  EXPECT_EQ(stakes("abc"), "100");
  EXPECT_EQ(stakes(""), "100");
}

TEST(Settings, FlagsAndChoices) {
  auto denFlag = [](const char* v) { return loadLines({"[FILE]", std::string("DenFlag=") + v}).denFlag; };
  EXPECT_EQ(denFlag("0"), 0);
  EXPECT_EQ(denFlag("2"), 2);
  EXPECT_EQ(denFlag("3"), 3);
  EXPECT_EQ(denFlag("5"), 3);
  EXPECT_EQ(denFlag("-1"), 3);
  EXPECT_EQ(denFlag(""), 3);

  auto logFlag = [](const char* v) { return loadLines({"[FILE]", std::string("LogFflag1=") + v}).logFlag[0]; };
  EXPECT_TRUE(logFlag("true"));
  EXPECT_TRUE(logFlag("True"));
  EXPECT_FALSE(logFlag("1"));
  EXPECT_FALSE(logFlag("yes"));
  EXPECT_FALSE(logFlag(""));

  Settings s = loadLines({"[WARS]", "OUTPUT=7", "HEDAFLAG=2", "CODE=", "[ぴるね]", "OUTPUT=0", "HEDAFLAG=x",
                          "SORTFLAG=2", "[ODDS]", "PAT=1"});
  EXPECT_EQ(s.wars.output, "6");
  EXPECT_EQ(s.wars.hedaFlag, 0);
  EXPECT_EQ(s.wars.code, "7777");
  EXPECT_EQ(s.pirune.output, "6");
  EXPECT_EQ(s.pirune.hedaFlag, 0);
  EXPECT_EQ(s.pirune.sortFlag, 0);
  EXPECT_FALSE(s.forumOddsEnabled());
  EXPECT_EQ(loadLines({"[WARS]", "OUTPUT=1"}).wars.output, "1");
  EXPECT_EQ(loadLines({"[WARS]", "OUTPUT=-1"}).wars.output, "6");
}

TEST(Settings, FolderSettingsEndWithASlash) {
  Settings s = loadLines({"[FILE]", "DenFileFolder=/cards/", "[BET]", "パッとベッと=rel/pat", "保留ＢＥＴ=/b/",
                          "[ぴるね]", "OUTFOLDER=/p"});
  EXPECT_EQ(s.denFileFolder, "/cards/");
  EXPECT_EQ(s.patBetFolder, "rel/pat/");
  EXPECT_EQ(s.pendingBetFolder, "/b/");
  EXPECT_EQ(s.pirune.outFolder, "/p/");
  EXPECT_EQ(withSlash("/a"), "/a/");
  EXPECT_EQ(withSlash("/a/"), "/a/");
  EXPECT_EQ(withSlash(""), "");
}

TEST(Settings, RestoreDefaultsBringsBackTheSavedKeys) {
  TestHome h;
  const fs::path ini = h.session.iniFilePath();
  const fs::path defaults = h.session.defaultsPath();
  writeBytes(ini, sjLines({"; my settings", "[FILE]", "LogFile1=/logs/a.log", "LogFflag1=True", "DenFlag=1",
                           "MyCutFile=MINE.TXT", "[ODDS]", "PAT=2", "MIN=150", "MAX=500", "[OTHER]", "MinW=3",
                           "[BET]", "馬連=500", "保留ＢＥＴ=/bets/", "[WARS]", "CODE=1234", "[ぴるね]", "SORTFLAG=1",
                           "[STAFF]", "TERM=1"}));
  h.session.loadSettings();
  ASSERT_TRUE(saveDefaults(h.session.settings, defaults));
  // The defaults hold only the keys saved as default.
  EXPECT_EQ(readProfileString(defaults, "FILE", "LogFile1"), "/logs/a.log");
  EXPECT_EQ(readProfileString(defaults, "BET", "馬連"), "500");
  auto savedDefaults = ProfileFile::load(defaults);
  ASSERT_TRUE(savedDefaults);
  EXPECT_FALSE(savedDefaults->has("ODDS", "MIN"));
  EXPECT_FALSE(savedDefaults->has("FILE", "LogFflag1"));
  EXPECT_FALSE(savedDefaults->has("FILE", "MyCutFile"));

  ASSERT_TRUE(writeProfileString(ini, "FILE", "LogFile1", "/logs/b.log"));
  ASSERT_TRUE(writeProfileString(ini, "FILE", "DenFlag", "0"));
  ASSERT_TRUE(writeProfileString(ini, "BET", "馬連", "2000"));
  ASSERT_TRUE(writeProfileString(ini, "WARS", "CODE", "9999"));
  h.session.loadSettings();
  ASSERT_EQ(h.session.settings.wars.code, "9999");

  ASSERT_TRUE(restoreDefaults(h.session.settings, defaults, ini, h.session.settingsFolders()));
  const Settings& s = h.session.settings;
  EXPECT_EQ(s.logFile[0], "/logs/a.log");
  EXPECT_EQ(s.denFlag, 1);
  EXPECT_EQ(s.oddsSource, "2");
  EXPECT_TRUE(s.forumOddsEnabled());
  EXPECT_EQ(s.stakeQuinella, "500");
  EXPECT_EQ(s.pendingBetFolder, "/bets/");
  EXPECT_EQ(s.wars.code, "1234");
  EXPECT_EQ(s.pirune.sortFlag, 1);
  // Keys not saved as default get their load defaults.
  EXPECT_FALSE(s.logFlag[0]);
  EXPECT_EQ(s.myCutFile, "WARS.TXT");
  EXPECT_EQ(s.oddsMin, "100");
  EXPECT_EQ(s.oddsMax, "9999");
  EXPECT_EQ(s.minW, "2");

  // TOLV.INI holds the same values, and keeps what the settings do not own.
  EXPECT_EQ(readProfileString(ini, "FILE", "LogFile1"), "/logs/a.log");
  EXPECT_EQ(readProfileString(ini, "FILE", "DenFlag"), "1");
  EXPECT_EQ(readProfileString(ini, "BET", "馬連"), "500");
  EXPECT_EQ(readProfileString(ini, "WARS", "CODE"), "1234");
  EXPECT_EQ(readProfileString(ini, "ODDS", "MIN"), "100");
  EXPECT_EQ(readProfileString(ini, "STAFF", "TERM"), "1");
  EXPECT_EQ(readBytes(ini).rfind("; my settings\r\n[FILE]\r\n", 0), 0u);
  const Settings reloaded = loadSettings(ini, h.session.settingsFolders());
  EXPECT_EQ(reloaded.logFile, s.logFile);
  EXPECT_EQ(reloaded.logFlag, s.logFlag);
  EXPECT_EQ(reloaded.denFlag, s.denFlag);
  EXPECT_EQ(reloaded.stakeQuinella, s.stakeQuinella);
  EXPECT_EQ(reloaded.oddsMin, s.oddsMin);
  EXPECT_EQ(reloaded.myCutFile, s.myCutFile);
  EXPECT_EQ(reloaded.pirune.sortFlag, s.pirune.sortFlag);
}

// Restoring defaults that were never saved would reset every setting (log
// paths, PATFolder, ranges) to the program's own: it is refused, TOLV.INI and
// the loaded settings as they were.
TEST(Settings, RestoreWithoutSavedDefaultsChangesNothing) {
  TestHome h;
  const fs::path ini = h.session.iniFilePath();
  writeBytes(ini, sjLines({"[WARS]", "CODE=1234", "[BET]", "馬連=500", "[ODDS]", "PATFolder=C:\\PAT"}));
  const std::string before = readBytes(ini);
  h.session.loadSettings();
  ASSERT_FALSE(fs::exists(h.session.defaultsPath()));
  std::string error;
  EXPECT_FALSE(restoreDefaults(h.session.settings, h.session.defaultsPath(), ini, h.session.settingsFolders(), &error));
  EXPECT_EQ(error, "デフォルトの設定は記録されていません（" + h.session.defaultsPath().string() + "）");
  EXPECT_EQ(h.session.settings.wars.code, "1234");
  EXPECT_EQ(h.session.settings.stakeQuinella, "500");
  EXPECT_EQ(readBytes(ini), before);
}

}  // namespace
}  // namespace tolv
