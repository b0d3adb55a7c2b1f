#include "ui/dialogs/folder_picker_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>
#include <QFrame>

#include "ui/common/qt_text.h"
#include "ui/dialogs/pickers.h"

namespace tolv::ui {

namespace {

QFrame* rule(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setObjectName(QStringLiteral("Line1"));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

FolderPickerDialog::FolderPickerDialog(UserInterface& ui, QLineEdit* target, const QString& appFolder, QWidget* parent)
    : QDialog(parent), ui_(ui), target_(target), appFolder_(appFolder) {
  setObjectName(QStringLiteral("frmFOLDER"));
  setWindowTitle(QStringLiteral("フォルダの参照"));
  setFont(QFont(QStringLiteral("Noto Sans Mono CJK JP")));

  auto* layout = new QVBoxLayout(this);
  auto* driveLabel = new QLabel(QStringLiteral("ドライブ(&V):"), this);
  driveLabel->setObjectName(QStringLiteral("Label1_0"));
  drives_ = new QComboBox(this);
  drives_->setObjectName(QStringLiteral("Drive1"));
  drives_->setToolTip(QStringLiteral("ドライブを選択してください"));
  driveLabel->setBuddy(drives_);
  auto* dirLabel = new QLabel(QStringLiteral("フォルダ(&D):"), this);
  dirLabel->setObjectName(QStringLiteral("Label1_1"));
  dirs_ = new QListWidget(this);
  dirs_->setObjectName(QStringLiteral("Dir1"));
  dirs_->setToolTip(QStringLiteral("ダブルクリックでフォルダを選択してください"));
  dirLabel->setBuddy(dirs_);
  text_ = new QLineEdit(this);
  text_->setObjectName(QStringLiteral("Text1"));
  text_->setToolTip(QStringLiteral("選択されているフォルダです"));
  text_->installEventFilter(this);
  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName(QStringLiteral("Command1_0"));
  ok->setToolTip(QStringLiteral("選択されたフォルダを決定し前画面に戻ります"));
  ok->setAutoDefault(false);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("Command1_1"));
  cancel->setToolTip(QStringLiteral("フォルダの書き替えを行わず前画面に戻ります"));
  cancel->setAutoDefault(false);

  layout->addWidget(driveLabel);
  layout->addWidget(drives_);
  layout->addWidget(rule(this));
  layout->addWidget(dirLabel);
  layout->addWidget(dirs_, 1);
  layout->addWidget(text_);
  layout->addWidget(rule(this));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  resize(420, 420);

  fillDrives();
  showFolder(chooserStartFolder(target_ ? target_->text() : QString(), appFolder_));

  connect(dirs_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const QString name = item->data(Qt::UserRole).toString();
    showFolder(name);
  });
  connect(drives_, &QComboBox::activated, this, [this](int index) {
    const QString root = drives_->itemData(index).toString();
    // A drive that cannot be read sends the lists back to the program's drive.
    if (!QDir(root).isReadable()) {
      showFolder(appFolder_);
      return;
    }
    showFolder(root);
  });
  connect(ok, &QPushButton::clicked, this, &FolderPickerDialog::confirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FolderPickerDialog::fillDrives() {
  drives_->clear();
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    drives_->addItem(volume.rootPath(), volume.rootPath());
  }
  if (drives_->findData(QStringLiteral("/")) < 0) drives_->insertItem(0, QStringLiteral("/"), QStringLiteral("/"));
}

void FolderPickerDialog::showFolder(const QString& folder) {
  QDir dir(folder);
  if (!dir.exists()) dir = QDir(appFolder_);
  current_ = QDir::cleanPath(dir.absolutePath());
  dirs_->clear();
  if (!dir.isRoot()) {
    auto* up = new QListWidgetItem(QStringLiteral(".."), dirs_);
    up->setData(Qt::UserRole, QFileInfo(current_).absolutePath());
  }
  const auto entries = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& entry : entries) {
    auto* item = new QListWidgetItem(entry.fileName(), dirs_);
    item->setData(Qt::UserRole, entry.absoluteFilePath());
  }
  // The drive whose root is the longest prefix of the folder.
  int best = -1;
  qsizetype bestLength = -1;
  for (int i = 0; i < drives_->count(); ++i) {
    const QString root = drives_->itemData(i).toString();
    if (current_.startsWith(root) && root.size() > bestLength) {
      best = i;
      bestLength = root.size();
    }
  }
  if (best >= 0) drives_->setCurrentIndex(best);
  text_->setText(current_);
}

bool FolderPickerDialog::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the folder box moves the focus to "ＯＫ" instead of confirming.
  if (watched == text_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (auto* ok = findChild<QPushButton*>(QStringLiteral("Command1_0"))) ok->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FolderPickerDialog::confirm() {
  QString path = text_->text().trimmed();
  if (path.isEmpty()) {
    ui_.inform(kFolderEmptyMessage, {}, Icon::None);
    return;
  }
  // One trailing separator goes; the root keeps its only one.
  if (path.size() > 1 && (path.endsWith('/') || path.endsWith('\\'))) path.chop(1);
  if (!QFileInfo(path).isDir()) {
    ui_.inform(kFolderMissingMessage, {}, Icon::None);
    return;
  }
  if (target_) target_->setText(path);
  accept();
}

}  // namespace tolv::ui
