#pragma once
// The choosers and input boxes a dialog opens. Every dialog holds its own
// copy, filled with the real Qt dialogs; tests replace them so that no native
// dialog has to be driven.
//
// Control arrays of the windows are named with their index after an
// underscore: Text1(0) is the object "Text1_0", Option3(2) "Option3_2".

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;
class QLineEdit;

namespace tolv::ui {

struct DialogServices {
  // The folder browser: the chosen folder ending in "/", or "" when cancelled.
  std::function<QString(QWidget* parent, const QString& start)> browseFolder;
  // The log-file chooser: the chosen file, or `current` trimmed when cancelled.
  std::function<QString(QWidget* parent, const QString& current)> chooseLogFile;
  // An input box: the text typed, or nullopt when cancelled.
  std::function<std::optional<QString>(QWidget* parent, const QString& prompt, const QString& title)> inputText;
  // An open-file dialog with its filters (the first selected), starting in
  // `folder`: the chosen file, or "" when cancelled.
  std::function<QString(QWidget* parent, const QStringList& filters, const QString& folder)> openFile;
  // The folder window over `target` (fills the box on confirmation); when
  // empty the caller opens frmFOLDER itself.
  std::function<void(QWidget* parent, QLineEdit* target)> folderWindow;

  // The real dialogs; relative paths in the boxes are taken from `home`
  // (chooserStartFolder).
  static DialogServices standard(const QString& home = {});
};

}  // namespace tolv::ui
