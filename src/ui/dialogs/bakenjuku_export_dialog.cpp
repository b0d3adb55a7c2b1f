#include "ui/dialogs/bakenjuku_export_dialog.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/common/qt_text.h"

namespace tolv::ui {

BakenjukuExportDialog::BakenjukuExportDialog(Session& session, UserInterface& ui, BakenjukuSheet sheet, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui), sheet_(std::move(sheet)) {
  setObjectName(QStringLiteral("frm馬券塾"));
  setWindowTitle(QString::fromUtf8(kBakenjukuCaption));
  auto* layout = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("RichTextBox1"));
  text_->setFont(QFont(QStringLiteral("Noto Sans Mono CJK JP")));
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QString shown = toQ(sheet_.text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (shown.endsWith('\n')) shown.chop(1);
  text_->setPlainText(shown);
  layout->addWidget(text_, 1);

  auto* totals = new QHBoxLayout;
  const std::array<const char*, 2> captions = {"全ベット数", "ベット金額"};
  for (std::size_t i = 0; i < 2; ++i) {
    auto* caption = new QLabel(QString::fromUtf8(captions[i]), this);
    caption->setObjectName(QStringLiteral("Label1_%1").arg(i));
    labels_[i] = new QLabel(this);
    labels_[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    labels_[i]->setFrameShape(QFrame::Panel);
    labels_[i]->setFrameShadow(QFrame::Sunken);
    labels_[i]->setMinimumWidth(80);
    labels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totals->addWidget(caption);
    totals->addWidget(labels_[i]);
  }
  totals->addStretch();
  auto* recountButton = new QPushButton(QStringLiteral("再計算"), this);
  recountButton->setObjectName(QStringLiteral("Command3"));
  totals->addWidget(recountButton);
  layout->addLayout(totals);

  wide_ = new QCheckBox(QStringLiteral("出力時に「馬連」を全部「ワイド」に変換する"), this);
  wide_->setObjectName(QStringLiteral("Check1"));
  layout->addWidget(wide_);

  auto* buttons = new QHBoxLayout;
  auto* clip = new QPushButton(QStringLiteral("クリップボードに出力"), this);
  clip->setObjectName(QStringLiteral("Command1_0"));
  auto* file = new QPushButton(QStringLiteral("ファイルに出力"), this);
  file->setObjectName(QStringLiteral("Command1_1"));
  auto* back = new QPushButton(QStringLiteral("戻る"), this);
  back->setObjectName(QStringLiteral("Command2"));
  for (QPushButton* b : {recountButton, clip, file, back}) b->setAutoDefault(false);
  buttons->addWidget(clip);
  buttons->addWidget(file);
  buttons->addStretch();
  buttons->addWidget(back);
  layout->addLayout(buttons);
  connect(recountButton, &QPushButton::clicked, this, &BakenjukuExportDialog::recount);
  connect(clip, &QPushButton::clicked, this, &BakenjukuExportDialog::copyToClipboard);
  connect(file, &QPushButton::clicked, this, [this] { writeFile(); });
  connect(back, &QPushButton::clicked, this, &QDialog::accept);

  showLabels();
  resize(560, 420);
}

std::string BakenjukuExportDialog::editedText() const {
  QString text = text_->toPlainText();
  if (!text.isEmpty() && !text.endsWith('\n')) text += '\n';
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return fromQ(text);
}

void BakenjukuExportDialog::showLabels() {
  labels_[0]->setText(toQ(sheet_.countLabel()));
  labels_[1]->setText(toQ(sheet_.totalLabel()));
}

void BakenjukuExportDialog::recount() {
  sheet_.text = editedText();
  recountBakenjuku(sheet_);
  showLabels();
}

std::vector<std::string> BakenjukuExportDialog::outputLines() {
  // The summary shows the labels as they stand; only 再計算 counts again.
  sheet_.text = editedText();
  return bakenjukuOutputLines(session_, sheet_, wide_->isChecked());
}

void BakenjukuExportDialog::copyToClipboard() {
  const std::string text = bakenjukuClipboardText(outputLines());
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    clipboard->clear();
    clipboard->setText(toQ(text));
  }
  ui_.inform(kBakenjukuCopiedMessage, {}, Icon::None);
}

StepResult BakenjukuExportDialog::writeFile() { return writeBakenjukuFile(session_, ui_, outputLines()); }

}  // namespace tolv::ui
