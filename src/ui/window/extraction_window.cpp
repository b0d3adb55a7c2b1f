#include "ui/window/extraction_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/dates.h"
#include "core/files.h"
#include "core/text.h"
#include "ui/common/qt_text.h"
#include "ui/dialogs/launchers.h"
#include "ui/window/qt_user_interface.h"

namespace tolv::ui {

// The extraction's progress shown in the window's own labels and bar;
// messages and questions go on to the program's interface.
class ExtractionWindow::ProgressUi : public StopForwardingUi {
 public:
  ProgressUi(ExtractionWindow& window, UserInterface& base) : StopForwardingUi(base, window.stopRequested_), w_(window) {}
  void progressBegin(std::string_view caption, unsigned) override {
    w_.search_->setText(toQ(caption));
    w_.progress_->setValue(0);
    w_.progress_->show();
    pump();
    throttle_.restart();
  }
  void progressAdvance(int percent) override {
    percent_ = percent;
    if (throttle_.due()) show();
  }
  void progressDetail(std::string_view text) override {
    header_ = std::string(text);
    if (!text.empty()) ++w_.posts_;
    if (throttle_.due()) show();
  }
  void progressEnd() override {
    w_.count_->setText(QString::number(w_.posts_));
    w_.header_->clear();
    w_.progress_->hide();
  }

 private:
  // The labels and bar follow the reading at most once per interval.
  void show() {
    if (percent_ >= 0) w_.progress_->setValue(percent_);
    w_.header_->setText(toQ(header_));
    w_.count_->setText(QString::number(w_.posts_));
    pump();
  }
  void pump() {
    if (runStepEvents()) w_.stopRequested_ = true;
  }
  ExtractionWindow& w_;
  ProgressThrottle throttle_;
  int percent_ = -1;
  std::string header_;
};

ExtractionWindow::ExtractionWindow(Session& session, UserInterface& ui, std::function<bool()> takeDate, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui) {
  setObjectName("frmKiridasi");
  setWindowTitle(QStringLiteral("WARS形式予想の読み込み（ログファイルの読み込み）"));
  const QString home = toQ(session_.appFolder());
  chooseLog = [home](QWidget* p, const QString& current) { return chooseLogFile(p, current, home); };
  chooseFolder = [home](QWidget* p, const QString& start) { return browseForFolder(p, start, home); };

  auto* logs = new QGroupBox(QStringLiteral("ログファイル"), this);
  logs->setObjectName("Frame1");
  auto* logGrid = new QGridLayout(logs);
  for (int n = 0; n < 3; ++n) {
    logChecks_[n] = new QCheckBox(QStringLiteral("予想ファイル (%1)").arg(n + 1), logs);
    logChecks_[n]->setObjectName(QStringLiteral("Check1_%1").arg(n));
    logPaths_[n] = new QLineEdit(logs);
    logPaths_[n]->setObjectName(QStringLiteral("Text1_%1").arg(n));
    logPaths_[n]->setMinimumWidth(360);
    logBrowse_[n] = new QPushButton(QStringLiteral("参照..."), logs);
    logBrowse_[n]->setObjectName(QStringLiteral("Command1_%1").arg(n));
    logGrid->addWidget(logChecks_[n], n, 0);
    logGrid->addWidget(logPaths_[n], n, 1);
    logGrid->addWidget(logBrowse_[n], n, 2);
    connect(logChecks_[n], &QCheckBox::toggled, this, [this] { applyEnabling(); });
    connect(logBrowse_[n], &QPushButton::clicked, this, [this, n] {
      const QString chosen = chooseLog(this, logPaths_[n]->text());
      if (!chosen.isEmpty()) logPaths_[n]->setText(chosen);
    });
  }

  auto* cut = new QGroupBox(QStringLiteral("切り出しファイル"), this);
  cut->setObjectName("Frame2");
  auto* cutGrid = new QGridLayout(cut);
  cutFolder_ = new QLineEdit(cut);
  cutFolder_->setObjectName("Text2");
  cutFolderButton_ = new QPushButton(QStringLiteral("フォルダ..."), cut);
  cutFolderButton_->setObjectName("Command2");
  connect(cutFolderButton_, &QPushButton::clicked, this, [this] {
    const QString chosen = chooseFolder(this, cutFolder_->text().trimmed());
    if (!chosen.isEmpty()) cutFolder_->setText(chosen);
  });
  auto* styleGroup = new QButtonGroup(this);
  styles_[0] = new QRadioButton(QStringLiteral("WARSyyyymmdd.TXT"), cut);
  styles_[1] = new QRadioButton(QStringLiteral("ファイル名を指定する"), cut);
  styles_[2] = new QRadioButton(QStringLiteral("予想のみの切り出しファイルを作成しない"), cut);
  for (int n = 0; n < 3; ++n) {
    styles_[n]->setObjectName(QStringLiteral("Option1_%1").arg(n));
    styleGroup->addButton(styles_[n], n);
    connect(styles_[n], &QRadioButton::toggled, this, [this] { applyEnabling(); });
  }
  cutName_ = new QLineEdit(cut);
  cutName_->setObjectName("Text3");
  cutGrid->addWidget(new QLabel(QStringLiteral("格納フォルダ"), cut), 0, 0);
  cutGrid->addWidget(cutFolder_, 0, 1);
  cutGrid->addWidget(cutFolderButton_, 0, 2);
  cutGrid->addWidget(styles_[0], 1, 0, 1, 3);
  cutGrid->addWidget(styles_[1], 2, 0);
  cutGrid->addWidget(cutName_, 2, 1);
  cutGrid->addWidget(styles_[2], 3, 0, 1, 3);

  auto* soft = new QGroupBox(QStringLiteral("切り出すソフト"), this);
  soft->setObjectName("Frame3");
  auto* softRow = new QHBoxLayout(soft);
  auto* softGroup = new QButtonGroup(this);
  softs_[0] = new QRadioButton(QStringLiteral("すべてのソフト"), soft);
  softs_[1] = new QRadioButton(QStringLiteral("リストで指示されたソフトのみ"), soft);
  for (int n = 0; n < 2; ++n) {
    softs_[n]->setObjectName(QStringLiteral("Option2_%1").arg(n));
    softGroup->addButton(softs_[n], n);
    softRow->addWidget(softs_[n]);
  }

  start_ = new QPushButton(QStringLiteral("読み込み開始"), this);
  start_->setObjectName("Command3");
  start_->setDefault(true);
  connect(start_, &QPushButton::clicked, this, [this] { start(); });

  search_ = new QLabel(this);
  search_->setObjectName("Label1");
  header_ = new QLabel(this);
  header_->setObjectName("Label2");
  header_->setFont(QFont(QStringLiteral("Noto Sans Mono CJK JP"), 9));
  count_ = new QLabel(QStringLiteral("0"), this);
  count_->setObjectName("Label3");
  progress_ = new QProgressBar(this);
  progress_->setObjectName("ProgressBar1");
  progress_->setRange(0, 100);
  progress_->hide();
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel(QStringLiteral("見つかった予想の数："), this));
  countRow->addWidget(count_);
  countRow->addStretch(1);
  countRow->addWidget(start_);
  stop_ = new QPushButton(QStringLiteral("中止"), this);
  stop_->setObjectName("cmdStop");
  stop_->setToolTip(QStringLiteral("読み込みを中止します（Esc）。切り出しファイルは中止する前のままです。"));
  stop_->setProperty(kStopsStepProperty, true);
  stop_->setAutoDefault(false);
  stop_->hide();
  connect(stop_, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
  countRow->addWidget(stop_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(logs);
  layout->addWidget(cut);
  layout->addWidget(soft);
  layout->addLayout(countRow);
  layout->addWidget(search_);
  layout->addWidget(header_);
  layout->addWidget(progress_);

  if (takeDate) takeDate();
  fill(extractionFormFromSettings(session_.settings));
}

void ExtractionWindow::fill(const ExtractionForm& form) {
  for (int n = 0; n < 3; ++n) {
    logPaths_[n]->setText(toQ(form.logPaths[n]));
    logChecks_[n]->setChecked(form.ticked[n]);
  }
  cutFolder_->setText(toQ(form.cutFolder));
  cutName_->setText(toQ(form.cutName));
  styles_[static_cast<int>(form.style)]->setChecked(true);
  softs_[form.listedOnly ? 1 : 0]->setChecked(true);
  applyEnabling();
}

void ExtractionWindow::applyEnabling() {
  for (int n = 0; n < 3; ++n) {
    const bool on = logChecks_[n]->isChecked();
    logPaths_[n]->setEnabled(on);
    logBrowse_[n]->setEnabled(on);
  }
  const bool none = styles_[2]->isChecked();
  cutFolder_->setEnabled(!none);
  cutFolderButton_->setEnabled(!none);
  cutName_->setEnabled(styles_[1]->isChecked());
}

ExtractionForm ExtractionWindow::form() const {
  ExtractionForm f;
  for (int n = 0; n < 3; ++n) {
    f.logPaths[n] = fromQ(logPaths_[n]->text());
    f.ticked[n] = logChecks_[n]->isChecked();
  }
  f.style = styles_[1]->isChecked()   ? CutFileStyle::Named
            : styles_[2]->isChecked() ? CutFileStyle::None
                                      : CutFileStyle::Dated;
  f.cutFolder = fromQ(cutFolder_->text());
  f.cutName = fromQ(cutName_->text());
  f.listedOnly = softs_[1]->isChecked();
  return f;
}

void ExtractionWindow::focusProblem(const ExtractionForm& f) {
  if (f.style != CutFileStyle::None) {
    if (!isDirectory(session_.resolvePath(trim(f.cutFolder)))) {
      cutFolderButton_->setFocus();
      return;
    }
    if (f.style == CutFileStyle::Named && trim(f.cutName).empty()) {
      cutName_->setFocus();
      return;
    }
  }
  for (int n = 0; n < 3; ++n) {
    if (!f.ticked[n]) continue;
    const std::string resolved = replaceDatePlaceholders(trim(f.logPaths[n]), session_.meetingDate());
    if (resolved.empty() || !isRegularFile(session_.resolvePath(resolved))) {
      logBrowse_[n]->setFocus();
      return;
    }
  }
}

StepResult ExtractionWindow::start() {
  if (!logChecks_[0]->isChecked() && !logChecks_[1]->isChecked() && !logChecks_[2]->isChecked()) {
    logChecks_[0]->setChecked(true);
  }
  const ExtractionForm f = form();
  const int postsBefore = posts_;
  posts_ = 0;
  count_->setText(QStringLiteral("0"));
  start_->setEnabled(false);
  stopRequested_ = false;
  stop_->show();
  ProgressUi progress(*this, ui_);
  ExtractionStats stats;
  const StepResult r = startExtraction(session_, progress, f, &stats);
  stop_->hide();
  start_->setEnabled(true);
  search_->clear();
  // A form that had to be corrected read nothing: the window stays open on
  // the control to correct.
  const bool refused = r == StepResult::Failed && posts_ == 0 && stats.records == 0 && stats.cutIndex.empty();
  if (refused) {
    posts_ = postsBefore;
    focusProblem(f);
    return r;
  }
  if (r == StepResult::Done) {
    emit extracted(QStringLiteral("ログ読込み：%1 件の予想（%2 行）を %3 に切り出しました")
                       .arg(stats.posts)
                       .arg(stats.records)
                       .arg(toQ(stats.cutIndex.filename().string())));
  }
  // Stopped: the window stays for another try.
  if (session_.batchRunning == 0 && r != StepResult::Cancelled) accept();
  return r;
}

}  // namespace tolv::ui
