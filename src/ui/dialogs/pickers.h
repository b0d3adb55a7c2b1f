#pragma once
// Pure helpers of the folder and file choosers.

#include <QString>
#include <QStringList>

namespace tolv::ui {

// The filters of the log-file chooser, in their order; the second (text
// files) is the one selected.
QStringList logFileFilters();
inline constexpr int kLogFileSelectedFilter = 1;

// Where the log-file chooser opens for the box's text: the folder of the
// file it names, or the text itself when it names a folder; "" (no initial
// folder) when the text is empty or its folder does not exist.
QString logFileStartFolder(const QString& current);

// A folder as the browser returns it: ends in "/" ("" stays "").
QString folderWithSlash(const QString& folder);

}  // namespace tolv::ui
