#include "ui/window/progress_window.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>

#include "ui/window/qt_user_interface.h"

namespace tolv::ui {

void drawPercentBar(QPainter& painter, const QRect& area, int percent, const QColor& colour) {
  percent = std::clamp(percent, 0, 100);
  painter.save();
  painter.fillRect(area, Qt::white);
  const QRect barRect(area.left(), area.top(), area.width() * percent / 100, area.height());
  const QString text = QString::number(percent) + QLatin1Char('%');
  if (percent > 0) {
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignCenter, text);
  }
  painter.fillRect(barRect, colour);
  if (percent > 0 && !barRect.isEmpty()) {
    // The part of the text under the bar, in the bar colour's inverse.
    painter.setClipRect(barRect);
    painter.setPen(QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue()));
    painter.drawText(area, Qt::AlignCenter, text);
  }
  painter.restore();
}

PercentBar::PercentBar(QWidget* parent) : QWidget(parent) {
  setObjectName("Picture1");
  setMinimumHeight(18);
}

void PercentBar::setPercent(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == percent_) return;
  percent_ = percent;
  update();
}

void PercentBar::setColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void PercentBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawPercentBar(painter, rect(), percent_, colour_);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

ProgressWindow::ProgressWindow(QWidget* parent) : QFrame(parent) {
  setObjectName("frmProgres");
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  // The client area behind is mid-grey: the window takes the desktop's own
  // window and text colours so that its lines read well.
  QPalette own = palette();
  const QPalette app = QApplication::palette();
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Light, QPalette::Mid,
                                   QPalette::Dark, QPalette::Shadow}) {
    own.setColor(role, app.color(role));
  }
  setPalette(own);
  caption_ = new QLabel(this);
  caption_->setObjectName("Label1");
  detail_ = new QLabel(this);
  detail_->setObjectName("Label2");
  bar_ = new PercentBar(this);
  stop_ = new QPushButton(QStringLiteral("中止"), this);
  stop_->setObjectName("cmdStop");
  stop_->setToolTip(QStringLiteral("処理を中止します（Esc）。ファイルは中止する前のままです。"));
  stop_->setFocusPolicy(Qt::NoFocus);
  stop_->setProperty(kStopsStepProperty, true);
  connect(stop_, &QPushButton::clicked, this, &ProgressWindow::stopClicked);
  // Two lines of text as tall as the font needs, then the bar.
  const int line = std::max(caption_->sizeHint().height(), 18);
  setFixedHeight(4 + 2 * line + 2 + 18 + 6);
  hide();
}

void ProgressWindow::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  const int inner = width() - 2 * kBarLeft;
  const int line = std::max(caption_->sizeHint().height(), 18);
  const int stopWidth = stop_->sizeHint().width();
  stop_->setGeometry(width() - kBarLeft - stopWidth, 4, stopWidth, 2 * line - 2);
  const int text = std::max(inner - stopWidth - 8, 0);
  caption_->setGeometry(kBarLeft, 4, text, line);
  detail_->setGeometry(kBarLeft, 4 + line, text, line);
  bar_->setGeometry(kBarLeft, 4 + 2 * line + 2, std::max(inner, 0), 18);
}

void ProgressWindow::begin(const QString& caption, const QColor& colour) {
  caption_->setText(caption);
  detail_->clear();
  bar_->setColour(colour);
  bar_->setPercent(0);
  show();
  raise();
}

void ProgressWindow::advance(int percent) { bar_->setPercent(percent); }

void ProgressWindow::detail(const QString& text) { detail_->setText(text); }

void ProgressWindow::end() {
  bar_->setPercent(0);
  hide();
}

QString ProgressWindow::caption() const { return caption_->text(); }
QString ProgressWindow::detailText() const { return detail_->text(); }

}  // namespace tolv::ui
