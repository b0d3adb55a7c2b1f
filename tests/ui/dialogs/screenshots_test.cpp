// Offscreen pictures of the settings dialog, the list editor and the batch
// window on the sample day's home. With TOLV_SCREENSHOT_DIR set they are
// saved there (settings.png, list-editor.png, batch.png); otherwise the test
// only checks that each window renders.

#include <QImage>
#include <QTabWidget>
#include <QTest>

#include "dialog_test_util.h"
#include "ui/dialogs/list_editor_dialog.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/dialogs/batch_window.h"

using namespace tolv;
using namespace tolv::ui;
using namespace tolv::ui::test;

namespace {

// The sample day's settings and lists in a scratch home.
struct SampleHome {
  TempDir dir;
  std::optional<Session> session;
  SampleHome() {
    const char* source = std::getenv("TOLV_SOURCE_DIR");
    const fs::path sample = fs::path(source ? source : ".") / "examples" / "sample-day";
    for (const char* name : {"TOLV.INI", "TOLVSOFT.LST", "PIRUNE.LST"}) fs::copy_file(sample / name, dir / name);
    session = Session::create(dir.path());
    session->setDefaultsPath(dir / "defaults.ini");
    session->setMeetingDate("20261206");
    session->loadSettings();
    // Show the folders as they read in a user's home rather than a scratch one.
    const std::string scratch = session->appFolder();
    Settings& s = session->settings;
    for (std::string* f : {&s.cutFileFolder, &s.denFileFolder, &s.patFolderConfigured, &s.patBetFolder,
                           &s.betAutoFolder, &s.pendingBetFolder, &s.wars.outFolder, &s.pirune.outFolder}) {
      if (f->rfind(scratch, 0) == 0) *f = "~/.local/share/tolv/" + f->substr(scratch.size());
    }
  }
};

void save(QWidget& w, const char* name) {
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  const QImage image = w.grab().toImage();
  QVERIFY(!image.isNull());
  QVERIFY(image.width() > 100 && image.height() > 100);
  const QByteArray dir = qgetenv("TOLV_SCREENSHOT_DIR");
  if (!dir.isEmpty()) QVERIFY(image.save(QString::fromUtf8(dir) + "/" + name));
}

}  // namespace

class ScreenshotsTest : public QObject {
  Q_OBJECT
 private slots:
  void settingsDialog() {
    SampleHome h;
    RecordingUi ui;
    SettingsDialog w(*h.session, ui);
    child<QTabWidget>(&w, "tbsOptions")->setCurrentIndex(4);
    w.resize(560, 520);
    save(w, "settings.png");
  }

  void listEditor() {
    SampleHome h;
    RecordingUi ui;
    ListEditorDialog w(*h.session, ui);
    w.resize(820, 560);
    w.editList(1);
    w.clickCell(1, 3);
    save(w, "list-editor.png");
  }

  void batchWindow() {
    SampleHome h;
    RecordingUi ui;
    BatchWindow w(*h.session, ui);
    click(&w, "Option1_1");
    w.resize(360, w.sizeHint().height());
    save(w, "batch.png");
  }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_test.moc"
