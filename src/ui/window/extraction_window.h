#pragma once
// `frmKiridasi`, "WARS形式予想の読み込み（ログファイルの読み込み）": the forum logs
// to read, the cut file to write, which programs to take, and the start
// button; shows the log being searched, the current post's header and the
// number of posts found while it reads.

#include <QDialog>
#include <array>
#include <functional>

#include "collect/extraction.h"
#include "core/session.h"
#include "core/ui.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tolv::ui {

class ExtractionWindow : public QDialog {
  Q_OBJECT
 public:
  // `takeDate` takes the processing day from the execution menu's boxes.
  ExtractionWindow(Session& session, UserInterface& ui, std::function<bool()> takeDate, QWidget* parent = nullptr);

  // The form as the controls show it.
  ExtractionForm form() const;
  // "読み込み開始". The window closes afterwards unless a batch is running or
  // the form had to be corrected first.
  StepResult start();

  // The choosers (replaceable for tests): log file and folder.
  std::function<QString(QWidget*, const QString&)> chooseLog;
  std::function<QString(QWidget*, const QString&)> chooseFolder;

  QCheckBox* logCheck(int n) const { return logChecks_[n]; }
  QLineEdit* logPath(int n) const { return logPaths_[n]; }
  QPushButton* logBrowse(int n) const { return logBrowse_[n]; }
  QLineEdit* cutFolder() const { return cutFolder_; }
  QPushButton* cutFolderButton() const { return cutFolderButton_; }
  QRadioButton* styleOption(int n) const { return styles_[n]; }
  QLineEdit* cutName() const { return cutName_; }
  QRadioButton* softOption(int n) const { return softs_[n]; }
  QPushButton* startButton() const { return start_; }
  // 中止, shown while the logs are read.
  QPushButton* stopButton() const { return stop_; }
  QLabel* searchLabel() const { return search_; }
  QLabel* headerLabel() const { return header_; }
  QLabel* countLabel() const { return count_; }
  QProgressBar* progressBar() const { return progress_; }
  int postsFound() const { return posts_; }

 signals:
  // After a run that found posts: what it extracted, for the status bar.
  void extracted(const QString& summary);

 private:
  class ProgressUi;
  void fill(const ExtractionForm& form);
  void applyEnabling();
  // After a refused start: the control the message is about.
  void focusProblem(const ExtractionForm& form);

  Session& session_;
  UserInterface& ui_;
  std::array<QCheckBox*, 3> logChecks_{};
  std::array<QLineEdit*, 3> logPaths_{};
  std::array<QPushButton*, 3> logBrowse_{};
  QLineEdit* cutFolder_;
  QPushButton* cutFolderButton_;
  std::array<QRadioButton*, 3> styles_{};
  QLineEdit* cutName_;
  std::array<QRadioButton*, 2> softs_{};
  QPushButton* start_;
  QPushButton* stop_;
  bool stopRequested_ = false;
  QLabel* search_;
  QLabel* header_;
  QLabel* count_;
  QProgressBar* progress_;
  int posts_ = 0;
};

}  // namespace tolv::ui
