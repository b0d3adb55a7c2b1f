#pragma once
// A check for every window of the desktop program: no label, button, check
// box, radio button or spin box narrower or lower than its text needs, and
// no window larger than a 1024×768 screen.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QWidget>
#include <algorithm>

namespace tolv::ui::test {

inline QString describe(const QWidget* w) {
  QString name = w->objectName();
  if (name.isEmpty()) name = QString::fromLatin1(w->metaObject()->className());
  return name;
}

// The shown child widgets of `window` whose text does not fit, one line each
// ("Label1_1 "…": 120x14 < 300x17").
inline QStringList clippedWidgets(const QWidget* window) {
  QStringList out;
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || w->window() != window) continue;
    QSize need;
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
      text = label->text();
      if (text.isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText) continue;
      need = label->sizeHint();
    } else if (const auto* check = qobject_cast<const QCheckBox*>(w)) {
      text = check->text();
      need = check->sizeHint();
    } else if (const auto* radio = qobject_cast<const QRadioButton*>(w)) {
      text = radio->text();
      need = radio->sizeHint();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
      text = button->text();
      if (text.isEmpty()) continue;
      // The button's size hint: its text with the style's margins. A short
      // caption's hint is the style's minimum width, which it does not need:
      // then its text with a little room on each side.
      QString shown = text;
      shown.remove(QLatin1Char('&'));
      const QFontMetrics fm(button->font());
      const int textNeeds = fm.horizontalAdvance(shown) + 8 + (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
      need = QSize(std::max(textNeeds, button->sizeHint().width() > 80 ? button->sizeHint().width() : 0), fm.height() + 2);
    } else if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(w)) {
      text = spin->text();
      need = spin->minimumSizeHint();
    } else {
      continue;
    }
    if (w->width() < need.width() || w->height() < need.height()) {
      out << QStringLiteral("%1 \"%2\": %3x%4 < %5x%6")
                 .arg(describe(w), text.left(30))
                 .arg(w->width())
                 .arg(w->height())
                 .arg(need.width())
                 .arg(need.height());
    }
  }
  return out;
}

// The window's own problems as one text for QVERIFY2: its clipped widgets,
// and a size beyond 1024×768.
inline QString fitProblems(const QWidget* window) {
  QStringList problems = clippedWidgets(window);
  const QSize frame = window->frameGeometry().size();
  if (frame.width() > 1024 || frame.height() > 768) {
    problems << QStringLiteral("%1 is %2x%3, larger than 1024x768").arg(describe(window)).arg(frame.width()).arg(frame.height());
  }
  return problems.join(QStringLiteral("; "));
}

}  // namespace tolv::ui::test
