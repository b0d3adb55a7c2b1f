#include "ui/window/listing_viewer.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>

#include "core/codes.h"
#include "core/cp932.h"
#include "core/files.h"
#include "core/text.h"
#include "output/result_grid.h"
#include "ui/common/qt_text.h"
#include "ui/window/course_buttons.h"
#include "ui/window/text_viewer.h"

namespace tolv::ui {

ListingViewer::ListingViewer(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("frmTXThyouji");
  setWindowTitle(QStringLiteral("【トルブ】テキスト表示"));
  setAutoFillBackground(true);
  frame_ = makeCourseButtonFrame(this, courses_, [this](int code) { showCourse(code); });
  close_ = new QPushButton(QStringLiteral("閉じる"), this);
  close_->setObjectName("sCommand1");
  connect(close_, &QPushButton::clicked, this, &ListingViewer::closeRequested);
  text_ = new TextViewer(this);
  text_->setReadOnly(true);
}

void ListingViewer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int frameHeight = frame_->sizeHint().height();
  frame_->setGeometry(4, 2, frame_->sizeHint().width(), frameHeight);
  close_->setGeometry(frame_->geometry().right() + 12, 2 + frameHeight - 28, 72, 28);
  const int top = frameHeight + 6;
  if (width() > 8 && height() > top + 4) text_->setGeometry(4, top, width() - 8, height() - top - 4);
}

bool ListingViewer::load() {
  for (int code = 1; code <= 10; ++code) courses_[code]->setEnabled(false);
  text_->clear();
  shown_.clear();
  const auto listings = dayCourseFiles(session_.outPutFolder(), session_.meetingDate(), ".TXT");
  for (const auto& [code, path] : listings) courses_[valInt(code)]->setEnabled(true);
  if (listings.empty()) return false;
  showCourse(static_cast<int>(valInt(listings.front().first)));
  return true;
}

void ListingViewer::showCourse(int code) {
  if (code < 1 || code > 10) return;
  const auto found =
      findCaseless(session_.outPutFolder(), "W" + session_.meetingDate() + "_" + TwoDigits(code) + ".TXT");
  if (!found) return;
  auto bytes = readFile(*found);
  if (!bytes) return;
  text_->setFileText(fromCp932(*bytes));
  shown_ = found->string();
  courses_[code]->setFocus();
}

}  // namespace tolv::ui
