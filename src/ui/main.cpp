// tolv: the desktop program.
//
//   tolv [--home DIR] [--date YYYYMMDD] [--save-chart FILE]
//
// --save-chart FILE saves the 成績分析 chart of the whole stored period as PNG
// and exits without a window (offscreen: QT_QPA_PLATFORM=offscreen).
//
// Home folder: --home DIR, else $TOLV_HOME, else $XDG_DATA_HOME/tolv
// (~/.local/share/tolv). TOLV_TODAY=YYYYMMDD replays a past day (the default
// processing day, the status bar's date and the pending-bet purge).

#include <QApplication>
#include <QCommandLineParser>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "collect/start.h"
#include "core/dates.h"
#include "core/startup.h"
#include "ui/common/qt_text.h"
#include "ui/history/track_record_window.h"
#include "ui/window/application.h"
#include "ui/window/main_window.h"

namespace {

using namespace tolv;

fs::path defaultHome() {
  if (const char* h = std::getenv("TOLV_HOME"); h && *h) return h;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return fs::path(x) / "tolv";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / ".local" / "share" / "tolv";
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::setUpApplication(app);

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("トルブ — the desktop program."));
  parser.addHelpOption();
  QCommandLineOption homeOption(QStringLiteral("home"),
                                QStringLiteral("The home folder (default: $TOLV_HOME, else $XDG_DATA_HOME/tolv)."),
                                QStringLiteral("DIR"));
  QCommandLineOption dateOption(QStringLiteral("date"), QStringLiteral("The processing day."),
                                QStringLiteral("YYYYMMDD"));
  QCommandLineOption chartOption(
      QStringLiteral("save-chart"),
      QStringLiteral("Save the track-record chart (成績分析: cumulative 回収率 of the whole stored period, 馬連, the top "
                     "programs by 回収率 and the backtest of the settings' odds and votes ranges) as a PNG FILE and "
                     "exit: 0 when written, 1 when there is no history."),
      QStringLiteral("FILE"));
  parser.addOption(homeOption);
  parser.addOption(dateOption);
  parser.addOption(chartOption);
  parser.process(app);

  std::optional<Date> day;
  if (parser.isSet(dateOption)) {
    day = parseYmd(ui::fromQ(parser.value(dateOption)));
    if (!day) {
      std::cerr << "tolv: --date takes a real date as YYYYMMDD, not \"" << ui::fromQ(parser.value(dateOption)) << "\"\n";
      return 2;
    }
  }
  std::string error;
  Date todayDate = today();
  if (const char* t = std::getenv("TOLV_TODAY"); t && *t) {
    auto d = parseYmd(t);
    if (!d) {
      std::cerr << "tolv: TOLV_TODAY takes a real date as YYYYMMDD, not \"" << t << "\"\n";
      return 2;
    }
    todayDate = *d;
  }

  const fs::path home = parser.isSet(homeOption) ? fs::path(ui::fromQ(parser.value(homeOption))) : defaultHome();
  if (parser.isSet(chartOption)) {
    // Only reads the home, so it runs beside an open window of the same home.
    auto session = startSession(home, todayDate, &error);
    if (!session) {
      std::cerr << "tolv: " << error << "\n";
      return 1;
    }
    if (!ui::saveTrackRecordChart(*session, fs::path(ui::fromQ(parser.value(chartOption))), &error)) {
      std::cerr << "tolv: " << error << "\n";
      return 1;
    }
    return 0;
  }
  std::error_code ec;
  fs::create_directories(home, ec);
  // A second instance on the same home ends at once, without a window.
  auto lock = InstanceLock::acquire(home, &error);
  if (!lock) {
    std::cerr << "tolv: " << home.string() << " is in use by another instance of トルブ\n";
    return 0;
  }
  auto session = startSession(home, todayDate, &error);
  if (!session) {
    std::cerr << "tolv: " << error << "\n";
    return 1;
  }
  if (day) session->setMeetingDate(toYmd(*day));

  ui::MainWindow window(*session, todayDate);
  window.show();
  return app.exec();
}
