#pragma once
// `frmKakunin`: the question asked before picks go to a day's pending-bet file
// that already exists — 上書き, 追加 or 中止.

#include <QDialog>

class QLabel;
class QPushButton;

namespace tolv::ui {

class OverwriteChoiceDialog : public QDialog {
  Q_OBJECT
 public:
  explicit OverwriteChoiceDialog(const QString& text, QWidget* parent = nullptr);

  // 1 上書き, 2 追加, 0 中止 or the window closed any other way.
  int choice() const { return choice_; }
  QPushButton* button(int index) const { return buttons_[index]; }

 private:
  int choice_ = 0;
  QLabel* label_;
  QPushButton* buttons_[3];
};

}  // namespace tolv::ui
