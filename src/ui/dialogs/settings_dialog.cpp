#include "ui/dialogs/settings_dialog.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "core/text.h"
#include "ui/common/qt_text.h"

namespace tolv::ui {

namespace {

const char* kErrorTitle = "【トルブ】エラーメッセージ";

QRadioButton* radio(QWidget* parent, QBoxLayout* layout, const QString& name, const QString& caption) {
  auto* r = new QRadioButton(caption, parent);
  r->setObjectName(name);
  layout->addWidget(r);
  return r;
}

QLineEdit* lineEdit(QWidget* parent, const QString& name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  return e;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

int checkedIndex(const auto& buttons, int fallback) {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i]->isChecked()) return static_cast<int>(i);
  }
  return fallback;
}

void checkIndex(const auto& buttons, int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < buttons.size()) buttons[static_cast<std::size_t>(index)]->setChecked(true);
}

}  // namespace

SettingsDialog::SettingsDialog(Session& session, UserInterface& ui, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui) {
  setObjectName(QStringLiteral("frmOptions"));
  // The choosers take relative paths from the home folder.
  services = DialogServices::standard(toQ(session_.appFolder()));
  setWindowTitle(QStringLiteral("【トルブ】環境設定"));

  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tbsOptions"));
  layout->addWidget(tabs_);

  struct Tab {
    QWidget* panel;
    const char* caption;
    const char* tip;
  };
  const std::array<Tab, 5> tabs = {{
      {buildFilePanel(), "ﾌｧｲﾙ・ﾌｫﾙﾀﾞ", "予想ファイルと切り出しフォルダの設定を行います"},
      {buildOddsPanel(), "PAT・ｵｯｽﾞ", "ＰＡＴとオッズファイルの設定を行います"},
      {buildBetPanel(), "保留ＢＥＴ", "保留ＢＥＴの設定を行います"},
      {buildOutputPanel(false), "WARS出力", "トルブのWARS形式ファイルの出力設定を行います"},
      {buildOutputPanel(true), "ぴるね", "『ぴるね』の設定を行います"},
  }};
  for (std::size_t i = 0; i < tabs.size(); ++i) {
    tabs[i].panel->setObjectName(QStringLiteral("picOptions_%1").arg(i));
    const int index = tabs_->addTab(tabs[i].panel, QString::fromUtf8(tabs[i].caption));
    tabs_->setTabToolTip(index, QString::fromUtf8(tabs[i].tip));
  }
  connect(tabs_, &QTabWidget::currentChanged, this, &SettingsDialog::showTab);
  // Ctrl+Tab selects the next tab, from the last back to the first.
  auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(next, &QShortcut::activated, this, [this] { tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count()); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = button(this, QStringLiteral("cmdOK"), QStringLiteral("OK"));
  auto* cancel = button(this, QStringLiteral("cmdCancel"), QStringLiteral("ｷｬﾝｾﾙ"));
  auto* applyButton = button(this, QStringLiteral("cmdApply"), QStringLiteral("更新"));
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(applyButton);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] {
    if (apply()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });

  patBetFolder_ = session_.settings.patBetFolder;
  betAutoFolder_ = session_.settings.betAutoFolder;
  setForm(optionsFormFromSettings(session_.settings));
  showTab(0);
}

QLineEdit* SettingsDialog::folderRow(QWidget* parent, QBoxLayout* layout, const QString& box, const QString& buttonName,
                                 bool logFile) {
  auto* row = new QHBoxLayout;
  auto* edit = lineEdit(parent, box);
  auto* chooser = button(parent, buttonName, QStringLiteral("…"));
  chooser->setFixedWidth(32);
  row->addWidget(edit, 1);
  row->addWidget(chooser);
  layout->addLayout(row);
  connect(chooser, &QPushButton::clicked, this, [this, edit, logFile] {
    if (logFile) {
      if (services.chooseLogFile) edit->setText(services.chooseLogFile(this, edit->text()));
      return;
    }
    if (!services.browseFolder) return;
    // A cancelled choice keeps the box's text.
    const QString chosen = services.browseFolder(this, edit->text());
    if (!chosen.isEmpty()) edit->setText(chosen);
  });
  return edit;
}

QWidget* SettingsDialog::buildFilePanel() {
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  const std::array<const char*, 3> frames = {"FHwars 20番会議室のログファイル(WARS形式FILE)", "切り出しファイルの格納フォルダ",
                                             "開催データ取得ファイル・フォルダ"};
  for (int i = 0; i < 3; ++i) {
    auto* frame = new QGroupBox(QString::fromUtf8(frames[static_cast<std::size_t>(i)]), panel);
    frame->setObjectName(QStringLiteral("Frame1_%1").arg(i));
    auto* inner = new QVBoxLayout(frame);
    text1_[static_cast<std::size_t>(i)] =
        folderRow(frame, inner, QStringLiteral("Text1_%1").arg(i), QStringLiteral("Command1_%1").arg(i), i == 0);
    if (i == 2) {
      auto* group = new QButtonGroup(frame);
      const std::array<const char*, 4> sources = {"MJH形式(RXyymmdd.TXT)", "TARGET出馬表(yymmdd全.LZH)",
                                                  "ＫＯＬ(H?yymmdd.LZH)", "新JRAVAN(D?yymmdd.LZH)"};
      for (int k = 0; k < 4; ++k) {
        option2_[static_cast<std::size_t>(k)] =
            radio(frame, inner, QStringLiteral("Option2_%1").arg(k), QString::fromUtf8(sources[static_cast<std::size_t>(k)]));
        group->addButton(option2_[static_cast<std::size_t>(k)]);
      }
    }
    layout->addWidget(frame);
  }
  layout->addStretch();
  return panel;
}

QWidget* SettingsDialog::buildOddsPanel() {
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  auto* kinds = new QGroupBox(QStringLiteral("オッズ種類の選択"), panel);
  kinds->setObjectName(QStringLiteral("Frame3"));
  auto* kindsLayout = new QVBoxLayout(kinds);
  const std::array<const char*, 5> captions = {"ＰＡＴ windows９５", "ＰＡＴ windows９８", "FHwars１７番会議室",
                                               "TARGET形式CSV", "ＭＪＨ形式(RXyymmdd.TXT)"};
  auto* group = new QButtonGroup(kinds);
  for (int k = 0; k < 5; ++k) {
    auto* r = radio(kinds, kindsLayout, QStringLiteral("Option3_%1").arg(k), QString::fromUtf8(captions[static_cast<std::size_t>(k)]));
    option3_[static_cast<std::size_t>(k)] = r;
    group->addButton(r);
    connect(r, &QRadioButton::toggled, this, &SettingsDialog::updateEnabling);
  }
  layout->addWidget(kinds);

  oddsFolderFrame_ = new QGroupBox(QStringLiteral("PAT or CSVｵｯｽﾞ or MJHﾃﾞｰﾀ フォルダの選択"), panel);
  oddsFolderFrame_->setObjectName(QStringLiteral("Frame4"));
  auto* folderLayout = new QVBoxLayout(oddsFolderFrame_);
  text2_ = folderRow(oddsFolderFrame_, folderLayout, QStringLiteral("Text2"), QStringLiteral("Command2"), false);
  command2_ = oddsFolderFrame_->findChild<QPushButton*>(QStringLiteral("Command2"));
  layout->addWidget(oddsFolderFrame_);

  logFrame_ = new QGroupBox(QStringLiteral("FHwars_mes17 ログファイルの選択"), panel);
  logFrame_->setObjectName(QStringLiteral("Frame5"));
  auto* logLayout = new QVBoxLayout(logFrame_);
  text12_ = folderRow(logFrame_, logLayout, QStringLiteral("Text12"), QStringLiteral("Command7"), true);
  command7_ = logFrame_->findChild<QPushButton*>(QStringLiteral("Command7"));
  layout->addWidget(logFrame_);
  layout->addStretch();
  return panel;
}

QWidget* SettingsDialog::buildBetPanel() {
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  auto* stakes = new QGroupBox(QStringLiteral("ＢＥＴ金額の設定"), panel);
  stakes->setObjectName(QStringLiteral("Frame6"));
  auto* grid = new QGridLayout(stakes);
  const std::array<const char*, 3> captions = {"枠連１点あたりの掛け金", "馬連１点あたりの掛け金", "ワイド１点あたりの掛け金"};
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<std::size_t>(i);
    grid->addWidget(new QLabel(QString::fromUtf8(captions[k]), stakes), i, 0);
    text3_[k] = lineEdit(stakes, QStringLiteral("Text3_%1").arg(i));
    text3_[k]->setAlignment(Qt::AlignRight);
    grid->addWidget(text3_[k], i, 1);
    // The spinner: two arrows beside the box that step it by 100 yen
    // (100-999900), as wide as the arrows need.
    upDown1_[k] = new QWidget(stakes);
    upDown1_[k]->setObjectName(QStringLiteral("UpDown1_%1").arg(i));
    auto* arrows = new QVBoxLayout(upDown1_[k]);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    QLineEdit* box = text3_[k];
    for (const bool up : {true, false}) {
      auto* arrow = new QToolButton(upDown1_[k]);
      arrow->setObjectName(QStringLiteral("UpDown1_%1%2").arg(i).arg(up ? QStringLiteral("Up") : QStringLiteral("Down")));
      arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
      arrow->setAutoRepeat(true);
      arrow->setFocusPolicy(Qt::NoFocus);
      arrow->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
      arrows->addWidget(arrow);
      connect(arrow, &QToolButton::clicked, this, [box, up] {
        const int v = static_cast<int>(val(fromQ(box->text())));
        box->setText(QString::number(std::clamp(v + (up ? 100 : -100), 100, 999900)));
      });
    }
    grid->addWidget(upDown1_[k], i, 2);
    grid->addWidget(new QLabel(QStringLiteral("円"), stakes), i, 3);
  }
  layout->addWidget(stakes);

  auto* exportFrame = new QGroupBox(QStringLiteral("BETファイルの出力形式"), panel);
  exportFrame->setObjectName(QStringLiteral("Frame7"));
  auto* exportLayout = new QVBoxLayout(exportFrame);
  auto* group = new QButtonGroup(exportFrame);
  option1_[0] = radio(exportFrame, exportLayout, QStringLiteral("Option1_0"), QStringLiteral("「パッとベッと」形式"));
  option1_[1] = radio(exportFrame, exportLayout, QStringLiteral("Option1_1"), QStringLiteral("「Bet Auto」形式"));
  group->addButton(option1_[0]);
  group->addButton(option1_[1]);
  exportLayout->addWidget(new QLabel(QStringLiteral("出力フォルダ"), exportFrame));
  text4_ = folderRow(exportFrame, exportLayout, QStringLiteral("Text4"), QStringLiteral("Command3"), false);
  for (int i = 0; i < 2; ++i) {
    connect(option1_[static_cast<std::size_t>(i)], &QRadioButton::clicked, this, [this, i] {
      // The box shows the folder of the export chosen; what was typed for
      // the other one is kept for it.
      text4_->setText(toQ(i == 0 ? patBetFolder_ : betAutoFolder_));
    });
  }
  connect(text4_, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (option1_[1]->isChecked()) betAutoFolder_ = fromQ(t);
    else patBetFolder_ = fromQ(t);
  });
  layout->addWidget(exportFrame);

  auto* pending = new QGroupBox(QStringLiteral("保留ＢＥＴファイルのフォルダ（なるべく変更しないで下さい）"), panel);
  pending->setObjectName(QStringLiteral("Frame8"));
  auto* pendingLayout = new QVBoxLayout(pending);
  text5_ = folderRow(pending, pendingLayout, QStringLiteral("Text5"), QStringLiteral("Command4"), false);
  layout->addWidget(pending);
  layout->addStretch();
  return panel;
}

QWidget* SettingsDialog::buildOutputPanel(bool pirune) {
  OutputControls& c = pirune ? pirune_ : wars_;
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  auto* folderFrame = new QGroupBox(pirune ? QStringLiteral("『ぴるね』WARS形式ファイルの出力フォルダ")
                                           : QStringLiteral("【トルブ】WARS形式ファイルの出力フォルダ"),
                                    panel);
  folderFrame->setObjectName(pirune ? QStringLiteral("Frame11") : QStringLiteral("Frame9"));
  auto* folderLayout = new QVBoxLayout(folderFrame);
  c.folder = folderRow(folderFrame, folderLayout, pirune ? QStringLiteral("Text11") : QStringLiteral("Text6"),
                       pirune ? QStringLiteral("Command6") : QStringLiteral("Command5"), false);
  auto* namingRow = new QHBoxLayout;
  auto* group = new QButtonGroup(folderFrame);
  const std::array<const char*, 3> namings = {"WARSｺｰﾄﾞ", "TXT", "その他"};
  const QString optionName = pirune ? QStringLiteral("Option5_%1") : QStringLiteral("Option4_%1");
  for (int k = 0; k < 3; ++k) {
    auto* r = radio(folderFrame, namingRow, optionName.arg(k), QString::fromUtf8(namings[static_cast<std::size_t>(k)]));
    c.naming[static_cast<std::size_t>(k)] = r;
    group->addButton(r);
    connect(r, &QRadioButton::toggled, this, &SettingsDialog::updateEnabling);
  }
  namingRow->addWidget(new QLabel(QStringLiteral("出力ﾌｧｲﾙの拡張子"), folderFrame));
  c.extension = lineEdit(folderFrame, pirune ? QStringLiteral("Text14") : QStringLiteral("Text13"));
  c.extension->setMaximumWidth(80);
  namingRow->addWidget(c.extension);
  namingRow->addStretch();
  folderLayout->addLayout(namingRow);
  layout->addWidget(folderFrame);

  auto* outFrame = new QGroupBox(pirune ? QStringLiteral("『ぴるね』WARS形式出力設定") : QStringLiteral("【トルブ】WARS形式出力設定"),
                                 panel);
  outFrame->setObjectName(pirune ? QStringLiteral("Frame12") : QStringLiteral("Frame10"));
  auto* grid = new QGridLayout(outFrame);
  grid->addWidget(new QLabel(QStringLiteral("出力点数"), outFrame), 0, 0);
  c.output = new QSpinBox(outFrame);
  c.output->setObjectName(pirune ? QStringLiteral("UpDown3") : QStringLiteral("UpDown2"));
  c.output->setRange(1, 6);
  grid->addWidget(c.output, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("WARSコード"), outFrame), 1, 0);
  c.code = lineEdit(outFrame, pirune ? QStringLiteral("Text10") : QStringLiteral("Text7"));
  c.code->setMaxLength(4);
  grid->addWidget(c.code, 1, 1);
  c.ownHeader = new QCheckBox(QStringLiteral("WARSヘッダをオリジナルにする(自分で作成する)"), outFrame);
  c.ownHeader->setObjectName(pirune ? QStringLiteral("Check2") : QStringLiteral("Check1"));
  connect(c.ownHeader, &QCheckBox::toggled, this, &SettingsDialog::updateEnabling);
  grid->addWidget(c.ownHeader, 2, 0, 1, 3);
  c.header = lineEdit(outFrame, pirune ? QStringLiteral("Text9") : QStringLiteral("Text8"));
  grid->addWidget(c.header, 3, 0, 1, 3);
  if (pirune) {
    c.sort = new QCheckBox(QStringLiteral("オッズの低い順にソートする"), outFrame);
    c.sort->setObjectName(QStringLiteral("Check3"));
    grid->addWidget(c.sort, 4, 0, 1, 3);
  }
  grid->setColumnStretch(2, 1);
  layout->addWidget(outFrame);
  layout->addStretch();
  return panel;
}

void SettingsDialog::showTab(int index) {
  // Only the chosen tab's panel takes input.
  for (int i = 0; i < tabs_->count(); ++i) tabs_->widget(i)->setEnabled(i == index);
}

void SettingsDialog::updateEnabling() {
  if (!option3_[2] || !wars_.ownHeader || !pirune_.ownHeader) return;
  const bool forumOdds = option3_[2]->isChecked();
  logFrame_->setEnabled(forumOdds);
  text12_->setEnabled(forumOdds);
  command7_->setEnabled(forumOdds);
  oddsFolderFrame_->setEnabled(!forumOdds);
  text2_->setEnabled(!forumOdds);
  command2_->setEnabled(!forumOdds);
  for (OutputControls* c : {&wars_, &pirune_}) {
    c->extension->setEnabled(c->naming[2]->isChecked());
    c->header->setEnabled(c->ownHeader->isChecked());
  }
}

OptionsForm SettingsDialog::form() const {
  OptionsForm f;
  f.logFile = fromQ(text1_[0]->text());
  f.cutFolder = fromQ(text1_[1]->text());
  f.denFolder = fromQ(text1_[2]->text());
  f.denFlag = checkedIndex(option2_, 3);
  f.oddsSource = checkedIndex(option3_, 0);
  f.patFolder = fromQ(text2_->text());
  f.fhWars = fromQ(text12_->text());
  for (std::size_t i = 0; i < 3; ++i) f.stakes[i] = fromQ(text3_[i]->text());
  f.betOutFlag = checkedIndex(option1_, 0);
  f.exportFolder = fromQ(text4_->text());
  f.pendingFolder = fromQ(text5_->text());
  auto out = [](const OutputControls& c) {
    OptionsOutputForm o;
    o.outFolder = fromQ(c.folder->text());
    o.naming = checkedIndex(c.naming, 0);
    o.extension = fromQ(c.extension->text());
    o.output = std::to_string(c.output->value());
    o.code = fromQ(c.code->text());
    o.ownHeader = c.ownHeader->isChecked();
    o.header = fromQ(c.header->text());
    o.sort = c.sort && c.sort->isChecked();
    return o;
  };
  f.wars = out(wars_);
  f.pirune = out(pirune_);
  return f;
}

void SettingsDialog::setForm(const OptionsForm& f) {
  text1_[0]->setText(toQ(f.logFile));
  text1_[1]->setText(toQ(f.cutFolder));
  text1_[2]->setText(toQ(f.denFolder));
  checkIndex(option2_, f.denFlag);
  checkIndex(option3_, f.oddsSource);
  text2_->setText(toQ(f.patFolder));
  text12_->setText(toQ(f.fhWars));
  for (std::size_t i = 0; i < 3; ++i) text3_[i]->setText(toQ(f.stakes[i]));
  checkIndex(option1_, f.betOutFlag);
  text4_->setText(toQ(f.exportFolder));
  text5_->setText(toQ(f.pendingFolder));
  auto in = [](OutputControls& c, const OptionsOutputForm& o) {
    c.folder->setText(toQ(o.outFolder));
    checkIndex(c.naming, o.naming);
    c.extension->setText(toQ(o.extension));
    const long n = valInt(o.output);
    c.output->setValue(n < 1 || n > 6 ? 6 : static_cast<int>(n));
    c.code->setText(toQ(o.code));
    c.ownHeader->setChecked(o.ownHeader);
    c.header->setText(toQ(o.header));
    if (c.sort) c.sort->setChecked(o.sort);
  };
  in(wars_, f.wars);
  in(pirune_, f.pirune);
  updateEnabling();
}

bool SettingsDialog::apply() {
  std::string error;
  const OptionsForm f = form();
  if (!applyOptionsForm(session_, f, &error)) {
    ui_.inform("設定を保存できません：" + session_.iniFilePath().string() + "\r\n" + error, kErrorTitle, Icon::Critical);
    return false;
  }
  // The export folder just stored is the one the switch shows next time.
  if (f.betOutFlag == 1) betAutoFolder_ = session_.settings.betAutoFolder;
  else patBetFolder_ = session_.settings.patBetFolder;
  return true;
}

}  // namespace tolv::ui
