#include "ui/dialogs/launchers.h"

#include <QFileDialog>

// Placeholders until the dialogs are built; the main window can already call
// every one of them.

namespace tolv::ui {

void openSettingsDialog(Session&, UserInterface&, QWidget*) {}
void openListEditor(Session&, UserInterface&, QWidget*) {}
bool openBatchWindow(Session&, UserInterface&, QWidget*) { return false; }
void openPadSettings(Session&, UserInterface&, QWidget*) {}
void openOddsConversion(Session&, UserInterface&, OddsConversion, QWidget*) {}
void openOddsStatus(Session&, UserInterface&, QWidget*) {}
void openBakenjukuWindow(Session&, UserInterface&, QWidget*) {}
void openPendingBetSummary(Session&, UserInterface&, QWidget*) {}
void saveDefaultsCommand(Session&, UserInterface&, QWidget*) {}
void restoreDefaultsCommand(Session&, UserInterface&, QWidget*) {}

QString browseForFolder(QWidget* parent, const QString& start) {
  QString folder = QFileDialog::getExistingDirectory(parent, QStringLiteral("フォルダを選択して下さい。"), start);
  if (folder.isEmpty()) return {};
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

QString chooseLogFile(QWidget* parent, const QString& current) {
  const QString file = QFileDialog::getOpenFileName(parent, {}, current.trimmed());
  return file.isEmpty() ? current.trimmed() : file;
}

}  // namespace tolv::ui
