#pragma once
// Pure helpers of the folder and file choosers.

#include <QString>
#include <QStringList>

namespace tolv::ui {

// The filters of the log-file chooser, in their order; the second (text
// files) is the one selected.
QStringList logFileFilters();
inline constexpr int kLogFileSelectedFilter = 1;

// Where every file and folder chooser opens for the text of its box: a
// relative path is taken from the home folder, as the program reads it (case
// ignored); the folder it names, else the folder of the file it names (also
// of a file not there yet); the home folder when that folder does not exist.
QString chooserStartFolder(const QString& boxText, const QString& home);

// A folder as the browser returns it: ends in "/" ("" stays "").
QString folderWithSlash(const QString& folder);

}  // namespace tolv::ui
