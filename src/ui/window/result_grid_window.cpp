#include "ui/window/result_grid_window.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

#include "core/codes.h"
#include "core/text.h"
#include "ui/common/qt_text.h"
#include "ui/window/course_buttons.h"

namespace tolv::ui {

int gridColumnWidth(int gridColumn) {
  if (gridColumn == 0) return 500 / 15;
  if (gridColumn == 3) return 450 / 15;
  return 700 / 15;
}

QColor gridColour(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

// ---------------------------------------------------------------------------

void ResultGridModel::setGrid(ResultGrid grid) {
  beginResetModel();
  grid_ = std::move(grid);
  endResetModel();
}

void ResultGridModel::clear() {
  beginResetModel();
  grid_.reset();
  endResetModel();
}

int ResultGridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !grid_ || grid_->rows.empty()) return 0;
  return static_cast<int>(grid_->rows.size()) - 1;
}

int ResultGridModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return kGridColumns - 1;
}

const GridCell* ResultGridModel::cellAt(int gridRow, int gridColumn) const {
  if (!grid_ || gridRow < 0 || gridRow >= static_cast<int>(grid_->rows.size())) return nullptr;
  const auto& row = grid_->rows[static_cast<std::size_t>(gridRow)];
  if (gridColumn < 0 || gridColumn >= static_cast<int>(row.size())) return nullptr;
  return &row[static_cast<std::size_t>(gridColumn)];
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const GridCell* c = cellAt(index.row() + 1, index.column() + 1);
  if (!c) return {};
  switch (role) {
    case Qt::DisplayRole:
      return toQ(c->text);
    case Qt::BackgroundRole:
      return QBrush(gridColour(c->back));
    case Qt::ForegroundRole:
      return QBrush(gridColour(c->fore));
    case Qt::TextAlignmentRole:
      return int(Qt::AlignCenter);
    default:
      return {};
  }
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // The header row is grid row 0; the row header is grid column 0.
  const GridCell* c = orientation == Qt::Horizontal ? cellAt(0, section + 1) : cellAt(section + 1, 0);
  if (!c) return {};
  switch (role) {
    case Qt::DisplayRole:
      return toQ(c->text);
    case Qt::BackgroundRole:
      // White is the fixed cells' own colour.
      if (c->back == kGridWhite) return {};
      return QBrush(gridColour(c->back));
    case Qt::ForegroundRole:
      return QBrush(gridColour(c->fore));
    case Qt::TextAlignmentRole:
      return orientation == Qt::Vertical ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignCenter);
    default:
      return {};
  }
}

void ResultGridModel::toggleRow(int pickRow) {
  if (!grid_) return;
  grid_->toggleRow(pickRow);
  const QModelIndex cell = index(pickRow - 1, 0);
  emit dataChanged(cell, cell, {Qt::BackgroundRole});
}

void ResultGridModel::toggleAll() {
  if (!grid_) return;
  grid_->toggleAll();
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::BackgroundRole});
}

// ---------------------------------------------------------------------------

ResultGridWindow::ResultGridWindow(Session& session, UserInterface& ui, std::function<bool()> prepare, QWidget* parent)
    : QWidget(parent), session_(session), ui_(ui), prepare_(std::move(prepare)) {
  setObjectName("frmTolvHyouji");
  setWindowTitle(QStringLiteral("【トルブ】買い目表示"));
  setAutoFillBackground(true);

  frame_ = makeCourseButtonFrame(this, courses_, [this](int code) {
    BusyScope busy(ui_);
    build(code, mode());
    courses_[code]->setFocus();
  });

  wide_ = new QPushButton(QStringLiteral("ワイドオッズ"), this);
  wide_->setObjectName("Command3_0");
  restore_ = new QPushButton(QStringLiteral("元に戻す"), this);
  restore_->setObjectName("Command3_1");
  restore_->hide();
  send_ = new QPushButton(QStringLiteral("保留BETへ出力"), this);
  send_->setObjectName("sCommand2");
  close_ = new QPushButton(QStringLiteral("閉じる"), this);
  close_->setObjectName("sCommand1");
  connect(wide_, &QPushButton::clicked, this, [this] { load(GridMode::QuinellaPlace); });
  connect(restore_, &QPushButton::clicked, this, [this] { load(GridMode::Quinella); });
  connect(send_, &QPushButton::clicked, this, &ResultGridWindow::sendSelection);
  connect(close_, &QPushButton::clicked, this, &ResultGridWindow::closeRequested);

  model_ = new ResultGridModel(this);
  table_ = new QTableView(this);
  table_->setObjectName("MSFlexGrid1");
  table_->setModel(model_);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setCornerButtonEnabled(false);
  table_->setWordWrap(false);
  // A compact font, so that "[0123]" fits the 700-twip columns.
  QFont gridFont(QStringLiteral("Noto Sans CJK JP"));
  gridFont.setPixelSize(11);
  table_->setFont(gridFont);
  QHeaderView* columns = table_->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Fixed);
  columns->setDefaultSectionSize(gridColumnWidth(4));
  columns->setMinimumSectionSize(8);
  columns->setFixedHeight(kGridRowHeight + 2);
  columns->setHighlightSections(false);
  columns->setFont(gridFont);
  QHeaderView* rows = table_->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setMinimumSectionSize(8);
  rows->setDefaultSectionSize(kGridRowHeight);
  rows->setFixedWidth(gridColumnWidth(0));
  rows->setHighlightSections(false);
  rows->setSectionsClickable(true);
  rows->setFont(gridFont);
  connect(table_, &QTableView::clicked, this, [this](const QModelIndex& index) { model_->toggleRow(index.row() + 1); });
  connect(rows, &QHeaderView::sectionClicked, this, [this](int section) { model_->toggleRow(section + 1); });

  selectAll_ = new QPushButton(table_);
  selectAll_->setObjectName("Command2");
  selectAll_->setFont(gridFont);
  selectAll_->setStyleSheet("color:red;padding:0px");
  selectAll_->hide();
  connect(selectAll_, &QPushButton::clicked, this, [this] {
    model_->toggleAll();
    table_->setFocus();
  });
  table_->installEventFilter(this);
}

bool ResultGridWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) placeSelectAll();
  if (watched == table_ && event->type() == QEvent::KeyPress && gridKey(static_cast<QKeyEvent*>(event))) return true;
  return QWidget::eventFilter(watched, event);
}

bool ResultGridWindow::gridKey(QKeyEvent* key) {
  // The arrow keys move the current cell (the view's own keys); these act
  // as the mouse does.
  if (key->matches(QKeySequence::SelectAll)) {
    selectAll_->click();
    return true;
  }
  if ((key->modifiers() | Qt::KeypadModifier) != Qt::KeypadModifier) return false;
  switch (key->key()) {
    case Qt::Key_Space:
      if (table_->currentIndex().isValid()) model_->toggleRow(table_->currentIndex().row() + 1);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      sendSelection();
      return true;
    default:
      return false;
  }
}

void ResultGridWindow::placeSelectAll() {
  // Exactly over the top-left cell.
  const int frame = table_->frameWidth();
  selectAll_->setGeometry(frame, frame, table_->verticalHeader()->width(), table_->horizontalHeader()->height());
  selectAll_->raise();
}

void ResultGridWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int frameHeight = frame_->sizeHint().height();
  frame_->setGeometry(4, 0, frame_->sizeHint().width(), frameHeight);
  int x = frame_->geometry().right() + 10;
  const int y = frameHeight - 28;
  for (QPushButton* b : {wide_, restore_}) b->setGeometry(x, y, 96, 28);
  x += 104;
  send_->setGeometry(x, y, 110, 28);
  x += 118;
  close_->setGeometry(x, y, 72, 28);
  const int top = std::max(645 / 15, frameHeight + 2);
  if (width() > 2 && height() > top + 4) table_->setGeometry(0, top, width() - 1, height() - top - 1);
  placeSelectAll();
}

GridMode ResultGridWindow::mode() const {
  return restore_->isVisibleTo(this) ? GridMode::QuinellaPlace : GridMode::Quinella;
}

bool ResultGridWindow::load(GridMode mode) {
  if (prepare_ && !prepare_()) return false;
  const std::vector<std::string> codes = gridCourseCodes(session_);
  for (int code = 1; code <= 10; ++code) courses_[code]->setEnabled(false);
  if (codes.empty()) return false;
  for (const std::string& code : codes) courses_[valInt(code)]->setEnabled(true);
  const int first = static_cast<int>(valInt(codes.front()));
  const bool built = build(first, mode);
  courses_[first]->setFocus();
  return built;
}

bool ResultGridWindow::build(int code, GridMode mode) {
  if (prepare_ && !prepare_()) return false;
  std::optional<ResultGrid> grid = buildResultGrid(session_, TwoDigits(code), mode);
  if (!grid) return false;
  table_->setUpdatesEnabled(false);
  selectAll_->setText(QString());
  model_->setGrid(std::move(*grid));
  for (int c = 1; c < kGridColumns; ++c) table_->horizontalHeader()->resizeSection(c - 1, gridColumnWidth(c));
  selectAll_->setText(toQ(model_->grid()->courseName));
  selectAll_->show();
  placeSelectAll();
  // The keyboard starts on the first pick.
  if (model_->rowCount() > 0) table_->setCurrentIndex(model_->index(0, 0));
  table_->setUpdatesEnabled(true);
  wide_->setVisible(mode == GridMode::Quinella);
  restore_->setVisible(mode == GridMode::QuinellaPlace);
  return true;
}

bool ResultGridWindow::refresh() {
  if (const auto& shown = model_->grid(); shown && build(static_cast<int>(valInt(shown->courseCode)), mode())) return true;
  return load(mode());
}

void ResultGridWindow::sendSelection() {
  if (!model_->grid()) {
    ui_.inform(kNoRowsSelectedMessage);
    return;
  }
  SendGridSelection(session_, ui_, *model_->grid());
}

}  // namespace tolv::ui
