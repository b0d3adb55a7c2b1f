#pragma once
// The text box of the viewers (`RichTextBox1`): plain text in a monospaced
// CJK font in which a full-width character is exactly two half-width columns,
// so the 76-byte lines of the listings line up. Text comes and goes as UTF-8
// with the file's CR LF line ends.

#include <QPlainTextEdit>
#include <string>

namespace tolv::ui {

// The viewers' font: Noto Sans Mono CJK JP (or the system's fixed font).
QFont viewerFont();

class TextViewer : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TextViewer(QWidget* parent = nullptr);
  // Shows the text of a file (its line ends kept as CR LF, LF or CR).
  void setFileText(const std::string& utf8);
  // The text with CR LF line ends, as it is saved.
  std::string fileText() const;
};

}  // namespace tolv::ui
