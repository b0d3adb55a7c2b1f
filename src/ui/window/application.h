#pragma once
// What the desktop program sets on its QApplication before the first window:
// the Japanese font and Qt's own Japanese texts, so the file chooser and the
// standard buttons speak the same language as the rest of the program.

class QApplication;

namespace tolv::ui {

// Sets the name, the font and the translations. No application display name
// is set: Qt would append it to every caption, and the captions are the
// windows' own texts.
void setUpApplication(QApplication& app);

// Loads Qt's Japanese translations (qtbase_ja from Qt's translations folder)
// into the application; false when they are not installed.
bool loadQtJapanese(QApplication& app);

}  // namespace tolv::ui
