#include "ui/window/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tolv::ui {

namespace {

// The few words of Qt's file chooser that Qt's own Japanese translation
// lacks (the type column of folders, drives and files).
class FileTypeWords : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0 && qstrcmp(context, "QFileSystemModel") != 0) return {};
    if (qstrcmp(source, "Folder") == 0) return QStringLiteral("フォルダ");
    if (qstrcmp(source, "Drive") == 0) return QStringLiteral("ドライブ");
    if (qstrcmp(source, "File") == 0) return QStringLiteral("ファイル");
    if (qstrcmp(source, "%1 File") == 0) return QStringLiteral("%1 ファイル");
    return {};
  }
};

}  // namespace

bool loadQtJapanese(QApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QApplication::installTranslator(translator);
  QApplication::installTranslator(new FileTypeWords(&app));
  return true;
}

void setUpApplication(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("tolv"));
  QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
  // The program is Japanese whatever the desktop's locale: dates and numbers
  // of Qt's own dialogs as well.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  loadQtJapanese(app);
}

}  // namespace tolv::ui
