#include "ui/window/text_viewer.h"

#include <QFontDatabase>

#include "ui/common/qt_text.h"

namespace tolv::ui {

QFont viewerFont() {
  static const char* const kFamilies[] = {"Noto Sans Mono CJK JP", "Noto Sans Mono CJK SC", "Noto Sans Mono CJK TC"};
  for (const char* family : kFamilies) {
    if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
      QFont f(QString::fromLatin1(family), 10);
      f.setStyleHint(QFont::Monospace);
      f.setFixedPitch(true);
      return f;
    }
  }
  QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  f.setPointSize(10);
  return f;
}

TextViewer::TextViewer(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("RichTextBox1");
  setFont(viewerFont());
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
}

void TextViewer::setFileText(const std::string& utf8) {
  QString text = toQ(utf8);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  setPlainText(text);
}

std::string TextViewer::fileText() const {
  QString text = toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return fromQ(text);
}

}  // namespace tolv::ui
