#pragma once
// `frmTXThyouji`: the day's Tolv text listings, one per meeting, chosen with
// the course buttons.

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "core/session.h"
#include "ui/window/course_buttons.h"

class QGroupBox;
class QPushButton;

namespace tolv::ui {

class TextViewer;

class ListingViewer : public QWidget {
  Q_OBJECT
 public:
  explicit ListingViewer(Session& session, QWidget* parent = nullptr);

  // Lists the day's listings, enables their courses and shows the first.
  // False when the day has none (the viewer is then empty).
  bool load();
  // Shows the listing of a course (1-10) when it exists.
  void showCourse(int code);

  QPushButton* courseButton(int code) const { return courses_[code]; }
  TextViewer* text() const { return text_; }
  // The listing shown ("" when none).
  const std::string& shownPath() const { return shown_; }

 signals:
  void closeRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  Session& session_;
  QGroupBox* frame_;
  CourseButtons courses_{};
  QPushButton* close_;
  TextViewer* text_;
  std::string shown_;
};

}  // namespace tolv::ui
