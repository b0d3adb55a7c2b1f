// The folder window, the chooser helpers, and the windows that use them
// (PAD settings, odds conversion).

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include "dialog_test_util.h"
#include "ui/dialogs/kol_odds_converter_dialog.h"
#include "ui/dialogs/folder_picker_dialog.h"
#include "ui/dialogs/pad_settings_dialog.h"
#include "ui/dialogs/pickers.h"

using namespace tolv;
using namespace tolv::ui;
using namespace tolv::ui::test;

namespace {
QString q(const fs::path& p) { return QString::fromStdString(p.string()); }
}  // namespace

class PickersTest : public QObject {
  Q_OBJECT
 private slots:
  void logFileStartFolderAndFilters() {
    TempDir d, home;
    writeBytes(d / "a.log", "x");
    QCOMPARE(chooserStartFolder(q(d / "a.log"), q(home.path())), q(d.path()));
    QCOMPARE(chooserStartFolder(QStringLiteral("  ") + q(d.path()) + QStringLiteral(" "), q(home.path())), q(d.path()));
    // A file not there yet: its folder; a folder that does not exist: home.
    QCOMPARE(chooserStartFolder(q(d / "missing.log"), q(home.path())), q(d.path()));
    QCOMPARE(chooserStartFolder(q(d / "gone" / "a.log"), q(home.path())), q(home.path()));
    QCOMPARE(chooserStartFolder(QString(), q(home.path())), q(home.path()));
    QCOMPARE(logFileFilters(), (QStringList{QStringLiteral("すべてのファイル (*.*)"), QStringLiteral("テキスト ファイル (*.TXT)"),
                                            QStringLiteral("ログ ファイル (*.LOG)")}));
    QCOMPARE(logFileFilters().at(kLogFileSelectedFilter), QStringLiteral("テキスト ファイル (*.TXT)"));
    QCOMPARE(folderWithSlash(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
    QCOMPARE(folderWithSlash(QStringLiteral("/")), QStringLiteral("/"));
    QCOMPARE(folderWithSlash(QString()), QString());
  }

  void folderWindowMessagesAndConfirmation() {
    TestHome h;
    RecordingUi ui;
    QLineEdit target;
    target.setText(QStringLiteral("keep me"));
    fs::create_directories(h.home() / "sub" / "inner");
    FolderPickerDialog w(ui, &target, QString::fromStdString(h.session.appFolder()));
    // A box naming no folder starts in the program folder.
    QCOMPARE(w.currentFolder(), QDir::cleanPath(QString::fromStdString(h.session.appFolder())));
    auto* dirs = child<QListWidget>(&w, "Dir1");
    QVERIFY(!dirs->findItems(QStringLiteral("sub"), Qt::MatchExactly).isEmpty());
    emit dirs->itemDoubleClicked(dirs->findItems(QStringLiteral("sub"), Qt::MatchExactly).first());
    QCOMPARE(child<QLineEdit>(&w, "Text1")->text(), q(h.home() / "sub"));

    type(&w, "Text1", "   ");
    click(&w, "Command1_0");
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(ui.messages[0].text, std::string("フォルダ名が記載されていません。やり直してください。"));
    QCOMPARE(ui.messages[0].title, std::string());
    QCOMPARE(w.result(), 0);

    child<QLineEdit>(&w, "Text1")->setText(q(h.home() / "nothing"));
    click(&w, "Command1_0");
    QCOMPARE(ui.messages.back().text, std::string("記載したフォルダは存在しません！ 設定し直してください。"));
    QCOMPARE(target.text(), QStringLiteral("keep me"));
    QCOMPARE(w.result(), 0);

    // One trailing separator is dropped.
    child<QLineEdit>(&w, "Text1")->setText(q(h.home() / "sub" / "inner") + "/");
    click(&w, "Command1_0");
    QCOMPARE(target.text(), q(h.home() / "sub" / "inner"));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(ui.messages.size(), std::size_t(2));
  }

  void folderWindowStartsInTheBoxFolderAndCancelKeepsIt() {
    TestHome h;
    RecordingUi ui;
    fs::create_directories(h.home() / "odds");
    QLineEdit target;
    target.setText(" " + q(h.home() / "odds") + " ");
    FolderPickerDialog w(ui, &target, QString::fromStdString(h.session.appFolder()));
    QCOMPARE(w.currentFolder(), q(h.home() / "odds"));
    // Enter in the box moves on to ＯＫ instead of confirming.
    QTest::keyClick(child<QLineEdit>(&w, "Text1"), Qt::Key_Return);
    QCOMPARE(w.result(), 0);
    click(&w, "Command1_1");
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(target.text(), " " + q(h.home() / "odds") + " ");
    QVERIFY(ui.messages.empty());
  }

  void padSettingsRoundTrip() {
    TestHome h;
    writeBytes(h.session.iniFilePath(), sjLines({"[STAFF]", "PADOUTDIR=/pad/", "TERM=1", "PADEDIT=0", "RaceOutFlag=2"}));
    RecordingUi ui;
    PadSettingsDialog w(h.session, ui);
    QCOMPARE(child<QLineEdit>(&w, "Text1")->text(), QStringLiteral("/pad/"));
    QVERIFY(child<QRadioButton>(&w, "Option1_1")->isChecked());
    QVERIFY(child<QRadioButton>(&w, "Option2_2")->isChecked());
    QVERIFY(!child<QCheckBox>(&w, "Check1")->isChecked());
    QString answer;
    w.services.browseFolder = [&](QWidget*, const QString&) { return answer; };
    click(&w, "Command1");  // cancelled: the box keeps its text
    QCOMPARE(child<QLineEdit>(&w, "Text1")->text(), QStringLiteral("/pad/"));
    answer = QStringLiteral("/new pad/");
    click(&w, "Command1");
    click(&w, "Option1_0");
    click(&w, "Option2_1");
    click(&w, "Check1");
    click(&w, "Command2_0");
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(ini(h.session, "STAFF", "PADOUTDIR"), std::string("/new pad/"));
    QCOMPARE(ini(h.session, "STAFF", "TERM"), std::string("0"));
    QCOMPARE(ini(h.session, "STAFF", "PADEDIT"), std::string("1"));
    QCOMPARE(ini(h.session, "STAFF", "RaceOutFlag"), std::string("1"));

    PadSettingsDialog again(h.session, ui);
    click(&again, "Option1_1");
    click(&again, "Command2_1");
    QCOMPARE(ini(h.session, "STAFF", "TERM"), std::string("0"));
  }

  void conversionWindowChecksTheFolderAndKeepsItsSettings() {
    TestHome h;
    RecordingUi ui;
    const fs::path csv = h.home() / "OD991231.CSV";
    writeBytes(csv, "");
    KolOddsConverterDialog w(h.session, ui, OddsConversionSource::Csv, PatQuinellaLayout::Pat98, csv);
    QCOMPARE(w.windowTitle(), QStringLiteral("「TARGET」形式ＣＳＶオッズをＰＡＴ９８形式に変換"));
    QCOMPARE(child<QLabel>(&w, "Label1")->text(), QStringLiteral("1999年12月31日のＣＳＶオッズをＰＡＴ形式に変換します…"));
    QCOMPARE(child<QLabel>(&w, "Label2_0")->text(), QStringLiteral("ＣＳＶオッズを読み取り中！"));
    QCOMPARE(child<QLineEdit>(&w, "Text1")->text(), QString::fromStdString(h.session.appFolder()));
    // The folder button fills the box through the folder window.
    w.services.folderWindow = [&](QWidget*, QLineEdit* box) { box->setText(q(h.home() / "missing")); };
    click(&w, "Command1");
    click(&w, "Check1");
    QCOMPARE(w.convert(), StepResult::Failed);
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(ui.messages[0].text, std::string("設定されたフォルダが見つかりません！"));
    click(&w, "Command2_1");
    QCOMPARE(ini(h.session, "ODDS", "ConvOddsFolder"), (h.home() / "missing").string() + "/");
    QCOMPARE(ini(h.session, "ODDS", "DelOddsFile"), std::string("1"));
  }

  void kolWindowAnnouncesTheDayOfTheUnpackedOdds() {
    TestHome h;
    std::string record = "05" "2026" "05" "02" "11" "20261206";
    record.resize(kKolRecordLength, ' ');
    writeBytes(h.session.unpackFolder() / "kol_ods.KD2", record);
    RecordingUi ui;
    KolOddsConverterDialog w(h.session, ui, OddsConversionSource::Kol, PatQuinellaLayout::Pat95, {});
    QCOMPARE(w.windowTitle(), QStringLiteral("競馬ブック予想オッズをＰＡＴ９５形式に変換"));
    QCOMPARE(child<QLabel>(&w, "Label1")->text(), QStringLiteral("2026年12月06日分の予想オッズをＰＡＴ形式に変換します…"));
    QCOMPARE(child<QLabel>(&w, "Label2_1")->text(), QStringLiteral("ＰＡＴ９５形式オッズファイルを出力中！"));
    QVERIFY(!child<QLabel>(&w, "Label2_0")->isEnabled());
  }

  void sourceFileChooserFiltersAndRemembersTheFolder() {
    TestHome h;
    DialogServices services;
    QStringList shownFilters;
    QString shownFolder;
    services.openFile = [&](QWidget*, const QStringList& filters, const QString& folder) {
      shownFilters = filters;
      shownFolder = folder;
      return q(h.home() / "kol" / "J021231.LZH");
    };
    const QString chosen = chooseOddsSourceFile(h.session, services, OddsConversionSource::Kol, nullptr);
    QCOMPARE(chosen, q(h.home() / "kol" / "J021231.LZH"));
    QCOMPARE(shownFilters.first(), QStringLiteral("KOL予想オッズ圧縮ファイル (J*.LZH)"));
    QCOMPARE(lastKolArchiveFolder(h.session).rfind((h.home() / "kol").string(), 0), std::size_t(0));
    services.openFile = [&](QWidget*, const QStringList& filters, const QString&) {
      shownFilters = filters;
      return QString();
    };
    QCOMPARE(chooseOddsSourceFile(h.session, services, OddsConversionSource::Csv, nullptr), QString());
    QCOMPARE(shownFilters, (QStringList{QStringLiteral("TARGET標準ファイル (OD*.CSV)"), QStringLiteral("CSVファイル (*.CSV)"),
                                        QStringLiteral("すべてのファイル (*.*)")}));
  }
};

QTEST_MAIN(PickersTest)
#include "pickers_test.moc"
