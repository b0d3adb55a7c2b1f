#pragma once
// `MainWindow`, the main window: the menus from which every function is reached,
// the execution menu at the left, the progress window along the bottom, one
// view (grid, listing viewer or file viewer) at a time right of the execution
// menu, and the status bar.

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "core/dates.h"
#include "core/session.h"
#include "core/ui.h"
#include "ui/window/extraction_window.h"
#include "ui/window/result_grid_window.h"
#include "ui/window/listing_viewer.h"
#include "ui/window/wars_viewer.h"

class QLabel;
class QMenu;

namespace tolv::ui {

class ExecutionMenu;
class ProgressWindow;

// Status bar panel 1: "【トルブ】for Win Ver" + major + "." + minor as two
// digits + "." + revision, followed by the build details ("Ver4.16.1 (git 4f90451)").
QString versionPanelText();
// Panel 3: "yyyy年mm月dd日(曜)".
QString todayPanelText(const Date& today);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `ui` null: the window's own message boxes and progress window. Tests pass
  // a recording interface.
  MainWindow(Session& session, const Date& today, UserInterface* ui = nullptr, QWidget* parent = nullptr);
  ~MainWindow() override;

  Session& session() { return session_; }
  UserInterface& userInterface() { return *ui_; }
  ExecutionMenu* executionMenu() const { return menu_; }
  ProgressWindow* progressWindow() const { return progress_; }
  QWidget* clientArea() const { return client_; }
  QMenu* viewMenu() const { return viewMenu_; }
  ResultGridWindow* gridView() const { return grid_; }
  ListingViewer* listingView() const { return listing_; }
  WarsViewer* fileView() const { return file_; }
  ExtractionWindow* extractionWindow() const { return extraction_; }
  // The view shown now (null when none).
  QWidget* activeView() const;
  QLabel* statusPanel(int n) const { return panels_[n - 1]; }
  // The status bar's last panel: what the last step did.
  QLabel* stepPanel() const { return stepPanel_; }

 public slots:
  // Shows in the status bar what a step did.
  void reportStep(const QString& text);
  // ファイル
  ExtractionWindow* openExtraction();
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
  WarsViewer* ensureFileView();
  ListingViewer* ensureListingView();
  bool showFile(int kind, bool allowSend);
  // After a command that rewrote files: the shown file viewer and listing
  // load theirs again, the grid too when Tolv files changed.
  void refreshViews(bool tolvFiles);
  // The day in the execution menu's boxes is no longer the one the views
  // were loaded for: they are closed.
  void closeViewsOfOtherDay();
  void noteViewDay();
  bool takeDate();
  bool prepare();

  Session& session_;
  std::unique_ptr<UserInterface> ownUi_;
  UserInterface* ui_;
  QWidget* client_;
  ExecutionMenu* menu_;
  ProgressWindow* progress_;
  QPointer<ResultGridWindow> grid_;
  QPointer<ListingViewer> listing_;
  QPointer<WarsViewer> file_;
  QPointer<ExtractionWindow> extraction_;
  QMenu* viewMenu_ = nullptr;
  QLabel* panels_[4] = {};
  QLabel* stepPanel_ = nullptr;
  bool closing_ = false;
  std::string viewDay_;  // the processing day of the open views
};

}  // namespace tolv::ui
