#pragma once
// frmOddsItiran: which races of which courses have odds on hand, "○" in red
// where they do and "×" in black where they do not.

#include <QDialog>

#include "odds/odds_status.h"

class QTableWidget;

namespace tolv::ui {

class OddsStatusDialog : public QDialog {
  Q_OBJECT
 public:
  explicit OddsStatusDialog(const OddsStatusGrid& grid, QWidget* parent = nullptr);

 private:
  QTableWidget* grid_ = nullptr;
};

}  // namespace tolv::ui
