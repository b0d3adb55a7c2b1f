#pragma once
// Shared by the window tests: a scratch copy of the sample race day as a home
// folder, and small ways to find and press the controls a user would.

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <optional>
#include <string>

#include "collect/extraction.h"
#include "collect/start.h"
#include "core/dates.h"
#include "core/files.h"
#include "core/session.h"
#include "output/race_day.h"
#include "support/test_support.h"

namespace tolv::testing {

inline constexpr const char* kSampleDay = "20261206";

inline fs::path sourceDir() {
  const char* s = std::getenv("TOLV_SOURCE_DIR");
  return fs::path(s && *s ? s : ".");
}

inline fs::path sampleDayDir() { return sourceDir() / "examples" / "sample-day"; }

// A home folder holding the sample day's inputs (without its expected outputs).
struct SampleHome {
  QTemporaryDir dir;
  fs::path home;
  std::optional<Session> session;

  SampleHome() : home(dir.path().toStdString()) {
    fs::copy(sampleDayDir(), home, fs::copy_options::recursive);
    fs::remove_all(home / "expected");
    fs::remove(home / "README.md");
    std::string error;
    session = startSession(home, *parseYmd(kSampleDay), &error);
    if (session) session->setDefaultsPath(home / "defaults.ini");
  }
  Session& s() { return *session; }
};

// A fresh home without any input (for the days without files).
struct EmptyHome {
  QTemporaryDir dir;
  fs::path home;
  std::optional<Session> session;
  explicit EmptyHome(const char* today = "20020512") : home(dir.path().toStdString()) {
    session = startSession(home, *parseYmd(today), nullptr);
    if (session) session->setDefaultsPath(home / "defaults.ini");
  }
  Session& s() { return *session; }
};

template <typename T = QWidget>
T* child(QObject* parent, const char* name) {
  return parent->findChild<T*>(QString::fromLatin1(name));
}

// The sample day with its logs read and Tolv created through the core.
inline void prepareSampleDay(SampleHome& sample) {
  RecordingUi ui;
  QCOMPARE(startExtraction(sample.s(), ui, extractionFormFromSettings(sample.s().settings)), StepResult::Done);
  QCOMPARE(tolv::createTolv(sample.s(), ui), StepResult::Done);
}

inline void click(QObject* parent, const char* name) {
  auto* b = child<QAbstractButton>(parent, name);
  QVERIFY2(b, name);
  QVERIFY2(b->isEnabled(), name);
  QTest::mouseClick(b, Qt::LeftButton);
}

// Chooses the menu command `name` as a click on it does (it must be enabled).
inline void trigger(QObject* window, const char* name) {
  auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
  QVERIFY2(action, name);
  QVERIFY2(action->isEnabled(), name);
  action->trigger();
}

inline void typeInto(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

}  // namespace tolv::testing
