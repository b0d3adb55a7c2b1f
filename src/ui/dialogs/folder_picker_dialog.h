#pragma once
// frmFOLDER "フォルダの参照": the program's own folder window. It fills a
// target box with the folder confirmed (without a trailing "/"), and reports
// an empty or missing folder without closing.

#include <QDialog>

#include "core/ui.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace tolv::ui {

inline constexpr const char* kFolderEmptyMessage = "フォルダ名が記載されていません。やり直してください。";
inline constexpr const char* kFolderMissingMessage = "記載したフォルダは存在しません！ 設定し直してください。";

class FolderPickerDialog : public QDialog {
  Q_OBJECT
 public:
  // Starts in the box's trimmed folder, or `appFolder` when it is empty or
  // does not exist.
  FolderPickerDialog(UserInterface& ui, QLineEdit* target, const QString& appFolder, QWidget* parent = nullptr);

  // The folder the lists show.
  QString currentFolder() const { return current_; }
  void showFolder(const QString& folder);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void confirm();
  void fillDrives();

  UserInterface& ui_;
  QLineEdit* target_;
  QString appFolder_;
  QString current_;
  QComboBox* drives_;
  QListWidget* dirs_;
  QLineEdit* text_;
};

}  // namespace tolv::ui
