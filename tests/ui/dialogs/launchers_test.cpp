// The two defaults commands of the main window.

#include <QTest>

#include "dialog_test_util.h"
#include "ui/dialogs/launchers.h"

using namespace tolv;
using namespace tolv::ui;
using namespace tolv::ui::test;

class LaunchersTest : public QObject {
  Q_OBJECT
 private slots:
  void defaultsSaveAndRestore() {
    TestHome h;
    writeBytes(h.session.iniFilePath(), sjLines({"[BET]", "馬連=700", "[WARS]", "CODE=1234", "[ODDS]", "MIN=5"}));
    h.session.loadSettings();
    RecordingUi ui;
    saveDefaultsCommand(h.session, ui, nullptr);
    QVERIFY(ui.messages.empty());
    QVERIFY(fs::exists(h.session.defaultsPath()));

    writeBytes(h.session.iniFilePath(), sjLines({"[BET]", "馬連=300", "[WARS]", "CODE=9999", "[ODDS]", "MIN=5"}));
    h.session.loadSettings();
    restoreDefaultsCommand(h.session, ui, nullptr);
    QVERIFY(ui.messages.empty());
    QCOMPARE(h.session.settings.stakeQuinella, std::string("700"));
    QCOMPARE(ini(h.session, "BET", "馬連"), std::string("700"));
    QCOMPARE(ini(h.session, "WARS", "CODE"), std::string("1234"));
  }

  void defaultsThatCannotBeWrittenAreReported() {
    TestHome h;
    // A folder where the defaults file should be.
    fs::create_directories(h.home() / "defaults-dir" / "x");
    h.session.setDefaultsPath(h.home() / "defaults-dir");
    RecordingUi ui;
    saveDefaultsCommand(h.session, ui, nullptr);
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QVERIFY(ui.messages[0].text.rfind("デフォルトの設定を記録できません：" + (h.home() / "defaults-dir").string(), 0) == 0);
    QCOMPARE(ui.messages[0].title, std::string("【トルブ】エラーメッセージ"));
  }
};

QTEST_MAIN(LaunchersTest)
#include "launchers_test.moc"
