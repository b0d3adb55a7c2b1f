#include "ui/dialogs/pickers.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>

#include "ui/dialogs/dialog_services.h"
#include "ui/dialogs/launchers.h"

namespace tolv::ui {

QStringList logFileFilters() {
  return {QStringLiteral("すべてのファイル (*.*)"), QStringLiteral("テキスト ファイル (*.TXT)"),
          QStringLiteral("ログ ファイル (*.LOG)")};
}

QString logFileStartFolder(const QString& current) {
  const QString text = current.trimmed();
  if (text.isEmpty()) return {};
  const QFileInfo info(text);
  QString folder = text;
  if (info.isFile()) folder = info.absolutePath();
  // A box naming a file that does not exist opens without an initial folder.
  if (!QFileInfo(folder).isDir()) return {};
  return folder;
}

QString folderWithSlash(const QString& folder) {
  if (folder.isEmpty() || folder.endsWith('/')) return folder;
  return folder + '/';
}

QString browseForFolder(QWidget* parent, const QString& start) {
  // Qt's own dialogs throughout: they carry Qt's Japanese translation.
  const QString folder = QFileDialog::getExistingDirectory(parent, QStringLiteral("フォルダを選択して下さい。"), start,
                                                           QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  return folderWithSlash(folder);
}

QString chooseLogFile(QWidget* parent, const QString& current) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::ReadOnly, true);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  const QStringList filters = logFileFilters();
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.at(kLogFileSelectedFilter));
  const QString start = logFileStartFolder(current);
  if (!start.isEmpty()) dialog.setDirectory(start);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return current.trimmed();
  return dialog.selectedFiles().constFirst();
}

DialogServices DialogServices::standard() {
  DialogServices s;
  s.browseFolder = [](QWidget* parent, const QString& start) { return tolv::ui::browseForFolder(parent, start); };
  s.chooseLogFile = [](QWidget* parent, const QString& current) { return tolv::ui::chooseLogFile(parent, current); };
  s.inputText = [](QWidget* parent, const QString& prompt, const QString& title) -> std::optional<QString> {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, {}, &ok);
    if (!ok) return std::nullopt;
    return text;
  };
  s.openFile = [](QWidget* parent, const QStringList& filters, const QString& folder) {
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.constFirst());
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
  };
  return s;
}

}  // namespace tolv::ui
