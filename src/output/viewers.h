#pragma once
// The loaders of the file viewer: the day's Tolv and Pirune WARS-format files
// (shown after the hit check against the day's results), the Pirune text file
// and the pending-bet file.

#include <optional>
#include <string>
#include <string_view>

#include "core/files.h"
#include "core/session.h"
#include "core/ui.h"

namespace tolv {

enum class ViewerKind { TolvWars, PiruneWars, PiruneText, PendingBets };

// What the viewer shows: its status line, the path of the shown file (the
// annotated copy after a hit check) and the file's text in UTF-8 with its line
// ends kept.
struct ViewerContent {
  std::string status;
  fs::path path;
  std::string text;
};

inline constexpr std::string_view kPendingBetsMissingMessage =
    "指定された日付の「保留ＢＥＴ」ファイルは存在しません！";

// "指定された「path」は存在しません！ " (with its trailing space).
std::string missingViewerFileMessage(const fs::path& path);

// The path a kind starts from (before any hit check).
fs::path viewerSourcePath(const Session& session, ViewerKind kind);

// The hit check of the WARS kinds: with a results file of at least one whole
// record, MarkWarsHits writes the annotated copy, whose path is returned; an
// empty results file is deleted. Returns `warsPath` when no copy was made.
fs::path checkWarsHits(const Session& session, UserInterface& ui, const fs::path& warsPath);

// Loads the file of `kind`. A missing file shows its message and gives nullopt.
std::optional<ViewerContent> LoadViewer(Session& session, UserInterface& ui, ViewerKind kind);

}  // namespace tolv
