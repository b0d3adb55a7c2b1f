#include "ui/window/qt_user_interface.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QAbstractButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "ui/common/qt_text.h"
#include "ui/window/overwrite_choice_dialog.h"
#include "ui/window/progress_window.h"

namespace tolv::ui {

QString messageText(std::string_view text) {
  QString q = toQ(text);
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return q;
}

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// A message box whose hourglass is lifted while it waits for the user.
class CursorPause {
 public:
  CursorPause() : paused_(QApplication::overrideCursor() != nullptr) {
    if (paused_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~CursorPause() {
    if (paused_) QApplication::restoreOverrideCursor();
  }

 private:
  bool paused_;
};

// A message box is as narrow as its text, and a window manager cuts a title
// wider than the window: the box is made wide enough for the whole title
// and the title bar's buttons.
void fitTitle(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid || box.windowTitle().isEmpty()) return;
  QFont titleFont = box.font();
  titleFont.setBold(true);
  const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 4 * QFontMetrics(titleFont).height() + 48;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                grid->columnCount());
}

bool isUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    default:
      return false;
  }
}

class StepInputGuard : public QObject {
 public:
  bool escape = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::Close && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
      event->ignore();
      return true;
    }
    if (!isUserInput(type)) return false;
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      escape = true;
      return true;
    }
    if (watched->property(kStopsStepProperty).toBool()) return false;
    // A step started from a click runs inside that click's release, so Qt
    // still sends the mouse to the button that started it: 中止 is found
    // under the pointer instead.
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      auto* stop = qobject_cast<QAbstractButton*>(QApplication::widgetAt(mouse->globalPosition().toPoint()));
      if (stop && stop->property(kStopsStepProperty).toBool() && stop->isEnabled() &&
          type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        stop->click();
      }
    }
    return true;
  }
};

}  // namespace

bool ProgressThrottle::due() {
  if (timer_.isValid() && timer_.elapsed() < interval_) return false;
  timer_.start();
  return true;
}

bool runStepEvents() {
  StepInputGuard guard;
  QCoreApplication::instance()->installEventFilter(&guard);
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(&guard);
  return guard.escape;
}

QtUserInterface::QtUserInterface(QWidget* parent, ProgressWindow* progress) : parent_(parent), progress_(progress) {
  if (progress_) stopConnection_ = QObject::connect(progress_, &ProgressWindow::stopClicked, [this] { stop_ = true; });
}

QtUserInterface::~QtUserInterface() {
  QObject::disconnect(stopConnection_);
  while (busyDepth_ > 0) busy(false);
}

void QtUserInterface::inform(std::string_view text, std::string_view title, Icon icon) {
  CursorPause pause;
  QMessageBox box(qtIcon(icon), toQ(title), messageText(text), QMessageBox::Ok, parent_);
  box.setObjectName("MsgBox");
  fitTitle(box);
  box.exec();
}

Answer QtUserInterface::ask(std::string_view text, std::string_view title, Buttons buttons, Answer defaultAnswer) {
  CursorPause pause;
  if (buttons == Buttons::OverwriteAppendCancel) {
    OverwriteChoiceDialog window(messageText(text), parent_);
    window.exec();
    switch (window.choice()) {
      case 1:
        return Answer::Overwrite;
      case 2:
        return Answer::Append;
      default:
        return Answer::Abort;
    }
  }
  QMessageBox box(QMessageBox::Question, toQ(title), messageText(text), QMessageBox::NoButton, parent_);
  box.setObjectName("MsgBox");
  fitTitle(box);
  struct Choice {
    const char* caption;
    Answer answer;
    QMessageBox::ButtonRole role;
  };
  std::vector<Choice> choices;
  switch (buttons) {
    case Buttons::Ok:
      choices = {{"OK", Answer::Ok, QMessageBox::AcceptRole}};
      break;
    case Buttons::OkCancel:
      choices = {{"OK", Answer::Ok, QMessageBox::AcceptRole}, {"キャンセル", Answer::Cancel, QMessageBox::RejectRole}};
      break;
    case Buttons::YesNo:
      choices = {{"はい", Answer::Yes, QMessageBox::YesRole}, {"いいえ", Answer::No, QMessageBox::NoRole}};
      break;
    case Buttons::YesNoCancel:
      choices = {{"はい", Answer::Yes, QMessageBox::YesRole},
                 {"いいえ", Answer::No, QMessageBox::NoRole},
                 {"キャンセル", Answer::Cancel, QMessageBox::RejectRole}};
      break;
    case Buttons::OverwriteAppendCancel:
      break;
  }
  std::vector<std::pair<QAbstractButton*, Answer>> made;
  for (const auto& c : choices) {
    QPushButton* b = box.addButton(QString::fromUtf8(c.caption), c.role);
    made.emplace_back(b, c.answer);
    if (c.answer == defaultAnswer) box.setDefaultButton(b);
  }
  // Escape or the close box: the cautious answer (the last button).
  box.setEscapeButton(made.back().first);
  box.exec();
  for (const auto& [b, answer] : made) {
    if (box.clickedButton() == b) return answer;
  }
  return made.back().second;
}

void QtUserInterface::letEventsRun() {
  if (runStepEvents()) stop_ = true;
}

void QtUserInterface::showPending() {
  if (progress_ && pendingPercent_ >= 0) progress_->advance(pendingPercent_);
  if (progress_ && pendingDetail_) progress_->detail(toQ(*pendingDetail_));
  pendingPercent_ = -1;
  pendingDetail_.reset();
  letEventsRun();
}

void QtUserInterface::progressBegin(std::string_view caption, unsigned colour) {
  pendingPercent_ = -1;
  pendingDetail_.reset();
  if (progress_) {
    progress_->begin(toQ(caption), QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
  }
  letEventsRun();
  throttle_.restart();
}

void QtUserInterface::progressAdvance(int percent) {
  pendingPercent_ = percent;
  if (throttle_.due()) showPending();
}

void QtUserInterface::progressDetail(std::string_view text) {
  pendingDetail_ = std::string(text);
  if (throttle_.due()) showPending();
}

void QtUserInterface::progressEnd() {
  pendingPercent_ = -1;
  pendingDetail_.reset();
  if (progress_) progress_->end();
}

void QtUserInterface::busy(bool on) {
  if (on) {
    // A new command: a stop asked for during the last one is spent.
    if (busyDepth_ == 0) stop_ = false;
    ++busyDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busyDepth_ > 0) {
    --busyDepth_;
    QApplication::restoreOverrideCursor();
  }
}

bool QtUserInterface::openWithShell(const std::string& path) {
  const QString file = toQ(path);
  if (!QFileInfo(file).isFile()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

}  // namespace tolv::ui
