#include "ui/window/wars_viewer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>

#include "core/cp932.h"
#include "core/files.h"
#include "output/result_grid.h"
#include "ui/common/qt_text.h"
#include "ui/window/text_viewer.h"

namespace tolv::ui {

WarsViewer::WarsViewer(Session& session, UserInterface& ui, QWidget* parent)
    : QWidget(parent), session_(session), ui_(ui) {
  setObjectName("frmWARShyouji");
  setWindowTitle(QStringLiteral("【トルブ】WARS形式表示"));
  setAutoFillBackground(true);
  status_ = new QLabel(this);
  status_->setObjectName("Label1_0");
  path_ = new QLabel(this);
  path_->setObjectName("Label1_1");
  path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  close_ = new QPushButton(QStringLiteral("閉じる"), this);
  close_->setObjectName("sCommand1");
  copy_ = new QPushButton(QStringLiteral("クリップボードにコピー"), this);
  copy_->setObjectName("sCommand2");
  save_ = new QPushButton(QStringLiteral("ファイルに 再保存"), this);
  save_->setObjectName("sCommand3");
  send_ = new QPushButton(QStringLiteral("保留BETへ出力"), this);
  send_->setObjectName("sCommand4");
  send_->setEnabled(false);
  text_ = new TextViewer(this);

  connect(close_, &QPushButton::clicked, this, &WarsViewer::closeRequested);
  connect(copy_, &QPushButton::clicked, this, &WarsViewer::copyToClipboard);
  connect(save_, &QPushButton::clicked, this, &WarsViewer::saveToFile);
  connect(send_, &QPushButton::clicked, this, &WarsViewer::sendPicks);
}

void WarsViewer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The status beside the buttons, the file's path on a line of its own below
  // them (a long path needs the whole width), each as tall as its font needs.
  const int lineHeight = std::max(status_->sizeHint().height(), path_->sizeHint().height());
  const int buttonHeight = std::max(28, lineHeight + 4);
  int x = 4;
  for (QPushButton* b : {close_, copy_, save_, send_}) {
    const int w = b->sizeHint().width() + 12;
    b->setGeometry(x, 2, w, buttonHeight);
    x += w + 4;
  }
  status_->setGeometry(x + 8, 2 + (buttonHeight - lineHeight) / 2, std::max(width() - x - 12, 0), lineHeight);
  path_->setGeometry(8, buttonHeight + 4, std::max(width() - 16, 0), lineHeight);
  const int top = buttonHeight + lineHeight + 6;
  if (width() > 0 && height() > top) text_->setGeometry(4, top, width() - 8, height() - top - 4);
}

bool WarsViewer::load(ViewerKind kind) {
  if (kind == ViewerKind::TolvWars || kind == ViewerKind::PiruneWars) {
    // The hit check can take a moment on a long file.
    status_->setText(QStringLiteral("競走成績照合中…"));
  }
  std::optional<ViewerContent> content = LoadViewer(session_, ui_, kind);
  if (!content) return false;
  kind_ = kind;
  status_->setText(toQ(content->status));
  path_->setText(toQ(content->path.string()));
  text_->setFileText(content->text);
  text_->document()->setModified(false);
  loadedBytes_ = readFile(content->path).value_or(std::string());
  send_->setEnabled(kind == ViewerKind::TolvWars || kind == ViewerKind::PiruneWars);
  return true;
}

bool WarsViewer::changedOnDisk() const {
  const fs::path path(fromQ(path_->text()));
  std::error_code ec;
  if (!fs::exists(path, ec)) return true;  // deleted since (an export that empties the bets)
  if (!isRegularFile(path)) return false;  // saving reports that it cannot write there
  return readFile(path) != std::optional<std::string>(loadedBytes_);
}

void WarsViewer::refresh() {
  if (!kind_ || text_->document()->isModified()) return;
  if (!isRegularFile(viewerSourcePath(session_, *kind_))) {
    emit closeRequested();
    return;
  }
  load(*kind_);
}

void WarsViewer::copyToClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(toQ(text_->fileText()));
  ui_.inform("「クリップボードにコピーしました！");
}

void WarsViewer::saveToFile() {
  const std::string path = fromQ(path_->text());
  const std::string text = text_->fileText();
  const std::string bytes = toCp932(text);
  if (fromCp932(bytes) != text &&
      ui_.ask("Shift-JIS で表せない文字があります。その文字は「?」として保存されます。\r\nよろしいですか？",
              "【トルブ】確認", Buttons::OkCancel, Answer::Cancel) != Answer::Ok) {
    return;
  }
  if (!path.empty() && changedOnDisk()) {
    // Another command (統合, 並び替え, 保留BETへ出力 ...) rewrote the file after
    // it was shown: saving the old text would undo that.
    const Answer a = ui_.ask("「" + path + "」は表示した後に書き替えられています。\r\n\r\n" +
                                 "はい→読み込み直す　いいえ→表示中の内容で上書きする　ｷｬﾝｾﾙ→保存しない",
                             "【トルブ】確認", Buttons::YesNoCancel, Answer::Cancel);
    if (a == Answer::Yes) {
      if (kind_) load(*kind_);
      return;
    }
    if (a != Answer::No) return;
  }
  std::string error;
  // Written whole or not at all: a failed save leaves the file as it was.
  if (path.empty() || !writeFileAtomic(fs::path(path), bytes, &error)) {
    ui_.inform("保存に失敗しました(ﾟﾟ;) アｾアｾ");
    return;
  }
  loadedBytes_ = bytes;
  text_->document()->setModified(false);
  ui_.inform("セーブしました！");
}

void WarsViewer::sendPicks() {
  const std::string path = fromQ(path_->text());
  if (path.empty()) {
    ui_.inform(kWarsSendFailedMessage);
    return;
  }
  SendWarsPicks(session_, ui_, fs::path(path));
}

}  // namespace tolv::ui
