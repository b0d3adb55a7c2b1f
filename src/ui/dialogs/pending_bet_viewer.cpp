#include "ui/dialogs/pending_bet_viewer.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/common/close_row.h"
#include "ui/common/qt_text.h"

namespace tolv::ui {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text, Qt::Alignment align = Qt::AlignLeft) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  l->setAlignment(align | Qt::AlignVCenter);
  return l;
}

}  // namespace

PendingBetViewer::PendingBetViewer(const PendingBetSummary& summary, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmHoryuuBetHyouji"));
  setWindowTitle(toQ(kPendingBetSummaryCaption));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label(this, QStringLiteral("Label1"), toQ(summary.heading)));
  auto* grid = new QGridLayout;
  for (int i = 0; i < 6; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const QString caption = i < 5 ? toQ(PendingBetSummary::kRowCaptions[k]) : QString();
    if (i == 5) {
      grid->addWidget(label(this, QStringLiteral("Label6_0"), QStringLiteral("合計ＢＥＴ数")), i, 0);
    } else {
      grid->addWidget(label(this, QStringLiteral("Label2_%1").arg(i), caption), i, 0);
    }
    grid->addWidget(label(this, QStringLiteral("Label3_%1").arg(i), toQ(summary.countLabel(k)), Qt::AlignRight), i, 1);
    grid->addWidget(label(this, QStringLiteral("Label5_%1").arg(i), QStringLiteral("BET")), i, 2);
    if (i == 5) grid->addWidget(label(this, QStringLiteral("Label6_1"), QStringLiteral("合計金額")), i, 3);
    grid->addWidget(label(this, QStringLiteral("Label4_%1").arg(i), toQ(summary.sumLabel(k)), Qt::AlignRight), i, 4);
  }
  grid->setColumnMinimumWidth(4, 90);
  layout->addLayout(grid);
  addCloseRow(this, layout);
}

}  // namespace tolv::ui
