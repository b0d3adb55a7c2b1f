// The software list editor: line rules, grid editing, saving, base program.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>

#include "dialog_test_util.h"
#include "ui/dialogs/list_editor_dialog.h"
#include "collect/list_rules.h"

using namespace tolv;
using namespace tolv::ui;
using namespace tolv::ui::test;

namespace {

fs::path listPath(const TestHome& h, const char* name) { return fs::path(h.session.appFolder()) / name; }

}  // namespace

class ListEditorDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void linesReadAndWriteBack() {
    const ListRow adopted = readListLine("0025P_KOL");
    QCOMPARE(adopted, (ListRow{"●", "0025", "P_KOL"}));
    QCOMPARE(readListLine(":0025P_KOL"), (ListRow{"", "0025", "P_KOL"}));
    QCOMPARE(readListLine("0000ZERO"), (ListRow{"", "0000", "ZERO"}));
    QCOMPARE(readListLine("12"), (ListRow{"●", "12  ", ""}));
    QCOMPARE(readListLine("0025ソフト名"), (ListRow{"●", "0025", "ソフト名"}));
    QCOMPARE(*writeListLine({"●", "0025", "P_KOL"}), std::string("0025P_KOL"));
    QCOMPARE(*writeListLine({"", " 0025 ", "P_KOL"}), std::string(":0025P_KOL"));
    QVERIFY(!writeListLine({"削除", "0025", "P_KOL"}));
    QCOMPARE(nextMark("●"), std::string(""));
    QCOMPARE(nextMark(""), std::string("削除"));
    QCOMPARE(nextMark("削除"), std::string("●"));
    QCOMPARE(nextMark("?"), std::string("?"));
  }

  void saveAsNames() {
    QCOMPARE(saveAsPath("/h/", "test")->string(), std::string("/h/test.lst"));
    QCOMPARE(saveAsPath("/h/", " TEST.LST ")->string(), std::string("/h/TEST.LST"));
    QCOMPARE(saveAsPath("/h/", "a.Lst")->string(), std::string("/h/a.Lst"));
    QVERIFY(!saveAsPath("/h/", "   "));
    QVERIFY(!saveAsPath("/h/", "../evil"));
  }

  void openingShowsTheListsAndTheChosenOnes() {
    TestHome h;
    writeBytes(listPath(h, "B.LST"), sjLines({"0001AAA"}));
    writeBytes(listPath(h, "a.lst"), sjLines({"0002BBB"}));
    writeBytes(listPath(h, "OTHER.TXT"), "x");
    writeBytes(h.session.iniFilePath(), sjLines({"[OTHER]", "LIST1=b.lst", "LIST2=GONE.LST"}));
    h.session.loadSettings();
    RecordingUi ui;
    ListEditorDialog w(h.session, ui);
    auto* list0 = child<QListWidget>(&w, "List1_0");
    QCOMPARE(list0->count(), 2);
    QCOMPARE(list0->item(0)->text(), QStringLiteral("a.lst"));
    QCOMPARE(child<QLabel>(&w, "Label2_0")->text(), QStringLiteral("B.LST"));
    // A LIST2 naming a file that no longer exists shows the first list file.
    QCOMPARE(child<QLabel>(&w, "Label2_1")->text(), QStringLiteral("a.lst"));
  }

  void applyingWritesTheListSettingAndReloadsNames() {
    TestHome h;
    writeBytes(listPath(h, "A.LST"), sjLines({"0001AAAAAA"}));
    writeBytes(listPath(h, "B.LST"), sjLines({"0002BBBBBB"}));
    RecordingUi ui;
    ListEditorDialog w(h.session, ui);
    auto* list0 = child<QListWidget>(&w, "List1_0");
    emit list0->itemClicked(list0->item(1));
    QCOMPARE(child<QLabel>(&w, "Label2_0")->text(), QStringLiteral("B.LST"));
    click(&w, "Command3_1");
    QCOMPARE(ini(h.session, "OTHER", "LIST1"), std::string("B.LST"));
    QCOMPARE(h.session.programNames.size(), std::size_t(1));
    QCOMPARE(h.session.programNames[0].code, std::string("0002"));
    QCOMPARE(w.result(), 0);
    click(&w, "Command4_0");
    QCOMPARE(ini(h.session, "OTHER", "LIST2"), std::string("A.LST"));
    QCOMPARE(w.result(), int(QDialog::Accepted));
  }

  void editedMarksCodesAndNamesSaveOver() {
    TestHome h;
    const fs::path p = listPath(h, "TOLVSOFT.LST");
    writeBytes(p, sjLines({"0025P_KOL", "", ":0030ABC", "0040DEL", "0050KEEP"}));
    RecordingUi ui;
    ListEditorDialog w(h.session, ui);
    w.show();
    click(&w, "Command1_0");
    QCOMPARE(w.editedPath(), p);
    QCOMPARE(child<QLabel>(&w, "Label3")->text(), QStringLiteral("【トルブ】ソフトリストの編集…"));
    auto* grid = child<QTableWidget>(&w, "MSFlexGrid1");
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->item(1, 1)->text(), QString());
    w.clickCell(0, 1);  // ● → empty
    w.clickCell(1, 1);  // empty → 削除 → ●
    w.clickCell(1, 1);
    w.clickCell(2, 1);  // ● → empty → 削除
    w.clickCell(2, 1);
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("削除"));
    // The edit box sits over the clicked cell and writes back at the next click.
    w.clickCell(3, 3);
    auto* name = child<QLineEdit>(&w, "txtSoftName");
    QVERIFY(name->isVisible());
    QCOMPARE(name->geometry(), grid->visualRect(grid->model()->index(3, 3)));
    QCOMPARE(name->text(), QStringLiteral("KEEP"));
    name->setText(QStringLiteral("ｷｰﾌﾟ"));
    w.clickCell(3, 2);
    QVERIFY(!name->isVisible());
    QCOMPARE(grid->item(3, 3)->text(), QStringLiteral("ｷｰﾌﾟ"));
    auto* code = child<QLineEdit>(&w, "txtCodeEdit");
    code->setText(QStringLiteral("0050"));
    QTest::keyClick(code, Qt::Key_Return);
    QVERIFY(!code->isVisible());
    w.clickCell(3, 2);
    QCOMPARE(code->text(), QStringLiteral("0050"));
    code->setText(QStringLiteral("0055"));
    click(&w, "Command2_0");  // the open box is taken into the save
    QCOMPARE(readBytes(p), sjLines({":0025P_KOL", "0030ABC", "0055ｷｰﾌﾟ"}));
    QVERIFY(!child<QWidget>(&w, "Picture1")->isVisible());
    QCOMPARE(grid->rowCount(), 0);
  }

  void addRowSortAndSaveAs() {
    TestHome h;
    const fs::path p = listPath(h, "PIRUNE.LST");
    writeBytes(p, sjLines({"0300CCC", "0100AAA"}));
    RecordingUi ui;
    ListEditorDialog w(h.session, ui);
    QStringList answers = {QStringLiteral("test"), QStringLiteral("TEST2.LST"), QStringLiteral("  ")};
    QString askedTitle;
    w.services.inputText = [&](QWidget*, const QString&, const QString& title) -> std::optional<QString> {
      askedTitle = title;
      return answers.takeFirst();
    };
    w.show();
    click(&w, "Command1_1");
    QCOMPARE(child<QLabel>(&w, "Label3")->text(), QStringLiteral("『ぴるね』ソフトリストの編集…"));
    QCOMPARE(child<QLabel>(&w, "Label4")->text(), QStringLiteral("※１番目のソフトが基準ソフトになります。"));
    QCOMPARE(child<QLineEdit>(&w, "Text1")->text(), QStringLiteral("0300"));
    click(&w, "Command6");
    auto* grid = child<QTableWidget>(&w, "MSFlexGrid1");
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("3"));
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("●"));
    w.clickCell(2, 2);
    child<QLineEdit>(&w, "txtCodeEdit")->setText(QStringLiteral("0200"));
    w.clickCell(2, 3);
    child<QLineEdit>(&w, "txtSoftName")->setText(QStringLiteral("BBB"));
    click(&w, "Command7");
    QCOMPARE(w.rows(), (std::vector<ListRow>{{"●", "0100", "AAA"}, {"●", "0200", "BBB"}, {"●", "0300", "CCC"}}));
    click(&w, "Command2_1");
    QCOMPARE(askedTitle, QStringLiteral("『ぴるね』リスト名の入力"));
    QCOMPARE(readBytes(listPath(h, "test.lst")), sjLines({"0100AAA", "0200BBB", "0300CCC"}));
    QCOMPARE(readBytes(p), sjLines({"0300CCC", "0100AAA"}));
    QCOMPARE(child<QLabel>(&w, "Label2_1")->text(), QStringLiteral("test.lst"));
    click(&w, "Command1_1");
    QCOMPARE(w.editedPath(), listPath(h, "test.lst"));
    click(&w, "Command2_1");
    QVERIFY(fs::exists(listPath(h, "TEST2.LST")));
    // An empty answer saves nothing.
    click(&w, "Command1_1");
    click(&w, "Command2_1");
    QCOMPARE(listFiles(h.session.appFolder(), "*.LST").size(), std::size_t(3));
    QVERIFY(ui.messages.empty());
  }

  void baseProgramUpdateKeepsTheOldBaseSecond() {
    TestHome h;
    const fs::path p = listPath(h, "PIRUNE.LST");
    writeBytes(p, sjLines({"0025P_KOL", "0100AAA"}));
    RecordingUi ui;
    ListEditorDialog w(h.session, ui);
    w.show();
    click(&w, "Command1_1");
    type(&w, "Text1", "0");
    click(&w, "Command8");
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(ui.messages[0].text,
             std::string("基準ソフトに変更したソフトの\r\nWARSコード(0001～9999)を記載してください！\r\n"));
    QCOMPARE(readBytes(p), sjLines({"0025P_KOL", "0100AAA"}));
    type(&w, "Text1", "0870");
    type(&w, "Text2", " ぴるね ");
    click(&w, "Command8");
    QCOMPARE(readBytes(p), sjLines({"0870ぴるね", "0025P_KOL", "0100AAA"}));
    auto* grid = child<QTableWidget>(&w, "MSFlexGrid1");
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("0870"));
    QCOMPARE(grid->item(1, 3)->text(), QStringLiteral("P_KOL"));
  }

  // A line that never counts as a program (a comment, a line starting with
  // neither a digit nor ":") is a greyed row that stays as and where it is.
  void commentLinesStayInTheirPlace() {
    QVERIFY(readListLine("; ぴるね ソフトリスト").comment);
    QCOMPARE(readListLine("; ぴるね ソフトリスト").name, std::string("; ぴるね ソフトリスト"));
    QVERIFY(readListLine("#0870ABC").comment);
    QVERIFY(!readListLine(":0870ABC").comment);
    QCOMPARE(*writeListLine(readListLine("; list")), std::string("; list"));
    std::vector<ListRow> sorted = {readListLine("0300C"), readListLine("; note"), readListLine("0100A"),
                                   readListLine("0200B")};
    sortRowsByCode(sorted);
    QCOMPARE(sorted, (std::vector<ListRow>{readListLine("0100A"), readListLine("; note"), readListLine("0200B"),
                                           readListLine("0300C")}));
    QCOMPARE(withBaseProgram("0870", "NEW", {"; head", ":0025OFF", "0100AAA"}),
             (std::vector<std::string>{"; head", "0870NEW", ":0025OFF", "0100AAA"}));
    QCOMPARE(withBaseProgram("0870", "NEW", {"; only"}), (std::vector<std::string>{"; only", "0870NEW"}));

    TestHome h;
    const fs::path p = listPath(h, "PIRUNE.LST");
    writeBytes(p, sjLines({"; ぴるね ソフトリスト（1番目が基準ソフト）", "0300CCC", "; 控え", "0100AAA"}));
    RecordingUi ui;
    ListEditorDialog w(h.session, ui);
    w.show();
    click(&w, "Command1_1");
    auto* grid = child<QTableWidget>(&w, "MSFlexGrid1");
    QCOMPARE(grid->rowCount(), 4);
    // Shown across the code and name columns, greyed; never the base program.
    QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("; ぴるね ソフトリスト（1番目が基準ソフト）"));
    QCOMPARE(grid->columnSpan(0, 2), 2);
    QVERIFY(grid->item(0, 2)->foreground().color() != grid->item(1, 2)->foreground().color());
    QCOMPARE(child<QLineEdit>(&w, "Text1")->text(), QStringLiteral("0300"));
    // Clicks neither mark nor edit it.
    w.clickCell(0, 1);
    w.clickCell(0, 2);
    QVERIFY(!child<QLineEdit>(&w, "txtCodeEdit")->isVisible());
    QCOMPARE(grid->item(0, 1)->text(), QString());
    click(&w, "Command7");
    click(&w, "Command2_0");
    QCOMPARE(readBytes(p), sjLines({"; ぴるね ソフトリスト（1番目が基準ソフト）", "0100AAA", "; 控え", "0300CCC"}));

    // The new base program goes before the first program line.
    click(&w, "Command1_1");
    type(&w, "Text1", "0870");
    type(&w, "Text2", "NEW");
    click(&w, "Command8");
    QCOMPARE(readBytes(p),
             sjLines({"; ぴるね ソフトリスト（1番目が基準ソフト）", "0870NEW", "0100AAA", "; 控え", "0300CCC"}));
    QCOMPARE(child<QLineEdit>(&w, "Text1")->text(), QStringLiteral("0870"));
    QVERIFY(ui.messages.empty());
  }

  // The sample day's lists keep their comment line through a save.
  void sampleListsKeepTheirComment() {
    for (const char* name : {"PIRUNE.LST", "TOLVSOFT.LST"}) {
      TestHome h;
      const char* source = std::getenv("TOLV_SOURCE_DIR");
      const fs::path sample = fs::path(source ? source : ".") / "examples" / "sample-day" / name;
      const std::string before = readBytes(sample);
      QVERIFY(!before.empty());
      writeBytes(listPath(h, name), before);
      RecordingUi ui;
      ListEditorDialog w(h.session, ui);
      w.show();
      click(&w, std::string(name) == "PIRUNE.LST" ? "Command1_1" : "Command1_0");
      click(&w, "Command2_0");
      // Empty lines are dropped as before; every other line is kept byte for byte.
      const auto keptLines = readListFile(sample);
      const auto afterLines = readListFile(listPath(h, name));
      QVERIFY(keptLines && afterLines);
      std::string kept, after;
      for (const auto& line : *keptLines) kept += line;
      for (const auto& line : *afterLines) after += line;
      QCOMPARE(after, kept);
      QVERIFY(readBytes(listPath(h, name)).rfind(";", 0) == 0);
    }
  }

  // Closing the editing panel gives the window back its smaller size.
  void closingThePanelShrinksTheWindow() {
    TestHome h;
    writeBytes(listPath(h, "TOLVSOFT.LST"), sjLines({"0025P_KOL"}));
    RecordingUi ui;
    ListEditorDialog w(h.session, ui);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const int narrow = w.width();
    click(&w, "Command1_0");
    QTRY_VERIFY(w.width() > narrow);
    click(&w, "Command2_2");
    QTRY_COMPARE(w.width(), narrow);
  }

  void missingOrEmptyListDoesNothing() {
    TestHome h;
    writeBytes(listPath(h, "EMPTY.LST"), sjLines({"", ""}));
    RecordingUi ui;
    ListEditorDialog w(h.session, ui);
    w.show();
    click(&w, "Command1_0");
    QVERIFY(w.editedPath().empty());
    QVERIFY(!child<QWidget>(&w, "Picture1")->isVisible());
    QVERIFY(ui.messages.empty());
  }
};

QTEST_MAIN(ListEditorDialogTest)
#include "list_editor_dialog_test.moc"
