#include "ui/window/help.h"

#include <QDialog>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/common/qt_text.h"

namespace tolv::ui {

std::vector<fs::path> userGuideCandidates(const fs::path& programFolder) {
  std::vector<fs::path> places;
  if (!programFolder.empty()) places.push_back((programFolder / ".." / TOLV_GUIDE_INSTALLED_RELATIVE).lexically_normal());
  for (const fs::path& p : {fs::path(TOLV_GUIDE_INSTALLED), fs::path(TOLV_GUIDE_BUILD)}) {
    if (std::find(places.begin(), places.end(), p) == places.end()) places.push_back(p);
  }
  return places;
}

fs::path findUserGuide(const std::vector<fs::path>& candidates) {
  for (const auto& p : candidates) {
    std::error_code ec;
    if (fs::is_regular_file(p, ec)) return p;
  }
  return {};
}

fs::path findUserGuide(const fs::path& programFolder) { return findUserGuide(userGuideCandidates(programFolder)); }

GuideShown openUserGuide(UserInterface& ui, const std::vector<fs::path>& candidates, QWidget* parent) {
  const fs::path guide = findUserGuide(candidates);
  if (guide.empty()) {
    const std::string named = candidates.empty() ? std::string("user-guide.html") : candidates.front().string();
    ui.inform("ヘルプファイル「" + named + "」を開けません！", "【トルブ】エラーメッセージ", Icon::Exclamation);
    return GuideShown::Missing;
  }
  if (ui.openWithShell(guide.string())) return GuideShown::Shell;
  // No program for HTML on this desktop: the guide in a window of our own,
  // with its pictures and the links between its pages.
  auto* window = new QDialog(parent ? parent->window() : nullptr);
  window->setObjectName(QStringLiteral("frmHelp"));
  window->setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(window);
  auto* browser = new QTextBrowser(window);
  browser->setObjectName(QStringLiteral("txtHelp"));
  browser->setOpenExternalLinks(false);
  browser->setSource(QUrl::fromLocalFile(toQ(guide.string())));
  layout->addWidget(browser);
  window->setWindowTitle(browser->documentTitle());
  QObject::connect(browser, &QTextBrowser::sourceChanged, window,
                   [window, browser] { window->setWindowTitle(browser->documentTitle()); });
  window->resize(800, 600);
  window->show();
  return GuideShown::Window;
}

}  // namespace tolv::ui
