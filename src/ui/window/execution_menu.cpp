#include "ui/window/execution_menu.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/dates.h"
#include "core/profile.h"
#include "core/text.h"
#include "ui/common/qt_text.h"

namespace tolv::ui {

SpinBox::SpinBox(const QString& name, double step, double minimum, double maximum, QWidget* parent)
    : QWidget(parent), step_(step), minimum_(minimum), maximum_(maximum) {
  edit_ = new QLineEdit(this);
  edit_->setObjectName(name);
  up_ = new QToolButton(this);
  up_->setObjectName(name + "Up");
  up_->setArrowType(Qt::UpArrow);
  up_->setAutoRepeat(true);
  down_ = new QToolButton(this);
  down_->setObjectName(name + "Down");
  down_->setArrowType(Qt::DownArrow);
  down_->setAutoRepeat(true);
  for (auto* b : {up_, down_}) {
    b->setFixedSize(16, 11);
    b->setFocusPolicy(Qt::NoFocus);
  }
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->addWidget(up_);
  arrows->addWidget(down_);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  row->addWidget(edit_);
  row->addLayout(arrows);
  connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

QString SpinBox::text() const { return edit_->text(); }
void SpinBox::setText(const QString& text) { edit_->setText(text); }

void SpinBox::stepBy(int steps) {
  const std::string current = fromQ(edit_->text());
  double value = val(current) + steps * step_;
  value = std::clamp(value, minimum_, maximum_);
  // Whole numbers stay whole; a value typed with decimals keeps one.
  const bool whole = std::floor(value) == value && current.find('.') == std::string::npos;
  edit_->setText(whole ? QString::number(static_cast<long>(value)) : QString::number(value, 'f', 1));
  emit stepped();
}

ExecutionMenu::ExecutionMenu(Session& session, UserInterface& ui, QWidget* parent) : QFrame(parent), session_(session), ui_(ui) {
  setObjectName("frmMenu");
  setWindowTitle(QStringLiteral("実行メニュー"));
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  setFixedWidth(kWidth);

  auto* title = new QLabel(QStringLiteral("実行メニュー"), this);
  title->setObjectName("lblTitle");
  title->setAlignment(Qt::AlignCenter);
  title->setStyleSheet("background:#000080;color:white;font-weight:bold;padding:2px");

  // 開催日の設定
  auto* dateGroup = new QGroupBox(QStringLiteral("開催日の設定"), this);
  dateGroup->setObjectName("fraDate");
  year_ = new SpinBox("txtYear", 1, 1900, 9999, dateGroup);
  month_ = new SpinBox("txtMonth", 1, 1, 12, dateGroup);
  day_ = new SpinBox("txtDay", 1, 1, 31, dateGroup);
  // Year and month are typed; only the day has its arrows.
  year_->upButton()->hide();
  year_->downButton()->hide();
  month_->upButton()->hide();
  month_->downButton()->hide();
  year_->edit()->setMaxLength(4);
  month_->edit()->setMaxLength(2);
  day_->edit()->setMaxLength(2);
  weekday_ = new QLabel(dateGroup);
  weekday_->setObjectName("lblWeekday");
  weekday_->setAlignment(Qt::AlignCenter);
  weekday_->setMinimumWidth(20);
  auto* dateRow = new QGridLayout(dateGroup);
  dateRow->setHorizontalSpacing(2);
  dateRow->addWidget(year_, 0, 0);
  dateRow->addWidget(new QLabel(QStringLiteral("年"), dateGroup), 0, 1);
  dateRow->addWidget(month_, 0, 2);
  dateRow->addWidget(new QLabel(QStringLiteral("月"), dateGroup), 0, 3);
  dateRow->addWidget(day_, 1, 0);
  dateRow->addWidget(new QLabel(QStringLiteral("日"), dateGroup), 1, 1);
  dateRow->addWidget(weekday_, 1, 2);
  connect(day_, &SpinBox::stepped, this, [this] {
    // The day's arrows change the processing day at once (a day past the
    // month's end shows "？" until it is corrected).
    takeMeetingDate(false);
    showWeekday();
  });
  for (auto* box : {year_, month_, day_}) {
    connect(box->edit(), &QLineEdit::textChanged, this, [this] { showWeekday(); });
  }

  // オッズ範囲
  auto* oddsGroup = new QGroupBox(QStringLiteral("オッズ範囲"), this);
  oddsGroup->setObjectName("fraOdds");
  oddsMin_ = new SpinBox("txtOddsMin", 1, 0, 9999, oddsGroup);
  oddsMax_ = new SpinBox("txtOddsMax", 1, 0, 9999, oddsGroup);
  auto* oddsGrid = new QGridLayout(oddsGroup);
  oddsGrid->addWidget(new QLabel(QStringLiteral("最小値"), oddsGroup), 0, 0);
  oddsGrid->addWidget(oddsMin_, 0, 1);
  oddsGrid->addWidget(new QLabel(QStringLiteral("最大値"), oddsGroup), 1, 0);
  oddsGrid->addWidget(oddsMax_, 1, 1);

  // ダブリの数
  auto* dupGroup = new QGroupBox(QStringLiteral("ダブリの数"), this);
  dupGroup->setObjectName("fraDup");
  dupMin_ = new SpinBox("txtDupMin", 1, 0, 64, dupGroup);
  dupMax_ = new SpinBox("txtDupMax", 1, 0, 9999, dupGroup);
  auto* dupRow = new QHBoxLayout(dupGroup);
  dupRow->addWidget(dupMin_);
  dupRow->addWidget(new QLabel(QStringLiteral("～"), dupGroup));
  dupRow->addWidget(dupMax_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addWidget(title);
  layout->addWidget(dateGroup);
  layout->addWidget(oddsGroup);
  layout->addWidget(dupGroup);

  buttons_ = new QWidget(this);
  auto* buttonColumn = new QVBoxLayout(buttons_);
  buttonColumn->setContentsMargins(0, 0, 0, 0);
  buttonColumn->setSpacing(3);
  layout->addWidget(buttons_);
  layout->addStretch(1);

  connect(addButton("cmdLogRead", "ログ読込み"), &QPushButton::clicked, this, &ExecutionMenu::logsRequested);
  connect(addButton("cmdTolv", "トルブ作成"), &QPushButton::clicked, this, &ExecutionMenu::tolvRequested);
  connect(addButton("cmdPirune", "ぴるね作成"), &QPushButton::clicked, this, &ExecutionMenu::piruneRequested);
  connect(addButton("cmdOptions", "環境設定"), &QPushButton::clicked, this, &ExecutionMenu::settingsRequested);
  connect(addButton("cmdEnd", "終了"), &QPushButton::clicked, this, &ExecutionMenu::endRequested);
  connect(addButton("cmdOddsReload", "オッズ再読込"), &QPushButton::clicked, this, &ExecutionMenu::oddsReloadRequested);
  connect(addButton("cmdSaihen", "トルブ再編"), &QPushButton::clicked, this, &ExecutionMenu::rebuildRequested);
  connect(addButton("cmdWars", "WARS形式出力"), &QPushButton::clicked, this, &ExecutionMenu::warsRequested);
  connect(addButton("cmdOddsItiran", "オッズ取得状況"), &QPushButton::clicked, this, &ExecutionMenu::oddsStatusRequested);
  connect(addButton("cmdTekityu", "的中判定"), &QPushButton::clicked, this, &ExecutionMenu::hitsRequested);

  fillFromSession();
}

QPushButton* ExecutionMenu::addButton(const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption), buttons_);
  b->setObjectName(QString::fromLatin1(name));
  b->setMinimumHeight(26);
  buttons_->layout()->addWidget(b);
  return b;
}

void ExecutionMenu::fillFromSession() {
  year_->setText(toQ(session_.meetingYear()));
  month_->setText(toQ(session_.meetingMonth()));
  day_->setText(toQ(session_.meetingDay()));
  oddsMin_->setText(toQ(session_.settings.oddsMin));
  oddsMax_->setText(toQ(session_.settings.oddsMax));
  dupMin_->setText(toQ(session_.settings.minW));
  dupMax_->setText(toQ(session_.settings.maxW));
  showWeekday();
}

std::string ExecutionMenu::boxDate() const {
  std::string y = trim(fromQ(year_->text()));
  std::string m = trim(fromQ(month_->text()));
  std::string d = trim(fromQ(day_->text()));
  // As TakeMeetingDate pads them.
  if (val(m) < 10) m = zeroPad(valInt(m), 2);
  if (val(d) < 10) d = zeroPad(valInt(d), 2);
  return y + m + d;
}

void ExecutionMenu::showWeekday() {
  const std::string kanji = weekdayKanji(boxDate());
  weekday_->setText(toQ(kanji));
  QString colour = "black";
  if (kanji == "日") colour = "red";
  if (kanji == "土") colour = "blue";
  weekday_->setStyleSheet("font-weight:bold;color:" + colour);
}

bool ExecutionMenu::takeMeetingDate(bool report) {
  const std::string ymd = boxDate();
  if (!parseYmd(ymd)) {
    if (report) {
      ui_.inform("開催日「" + fromQ(year_->text()) + "年" + fromQ(month_->text()) + "月" + fromQ(day_->text()) +
                   "日」は正しい日付ではありません！",
                 "【トルブ】エラーメッセージ", Icon::Exclamation);
    }
    return false;
  }
  return session_.takeMeetingDate(fromQ(year_->text()), fromQ(month_->text()), fromQ(day_->text()));
}

bool ExecutionMenu::prepare() {
  if (!takeMeetingDate()) return false;
  takeRanges();
  return true;
}

void ExecutionMenu::takeRanges() {
  session_.takeDupRange(fromQ(dupMin_->text()), fromQ(dupMax_->text()));
  session_.takeOddsRange(fromQ(oddsMin_->text()), fromQ(oddsMax_->text()));
}

bool ExecutionMenu::saveRanges(std::string* error) {
  takeRanges();
  auto profile = ProfileFile::load(session_.iniFilePath(), error);
  if (!profile) return false;
  profile->set("ODDS", "MIN", session_.settings.oddsMin);
  profile->set("ODDS", "MAX", session_.settings.oddsMax);
  profile->set("OTHER", "MinW", session_.settings.minW);
  profile->set("OTHER", "MaxW", session_.settings.maxW);
  return profile->save(error);
}

}  // namespace tolv::ui
