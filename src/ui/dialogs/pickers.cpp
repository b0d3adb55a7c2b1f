#include "ui/dialogs/pickers.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>

#include "core/files.h"
#include "ui/common/qt_text.h"
#include "ui/dialogs/dialog_services.h"
#include "ui/dialogs/launchers.h"

namespace tolv::ui {

QStringList logFileFilters() {
  return {QStringLiteral("すべてのファイル (*.*)"), QStringLiteral("テキスト ファイル (*.TXT)"),
          QStringLiteral("ログ ファイル (*.LOG)")};
}

QString chooserStartFolder(const QString& boxText, const QString& home) {
  QString text = boxText.trimmed();
  text.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!text.isEmpty()) {
    fs::path p(fromQ(text));
    if (p.is_relative() && !home.isEmpty()) p = fs::path(fromQ(home)) / p;
    p = p.lexically_normal();
    if (!p.has_filename() && p.has_parent_path()) p = p.parent_path();  // "OutPut/"
    p = resolveCaseless(p);
    if (isDirectory(p)) return toQ(p.string());
    const fs::path folder = p.parent_path();
    if (!folder.empty() && isDirectory(folder)) return toQ(folder.string());
  }
  return home;
}

QString folderWithSlash(const QString& folder) {
  if (folder.isEmpty() || folder.endsWith('/')) return folder;
  return folder + '/';
}

QString browseForFolder(QWidget* parent, const QString& start, const QString& home) {
  // Qt's own dialogs throughout: they carry Qt's Japanese translation.
  const QString folder = QFileDialog::getExistingDirectory(parent, QStringLiteral("フォルダを選択して下さい。"),
                                                           chooserStartFolder(start, home),
                                                           QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  return folderWithSlash(folder);
}

QString chooseLogFile(QWidget* parent, const QString& current, const QString& home) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::ReadOnly, true);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  const QStringList filters = logFileFilters();
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.at(kLogFileSelectedFilter));
  const QString start = chooserStartFolder(current, home);
  if (!start.isEmpty()) dialog.setDirectory(start);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return current.trimmed();
  return dialog.selectedFiles().constFirst();
}

DialogServices DialogServices::standard(const QString& home) {
  DialogServices s;
  s.browseFolder = [home](QWidget* parent, const QString& start) {
    return tolv::ui::browseForFolder(parent, start, home);
  };
  s.chooseLogFile = [home](QWidget* parent, const QString& current) {
    return tolv::ui::chooseLogFile(parent, current, home);
  };
  s.inputText = [](QWidget* parent, const QString& prompt, const QString& title) -> std::optional<QString> {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, {}, &ok);
    if (!ok) return std::nullopt;
    return text;
  };
  s.openFile = [home](QWidget* parent, const QStringList& filters, const QString& folder) {
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.constFirst());
    const QString start = chooserStartFolder(folder, home);
    if (!start.isEmpty()) dialog.setDirectory(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
  };
  return s;
}

}  // namespace tolv::ui
