#pragma once
// `frmTolvHyouji`: the grid of one meeting's Tolv picks with their odds
// (quinella or quinella-place), vote count and programs, hits marked, from
// which the user selects rows and sends them to the pending bets.
//
// The grid is a model/view table over the core's ResultGrid: its header row
// is the table's column header, its column 0 (the race labels) the row header,
// so both stay in place while the picks scroll. `Command2` lies over the
// top-left corner and toggles every row.

#include <QAbstractTableModel>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "core/session.h"
#include "core/ui.h"
#include "output/result_grid.h"
#include "ui/window/course_buttons.h"

class QGroupBox;
class QKeyEvent;
class QPushButton;
class QTableView;

namespace tolv::ui {

// Grid column widths and row height in pixels (the layout's twips / 15).
int gridColumnWidth(int gridColumn);
inline constexpr int kGridRowHeight = 17;

QColor gridColour(std::uint32_t bgr);

class ResultGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ResultGridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  void setGrid(ResultGrid grid);
  void clear();
  const std::optional<ResultGrid>& grid() const { return grid_; }
  void toggleRow(int pickRow);  // 1-based pick row
  void toggleAll();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const GridCell* cellAt(int gridRow, int gridColumn) const;
  std::optional<ResultGrid> grid_;
};

class ResultGridWindow : public QWidget {
  Q_OBJECT
 public:
  // `prepare` takes the day and the ranges from the execution menu.
  ResultGridWindow(Session& session, UserInterface& ui, std::function<bool()> prepare, QWidget* parent = nullptr);

  // Load: lists the day's Tolv files, enables their courses and builds the
  // first in `mode`. False (nothing shown) when the day has none.
  bool load(GridMode mode = GridMode::Quinella);
  // Builds course `code` (1-10) in `mode`; false when it has no data file.
  bool build(int code, GridMode mode);
  // Builds the shown course again (its Tolv file was rewritten); the day's
  // first course when that one has no file any more.
  bool refresh();

  GridMode mode() const;
  const std::optional<ResultGrid>& grid() const { return model_->grid(); }
  ResultGridModel* model() const { return model_; }
  QTableView* table() const { return table_; }
  QPushButton* courseButton(int code) const { return courses_[code]; }
  QPushButton* wideButton() const { return wide_; }
  QPushButton* restoreButton() const { return restore_; }
  QPushButton* selectAllButton() const { return selectAll_; }
  QPushButton* sendButton() const { return send_; }

  void sendSelection();

 signals:
  void closeRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void placeSelectAll();
  // Space toggles the current row, Ctrl+A every row, Enter sends them.
  bool gridKey(QKeyEvent* key);

  Session& session_;
  UserInterface& ui_;
  std::function<bool()> prepare_;
  ResultGridModel* model_;
  QGroupBox* frame_;
  CourseButtons courses_{};
  QPushButton* wide_;
  QPushButton* restore_;
  QPushButton* send_;
  QPushButton* close_;
  QPushButton* selectAll_;
  QTableView* table_;
};

}  // namespace tolv::ui
