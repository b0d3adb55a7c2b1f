// The settings dialog: applying rules, enabling rules, choosers, tabs.

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "dialog_test_util.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/common/qt_text.h"
#include "ui/dialogs/options_form.h"

using namespace tolv;
using namespace tolv::ui;
using namespace tolv::ui::test;

class SettingsDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void stakesRoundDownToHundredsWithAFloor() {
    QCOMPARE(roundStake("250"), std::string("200"));
    QCOMPARE(roundStake("50"), std::string("100"));
    QCOMPARE(roundStake("1000"), std::string("1000"));
    QCOMPARE(roundStake(""), std::string("100"));
    QCOMPARE(roundStake("abc"), std::string("100"));
    QCOMPARE(outputCount(""), std::string("6"));
    QCOMPARE(outputCount("7"), std::string("6"));
    QCOMPARE(outputCount("3"), std::string("3"));
  }

  void applyStoresStakesAndCodes() {
    TestHome h;
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    w.show();
    auto* tabs = child<QTabWidget>(&w, "tbsOptions");
    tabs->setCurrentIndex(2);
    type(&w, "Text3_0", "250");
    type(&w, "Text3_1", "50");
    type(&w, "Text3_2", "1234");
    tabs->setCurrentIndex(3);
    type(&w, "Text7", "");
    tabs->setCurrentIndex(4);
    type(&w, "Text10", "");
    click(&w, "cmdApply");
    QVERIFY(ui.messages.empty());
    QCOMPARE(ini(h.session, "BET", "枠連"), std::string("200"));
    QCOMPARE(ini(h.session, "BET", "馬連"), std::string("100"));
    QCOMPARE(ini(h.session, "BET", "ワイド"), std::string("1200"));
    QCOMPARE(h.session.settings.stakeBracket, std::string("200"));
    QCOMPARE(ini(h.session, "WARS", "CODE"), std::string("7777"));
    QCOMPARE(ini(h.session, "ぴるね", "CODE"), std::string("0870"));
    QCOMPARE(h.session.settings.pirune.code, std::string("0870"));
    // "更新" keeps the window open.
    QCOMPARE(w.result(), 0);
  }

  // The arrows beside a stake box step it by 100 yen, from 100 to 999900.
  void stakeArrowsStepTheBoxByAHundred() {
    TestHome h;
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    w.show();
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(2);
    type(&w, "Text3_1", "250");
    click(&w, "UpDown1_1Up");
    QCOMPARE(child<QLineEdit>(&w, "Text3_1")->text(), QStringLiteral("350"));
    click(&w, "UpDown1_1Down");
    click(&w, "UpDown1_1Down");
    click(&w, "UpDown1_1Down");
    QCOMPARE(child<QLineEdit>(&w, "Text3_1")->text(), QStringLiteral("100"));
    type(&w, "Text3_1", "999900");
    click(&w, "UpDown1_1Up");
    QCOMPARE(child<QLineEdit>(&w, "Text3_1")->text(), QStringLiteral("999900"));
    // The arrows leave the other boxes alone.
    QCOMPARE(child<QLineEdit>(&w, "Text3_0")->text(), toQ(h.session.settings.stakeBracket));
  }

  void otherExtensionIsKeptUntilOtherIsChosenAgain() {
    TestHome h;
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    w.show();
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(4);
    click(&w, "Option5_2");
    QVERIFY(child<QLineEdit>(&w, "Text14")->isEnabled());
    type(&w, "Text14", "dat");
    click(&w, "cmdApply");
    QCOMPARE(ini(h.session, "ぴるね", "HKA1"), std::string("2"));
    QCOMPARE(ini(h.session, "ぴるね", "HKA2"), std::string("dat"));
    click(&w, "Option5_1");
    QVERIFY(!child<QLineEdit>(&w, "Text14")->isEnabled());
    type(&w, "Text14", "xyz");  // typed while disabled in code: not taken
    click(&w, "cmdApply");
    QCOMPARE(ini(h.session, "ぴるね", "HKA1"), std::string("1"));
    QCOMPARE(ini(h.session, "ぴるね", "HKA2"), std::string("dat"));
    QCOMPARE(h.session.settings.pirune.ka2, std::string("dat"));
  }

  void ownHeaderUntickedStoresZeroAndNoHeader() {
    TestHome h;
    tolv::testing::writeBytes(h.session.iniFilePath(), tolv::testing::sjLines({"[WARS]", "HEDAFLAG=1", "ORGHEDA=私のヘッダ"}));
    h.session.loadSettings();
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    w.show();
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(3);
    auto* check = child<QCheckBox>(&w, "Check1");
    QVERIFY(check->isChecked());
    QCOMPARE(child<QLineEdit>(&w, "Text8")->text(), QStringLiteral("私のヘッダ"));
    check->click();
    QVERIFY(!child<QLineEdit>(&w, "Text8")->isEnabled());
    click(&w, "cmdOK");
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(ini(h.session, "WARS", "HEDAFLAG"), std::string("0"));
    QCOMPARE(ini(h.session, "WARS", "ORGHEDA"), std::string(""));
    QCOMPARE(h.session.settings.wars.hedaFlag, 0);
  }

  void applyingKeepsOtherLinesAndAddsFolderSlashes() {
    TestHome h;
    tolv::testing::writeBytes(h.session.iniFilePath(),
                              tolv::testing::sjLines({"; my settings", "[OTHER]", "LIST1=MY.LST", "[FILE]", "LogFflag1=True"}));
    h.session.loadSettings();
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    w.show();
    type(&w, "Text1_1", "/tmp/cut");
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(2);
    type(&w, "Text5", "");
    click(&w, "cmdApply");
    const std::string bytes = tolv::testing::readBytes(h.session.iniFilePath());
    QVERIFY(bytes.rfind(tolv::testing::sjLines({"; my settings", "[OTHER]", "LIST1=MY.LST", "[FILE]", "LogFflag1=True"}), 0) == 0);
    QCOMPARE(ini(h.session, "FILE", "CutFileFolder"), std::string("/tmp/cut/"));
    // An empty pending-bet folder is the data folder.
    QCOMPARE(ini(h.session, "BET", "保留ＢＥＴ"), h.session.dataFolder());
    QCOMPARE(h.session.settings.list1, std::string("MY.LST"));
  }

  void cancelWritesNothing() {
    TestHome h;
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    w.show();
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(2);
    type(&w, "Text3_0", "900");
    click(&w, "cmdCancel");
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QVERIFY(!fs::exists(h.session.iniFilePath()));
  }

  void forumOddsSwitchesTheFolderAndTheLogFile() {
    TestHome h;
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    w.show();
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(1);
    click(&w, "Option3_2");
    QVERIFY(child<QLineEdit>(&w, "Text12")->isEnabled());
    QVERIFY(!child<QLineEdit>(&w, "Text2")->isEnabled());
    QVERIFY(!child<QWidget>(&w, "Command2")->isEnabled());
    click(&w, "Option3_3");
    QVERIFY(!child<QLineEdit>(&w, "Text12")->isEnabled());
    QVERIFY(child<QLineEdit>(&w, "Text2")->isEnabled());
    type(&w, "Text2", "/odds");
    click(&w, "cmdApply");
    QCOMPARE(ini(h.session, "ODDS", "PAT"), std::string("3"));
    QCOMPARE(ini(h.session, "ODDS", "PATFolder"), std::string("/odds/"));
    QCOMPARE(h.session.settings.patFolder, std::string("/odds/"));
    QCOMPARE(h.session.settings.oddsSource, std::string("3"));
  }

  void choosersKeepTheTextWhenCancelled() {
    TestHome h;
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    QString browseStart;
    QString answer;
    w.services.browseFolder = [&](QWidget*, const QString& start) {
      browseStart = start;
      return answer;
    };
    w.services.chooseLogFile = [](QWidget*, const QString& current) { return current.trimmed(); };
    w.show();
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(3);
    type(&w, "Text6", "/old/");
    click(&w, "Command5");
    QCOMPARE(browseStart, QStringLiteral("/old/"));
    QCOMPARE(child<QLineEdit>(&w, "Text6")->text(), QStringLiteral("/old/"));
    answer = QStringLiteral("/new/");
    click(&w, "Command5");
    QCOMPARE(child<QLineEdit>(&w, "Text6")->text(), QStringLiteral("/new/"));
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(0);
    type(&w, "Text1_0", "  /logs/a.log  ");
    click(&w, "Command1_0");
    QCOMPARE(child<QLineEdit>(&w, "Text1_0")->text(), QStringLiteral("/logs/a.log"));
  }

  void exportOptionSwitchesTheFolderBox() {
    TestHome h;
    tolv::testing::writeBytes(h.session.iniFilePath(),
                              tolv::testing::sjLines({"[BET]", "パッとベッと=/pat/", "Bet Auto=/auto/", "BetOutFlag=1"}));
    h.session.loadSettings();
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    w.show();
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(2);
    QCOMPARE(child<QLineEdit>(&w, "Text4")->text(), QStringLiteral("/auto/"));
    click(&w, "Option1_0");
    QCOMPARE(child<QLineEdit>(&w, "Text4")->text(), QStringLiteral("/pat/"));
    type(&w, "Text4", "/pat2");
    click(&w, "cmdApply");
    QCOMPARE(ini(h.session, "BET", "パッとベッと"), std::string("/pat2/"));
    QCOMPARE(ini(h.session, "BET", "Bet Auto"), std::string("/auto/"));
    QCOMPARE(ini(h.session, "BET", "BetOutFlag"), std::string("0"));
  }

  void tabsTooltipsAndCtrlTabWrap() {
    TestHome h;
    RecordingUi ui;
    SettingsDialog w(h.session, ui);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* tabs = child<QTabWidget>(&w, "tbsOptions");
    QCOMPARE(tabs->count(), 5);
    QCOMPARE(tabs->tabText(0), QStringLiteral("ﾌｧｲﾙ・ﾌｫﾙﾀﾞ"));
    QCOMPARE(tabs->tabToolTip(4), QStringLiteral("『ぴるね』の設定を行います"));
    tabs->setCurrentIndex(4);
    QVERIFY(tabs->widget(4)->isEnabled());
    QVERIFY(!tabs->widget(0)->isEnabled());
    QTest::keyClick(&w, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(tabs->widget(0)->isEnabled());
    QVERIFY(!tabs->widget(4)->isEnabled());
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
