#include "ui/window/help.h"

#include <algorithm>

namespace tolv::ui {

std::vector<fs::path> userGuideCandidates(const fs::path& programFolder) {
  std::vector<fs::path> places;
  if (!programFolder.empty()) places.push_back((programFolder / ".." / TOLV_GUIDE_INSTALLED_RELATIVE).lexically_normal());
  for (const fs::path& p : {fs::path(TOLV_GUIDE_INSTALLED), fs::path(TOLV_GUIDE_BUILD)}) {
    if (std::find(places.begin(), places.end(), p) == places.end()) places.push_back(p);
  }
  return places;
}

fs::path findUserGuide(const fs::path& programFolder) {
  for (const auto& p : userGuideCandidates(programFolder)) {
    std::error_code ec;
    if (fs::is_regular_file(p, ec)) return p;
  }
  return {};
}

}  // namespace tolv::ui
