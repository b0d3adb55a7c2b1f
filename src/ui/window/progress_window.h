#pragma once
// The progress window along the bottom of the main window: a caption, the
// current item and a bar that shows the percentage in its middle, drawn
// inverted where the bar covers it.

#include <QColor>
#include <QFrame>
#include <QWidget>

class QLabel;
class QPainter;
class QPushButton;

namespace tolv::ui {

// Paints the bar into `area`: a white box, "##0%" centred in black when
// `percent` is above 0, and the bar from the left edge across `percent` of the
// width in `colour`. Where the bar covers the text, the text shows in the
// inverse of the bar colour.
void drawPercentBar(QPainter& painter, const QRect& area, int percent, const QColor& colour);

// The bar picture (`Picture1`).
class PercentBar : public QWidget {
  Q_OBJECT
 public:
  explicit PercentBar(QWidget* parent = nullptr);
  void setPercent(int percent);
  void setColour(const QColor& colour);
  int percent() const { return percent_; }
  QColor colour() const { return colour_; }
  QSize sizeHint() const override { return {200, 20}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int percent_ = 0;
  QColor colour_{0x00, 0x00, 0x80};
};

// `frmProgres`: hidden until a long step shows it.
class ProgressWindow : public QFrame {
  Q_OBJECT
 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  void begin(const QString& caption, const QColor& colour);
  void advance(int percent);
  void detail(const QString& text);
  void end();

  QString caption() const;
  QString detailText() const;
  PercentBar* bar() const { return bar_; }
  // 中止: asks the running step to stop (shown while a step runs).
  QPushButton* stopButton() const { return stop_; }

 signals:
  void stopClicked();

 public:
  // The bar's left offset inside the window (the bar is as wide as the window
  // less twice this).
  static constexpr int kBarLeft = 8;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* caption_;
  QLabel* detail_;
  PercentBar* bar_;
  QPushButton* stop_;
};

}  // namespace tolv::ui
