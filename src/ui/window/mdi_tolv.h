#pragma once
// `MDITolv`, the main window: the menus from which every function is reached,
// the execution menu at the left, the progress window along the bottom, one
// view (grid, listing viewer or file viewer) at a time right of the execution
// menu, and the status bar.

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "core/dates.h"
#include "core/session.h"
#include "core/ui.h"
#include "ui/window/frm_kiridasi.h"
#include "ui/window/frm_tolv_hyouji.h"
#include "ui/window/frm_txt_hyouji.h"
#include "ui/window/frm_wars_hyouji.h"

class QLabel;
class QMenu;

namespace tolv::ui {

class FrmMenu;
class FrmProgres;

// Status bar panel 1: "【トルブ】for Win Ver" + major + "." + minor as two
// digits + "." + revision, followed by the build details ("Ver4.16.1 (git 4f90451)").
QString versionPanelText();
// Panel 3: "yyyy年mm月dd日(曜)".
QString todayPanelText(const Date& today);

class MDITolv : public QMainWindow {
  Q_OBJECT
 public:
  // `ui` null: the window's own message boxes and progress window. Tests pass
  // a recording interface.
  MDITolv(Session& session, const Date& today, UserInterface* ui = nullptr, QWidget* parent = nullptr);
  ~MDITolv() override;

  Session& session() { return session_; }
  UserInterface& userInterface() { return *ui_; }
  FrmMenu* executionMenu() const { return menu_; }
  FrmProgres* progressWindow() const { return progress_; }
  QWidget* clientArea() const { return client_; }
  QMenu* viewMenu() const { return viewMenu_; }
  FrmTolvHyouji* gridView() const { return grid_; }
  FrmTxtHyouji* listingView() const { return listing_; }
  FrmWarsHyouji* fileView() const { return file_; }
  FrmKiridasi* extractionWindow() const { return extraction_; }
  // The view shown now (null when none).
  QWidget* activeView() const;
  QLabel* statusPanel(int n) const { return panels_[n - 1]; }

 public slots:
  // ファイル
  FrmKiridasi* openExtraction();
  void createTolv();
  void createPirune();
  void convertForumOdds();
  void showOddsStatus();
  // 表示
  bool showGrid();
  bool showListing();
  bool showTolvWars();
  bool showPiruneText();
  bool showPiruneWars();
  // 保留ＢＥＴ操作
  bool showPendingBets();
  void mergeBets();
  void removeDuplicateBets();
  void sortBets();
  void showBetSummary();
  void exportPatBet();
  void exportBetAuto();
  void exportBakenjuku();
  // オプション
  void openOptions();
  void saveDefaults();
  void restoreDefaults();
  void openListEditor();
  // 一括処理, その他, ヘルプ, PAD
  void openBatch();
  void showHelp();
  void openPadSettings();
  void makePad();
  // The execution menu's own buttons.
  void reloadOdds();
  void rebuildListing();
  void outputWars();
  void checkHits();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus(const Date& today);
  void buildStatusBar(const Date& today);
  void layoutClient();
  void placeView(QWidget* view);
  void showOnly(QWidget* view);
  FrmWarsHyouji* ensureFileView();
  FrmTxtHyouji* ensureListingView();
  bool showFile(int kind, bool allowSend);
  void refreshCommands();
  bool takeDate();
  bool prepare();

  Session& session_;
  std::unique_ptr<UserInterface> ownUi_;
  UserInterface* ui_;
  QWidget* client_;
  FrmMenu* menu_;
  FrmProgres* progress_;
  QPointer<FrmTolvHyouji> grid_;
  QPointer<FrmTxtHyouji> listing_;
  QPointer<FrmWarsHyouji> file_;
  QPointer<FrmKiridasi> extraction_;
  QMenu* viewMenu_ = nullptr;
  QAction* forumOdds_ = nullptr;
  QLabel* panels_[4] = {};
  bool closing_ = false;
};

}  // namespace tolv::ui
