#include "ui/dialogs/odds_status_dialog.h"

#include <QBoxLayout>
#include <algorithm>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "ui/common/close_row.h"
#include "ui/common/qt_text.h"

namespace tolv::ui {

namespace {

QColor rgb(unsigned c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

QTableWidgetItem* cell(const QString& text, unsigned colour) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  item->setForeground(rgb(colour));
  item->setTextAlignment(Qt::AlignCenter);
  return item;
}

}  // namespace

OddsStatusDialog::OddsStatusDialog(const OddsStatusGrid& grid, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmOddsItiran"));
  setWindowTitle(QStringLiteral("オッズ取得状況"));
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(toQ(grid.heading), this);
  heading->setObjectName(QStringLiteral("Label1"));
  layout->addWidget(heading);

  grid_ = new QTableWidget(0, 15, this);
  grid_->setObjectName(QStringLiteral("MSFlexGrid1"));
  grid_->hide();
  QStringList header;
  for (const auto& h : OddsStatusGrid::headerRow()) header << toQ(h);
  header << QString();
  grid_->setHorizontalHeaderLabels(header);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  // 900, 700, 12 x 450 and 100 twips.
  grid_->setColumnWidth(0, 60);
  grid_->setColumnWidth(1, 47);
  for (int c = 2; c < 14; ++c) grid_->setColumnWidth(c, 32);
  grid_->setColumnWidth(14, 7);
  grid_->setRowCount(static_cast<int>(grid.rows.size()));
  for (int r = 0; r < static_cast<int>(grid.rows.size()); ++r) {
    const OddsStatusRow& row = grid.rows[static_cast<std::size_t>(r)];
    grid_->setItem(r, 0, cell(toQ(row.courseName), 0x000000));
    grid_->setItem(r, 1, cell(toQ(row.betType), row.betTypeColour));
    for (int race = 1; race <= kStatusRaces; ++race) {
      grid_->setItem(r, race + 1, cell(toQ(row.cell(race)), row.cellColour(race)));
    }
  }
  // No column narrower than its heading or cells, and the grid as large as
  // its content: every race shows without scrolling.
  for (int c = 0; c < 14; ++c) {
    grid_->resizeColumnToContents(c);
    grid_->setColumnWidth(c, std::max(grid_->columnWidth(c), c == 0 ? 60 : c == 1 ? 47 : 32));
  }
  grid_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->show();
  layout->addWidget(grid_, 1);

  addCloseRow(this, layout);
  resize(sizeHint());
}

}  // namespace tolv::ui
