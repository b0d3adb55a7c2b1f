#include "ui/dialogs/launchers.h"

#include "bets/bet_export.h"
#include "bets/bet_summary.h"
#include "odds/odds_status.h"
#include "ui/common/qt_text.h"
#include "ui/dialogs/bakenjuku_export_dialog.h"
#include "ui/dialogs/kol_odds_converter_dialog.h"
#include "ui/dialogs/pending_bet_viewer.h"
#include "ui/dialogs/list_editor_dialog.h"
#include "ui/dialogs/odds_status_dialog.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/dialogs/pad_settings_dialog.h"
#include "ui/dialogs/batch_window.h"

// The folder browser and the log-file chooser live in pickers.cpp.

namespace tolv::ui {

namespace {
const char* kErrorTitle = "【トルブ】エラーメッセージ";

// The batch window, the list editor and the PAD settings open right of the
// execution menu (frmMenu), level with its top.
void placeBesideExecutionMenu(QWidget& window, QWidget* parent) {
  if (!parent) return;
  const QWidget* menu = parent->window()->findChild<QWidget*>(QStringLiteral("frmMenu"));
  if (!menu || !menu->isVisible()) return;
  window.move(menu->mapToGlobal(QPoint(menu->width(), 0)));
}

}  // namespace

void openSettingsDialog(Session& session, UserInterface& ui, QWidget* parent) {
  SettingsDialog window(session, ui, parent);
  window.exec();
}

void openListEditor(Session& session, UserInterface& ui, QWidget* parent) {
  ListEditorDialog window(session, ui, parent);
  placeBesideExecutionMenu(window, parent);
  window.exec();
}

bool openBatchWindow(Session& session, UserInterface& ui, QWidget* parent) {
  // A window of its own rather than a dialog of the main window: window
  // managers minimise a window's dialogs with it, and the batch window (its
  // countdown and キャンセル) stays on screen while the main window is
  // minimised for a reserved start.
  BatchWindow window(session, ui, nullptr);
  window.setMainWindow(parent ? parent->window() : nullptr);
  placeBesideExecutionMenu(window, parent);
  window.exec();
  return window.closeProgram();
}

void openPadSettings(Session& session, UserInterface& ui, QWidget* parent) {
  PadSettingsDialog window(session, ui, parent);
  placeBesideExecutionMenu(window, parent);
  window.exec();
}

void openOddsConversion(Session& session, UserInterface& ui, OddsConversion kind, QWidget* parent) {
  const bool kol = kind == OddsConversion::Kol95 || kind == OddsConversion::Kol98;
  const OddsConversionSource source = kol ? OddsConversionSource::Kol : OddsConversionSource::Csv;
  const PatQuinellaLayout layout =
      (kind == OddsConversion::Kol95 || kind == OddsConversion::Csv95) ? PatQuinellaLayout::Pat95 : PatQuinellaLayout::Pat98;
  const DialogServices services = DialogServices::standard(toQ(session.appFolder()));
  const QString chosen = chooseOddsSourceFile(session, services, source, parent);
  if (chosen.isEmpty()) return;
  const fs::path input(fromQ(chosen));
  // An archive without predicted odds never opens the window.
  if (kol && !CheckKolArchive(session, ui, input)) return;
  KolOddsConverterDialog window(session, ui, source, layout, input, parent);
  window.exec();
}

void openOddsStatus(Session& session, UserInterface& ui, QWidget* parent) {
  OddsStatusGrid grid;
  {
    BusyScope busy(ui);
    if (showOddsStatus(session, ui, grid) != StepResult::Done) return;
  }
  OddsStatusDialog window(grid, parent);
  window.exec();
}

void openBakenjukuWindow(Session& session, UserInterface& ui, QWidget* parent) {
  std::optional<BakenjukuSheet> sheet;
  {
    BusyScope busy(ui);
    sheet = openBakenjuku(session, ui);
  }
  if (!sheet) return;
  BakenjukuExportDialog window(session, ui, std::move(*sheet), parent);
  window.exec();
}

void openPendingBetSummary(Session& session, UserInterface& ui, QWidget* parent) {
  PendingBetSummary summary;
  {
    BusyScope busy(ui);
    if (SummarisePendingBets(session, ui, summary) != StepResult::Done) return;
  }
  PendingBetViewer window(summary, parent);
  window.exec();
}

void saveDefaultsCommand(Session& session, UserInterface& ui, QWidget*) {
  std::string error;
  if (!saveDefaults(session.settings, session.defaultsPath(), &error)) {
    ui.inform("デフォルトの設定を記録できません：" + session.defaultsPath().string() + "\r\n" + error, kErrorTitle,
              Icon::Critical);
  }
}

void restoreDefaultsCommand(Session& session, UserInterface& ui, QWidget*) {
  std::string error;
  if (!restoreDefaults(session.settings, session.defaultsPath(), session.iniFilePath(), session.settingsFolders(),
                       &error)) {
    ui.inform("デフォルトの設定を呼び出せません：" + session.iniFilePath().string() + "\r\n" + error, kErrorTitle,
              Icon::Critical);
  }
}

}  // namespace tolv::ui
