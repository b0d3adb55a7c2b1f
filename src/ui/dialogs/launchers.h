#pragma once
// How the main window opens the dialogs. Each function shows its window over
// `parent` and returns when the window has closed; the steps they run report
// through `ui`.

#include <QString>

#include "core/session.h"
#include "core/ui.h"

class QWidget;

namespace tolv::ui {

// "各種環境の設定" and the execution menu's "環境設定": the settings dialog.
void openSettingsDialog(Session& session, UserInterface& ui, QWidget* parent);
// "ソフトリストの変更・編集": the software list editor.
void openListEditor(Session& session, UserInterface& ui, QWidget* parent);
// "一括処理": the batch window. True when the program is to close afterwards
// (自動終了 after a successful run).
bool openBatchWindow(Session& session, UserInterface& ui, QWidget* parent);
// The PAD menu's "設定": the PAD settings window.
void openPadSettings(Session& session, UserInterface& ui, QWidget* parent);

enum class OddsConversion { Kol98, Kol95, Csv98, Csv95 };
// "その他の機能": KOL predicted odds and TARGET CSV odds to PAT files.
void openOddsConversion(Session& session, UserInterface& ui, OddsConversion kind, QWidget* parent);
// "オッズの取得状況" and the execution menu's "オッズ取得状況": the odds status
// window for the configured odds source (the processing day already taken).
void openOddsStatus(Session& session, UserInterface& ui, QWidget* parent);
// "「馬券塾投票」形式で出力": the 馬券塾 window.
void openBakenjukuWindow(Session& session, UserInterface& ui, QWidget* parent);
// "保留ＢＥＴの金額・BET数表示": the pending-bet summary window.
void openPendingBetSummary(Session& session, UserInterface& ui, QWidget* parent);
// "この設定をデフォルトとして記録する" and "デフォルトの設定を呼び出す".
void saveDefaultsCommand(Session& session, UserInterface& ui, QWidget* parent);
void restoreDefaultsCommand(Session& session, UserInterface& ui, QWidget* parent);

// The folder browser: the chosen folder ending in "/", or "" when cancelled.
// Both choosers open where chooserStartFolder(box text, home) says.
QString browseForFolder(QWidget* parent, const QString& start, const QString& home);
// The log-file chooser: the chosen file, or `current` trimmed when cancelled.
QString chooseLogFile(QWidget* parent, const QString& current, const QString& home);

}  // namespace tolv::ui
