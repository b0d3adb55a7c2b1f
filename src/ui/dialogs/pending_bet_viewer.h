#pragma once
// frmHoryuuBetHyouji "保留ＢＥＴの内訳": count and cost of the pending bets
// per bet type.

#include <QDialog>

#include "bets/bet_summary.h"

namespace tolv::ui {

class PendingBetViewer : public QDialog {
  Q_OBJECT
 public:
  explicit PendingBetViewer(const PendingBetSummary& summary, QWidget* parent = nullptr);
};

}  // namespace tolv::ui
