#include "ui/dialogs/pad_settings_dialog.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/text.h"
#include "ui/common/qt_text.h"

namespace tolv::ui {

PadSettingsDialog::PadSettingsDialog(Session& session, UserInterface& ui, QWidget* parent) : QDialog(parent), session_(session), ui_(ui) {
  setObjectName(QStringLiteral("frmStaff"));
  // The choosers take relative paths from the home folder.
  services = DialogServices::standard(toQ(session_.appFolder()));
  setWindowTitle(QStringLiteral("【トルブ】ＰＡＤファイル作成の設定"));
  auto* layout = new QVBoxLayout(this);

  auto* folderFrame = new QGroupBox(QStringLiteral("ＰＡＤファイルの出力フォルダ"), this);
  folderFrame->setObjectName(QStringLiteral("Frame1"));
  auto* folderRow = new QHBoxLayout(folderFrame);
  text1_ = new QLineEdit(folderFrame);
  text1_->setObjectName(QStringLiteral("Text1"));
  auto* browse = new QPushButton(QStringLiteral("参照"), folderFrame);
  browse->setObjectName(QStringLiteral("Command1"));
  browse->setAutoDefault(false);
  folderRow->addWidget(text1_, 1);
  folderRow->addWidget(browse);
  layout->addWidget(folderFrame);
  connect(browse, &QPushButton::clicked, this, [this] {
    if (!services.browseFolder) return;
    // An empty choice keeps the old text.
    const QString chosen = services.browseFolder(this, text1_->text());
    if (!chosen.isEmpty()) text1_->setText(chosen);
  });

  auto* termFrame = new QGroupBox(QStringLiteral("ご利用の通信ソフト"), this);
  termFrame->setObjectName(QStringLiteral("Frame2"));
  auto* termLayout = new QHBoxLayout(termFrame);
  auto* termGroup = new QButtonGroup(termFrame);
  const std::array<const char*, 2> terms = {"ＮｉｆＴｅｒｍ", "ＡｉｒＣｒａｆｔ"};
  for (std::size_t i = 0; i < 2; ++i) {
    option1_[i] = new QRadioButton(QString::fromUtf8(terms[i]), termFrame);
    option1_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
    termGroup->addButton(option1_[i]);
    termLayout->addWidget(option1_[i]);
  }
  layout->addWidget(termFrame);

  auto* raceFrame = new QGroupBox(QStringLiteral("出力するレース"), this);
  raceFrame->setObjectName(QStringLiteral("Frame3"));
  auto* raceLayout = new QHBoxLayout(raceFrame);
  auto* raceGroup = new QButtonGroup(raceFrame);
  const std::array<const char*, 3> races = {"全レース出力", "３Ｒまで出力", "４Ｒ以降出力"};
  for (std::size_t i = 0; i < 3; ++i) {
    option2_[i] = new QRadioButton(QString::fromUtf8(races[i]), raceFrame);
    option2_[i]->setObjectName(QStringLiteral("Option2_%1").arg(i));
    raceGroup->addButton(option2_[i]);
    raceLayout->addWidget(option2_[i]);
  }
  layout->addWidget(raceFrame);

  check1_ = new QCheckBox(QStringLiteral("ＰＡＤファイル作成後エディタを起動する"), this);
  check1_->setObjectName(QStringLiteral("Check1"));
  layout->addWidget(check1_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName(QStringLiteral("Command2_0"));
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("Command2_1"));
  ok->setAutoDefault(false);
  cancel->setAutoDefault(false);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] {
    if (save()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  const PadSettings pad = LoadPadSettings(session_);
  text1_->setText(toQ(pad.outDir));
  option1_[pad.term == 1 ? 1 : 0]->setChecked(true);
  option2_[pad.raceOutFlag >= 0 && pad.raceOutFlag <= 2 ? static_cast<std::size_t>(pad.raceOutFlag) : 0]->setChecked(true);
  check1_->setChecked(pad.padEdit == 1);
}

PadSettings PadSettingsDialog::settings() const {
  PadSettings pad;
  pad.outDir = trim(fromQ(text1_->text()));
  pad.term = option1_[1]->isChecked() ? 1 : 0;
  pad.padEdit = check1_->isChecked() ? 1 : 0;
  pad.raceOutFlag = option2_[1]->isChecked() ? 1 : (option2_[2]->isChecked() ? 2 : 0);
  return pad;
}

bool PadSettingsDialog::save() {
  std::string error;
  if (!SavePadSettings(session_, settings(), &error)) {
    ui_.inform("設定を保存できません：" + session_.iniFilePath().string() + "\r\n" + error, "【トルブ】エラーメッセージ",
               Icon::Critical);
    return false;
  }
  return true;
}

}  // namespace tolv::ui
