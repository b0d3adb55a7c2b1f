#pragma once
// `frmMenu`, the execution menu docked at the left of the main window: the
// processing day, the odds range and the "ダブリの数" range, and the buttons
// that drive a race day. Its boxes are where every step takes the day and the
// ranges from (prepare()).

#include <QFrame>

#include "core/session.h"
#include "core/ui.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tolv::ui {

// A box with a pair of up/down arrows beside it (a spin control that leaves
// the text as typed until it is used).
class SpinBox : public QWidget {
  Q_OBJECT
 public:
  SpinBox(const QString& name, double step, double minimum, double maximum, QWidget* parent = nullptr);
  QLineEdit* edit() const { return edit_; }
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }
  QString text() const;
  void setText(const QString& text);
  void stepBy(int steps);

 signals:
  void stepped();

 private:
  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
  double step_, minimum_, maximum_;
};

class ExecutionMenu : public QFrame {
  Q_OBJECT
 public:
  ExecutionMenu(Session& session, UserInterface& ui, QWidget* parent = nullptr);

  // Fills the boxes from the run state and the settings.
  void fillFromSession();
  // TakeMeetingDate: the three date boxes into the processing day. A day
  // that is no real date is refused with a message (nothing would match it).
  bool takeMeetingDate(bool report = true);
  // TakeMeetingDate, TakeDupRange and TakeOddsRange.
  bool prepare();
  // The odds and ダブリ ranges of the boxes into the session's settings (not
  // saved), as a run takes them.
  void takeRanges();
  // The ranges written to TOLV.INI when the window closes.
  bool saveRanges(std::string* error = nullptr);

  SpinBox* yearBox() const { return year_; }
  SpinBox* monthBox() const { return month_; }
  SpinBox* dayBox() const { return day_; }
  QLabel* weekdayLabel() const { return weekday_; }
  SpinBox* oddsMinBox() const { return oddsMin_; }
  SpinBox* oddsMaxBox() const { return oddsMax_; }
  SpinBox* dupMinBox() const { return dupMin_; }
  SpinBox* dupMaxBox() const { return dupMax_; }
  // The processing day the boxes show (yyyymmdd).
  std::string boxDate() const;

  static constexpr int kWidth = 176;

 signals:
  void logsRequested();
  void tolvRequested();
  void piruneRequested();
  void settingsRequested();
  void endRequested();
  void oddsReloadRequested();
  void rebuildRequested();
  void warsRequested();
  void oddsStatusRequested();
  void hitsRequested();

 private:
  void showWeekday();
  QPushButton* addButton(const char* name, const char* caption);

  Session& session_;
  UserInterface& ui_;
  SpinBox *year_, *month_, *day_;
  QLabel* weekday_;
  SpinBox *oddsMin_, *oddsMax_, *dupMin_, *dupMax_;
  QWidget* buttons_;
};

}  // namespace tolv::ui
