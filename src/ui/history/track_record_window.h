#pragma once
// 成績分析 (frmSeiseki): the programs' figures over the stored days, a chart
// of the selected programs' cumulative 回収率 beside a backtest of the
// execution menu's ranges, "リストに採用" and "画像として保存".

#include <QDialog>
#include <QImage>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "core/session.h"
#include "core/ui.h"
#include "history/history_db.h"
#include "ui/dialogs/dialog_services.h"
#include "ui/history/track_record_form.h"

class QChart;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QStandardItemModel;
class QTableView;

namespace tolv::ui {

class TrackRecordWindow : public QDialog {
  Q_OBJECT
 public:
  TrackRecordWindow(Session& session, UserInterface& ui, std::unique_ptr<HistoryDb> db, QWidget* parent = nullptr);
  ~TrackRecordWindow() override;

  // The choosers the window opens; tests replace them.
  DialogServices services;
  // The PNG file to save the chart to, or "" when cancelled.
  std::function<QString(QWidget* parent, const QString& start)> chooseImageFile;

  // The programs selected in the table, in the table's order.
  std::vector<ProgramFigures> selectedPrograms() const;
  QChart* chart() const;
  // Selects the programs with these codes (tests, and the first opening).
  void selectPrograms(const std::vector<int>& codes);

 public slots:
  void refresh();
  void adopt();
  void saveImage();

 private:
  void redrawChart();
  ProgramQuery query() const;

  Session& session_;
  UserInterface& ui_;
  std::unique_ptr<HistoryDb> db_;
  std::map<int, ProgramFigures> figures_;
  std::optional<RoiCurve> backtest_;
  QDateEdit *from_, *to_;
  QComboBox* bet_;
  QSpinBox* minPicks_;
  QTableView* table_;
  QStandardItemModel* model_;
  QChartView* chartView_;
  QLabel* summary_;
  QPushButton *adopt_, *save_, *close_;
};

// Fills `chart` with the curves over their days: x the day, y 回収率 (%), a
// dashed break-even line at 100% (left out of the legend).
void drawRoiChart(QChart* chart, const std::vector<RoiCurve>& curves, const QString& title);

// The chart view rendered as an image of its current size.
QImage chartImage(QChartView* view);

// `tolv --save-chart FILE`: the chart of the whole stored period (馬連, the
// top programs by 回収率, the settings' ranges) saved as PNG. False with a
// message when there is no history or the file cannot be written.
bool saveTrackRecordChart(const Session& session, const fs::path& file, std::string* error);

// "成績分析" of the main window's その他の機能: the window, or the message that
// there is no history yet.
void openTrackRecordWindow(Session& session, UserInterface& ui, QWidget* parent);

}  // namespace tolv::ui
