#include "ui/window/course_buttons.h"

#include <QHBoxLayout>

#include "core/codes.h"
#include "ui/common/qt_text.h"

namespace tolv::ui {

QGroupBox* makeCourseButtonFrame(QWidget* parent, CourseButtons& buttons, const std::function<void(int)>& onClick) {
  auto* frame = new QGroupBox(QStringLiteral("［競馬場］の選択"), parent);
  frame->setObjectName("Frame1");
  auto* row = new QHBoxLayout(frame);
  row->setContentsMargins(4, 0, 4, 2);
  row->setSpacing(2);
  for (int code = 1; code <= 10; ++code) {
    auto* b = new QPushButton(toQ(CourseNameOfCode(TwoDigits(code))), frame);
    b->setObjectName(QStringLiteral("Command1_%1").arg(code));
    b->setEnabled(false);
    b->setFixedWidth(44);
    QObject::connect(b, &QPushButton::clicked, frame, [onClick, code] { onClick(code); });
    row->addWidget(b);
    buttons[code] = b;
  }
  return frame;
}

}  // namespace tolv::ui
