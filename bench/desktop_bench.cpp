// The desktop program against tolv-cli: every long step run through the
// desktop's own windows (offscreen), with its progress window, event loop
// and all, and the same step run as a tolv-cli command on the same home;
// prints the time of each and their ratio (the aim: at most 1.2).
//
//   tolv-desktop-bench TOLV_CLI HOME YYYYMMDD [RUNS]
//
// HOME is a prepared race day (bench/desktop_bench.sh makes one). Each step
// runs RUNS times (default 3), the command first, then the window; the best
// time of each counts. Questions get the answers tolv-cli is given (OK where
// the command has --answer ok, else the cautious one); messages are counted,
// not shown.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "collect/start.h"
#include "core/dates.h"
#include "output/pirune_output.h"
#include "output/race_day.h"
#include "ui/dialogs/batch_window.h"
#include "ui/window/execution_menu.h"
#include "ui/window/extraction_window.h"
#include "ui/window/main_window.h"
#include "ui/window/progress_window.h"
#include "ui/window/qt_user_interface.h"

using namespace tolv;
using namespace tolv::ui;

namespace {

// The desktop's interface with its progress window, minus the message boxes.
class BenchUi : public QtUserInterface {
 public:
  using QtUserInterface::QtUserInterface;
  void inform(std::string_view, std::string_view, Icon) override { ++messages; }
  Answer ask(std::string_view, std::string_view, Buttons buttons, Answer) override {
    ++messages;
    switch (buttons) {
      case Buttons::Ok:
      case Buttons::OkCancel:
        return Answer::Ok;
      case Buttons::YesNo:
        return Answer::No;
      case Buttons::YesNoCancel:
        return Answer::Cancel;
      case Buttons::OverwriteAppendCancel:
        return Answer::Abort;
    }
    return Answer::Cancel;
  }
  int messages = 0;
};

struct Step {
  const char* name;
  QStringList cliArguments;
  std::function<void(MainWindow&, Session&, UserInterface&)> desktop;
};

double seconds(const std::function<void()>& f) {
  QElapsedTimer t;
  t.start();
  f();
  return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
    std::fprintf(stderr, "usage: tolv-desktop-bench TOLV_CLI HOME YYYYMMDD [RUNS]\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform's notes ("does not support propagateSizeHints")
  // would bury the table.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
  });
  QApplication app(argc, argv);
  const QString cli = QString::fromLocal8Bit(argv[1]);
  const std::string home = argv[2];
  const std::string day = argv[3];
  const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
  const auto today = parseYmd(day);
  if (!today) {
    std::fprintf(stderr, "tolv-desktop-bench: %s is no date\n", day.c_str());
    return 2;
  }
  std::string error;
  std::optional<Session> session = startSession(fs::path(home), *today, &error);
  if (!session) {
    std::fprintf(stderr, "tolv-desktop-bench: %s\n", error.c_str());
    return 2;
  }

  MainWindow window(*session, *today);
  BenchUi ui(&window, window.progressWindow());
  // The window's own interface answers with message boxes; the steps below
  // are driven with the same progress window through BenchUi.
  window.show();

  const std::vector<Step> steps = {
      {"extract", {"extract"},
       [](MainWindow& w, Session& s, UserInterface& u) {
         ExtractionWindow extraction(s, u, nullptr, &w);
         extraction.show();
         extraction.start();
       }},
      {"create", {"create"},
       [](MainWindow& w, Session& s, UserInterface& u) {
         BusyScope busy(u);
         if (w.executionMenu()->prepare()) tolv::createTolv(s, u);
       }},
      {"odds", {"odds"},
       [](MainWindow& w, Session& s, UserInterface& u) {
         BusyScope busy(u);
         if (w.executionMenu()->prepare()) tolv::reloadOdds(s, u);
       }},
      {"pirune", {"pirune"},
       [](MainWindow& w, Session& s, UserInterface& u) {
         BusyScope busy(u);
         if (w.executionMenu()->prepare()) tolv::createPirune(s, u);
       }},
      {"batch", {"--answer", "ok", "batch"},
       [](MainWindow& w, Session& s, UserInterface& u) {
         BatchWindow batch(s, u, &w);
         batch.show();
         batch.start(false);
       }},
  };

  std::map<std::string, double> cliBest, desktopBest;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TOLV_TODAY", QString::fromStdString(day));
  for (int run = 1; run <= runs; ++run) {
    std::fprintf(stderr, "Run %d of %d ...\n", run, runs);
    for (const Step& step : steps) {
      QStringList args = {"--quiet", "--home", QString::fromStdString(home), "--date", QString::fromStdString(day)};
      args += step.cliArguments;
      QProcess process;
      process.setProcessEnvironment(env);
      process.setStandardOutputFile(QProcess::nullDevice());
      process.setStandardErrorFile(QProcess::nullDevice());
      const double c = seconds([&] {
        process.start(cli, args);
        process.waitForFinished(-1);
      });
      if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "tolv-desktop-bench: tolv-cli %s failed\n", step.name);
        return 1;
      }
      const double d = seconds([&] { step.desktop(window, *session, ui); });
      if (!cliBest.count(step.name) || c < cliBest[step.name]) cliBest[step.name] = c;
      if (!desktopBest.count(step.name) || d < desktopBest[step.name]) desktopBest[step.name] = d;
    }
  }

  std::printf("\nDesktop program against tolv-cli, day %s; best of %d (tolv-cli's time includes its start)\n\n",
              day.c_str(), runs);
  std::printf("%-10s %12s %12s %8s\n", "step", "tolv-cli s", "desktop s", "ratio");
  bool within = true;
  for (const Step& step : steps) {
    const double c = cliBest[step.name], d = desktopBest[step.name];
    const double ratio = c > 0 ? d / c : 0;
    within = within && ratio <= 1.2;
    std::printf("%-10s %12.3f %12.3f %8.2f\n", step.name, c, d, ratio);
  }
  std::printf("\n%s\n", within ? "every step within 1.2x of tolv-cli" : "some step above 1.2x of tolv-cli");
  return 0;
}
