// The 成績分析 window on a small made-up history: three programs over two days
// of course 05, whose returns sort differently as numbers and as text.

#include <QChart>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QProcess>
#include <QImage>
#include <QLineSeries>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include "collect/list_rules.h"
#include "core/startup.h"
#include "history/history_fixture.h"
#include "ui/dialogs/dialog_test_util.h"
#include "ui/clipped_widgets.h"
#include "ui/history/track_record_window.h"

using namespace tolv;
using namespace tolv::ui;
using namespace tolv::ui::test;

namespace {

// Returns: A 1,300 + 10,000 = 11,300 of 300; B 900 of 300; C 0 of 300.
// As text "11,300" would sort between "0" and "900".
struct MadeUpHome {
  HistoryHome h;
  MadeUpHome() {
    h.writeDay("20260104",
               {{"0100", "0501", {"01-02"}},
                {"0200", "0501", {"05-06"}},
                {"0300", "0501", {"09-10"}},
                {"0100", "0502", {"03-04"}},
                {"0200", "0502", {"07-08"}},
                {"0300", "0502", {"11-12"}}},
               {{"0501", "01-02", 1300}, {"0502", "07-08", 900}});
    h.writeDay("20260105", {{"0100", "0501", {"01-03"}}, {"0200", "0501", {"02-03"}}, {"0300", "0501", {"04-05"}}},
               {{"0501", "01-03", 10000}});
    auto db = h.open();
    for (const char* d : {"20260104", "20260105"}) {
      if (h.import(*db, d) != StepResult::Done) qFatal("import of %s failed", d);
    }
    h.session.settings.oddsMin = "0";
    h.session.settings.oddsMax = "9999";
    h.session.settings.minW = "1";
    h.session.settings.maxW = "99";
  }
  std::unique_ptr<TrackRecordWindow> window() {
    std::string message;
    auto db = openTrackRecordDb(h.session, &message);
    if (!db) qFatal("%s", message.c_str());
    return std::make_unique<TrackRecordWindow>(h.session, h.ui, std::move(db));
  }
};

QStringList column(QWidget* w, FigureColumn c) {
  auto* model = qobject_cast<QStandardItemModel*>(child<QTableView>(w, "grdSeiseki")->model());
  QStringList out;
  for (int r = 0; r < model->rowCount(); ++r) out << model->item(r, static_cast<int>(c))->text();
  return out;
}

int programSeries(TrackRecordWindow& w) {
  // every program, the backtest and the break-even line
  return static_cast<int>(w.chart()->series().size()) - 2;
}

}  // namespace

class TrackRecordWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void cellsAndKeys() {
    ProgramFigures p;
    p.code = 42;
    p.name = "新星";
    p.picks = 3;
    p.hits = 1;
    p.stake = 300;
    p.payout = 11300;
    p.lastHit = "20260105";
    QCOMPARE(cellText(p, FigureColumn::Code), std::string("0042"));
    QCOMPARE(cellText(p, FigureColumn::Return), std::string("11,300"));
    QCOMPARE(cellText(p, FigureColumn::Roi), std::string("3766.67%"));
    QCOMPARE(cellText(p, FigureColumn::HitRate), std::string("33.33%"));
    QCOMPARE(cellText(p, FigureColumn::LastHit), std::string("2026/01/05"));
    QVERIFY(isNumericColumn(FigureColumn::Roi) && !isNumericColumn(FigureColumn::Name));
    // A program without stake sorts below one that returned nothing.
    ProgramFigures none;
    ProgramFigures zero;
    zero.stake = 100;
    QVERIFY(sortKey(none, FigureColumn::Roi).number < sortKey(zero, FigureColumn::Roi).number);
    QCOMPARE(cellText(none, FigureColumn::LastHit), std::string());
  }

  void backtestTakesTheMenuRanges() {
    Settings s;
    s.oddsMin = "5";
    s.oddsMax = "300";
    s.minW = "3";
    s.maxW = "";
    const BacktestQuery q = menuBacktestQuery(s, {"20260104", "20260105"}, HistoryBet::Wide);
    QCOMPARE(q.oddsMin, std::string("5"));
    QCOMPARE(q.oddsMax, std::string("300"));
    QCOMPARE(q.votesMin, std::string("3"));
    QCOMPARE(q.votesMax, BacktestQuery{}.votesMax);  // a blank box bounds nothing
    QCOMPARE(q.bet, HistoryBet::Wide);
    QCOMPARE(q.period.to, std::string("20260105"));
  }

  void opensOnTheStoredPeriodSortedByRoi() {
    MadeUpHome m;
    auto w = m.window();
    QCOMPARE(w->objectName(), QStringLiteral("frmSeiseki"));
    QCOMPARE(child<QDateEdit>(w.get(), "txtFrom")->date(), QDate(2026, 1, 4));
    QCOMPARE(child<QDateEdit>(w.get(), "txtTo")->date(), QDate(2026, 1, 5));
    QCOMPARE(column(w.get(), FigureColumn::Code), (QStringList{"0100", "0200", "0300"}));
    QCOMPARE(column(w.get(), FigureColumn::Return), (QStringList{"11,300", "900", "0"}));
    auto* model = child<QTableView>(w.get(), "grdSeiseki")->model();
    QCOMPARE(model->headerData(static_cast<int>(FigureColumn::Roi), Qt::Horizontal).toString(), QStringLiteral("回収率"));
    QCOMPARE(model->index(0, static_cast<int>(FigureColumn::Stake)).data(Qt::TextAlignmentRole).toInt() &
                 Qt::AlignRight,
             static_cast<int>(Qt::AlignRight));
    // The best programs open selected, each with its curve.
    QCOMPARE(w->selectedPrograms().size(), std::size_t(3));
    QCOMPARE(programSeries(*w), 3);
  }

  void sortsNumbersAsNumbers() {
    MadeUpHome m;
    auto w = m.window();
    auto* table = child<QTableView>(w.get(), "grdSeiseki");
    table->sortByColumn(static_cast<int>(FigureColumn::Return), Qt::AscendingOrder);
    QCOMPARE(column(w.get(), FigureColumn::Return), (QStringList{"0", "900", "11,300"}));
    table->sortByColumn(static_cast<int>(FigureColumn::Roi), Qt::AscendingOrder);
    QCOMPARE(column(w.get(), FigureColumn::Roi), (QStringList{"0.00%", "300.00%", "3766.67%"}));
    // A new period keeps the chosen order.
    child<QDateEdit>(w.get(), "txtTo")->setDate(QDate(2026, 1, 4));
    QCOMPARE(column(w.get(), FigureColumn::Return), (QStringList{"0", "900", "1,300"}));
    QCOMPARE(column(w.get(), FigureColumn::Picks), (QStringList{"2", "2", "2"}));
  }

  void selectionDrawsOneCurveEach() {
    MadeUpHome m;
    auto w = m.window();
    w->selectPrograms({100});
    QCOMPARE(programSeries(*w), 1);
    auto* a = qobject_cast<QLineSeries*>(w->chart()->series().front());
    QVERIFY(a);
    QCOMPARE(a->name(), QStringLiteral("0100 A"));
    QCOMPARE(a->count(), 2);
    QCOMPARE(a->at(0).y(), 650.0);              // 1,300 of 200
    QCOMPARE(a->at(1).y(), 100.0 * 11300 / 300);
    // The backtest comes after the programs, named with the menu's ranges.
    auto* backtest = qobject_cast<QLineSeries*>(w->chart()->series().at(1));
    QVERIFY(backtest->name().contains(QStringLiteral("ダブリ 1〜99")));
    w->selectPrograms({100, 300});
    QCOMPARE(programSeries(*w), 2);
    w->selectPrograms({});
    QCOMPARE(programSeries(*w), 0);
    // 枠連: nobody posted a bracket pick.
    child<QComboBox>(w.get(), "cboBet")->setCurrentIndex(2);
    QCOMPARE(column(w.get(), FigureColumn::Code), QStringList{});
    QVERIFY(!child<QPushButton>(w.get(), "cmdAdopt")->isEnabled());
  }

  void adoptWritesTheSelectedProgramsAsAList() {
    MadeUpHome m;
    auto w = m.window();
    w->selectPrograms({200, 100});
    QString asked;
    w->services.inputText = [&](QWidget*, const QString& prompt, const QString&) -> std::optional<QString> {
      asked = prompt;
      return QStringLiteral("BEST");
    };
    click(w.get(), "cmdAdopt");
    QVERIFY(asked.contains(QStringLiteral("2 本")));
    const fs::path list = fs::path(m.h.session.appFolder()) / "BEST.lst";
    const auto lines = readListFile(list);
    QVERIFY(lines);
    QCOMPARE(lines->size(), std::size_t(2));
    QCOMPARE(readListLine((*lines)[0]).code, std::string("0100"));  // the table's order
    QCOMPARE(readListLine((*lines)[1]).code, std::string("0200"));
    QCOMPARE(readListLine((*lines)[1]).mark, std::string(kAdoptedMark));

    // Again: replacing is asked; No leaves the list as it was.
    w->selectPrograms({300});
    m.h.ui.answers = {Answer::No};
    click(w.get(), "cmdAdopt");
    QCOMPARE(m.h.ui.questions.size(), std::size_t(1));
    QVERIFY(m.h.ui.questions[0].text.find("置き換えますか") != std::string::npos);
    QCOMPARE(readListFile(list)->size(), std::size_t(2));
    m.h.ui.answers = {Answer::Yes};
    click(w.get(), "cmdAdopt");
    QCOMPARE(readListFile(list)->size(), std::size_t(1));

    // Nothing selected: a message, no question.
    w->selectPrograms({});
    const auto before = m.h.ui.messages.size();
    click(w.get(), "cmdAdopt");
    QCOMPARE(m.h.ui.messages.size(), before + 1);
    QCOMPARE(m.h.ui.questions.size(), std::size_t(2));
  }

  void savesTheChartAsPng() {
    MadeUpHome m;
    auto w = m.window();
    w->resize(900, 700);
    const fs::path file = m.h.home() / "chart.png";
    w->chooseImageFile = [&](QWidget*, const QString& start) {
      if (!start.endsWith(QStringLiteral("seiseki-20260105.png"))) qWarning("start %s", qPrintable(start));
      return QString::fromStdString(file.string());
    };
    click(w.get(), "cmdSaveImage");
    QImage image(QString::fromStdString(file.string()));
    QVERIFY(!image.isNull());
    QVERIFY(image.width() > 100 && image.height() > 100);
    // Cancelled: nothing written.
    fs::remove(file);
    w->chooseImageFile = [](QWidget*, const QString&) { return QString(); };
    click(w.get(), "cmdSaveImage");
    QVERIFY(!fs::exists(file));
  }

  void saveChartOptionOfTheProgram() {
    // The program beside the tests in the build tree.
    const QString program = QCoreApplication::applicationDirPath() + "/../../src/ui/tolv";
    if (!QFileInfo(program).isExecutable()) QSKIP("tolv is not built");
    auto run = [&](const fs::path& home, const fs::path& file, QString* err) {
      QProcess p;
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert("QT_QPA_PLATFORM", "offscreen");
      p.setProcessEnvironment(env);
      p.start(program, {"--home", QString::fromStdString(home.string()), "--date", "20260105", "--save-chart",
                        QString::fromStdString(file.string())});
      if (!p.waitForFinished(30000)) return -1;
      *err = QString::fromUtf8(p.readAllStandardError());
      return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    QString err;
    TestHome empty("20260104");
    QCOMPARE(run(empty.home(), empty.home() / "c.png", &err), 1);
    QVERIFY(err.contains(QStringLiteral("history import")));
    QVERIFY(!fs::exists(empty.home() / "c.png"));

    // Beside an open window of the same home too: it only reads.
    MadeUpHome m;
    std::string error;
    auto lock = InstanceLock::acquire(m.h.home(), &error);
    QVERIFY(lock);
    QCOMPARE(run(m.h.home(), m.h.home() / "c.png", &err), 0);
    QVERIFY(!QImage(QString::fromStdString((m.h.home() / "c.png").string())).isNull());
  }

  void missingHistoryIsToldNotShown() {
    TestHome home("20260104");
    RecordingUi ui;
    openTrackRecordWindow(home.session, ui, nullptr);
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QVERIFY(ui.messages[0].text.find("tolv-cli history import") != std::string::npos);
    QVERIFY(ui.messages[0].text.find("history.sqlite") != std::string::npos);
    QCOMPARE(ui.messages[0].title, std::string(kTrackRecordTitle));
    std::string error;
    QVERIFY(!saveTrackRecordChart(home.session, home.home() / "x.png", &error));
    QVERIFY(error.find("tolv-cli history import") != std::string::npos);
    QVERIFY(!fs::exists(home.home() / "x.png"));

    // A database that holds no day yet is told the same way.
    std::string openError;
    QVERIFY(HistoryDb::open(historyDbPath(home.session), HistoryDb::Mode::ReadWrite, &openError));
    openTrackRecordWindow(home.session, ui, nullptr);
    QCOMPARE(ui.messages.size(), std::size_t(2));
    QVERIFY(ui.messages[1].text.find("開催日がありません") != std::string::npos);
  }

  void escapeCloses() {
    MadeUpHome m;
    auto w = m.window();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // It opens whole on a small screen, nothing cut.
    const QString problems = tolv::ui::test::fitProblems(w.get());
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());
  }
};

QTEST_MAIN(TrackRecordWindowTest)
#include "track_record_window_test.moc"
