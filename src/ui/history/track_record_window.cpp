#include "ui/history/track_record_window.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/numformat.h"
#include "ui/common/qt_text.h"

namespace tolv::ui {

namespace {

constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kCodeRole = Qt::UserRole + 2;

QDate toDate(const std::string& ymd) { return QDate::fromString(toQ(ymd), QStringLiteral("yyyyMMdd")); }
std::string fromDate(const QDate& d) { return fromQ(d.toString(QStringLiteral("yyyyMMdd"))); }

qint64 dayMsecs(const std::string& ymd) {
  return QDateTime(toDate(ymd), QTime(12, 0)).toMSecsSinceEpoch();
}

QString chartTitle(const ProgramQuery& q) {
  return QStringLiteral("累積回収率（%1、%2〜%3）")
      .arg(toQ(betCaption(q.bet)), toDate(q.period.from).toString(QStringLiteral("yyyy/MM/dd")),
           toDate(q.period.to).toString(QStringLiteral("yyyy/MM/dd")));
}

QString backtestSummary(const BacktestResult& r) {
  return QStringLiteral("バックテスト：%1点 的中%2 投資%3円 払戻%4円 回収率%5 最大ドローダウン%6円")
      .arg(r.bets)
      .arg(r.hits)
      .arg(toQ(formatNumber(static_cast<double>(r.stake), "#,##0")),
           toQ(formatNumber(static_cast<double>(r.payout), "#,##0")), toQ(formatPercent(r.payout, r.stake)),
           toQ(formatNumber(static_cast<double>(r.deepestDrawdown), "#,##0")));
}

}  // namespace

void drawRoiChart(QChart* chart, const std::vector<RoiCurve>& curves, const QString& title) {
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
  chart->setTitle(title);
  auto* x = new QDateTimeAxis;
  x->setFormat(QStringLiteral("MM/dd"));
  x->setTitleText(QStringLiteral("開催日"));
  auto* y = new QValueAxis;
  y->setTitleText(QStringLiteral("回収率（%）"));
  y->setLabelFormat(QStringLiteral("%.0f"));
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);

  qint64 first = 0, last = 0;
  double top = 100, bottom = 100;
  bool any = false;
  for (const RoiCurve& c : curves) {
    auto* s = new QLineSeries;
    s->setName(toQ(c.label));
    s->setPointsVisible(c.points.size() < 40);
    for (const RoiPoint& p : c.points) {
      const qint64 t = dayMsecs(p.date);
      s->append(static_cast<qreal>(t), p.percent);
      first = any ? std::min(first, t) : t;
      last = any ? std::max(last, t) : t;
      top = std::max(top, p.percent);
      bottom = std::min(bottom, p.percent);
      any = true;
    }
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    if (&c == &curves.back() && c.backtest) {
      // The backtest stands out from the programs: black and thicker.
      QPen pen(Qt::black);
      pen.setWidthF(2.5);
      s->setPen(pen);
      s->setColor(Qt::black);
    }
  }
  // The break-even line, dashed, not in the legend.
  if (any) {
    auto* even = new QLineSeries;
    even->setName(QStringLiteral("100%"));
    QPen pen(Qt::gray);
    pen.setStyle(Qt::DashLine);
    even->setPen(pen);
    even->append(static_cast<qreal>(first), 100);
    even->append(static_cast<qreal>(last), 100);
    chart->addSeries(even);
    even->attachAxis(x);
    even->attachAxis(y);
    for (QLegendMarker* m : chart->legend()->markers(even)) m->setVisible(false);
    // One day either side, so a single day still shows.
    const qint64 day = 24LL * 3600 * 1000;
    x->setRange(QDateTime::fromMSecsSinceEpoch(first - day / 2),
                QDateTime::fromMSecsSinceEpoch(last + day / 2));
    x->setTickCount(std::clamp<int>(static_cast<int>((last - first) / day) + 2, 2, 12));
  }
  y->setRange(std::max(0.0, bottom - 10), top + 10);
  y->applyNiceNumbers();
  chart->legend()->setAlignment(Qt::AlignBottom);
}

QImage chartImage(QChartView* view) { return view->grab().toImage(); }

TrackRecordWindow::TrackRecordWindow(Session& session, UserInterface& ui, std::unique_ptr<HistoryDb> db,
                                     QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui), db_(std::move(db)) {
  services = DialogServices::standard();
  chooseImageFile = [](QWidget* p, const QString& start) {
    QString file = QFileDialog::getSaveFileName(p, QStringLiteral("画像として保存"), start,
                                                QStringLiteral("PNG 画像 (*.png)"), nullptr,
                                                QFileDialog::DontUseNativeDialog);
    if (!file.isEmpty() && !file.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) file += QStringLiteral(".png");
    return file;
  };
  setObjectName(QStringLiteral("frmSeiseki"));
  setWindowTitle(toQ(kTrackRecordTitle));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  // Fits a 1024×768 screen with its frame, as the main window does; larger
  // screens may maximise it.
  QSize size(1000, 700);
  if (const QScreen* screen = this->screen()) size = size.boundedTo(screen->availableGeometry().size());
  resize(size);

  const DateRange stored = storedPeriod(*db_);
  auto makeDate = [&](const char* name, const std::string& ymd) {
    auto* d = new QDateEdit(this);
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    d->setCalendarPopup(true);
    if (!stored.from.empty()) d->setDateRange(toDate(stored.from), toDate(stored.to));
    d->setDate(toDate(ymd));
    return d;
  };
  from_ = makeDate("txtFrom", stored.from);
  to_ = makeDate("txtTo", stored.to);
  bet_ = new QComboBox(this);
  bet_->setObjectName(QStringLiteral("cboBet"));
  for (HistoryBet b : kTrackRecordBets) bet_->addItem(toQ(betCaption(b)), static_cast<int>(b));
  minPicks_ = new QSpinBox(this);
  minPicks_->setObjectName(QStringLiteral("spnMinPicks"));
  minPicks_->setRange(0, 100000);

  auto* top = new QHBoxLayout;
  auto addLabelled = [&](const QString& text, QWidget* w) {
    auto* l = new QLabel(text, this);
    l->setBuddy(w);
    top->addWidget(l);
    top->addWidget(w);
  };
  addLabelled(QStringLiteral("期間(&F)"), from_);
  top->addWidget(new QLabel(QStringLiteral("〜"), this));
  top->addWidget(to_);
  top->addSpacing(16);
  addLabelled(QStringLiteral("券種(&B)"), bet_);
  top->addSpacing(16);
  addLabelled(QStringLiteral("最低点数(&M)"), minPicks_);
  top->addStretch();

  model_ = new QStandardItemModel(0, kFigureColumnCount, this);
  model_->setSortRole(kSortRole);
  for (int c = 0; c < kFigureColumnCount; ++c) {
    auto* h = new QStandardItem(toQ(columnHeader(static_cast<FigureColumn>(c))));
    h->setTextAlignment(Qt::AlignCenter);
    model_->setHorizontalHeaderItem(c, h);
  }
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("grdSeiseki"));
  table_->setModel(model_);
  table_->setSortingEnabled(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(22);
  table_->sortByColumn(static_cast<int>(FigureColumn::Roi), Qt::DescendingOrder);

  chartView_ = new QChartView(new QChart, this);
  chartView_->setObjectName(QStringLiteral("chtSeiseki"));
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->setMinimumHeight(300);
  chartView_->setFocusPolicy(Qt::NoFocus);

  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(table_);
  split->addWidget(chartView_);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  split->setSizes({350, 400});

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("lblBacktest"));
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  adopt_ = new QPushButton(QStringLiteral("リストに採用(&L)"), this);
  adopt_->setObjectName(QStringLiteral("cmdAdopt"));
  save_ = new QPushButton(QStringLiteral("画像として保存(&S)"), this);
  save_->setObjectName(QStringLiteral("cmdSaveImage"));
  close_ = new QPushButton(QStringLiteral("閉じる"), this);
  close_->setObjectName(QStringLiteral("cmdClose"));
  for (QPushButton* b : {adopt_, save_, close_}) b->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(summary_, 1);
  buttons->addWidget(adopt_);
  buttons->addWidget(save_);
  buttons->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(split, 1);
  layout->addLayout(buttons);

  setTabOrder(from_, to_);
  setTabOrder(to_, bet_);
  setTabOrder(bet_, minPicks_);
  setTabOrder(minPicks_, table_);
  setTabOrder(table_, adopt_);
  setTabOrder(adopt_, save_);
  setTabOrder(save_, close_);

  connect(from_, &QDateEdit::dateChanged, this, &TrackRecordWindow::refresh);
  connect(to_, &QDateEdit::dateChanged, this, &TrackRecordWindow::refresh);
  connect(bet_, &QComboBox::currentIndexChanged, this, &TrackRecordWindow::refresh);
  connect(minPicks_, &QSpinBox::valueChanged, this, &TrackRecordWindow::refresh);
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TrackRecordWindow::redrawChart);
  connect(adopt_, &QPushButton::clicked, this, &TrackRecordWindow::adopt);
  connect(save_, &QPushButton::clicked, this, &TrackRecordWindow::saveImage);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);

  refresh();
  // Opens with the best programs of the period selected.
  std::vector<int> best;
  for (int r = 0; r < model_->rowCount() && r < kChartTopPrograms; ++r) {
    best.push_back(model_->item(r, 0)->data(kCodeRole).toInt());
  }
  selectPrograms(best);
  table_->setFocus();
}

TrackRecordWindow::~TrackRecordWindow() = default;

ProgramQuery TrackRecordWindow::query() const {
  ProgramQuery q;
  QDate a = from_->date(), b = to_->date();
  if (b < a) std::swap(a, b);
  q.period = {fromDate(a), fromDate(b)};
  q.bet = static_cast<HistoryBet>(bet_->currentData().toInt());
  q.minPicks = minPicks_->value();
  q.sort = ProgramSort::Roi;
  return q;
}

QChart* TrackRecordWindow::chart() const { return chartView_->chart(); }

std::vector<ProgramFigures> TrackRecordWindow::selectedPrograms() const {
  std::vector<std::pair<int, int>> rows;  // view row, code
  for (const QModelIndex& i : table_->selectionModel()->selectedRows(0)) {
    rows.push_back({i.row(), model_->item(i.row(), 0)->data(kCodeRole).toInt()});
  }
  std::sort(rows.begin(), rows.end());
  std::vector<ProgramFigures> out;
  for (const auto& [row, code] : rows) {
    if (auto it = figures_.find(code); it != figures_.end()) out.push_back(it->second);
  }
  return out;
}

void TrackRecordWindow::selectPrograms(const std::vector<int>& codes) {
  QItemSelection selection;
  for (int r = 0; r < model_->rowCount(); ++r) {
    const int code = model_->item(r, 0)->data(kCodeRole).toInt();
    if (std::find(codes.begin(), codes.end(), code) != codes.end()) {
      selection.select(model_->index(r, 0), model_->index(r, kFigureColumnCount - 1));
    }
  }
  table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  redrawChart();
}

void TrackRecordWindow::refresh() {
  std::vector<int> keep;
  for (const ProgramFigures& p : selectedPrograms()) keep.push_back(p.code);
  const ProgramQuery q = query();
  const std::vector<ProgramFigures> all = programFigures(*db_, q);
  // The backtest depends on the period and bet type only: run once here, not
  // on every change of the selection.
  BacktestResult totals;
  backtest_ = backtestRoiCurve(*db_, session_.settings, q, &totals);
  summary_->setText(backtest_ ? backtestSummary(totals) : QString());
  figures_.clear();
  const QSignalBlocker block(table_->selectionModel());
  model_->setRowCount(0);
  const int sortColumn = table_->horizontalHeader()->sortIndicatorSection();
  const Qt::SortOrder order = table_->horizontalHeader()->sortIndicatorOrder();
  for (const ProgramFigures& p : all) {
    figures_[p.code] = p;
    QList<QStandardItem*> row;
    for (int c = 0; c < kFigureColumnCount; ++c) {
      const auto column = static_cast<FigureColumn>(c);
      auto* item = new QStandardItem(toQ(cellText(p, column)));
      const SortKey key = sortKey(p, column);
      if (isNumericColumn(column)) {
        item->setData(key.number, kSortRole);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      } else {
        item->setData(toQ(key.text), kSortRole);
      }
      if (c == 0) item->setData(p.code, kCodeRole);
      row.push_back(item);
    }
    model_->appendRow(row);
  }
  model_->sort(sortColumn, order);
  table_->resizeColumnsToContents();
  adopt_->setEnabled(!all.empty());
  if (!keep.empty()) selectPrograms(keep);
  else redrawChart();
}

void TrackRecordWindow::redrawChart() {
  const ProgramQuery q = query();
  std::vector<RoiCurve> curves = programRoiCurves(*db_, q, selectedPrograms());
  if (backtest_) curves.push_back(*backtest_);
  drawRoiChart(chart(), curves, chartTitle(q));
}

void TrackRecordWindow::adopt() {
  const std::vector<ProgramFigures> chosen = selectedPrograms();
  if (chosen.empty()) {
    adoptPrograms(session_, ui_, "", chosen);
    return;
  }
  const auto name = services.inputText(this, QStringLiteral("採用する %1 本のソフトを保存するリストの名前").arg(chosen.size()),
                                       QStringLiteral("リストに採用"));
  if (!name || name->trimmed().isEmpty()) return;
  fs::path written;
  if (adoptPrograms(session_, ui_, fromQ(name->trimmed()), chosen, &written) == StepResult::Done) {
    ui_.inform(written.filename().string() + " に " + std::to_string(chosen.size()) + " 本のソフトを保存しました。",
               kTrackRecordTitle, Icon::Information);
  }
}

void TrackRecordWindow::saveImage() {
  const QString start = toQ((fs::path(session_.appFolder()) / ("seiseki-" + query().period.to + ".png")).string());
  const QString file = chooseImageFile(this, start);
  if (file.isEmpty()) return;
  if (!chartImage(chartView_).save(file, "PNG")) {
    ui_.inform("画像を保存できません：" + fromQ(file), kTrackRecordTitle, Icon::Critical);
  }
}

bool saveTrackRecordChart(const Session& session, const fs::path& file, std::string* error) {
  std::string message;
  auto db = openTrackRecordDb(session, &message);
  if (!db) {
    if (error) *error = message;
    return false;
  }
  ProgramQuery q;
  const std::vector<ProgramFigures> top = chartPrograms(*db, &q);
  QChartView view(new QChart);
  view.setRenderHint(QPainter::Antialiasing);
  view.resize(1100, 640);
  drawRoiChart(view.chart(), trackRecordCurves(*db, session.settings, q, top), chartTitle(q));
  if (!chartImage(&view).save(toQ(file.string()), "PNG")) {
    if (error) *error = "画像を保存できません：" + file.string();
    return false;
  }
  return true;
}

void openTrackRecordWindow(Session& session, UserInterface& ui, QWidget* parent) {
  std::string message;
  auto db = openTrackRecordDb(session, &message);
  if (!db) {
    ui.inform(message, kTrackRecordTitle, Icon::Information);
    return;
  }
  TrackRecordWindow window(session, ui, std::move(db), parent);
  window.exec();
}

}  // namespace tolv::ui
