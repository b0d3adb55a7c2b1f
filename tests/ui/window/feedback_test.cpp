// The desktop program as a user meets it: exact captions, Qt's own dialogs
// in Japanese, the help menu opening the HTML guide, the status bar saying
// what each step did, a readable progress window whose bar moves while the
// picks are counted, and the windows that open beside the execution menu.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "aggregate/tolv_creation.h"
#include "collect/extraction.h"
#include "support/test_support.h"
#include "ui/common/qt_text.h"
#include "ui/window/application.h"
#include "ui/window/execution_menu.h"
#include "ui/window/help.h"
#include "ui/window/main_window.h"
#include "ui/window/progress_window.h"
#include "ui/window/window_test_support.h"

using namespace tolv;
using namespace tolv::testing;
using namespace tolv::ui;

namespace {

// WCAG contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b) {
  auto luminance = [](const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double x = luminance(a), y = luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// A front end without a program to open files with.
struct NoOpenerUi : RecordingUi {
  bool openWithShell(const std::string& path) override {
    opened.push_back(path);
    return false;
  }
};

// Notes where the next modal window opens, then closes it.
struct ModalPlace {
  QPoint at;
  QString name;
  void arm() {
    QTimer::singleShot(0, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      at = modal->pos();
      name = modal->objectName();
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
  }
};

}  // namespace

class FeedbackTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { setUpApplication(*static_cast<QApplication*>(QCoreApplication::instance())); }

  void captionsAndQtsOwnTextsAreJapanese() {
    // No display name: Qt would add " — トルブ" to every caption.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QVERIFY(buttons.button(QDialogButtonBox::Open)->text().startsWith(QStringLiteral("開く")));
    QFileDialog chooser;
    chooser.setOption(QFileDialog::DontUseNativeDialog, true);
    auto* lookIn = chooser.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    QVERIFY(lookIn);
    QVERIFY2(!lookIn->text().contains(QStringLiteral("Look")), qPrintable(lookIn->text()));
    QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
             QStringLiteral("フォルダ"));
  }

  void helpOpensTheHtmlGuide() {
    EmptyHome home;
    RecordingUi ui;
    MainWindow window(home.s(), *parseYmd("20020512"), &ui);
    trigger(&window, "mnuHlp");
    QCOMPARE(ui.opened.size(), std::size_t(1));
    // The tests run from the build tree: the guide built beside them.
    const fs::path opened(ui.opened[0]);
    QCOMPARE(opened.filename().string(), std::string("user-guide.html"));
    QCOMPARE(opened.parent_path().filename().string(), std::string("html"));
    QVERIFY(fs::is_regular_file(opened));
    QVERIFY(fs::is_regular_file(opened.parent_path() / "screenshots" / "main-window.png"));
    const std::string page = readBytes(opened);
    QVERIFY(page.find("<meta charset=\"utf-8\">") != std::string::npos);
    QVERIFY(page.find("src=\"screenshots/main-window.png\"") != std::string::npos);
    QVERIFY(page.find("id=\"english-summary\"") != std::string::npos);
    QVERIFY(ui.messages.empty());

    // Installed under a prefix, the copy beside the program comes first.
    QTemporaryDir prefix;
    const fs::path bin = fs::path(prefix.path().toStdString()) / "bin";
    const fs::path installed = fs::path(prefix.path().toStdString()) / "share/doc/tolv/html/user-guide.html";
    QCOMPARE(userGuideCandidates(bin).front(), installed);
    QCOMPARE(findUserGuide(bin), opened);
    writeBytes(installed, "<html></html>");
    QCOMPARE(findUserGuide(bin), installed);

    // A desktop without a program for HTML: the guide in the program's own
    // window, pictures and all.
    NoOpenerUi noBrowser;
    MainWindow second(home.s(), *parseYmd("20020512"), &noBrowser);
    trigger(&second, "mnuHlp");
    QVERIFY(noBrowser.messages.empty());
    QWidget* guideWindow = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QStringLiteral("frmHelp") && w->isVisible()) guideWindow = w;
    }
    QVERIFY(guideWindow);
    auto* browser = guideWindow->findChild<QTextBrowser*>(QStringLiteral("txtHelp"));
    QVERIFY(browser);
    QCOMPARE(fs::path(fromQ(browser->source().toLocalFile())), opened);
    QCOMPARE(guideWindow->windowTitle(), QStringLiteral("トルブ 利用の手引き"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("開催日の流れ")));
    guideWindow->close();

    // No guide anywhere: the message names where it was looked for first.
    RecordingUi missing;
    const std::vector<fs::path> nowhere = {fs::path(prefix.path().toStdString()) / "none/user-guide.html"};
    QCOMPARE(openUserGuide(missing, nowhere, nullptr), GuideShown::Missing);
    QCOMPARE(missing.messages.size(), std::size_t(1));
    QCOMPARE(missing.messages[0].text, "ヘルプファイル「" + nowhere[0].string() + "」を開けません！");
    QCOMPARE(missing.messages[0].title, std::string("【トルブ】エラーメッセージ"));
    QVERIFY(missing.opened.empty());
  }

  void statusBarSaysWhatEachStepDid() {
    SampleHome sample;
    RecordingUi ui;
    MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
    window.show();
    QLabel* step = window.stepPanel();
    QVERIFY(step->text().isEmpty());

    ExtractionWindow* extraction = window.openExtraction();
    QVERIFY(extraction);
    QCOMPARE(extraction->start(), StepResult::Done);
    QCOMPARE(step->text(), QStringLiteral("ログ読込み：101 件の予想（1192 行）を 20261206.DAT に切り出しました"));

    click(window.executionMenu(), "cmdTolv");
    QCOMPARE(step->text(), QStringLiteral("トルブ作成：3 開催のトルブファイルとテキスト 3 件を書きました"));
    click(window.executionMenu(), "cmdWars");
    QCOMPARE(step->text(), QStringLiteral("WARS形式出力：Tolv_WARS20261206_7777.TXT を書きました"));
    click(window.executionMenu(), "cmdTekityu");
    QVERIFY2(step->text().startsWith(QStringLiteral("的中判定：")) && step->text().contains(QStringLiteral("的中")),
             qPrintable(step->text()));
    QVERIFY(!step->text().contains(QStringLiteral("的中 0 件")));
    trigger(&window, "mnuPirune");
    QVERIFY2(step->text().startsWith(QStringLiteral("ぴるね作成：")) && step->text().contains(QStringLiteral("HT20261206")),
             qPrintable(step->text()));
    // A step that stops says so; its message box has said why.
    sample.s().settings.oddsSource = "3";
    click(window.executionMenu(), "cmdTekityu");
    QCOMPARE(step->text(), QStringLiteral("的中判定：中止しました"));
  }

  void progressIsReadableAndMovesWhileCounting() {
    SampleHome sample;
    RecordingUi core;
    QCOMPARE(startExtraction(sample.s(), core, extractionFormFromSettings(sample.s().settings)), StepResult::Done);
    RecordingUi ui;
    QCOMPARE(aggregatePicks(sample.s(), ui), StepResult::Done);
    QCOMPARE(ui.captions.front(), std::string("各ソフトの予想を集約中！…"));
    // Between 0 % and 100 % while the picks are counted.
    QVERIFY(std::any_of(ui.percents.begin(), ui.percents.end(), [](int p) { return p > 0 && p < 100; }));

    // The panel over the mid-grey client area: its text stands out.
    MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
    window.show();
    ProgressWindow* progress = window.progressWindow();
    progress->begin(QStringLiteral("各ソフトの予想を集約中！…"), QColor(0, 0, 255));
    auto* caption = progress->findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(caption);
    const QColor back = progress->palette().color(QPalette::Window);
    const QColor text = caption->palette().color(QPalette::WindowText);
    QVERIFY2(contrast(back, text) >= 7.0, qPrintable(back.name() + " / " + text.name()));
    QVERIFY(back != window.clientArea()->palette().color(QPalette::Window));
    progress->end();
  }

  void dialogsOpenBesideTheExecutionMenu() {
    SampleHome sample;
    RecordingUi ui;
    MainWindow window(sample.s(), *parseYmd(kSampleDay), &ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ExecutionMenu* menu = window.executionMenu();
    const QPoint beside = menu->mapToGlobal(QPoint(menu->width(), 0));
    const std::pair<const char*, const char*> commands[] = {
        {"mnuIkkatu", "frmYoyaku"}, {"mnuSoftList", "frmListHensyu"}, {"mnuStaffSettei", "frmStaff"}};
    for (const auto& [action, form] : commands) {
      ModalPlace place;
      place.arm();
      trigger(&window, action);
      QCOMPARE(place.name, QString::fromLatin1(form));
      QCOMPARE(place.at, beside);
    }
    // The forum-odds conversion is offered whatever the odds source.
    sample.s().settings.oddsSource = "1";
    QVERIFY(window.findChild<QAction*>(QStringLiteral("mnuWarsOdds"))->isEnabled());
  }
};

QTEST_MAIN(FeedbackTest)
#include "feedback_test.moc"
