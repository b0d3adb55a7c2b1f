#pragma once
// Small helpers shared by the dialog tests.

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "core/profile.h"
#include "support/test_support.h"

namespace tolv::ui::test {

// The shared helpers (TestHome, RecordingUi, sjLines, ...) come with these.
using namespace tolv::testing;

template <typename T = QWidget>
T* child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(QString::fromUtf8(name));
  if (!c) qFatal("no control %s", name);
  return c;
}

// Presses a button as a click on it does (nothing when it is disabled).
inline void click(QWidget* w, const char* name) { child<QAbstractButton>(w, name)->click(); }

inline void type(QWidget* w, const char* name, const QString& text) {
  auto* e = child<QLineEdit>(w, name);
  e->clear();
  // Key clicks carry ASCII only; other text is inserted as typing would.
  bool ascii = true;
  for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
  if (ascii) QTest::keyClicks(e, text);
  else if (e->isEnabled()) e->insert(text);
}

inline std::string ini(const Session& s, const char* section, const char* key) {
  return readProfileString(s.iniFilePath(), section, key);
}

}  // namespace tolv::ui::test
