#pragma once
// The "［競馬場］の選択" frame of the grid and of the listing viewer: one
// button per racecourse, `Command1_<code>` for codes 1-10 in code order, all
// disabled until the view enables the day's courses.

#include <QGroupBox>
#include <QPushButton>
#include <array>
#include <functional>

namespace tolv::ui {

// Slot 0 is unused, so that a course code indexes its button.
using CourseButtons = std::array<QPushButton*, 11>;

// The frame with its ten buttons in `buttons`; a click calls onClick(code).
QGroupBox* makeCourseButtonFrame(QWidget* parent, CourseButtons& buttons, const std::function<void(int)>& onClick);

}  // namespace tolv::ui
