#include "ui/window/overwrite_choice_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolv::ui {

OverwriteChoiceDialog::OverwriteChoiceDialog(const QString& text, QWidget* parent) : QDialog(parent) {
  setObjectName("frmKakunin");
  setWindowTitle(QStringLiteral("保留ＢＥＴへの出力確認！"));
  setModal(true);
  label_ = new QLabel(text, this);
  label_->setObjectName("Label1");
  label_->setWordWrap(true);
  label_->setMinimumWidth(420);

  auto* row = new QHBoxLayout;
  const char* captions[3] = {"上書き", "追加", "中止"};
  const int choices[3] = {1, 2, 0};
  for (int i = 0; i < 3; ++i) {
    buttons_[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
    buttons_[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
    // Enter presses the button that has the focus, Space too.
    buttons_[i]->setAutoDefault(true);
    const int value = choices[i];
    connect(buttons_[i], &QPushButton::clicked, this, [this, value] {
      choice_ = value;
      if (value == 0) {
        reject();
      } else {
        accept();
      }
    });
    row->addWidget(buttons_[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addLayout(row);
  // The cautious answer: Enter, Space and Escape keep the pending bets as
  // they are until 上書き or 追加 is chosen on purpose.
  buttons_[2]->setDefault(true);
  buttons_[2]->setFocus();
}

}  // namespace tolv::ui
