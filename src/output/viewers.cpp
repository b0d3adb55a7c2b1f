#include "output/viewers.h"

#include "core/cp932.h"
#include "core/pending_bet.h"
#include "output/pirune_output.h"
#include "output/race_results.h"
#include "output/tolv_wars.h"

namespace tolv {

namespace {

constexpr std::size_t kResultRecordBytes = 110;

std::string_view statusOf(ViewerKind kind) {
  switch (kind) {
    case ViewerKind::TolvWars:
      return "トルブWARS形式を表示中…";
    case ViewerKind::PiruneWars:
      return "ぴるねWARS形式を表示中…";
    case ViewerKind::PiruneText:
      return "ぴるねテキスト形式を表示中…";
    case ViewerKind::PendingBets:
      break;
  }
  return "保留ＢＥＴを表示中…";
}

}  // namespace

std::string missingViewerFileMessage(const fs::path& path) {
  return "指定された「" + path.string() + "」は存在しません！ ";
}

fs::path viewerSourcePath(const Session& session, ViewerKind kind) {
  switch (kind) {
    case ViewerKind::TolvWars:
      return tolvWarsPath(session);
    case ViewerKind::PiruneWars:
      return piruneWarsPath(session);
    case ViewerKind::PiruneText:
      return piruneTextPath(session);
    case ViewerKind::PendingBets:
      break;
  }
  return pendingBetPath(session);
}

fs::path checkWarsHits(const Session& session, UserInterface& ui, const fs::path& warsPath) {
  const fs::path results = resultsFilePath(session);
  std::error_code ec;
  if (!fs::is_regular_file(results, ec)) return warsPath;
  const auto size = fs::file_size(results, ec);
  if (ec) return warsPath;
  if (size == 0) {
    fs::remove(results, ec);
    return warsPath;
  }
  if (size < kResultRecordBytes) return warsPath;
  BusyScope busy(ui);  // 競走成績照合中…
  // A copy that could not be written leaves the file shown as it is.
  std::optional<WarsHitCheck> check = MarkWarsHits(warsPath, results);
  if (check && fs::is_regular_file(check->annotated, ec)) return check->annotated;
  return warsPath;
}

std::optional<ViewerContent> LoadViewer(Session& session, UserInterface& ui, ViewerKind kind) {
  fs::path path = viewerSourcePath(session, kind);
  std::error_code ec;
  const bool present = fs::exists(fs::symlink_status(path, ec));
  if (!fs::is_regular_file(path, ec) && !present) {
    if (kind == ViewerKind::PendingBets) {
      ui.inform(kPendingBetsMissingMessage);
    } else {
      ui.inform(missingViewerFileMessage(path));
    }
    return std::nullopt;
  }
  if (fs::is_regular_file(path, ec) && (kind == ViewerKind::TolvWars || kind == ViewerKind::PiruneWars))
    path = checkWarsHits(session, ui, path);
  std::string error;
  std::optional<std::string> bytes = readFile(path, &error);
  if (!bytes) {
    // There, but not readable (no permission, a folder): not "missing".
    ui.inform("「" + path.string() + "」を読み込めません：" + error, "【トルブ】エラーメッセージ", Icon::Critical);
    return std::nullopt;
  }
  return ViewerContent{std::string(statusOf(kind)), path, fromCp932(*bytes)};
}

}  // namespace tolv
