#include "ui/window/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <cstdio>
#include <cstdlib>

#include "bets/bet_export.h"
#include "bets/bet_maintenance.h"
#include "core/startup.h"
#include "core/text.h"
#include "odds/forum_odds.h"
#include "output/pad_file.h"
#include "output/pirune_output.h"
#include "output/race_day.h"
#include "output/output_range.h"
#include "output/race_results.h"
#include "output/viewers.h"
#include "tolv/build_info.h"
#include "ui/common/qt_text.h"
#include "ui/dialogs/launchers.h"
#include "ui/history/track_record_window.h"
#include "ui/window/extraction_window.h"
#include "ui/window/execution_menu.h"
#include "ui/window/help.h"
#include "ui/window/progress_window.h"
#include "ui/window/result_grid_window.h"
#include "ui/window/listing_viewer.h"
#include "ui/window/wars_viewer.h"
#include "ui/window/qt_user_interface.h"
#include "ui/window/text_viewer.h"

namespace tolv::ui {

QString versionPanelText() { return toQ("【トルブ】for Win Ver" + withBuildDetails(versionText())); }

QString todayPanelText(const Date& today) {
  const std::string ymd = toYmd(today);
  return toQ(ymd.substr(0, 4) + "年" + ymd.substr(4, 2) + "月" + ymd.substr(6, 2) + "日(" + weekdayKanji(ymd) + ")");
}

namespace {

QString userName() {
  for (const char* var : {"USER", "LOGNAME"}) {
    if (const char* v = std::getenv(var); v && *v) return QString::fromLocal8Bit(v);
  }
  return {};
}

// The client area: it tells the main window when it changes size and when it
// is clicked where no window lies.
class ClientArea : public QWidget {
 public:
  explicit ClientArea(QWidget* parent) : QWidget(parent) {
    setObjectName("ClientArea");
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(p);
  }
};

}  // namespace

MainWindow::MainWindow(Session& session, const Date& today, UserInterface* ui, QWidget* parent)
    : QMainWindow(parent), session_(session) {
  setObjectName("MainWindow");
  setWindowTitle(QStringLiteral("【トルブ】 for FHwars Room11 Members"));
  client_ = new ClientArea(this);
  client_->installEventFilter(this);
  setCentralWidget(client_);
  progress_ = new ProgressWindow(client_);
  if (ui) {
    ui_ = ui;
  } else {
    ownUi_ = std::make_unique<QtUserInterface>(this, progress_);
    ui_ = ownUi_.get();
  }
  menu_ = new ExecutionMenu(session_, *ui_, client_);

  connect(menu_, &ExecutionMenu::logsRequested, this, [this] { openExtraction(); });
  connect(menu_, &ExecutionMenu::tolvRequested, this, &MainWindow::createTolv);
  connect(menu_, &ExecutionMenu::piruneRequested, this, &MainWindow::createPirune);
  connect(menu_, &ExecutionMenu::settingsRequested, this, &MainWindow::openOptions);
  connect(menu_, &ExecutionMenu::endRequested, this, &QWidget::close);
  connect(menu_, &ExecutionMenu::oddsReloadRequested, this, &MainWindow::reloadOdds);
  connect(menu_, &ExecutionMenu::rebuildRequested, this, &MainWindow::rebuildListing);
  connect(menu_, &ExecutionMenu::warsRequested, this, &MainWindow::outputWars);
  connect(menu_, &ExecutionMenu::oddsStatusRequested, this, &MainWindow::showOddsStatus);
  connect(menu_, &ExecutionMenu::hitsRequested, this, &MainWindow::checkHits);

  for (SpinBox* box : {menu_->yearBox(), menu_->monthBox(), menu_->dayBox()}) {
    connect(box->edit(), &QLineEdit::textChanged, this, &MainWindow::closeViewsOfOtherDay);
  }

  buildMenus(today);
  buildStatusBar(today);
  // With its frame and title bar it fits a 1024×768 screen.
  resize(1016, 712);
  layoutClient();
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------------------
// Menus and status bar

namespace {

QAction* addItem(QMenu* menu, const char* name, const char* caption) {
  QAction* a = menu->addAction(QString::fromUtf8(caption));
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

void addLine(QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(QString::fromLatin1(name)); }

QMenu* addMenu(QMenuBar* bar, const char* name, const char* caption) {
  QMenu* m = bar->addMenu(QString::fromUtf8(caption));
  m->setObjectName(QString::fromLatin1(name));
  m->menuAction()->setObjectName(QString::fromLatin1(name));
  return m;
}

}  // namespace

void MainWindow::buildMenus(const Date&) {
  QMenuBar* bar = menuBar();

  QMenu* file = addMenu(bar, "MnuFile", "ファイル(&F)");
  connect(addItem(file, "MnuKiridasi", "ログファイルの読み込み(&C)"), &QAction::triggered, this, [this] { openExtraction(); });
  addLine(file, "mnuLine10");
  connect(addItem(file, "mnuTolv", "「トルブ」の作成(&W)"), &QAction::triggered, this, &MainWindow::createTolv);
  connect(addItem(file, "mnuPirune", "「ぴるね」の作成(&H)"), &QAction::triggered, this, &MainWindow::createPirune);
  addLine(file, "mnuLine21");
  // Offered whatever the odds source (the batch window keeps its own rule).
  connect(addItem(file, "mnuWarsOdds", "FHwarsオッズの変換(&Q)"), &QAction::triggered, this,
          &MainWindow::convertForumOdds);
  addLine(file, "mnuLine11");
  connect(addItem(file, "mnuOddsItiran", "オッズの取得状況(&O)"), &QAction::triggered, this, &MainWindow::showOddsStatus);
  addLine(file, "mnuLine1");
  connect(addItem(file, "mnuEnd", "終了(&X)"), &QAction::triggered, this, &QWidget::close);

  viewMenu_ = addMenu(bar, "mnuHyouji", "表示(&V)");
  connect(addItem(viewMenu_, "mnuTolvItiran", "開催別【トルブ】の一覧表表示(&V)"), &QAction::triggered, this,
          [this] { showGrid(); });
  connect(addItem(viewMenu_, "mnuTolvTXT", "開催別【トルブ】のテキスト表示(&T)"), &QAction::triggered, this,
          [this] { showListing(); });
  connect(addItem(viewMenu_, "mnuTolvWarsVew", "WARS形式の【トルブ】を表示(&W)"), &QAction::triggered, this,
          [this] { showTolvWars(); });
  addLine(viewMenu_, "mnuLine8");
  connect(addItem(viewMenu_, "mnuPiruTXT", "【ぴるね】のテキスト表示"), &QAction::triggered, this,
          [this] { showPiruneText(); });
  connect(addItem(viewMenu_, "mnuPiruWarsVew", "WARS形式の【ぴるね】を表示"), &QAction::triggered, this,
          [this] { showPiruneWars(); });

  QMenu* bets = addMenu(bar, "mnuH_BET", "保留ＢＥＴ操作(&B)");
  connect(addItem(bets, "mnuHoBetEdit", "保留ＢＥＴファイルの閲覧・修正(&E)"), &QAction::triggered, this,
          [this] { showPendingBets(); });
  connect(addItem(bets, "mnuHoBetTougou", "保留ＢＥＴの重複買い目を統合(&T)"), &QAction::triggered, this,
          &MainWindow::mergeBets);
  connect(addItem(bets, "mnuHoBetSakujo", "保留ＢＥＴの重複買い目を削除(&D)"), &QAction::triggered, this,
          &MainWindow::removeDuplicateBets);
  connect(addItem(bets, "mnuHoBetSort", "保留ＢＥＴのソート(&S)"), &QAction::triggered, this, &MainWindow::sortBets);
  addLine(bets, "mnuLine5");
  connect(addItem(bets, "mnuHoBetVew", "保留ＢＥＴの金額・BET数表示(&V)"), &QAction::triggered, this,
          &MainWindow::showBetSummary);
  addLine(bets, "mnuLine6");
  connect(addItem(bets, "mnuHoBetPatBetOut", "「パッとベッと」形式で出力(&P)"), &QAction::triggered, this,
          &MainWindow::exportPatBet);
  connect(addItem(bets, "mnuHoBetBetAutoOut", "「Bet Auto」形式で出力(&B)"), &QAction::triggered, this,
          &MainWindow::exportBetAuto);
  addLine(bets, "mnuLine7");
  connect(addItem(bets, "mnuHoBetBakenjukuOut", "「馬券塾投票」形式で出力(&K)"), &QAction::triggered, this,
          &MainWindow::exportBakenjuku);

  QMenu* options = addMenu(bar, "mnuOptions", "オプション(&O)");
  connect(addItem(options, "mnuOpt", "各種環境の設定(&O)"), &QAction::triggered, this, &MainWindow::openOptions);
  addLine(options, "mnuLine3");
  connect(addItem(options, "mnuDefoWrite", "この設定をデフォルトとして記録する(&W)"), &QAction::triggered, this,
          &MainWindow::saveDefaults);
  connect(addItem(options, "mnuDefoRead", "デフォルトの設定を呼び出す(&R)"), &QAction::triggered, this,
          &MainWindow::restoreDefaults);
  addLine(options, "line21");
  connect(addItem(options, "mnuSoftList", "ソフトリストの変更・編集(&L)"), &QAction::triggered, this,
          &MainWindow::openListEditor);

  QAction* batch = bar->addAction(QStringLiteral("一括処理(&A)"));
  batch->setObjectName("mnuIkkatu");
  connect(batch, &QAction::triggered, this, &MainWindow::openBatch);

  QMenu* other = addMenu(bar, "mnuSonota", "その他の機能");
  struct Conversion {
    const char* name;
    const char* caption;
    OddsConversion kind;
  };
  const Conversion conversions[] = {
      {"mnuKolOdds98", "KOL予想オッズをＰＡＴ９８形式に変換", OddsConversion::Kol98},
      {"mnuKolOdds95", "KOL予想オッズをＰＡＴ９５形式に変換", OddsConversion::Kol95},
      {nullptr, nullptr, OddsConversion::Kol95},
      {"mnuCsvTo98", "「TARGET」CSVｵｯｽﾞをPAT98形式に変換", OddsConversion::Csv98},
      {"mnuCsvTo95", "「TARGET」CSVｵｯｽﾞをPAT95形式に変換", OddsConversion::Csv95},
  };
  for (const auto& c : conversions) {
    if (!c.name) {
      addLine(other, "mnuLine12");
      continue;
    }
    const OddsConversion kind = c.kind;
    connect(addItem(other, c.name, c.caption), &QAction::triggered, this, [this, kind] {
      if (!takeDate()) return;
      openOddsConversion(session_, *ui_, kind, this);
    });
  }
  addLine(other, "mnuLine13");
  connect(addItem(other, "mnuSeiseki", "成績分析"), &QAction::triggered, this,
          [this] {
            // The backtest curve follows the ranges the menu's boxes hold now.
            menu_->takeRanges();
            openTrackRecordWindow(session_, *ui_, this);
          });

  QMenu* help = addMenu(bar, "mnuHelp", "ヘルプ(&H)");
  connect(addItem(help, "mnuHlp", "トピックの検索(&H)"), &QAction::triggered, this, &MainWindow::showHelp);

  QMenu* pad = addMenu(bar, "mnuStaf", "PAD(&P)");
  connect(addItem(pad, "mnuStaffSettei", "設定(&O)"), &QAction::triggered, this, &MainWindow::openPadSettings);
  addLine(pad, "mnuLine22");
  connect(addItem(pad, "mnuMakePAD", "PAD作成(&E)"), &QAction::triggered, this, &MainWindow::makePad);
}

void MainWindow::buildStatusBar(const Date& today) {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  const QString texts[4] = {versionPanelText(), QStringLiteral("User：") + userName(), todayPanelText(today),
                            QStringLiteral("ｶﾚﾝﾄﾌｫﾙﾀﾞ：") + toQ(session_.appFolder())};
  for (int i = 0; i < 4; ++i) {
    panels_[i] = new QLabel(texts[i], bar);
    panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
    panels_[i]->setFrameShape(QFrame::Panel);
    panels_[i]->setFrameShadow(QFrame::Sunken);
    bar->addWidget(panels_[i], i == 3 ? 1 : 0);
  }
  stepPanel_ = new QLabel(bar);
  stepPanel_->setObjectName(QStringLiteral("Panel5"));
  stepPanel_->setFrameShape(QFrame::Panel);
  stepPanel_->setFrameShadow(QFrame::Sunken);
  bar->addPermanentWidget(stepPanel_);
}

void MainWindow::reportStep(const QString& text) { stepPanel_->setText(text); }

namespace {

QString fileName(const fs::path& path) { return toQ(path.filename().string()); }

// "トルブ作成：…" after a step that ran to its end; after one that stopped,
// that it stopped (its message box has said why).
QString stepText(const char* step, StepResult r, const QString& done) {
  const QString name = QString::fromUtf8(step);
  switch (r) {
    case StepResult::Done:
      return name + QStringLiteral("：") + done;
    case StepResult::Failed:
      return name + QStringLiteral("：中止しました");
    case StepResult::Cancelled:
      break;
  }
  return name + QStringLiteral("：取り消しました");
}

QString listingsText(const RaceDayOutputs& out) {
  return QStringLiteral("テキスト %1 件を書きました").arg(out.listings.size());
}

}  // namespace

// ---------------------------------------------------------------------------
// Layout of the client area

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_) {
    switch (event->type()) {
      case QEvent::Resize:
        layoutClient();
        break;
      case QEvent::MouseButtonDblClick:
        showListing();
        return true;
      case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
          viewMenu_->popup(mouse->globalPosition().toPoint());
          return true;
        }
        break;
      }
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::layoutClient() {
  const int w = client_->width(), h = client_->height();
  menu_->setGeometry(0, 0, ExecutionMenu::kWidth, h);
  const int ph = progress_->height();
  QRect bar = progress_->geometry();
  if (h > 0) bar.moveTop(h - ph);
  bar.moveLeft(ExecutionMenu::kWidth);
  if (w > 0) bar.setWidth(std::max(w - ExecutionMenu::kWidth, 0));
  bar.setHeight(ph);
  progress_->setGeometry(bar);
  progress_->hide();
  // The grid and the file viewer follow; the listing keeps the size it opened with.
  for (QWidget* view : {static_cast<QWidget*>(grid_.data()), static_cast<QWidget*>(file_.data())}) {
    if (view && view->isVisible()) placeView(view);
  }
}

void MainWindow::placeView(QWidget* view) {
  const int w = client_->width() - ExecutionMenu::kWidth;
  QRect r(ExecutionMenu::kWidth, 0, view->width(), client_->height());
  if (w > 0) r.setWidth(w);
  view->setGeometry(r);
}

void MainWindow::showOnly(QWidget* view) {
  for (QWidget* other : {static_cast<QWidget*>(grid_.data()), static_cast<QWidget*>(listing_.data()),
                         static_cast<QWidget*>(file_.data())}) {
    if (other && other != view) other->hide();
  }
  placeView(view);
  view->show();
  view->raise();
  progress_->raise();
}

QWidget* MainWindow::activeView() const {
  for (QWidget* view : {static_cast<QWidget*>(grid_.data()), static_cast<QWidget*>(listing_.data()),
                        static_cast<QWidget*>(file_.data())}) {
    if (view && view->isVisible()) return view;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Preparing a step

bool MainWindow::takeDate() { return menu_->takeMeetingDate(); }
bool MainWindow::prepare() { return menu_->prepare(); }

// ---------------------------------------------------------------------------
// ファイル

ExtractionWindow* MainWindow::openExtraction() {
  if (extraction_) {
    extraction_->raise();
    extraction_->activateWindow();
    return extraction_;
  }
  // The day is taken from the boxes before the window opens.
  if (!takeDate()) return nullptr;
  auto* window = new ExtractionWindow(session_, *ui_, nullptr, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowModality(Qt::ApplicationModal);
  extraction_ = window;
  connect(window, &ExtractionWindow::extracted, this, &MainWindow::reportStep);
  window->show();
  // A batch run reads the logs by itself.
  if (session_.batchRunning != 0) window->start();
  return window;
}

void MainWindow::createTolv() {
  if (!prepare()) return;
  StepResult r;
  RaceDayOutputs out;
  {
    BusyScope busy(*ui_);
    r = tolv::createTolv(session_, *ui_, &out);
  }
  reportStep(stepText("トルブ作成", r,
                      QStringLiteral("%1 開催のトルブファイルと").arg(session_.courseCount) + listingsText(out)));
  // A stopped odds import has shown its message; the listing is there all the same.
  if (r == StepResult::Done || !out.listings.empty()) showListing();
}

void MainWindow::createPirune() {
  if (!prepare()) return;
  StepResult r;
  std::vector<fs::path> written;
  {
    BusyScope busy(*ui_);
    r = tolv::createPirune(session_, *ui_, &written);
  }
  QStringList names;
  for (const auto& p : written) names << fileName(p);
  reportStep(stepText("ぴるね作成", r, QStringLiteral("%1 を書きました").arg(names.join(QStringLiteral("、")))));
  if (r == StepResult::Done) showPiruneText();
}

void MainWindow::convertForumOdds() {
  if (!takeDate()) return;
  BusyScope busy(*ui_);
  ForumOddsStats stats;
  const StepResult r = tolv::convertForumOdds(session_, *ui_, &stats);
  reportStep(stepText("FHwarsオッズの変換", r,
                      QStringLiteral("%1 レースのオッズファイル %2 件を書きました").arg(stats.races).arg(stats.files.size())));
}

void MainWindow::showOddsStatus() {
  if (!menu_->takeMeetingDate(false)) {
    ui_->inform("処理日付が特定できません！　作者までご連絡ください<m(__)m>。");
    return;
  }
  openOddsStatus(session_, *ui_, this);
}

// ---------------------------------------------------------------------------
// 表示

bool MainWindow::showGrid() {
  if (!takeDate()) return false;
  if (gridCourseCodes(session_).empty()) {
    ui_->inform("指定された日付のデータファイルが見つかりません！");
    return false;
  }
  BusyScope busy(*ui_);
  if (!grid_) {
    grid_ = new ResultGridWindow(session_, *ui_, [this] { return prepare(); }, client_);
    connect(grid_, &ResultGridWindow::closeRequested, this, [this] {
      grid_->hide();
      grid_->deleteLater();
    });
  }
  placeView(grid_);
  if (!grid_->load(GridMode::Quinella)) return false;
  showOnly(grid_);
  noteViewDay();
  return true;
}

ListingViewer* MainWindow::ensureListingView() {
  if (!listing_) {
    listing_ = new ListingViewer(session_, client_);
    connect(listing_, &ListingViewer::closeRequested, this, [this] {
      listing_->hide();
      listing_->deleteLater();
    });
  }
  return listing_;
}

bool MainWindow::showListing() {
  if (!takeDate()) return false;
  ListingViewer* view = ensureListingView();
  // Loaded afresh every time it is shown.
  const bool found = view->load();
  showOnly(view);
  noteViewDay();
  return found;
}

WarsViewer* MainWindow::ensureFileView() {
  if (!file_) {
    file_ = new WarsViewer(session_, *ui_, client_);
    file_->hide();
    connect(file_, &WarsViewer::closeRequested, this, [this] {
      file_->hide();
      file_->deleteLater();
    });
  }
  return file_;
}

bool MainWindow::showFile(int kind, bool) {
  if (!takeDate()) return false;
  WarsViewer* view = ensureFileView();
  const bool wasVisible = view->isVisible();
  if (!view->load(static_cast<ViewerKind>(kind))) {
    // The current view stays as it was.
    if (!wasVisible) view->hide();
    return false;
  }
  showOnly(view);
  noteViewDay();
  return true;
}

void MainWindow::noteViewDay() { viewDay_ = session_.meetingDate(); }

void MainWindow::refreshViews(bool tolvFiles) {
  if (file_ && file_->isVisible()) file_->refresh();
  if (listing_ && listing_->isVisible()) listing_->load();
  if (tolvFiles && grid_ && grid_->isVisible()) grid_->refresh();
}

void MainWindow::closeViewsOfOtherDay() {
  if (viewDay_.empty() || menu_->boxDate() == viewDay_) return;
  // The grid would send the old day's picks to the new day's pending bets.
  if (grid_) emit grid_->closeRequested();
  if (listing_) emit listing_->closeRequested();
  // A viewer with unsaved edits stays: it saves to the file it came from.
  if (file_ && !file_->text()->document()->isModified()) emit file_->closeRequested();
  viewDay_.clear();
}

bool MainWindow::showTolvWars() { return showFile(static_cast<int>(ViewerKind::TolvWars), true); }
bool MainWindow::showPiruneText() { return showFile(static_cast<int>(ViewerKind::PiruneText), false); }
bool MainWindow::showPiruneWars() { return showFile(static_cast<int>(ViewerKind::PiruneWars), true); }

// ---------------------------------------------------------------------------
// 保留ＢＥＴ操作

bool MainWindow::showPendingBets() { return showFile(static_cast<int>(ViewerKind::PendingBets), false); }

void MainWindow::mergeBets() {
  if (!takeDate()) return;
  MergeDuplicateBets(session_, *ui_);
  refreshViews(false);
}

void MainWindow::removeDuplicateBets() {
  if (!takeDate()) return;
  RemoveDuplicateBets(session_, *ui_);
  refreshViews(false);
}

void MainWindow::sortBets() {
  if (!takeDate()) return;
  SortPendingBets(session_, *ui_);
  refreshViews(false);
}

void MainWindow::showBetSummary() {
  if (!takeDate()) return;
  openPendingBetSummary(session_, *ui_, this);
}

void MainWindow::exportPatBet() {
  if (!takeDate()) return;
  ExportPatBet(session_, *ui_);
  refreshViews(false);
}

void MainWindow::exportBetAuto() {
  if (!takeDate()) return;
  ExportBetAuto(session_, *ui_);
  refreshViews(false);
}

void MainWindow::exportBakenjuku() {
  if (!takeDate()) return;
  openBakenjukuWindow(session_, *ui_, this);
  refreshViews(false);
}

// ---------------------------------------------------------------------------
// オプション

void MainWindow::openOptions() {
  openSettingsDialog(session_, *ui_, this);
  menu_->fillFromSession();
}

void MainWindow::saveDefaults() { saveDefaultsCommand(session_, *ui_, this); }

void MainWindow::restoreDefaults() {
  restoreDefaultsCommand(session_, *ui_, this);
  menu_->fillFromSession();
}

void MainWindow::openListEditor() {
  tolv::ui::openListEditor(session_, *ui_, this);
  if (session_.programNames.empty()) ui_->inform("「TolvSoft.LST」がカレントフォルダにありません！");
}

// ---------------------------------------------------------------------------
// 一括処理, ヘルプ, PAD

void MainWindow::openBatch() {
  if (!takeDate()) return;
  const bool closeProgram = openBatchWindow(session_, *ui_, this);
  refreshViews(true);
  if (closeProgram) close();
}

void MainWindow::showHelp() {
  // The HTML user guide, installed or in the build tree.
  openUserGuide(*ui_, userGuideCandidates(fs::path(fromQ(QCoreApplication::applicationDirPath()))), this);
}

void MainWindow::openPadSettings() { tolv::ui::openPadSettings(session_, *ui_, this); }

void MainWindow::makePad() {
  if (!takeDate()) return;
  BusyScope busy(*ui_);
  fs::path written;
  const StepResult r = writePadFile(session_, *ui_, &written);
  reportStep(stepText("PAD作成", r, fileName(written) + QStringLiteral(" を書きました")));
}

// ---------------------------------------------------------------------------
// The execution menu's buttons

void MainWindow::reloadOdds() {
  if (!prepare()) return;
  StepResult r;
  RaceDayOutputs out;
  {
    BusyScope busy(*ui_);
    r = tolv::reloadOdds(session_, *ui_, &out);
  }
  reportStep(stepText("オッズ再読込", r, QStringLiteral("オッズを読み直し、") + listingsText(out)));
  if (r != StepResult::Cancelled) showListing();
}

void MainWindow::rebuildListing() {
  if (!prepare()) return;
  StepResult r;
  RaceDayOutputs out;
  {
    BusyScope busy(*ui_);
    r = tolv::rebuildListing(session_, *ui_, &out);
  }
  reportStep(stepText("トルブ再編", r, listingsText(out)));
  if (r != StepResult::Cancelled) showListing();
}

void MainWindow::outputWars() {
  if (!prepare()) return;
  StepResult r;
  RaceDayOutputs out;
  {
    BusyScope busy(*ui_);
    r = tolv::outputWars(session_, *ui_, &out);
  }
  reportStep(stepText("WARS形式出力", r, fileName(out.wars) + QStringLiteral(" を書きました")));
  if (r == StepResult::Done) showTolvWars();
}

void MainWindow::checkHits() {
  // checkHits shows the notice itself for the odds sources it cannot read.
  const std::string source = trim(session_.settings.oddsSource);
  const bool readable = source != "2" && source != "3" && source != "4";
  if (readable && !prepare()) return;
  int results = 0, hits = 0;
  StepResult r;
  {
    BusyScope busy(*ui_);
    r = tolv::checkHits(session_, *ui_, &results, &hits);
  }
  reportStep(stepText("的中判定", r, QStringLiteral("%1 レースの成績で的中 %2 件").arg(results).arg(hits)));
  refreshViews(true);
}

// ---------------------------------------------------------------------------
// Closing

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    std::string error;
    if (!menu_->saveRanges(&error)) {
      ui_->inform("設定ファイルに書き込めません：" + session_.iniFilePath().string() + "\r\n" + error,
                  "【トルブ】エラーメッセージ", Icon::Critical);
    }
    clearWorkFolder(session_);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w != this && w->isVisible()) w->close();
    }
  }
  event->accept();
}

}  // namespace tolv::ui
