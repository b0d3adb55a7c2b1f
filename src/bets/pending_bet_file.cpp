#include "bets/pending_bet_file.h"

#include "core/text.h"

namespace tolv {

namespace {

constexpr std::string_view kErrorTitle = "【トルブ】エラーメッセージ";

bool writeBets(UserInterface& ui, const fs::path& path, std::string_view bytes) {
  std::string error;
  std::error_code ec;
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
  if (writeFileAtomic(path, bytes, &error)) return true;
  ui.inform("保留ＢＥＴファイルを書き込めません：" + path.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
  return false;
}

}  // namespace

StepResult WritePendingBets(Session& s, UserInterface& ui, const std::vector<PendingBetEntry>& entries, long total) {
  const fs::path path = pendingBetPath(s);
  std::error_code ec;
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
  // Held from the look at the file to its rewrite, the question included.
  const FolderLock lock = lockPendingBetFolder(s);
  const std::string n = toWide(std::to_string(entries.size()));
  const std::string t = toWide(std::to_string(total));
  const std::string lines = encodePendingBets(entries);

  if (isRegularFile(path)) {
    Answer a = ui.ask("\r\n　ベット数［" + n + "］、購入金額［" + t + "円］の保留ＢＥＴを出力します。\r\n\r\n　" +
                          "既に「保留ＢＥＴファイル」が存在しますが、［上書き］または［追加］を選択してください！\r\n\r\n",
                      kPendingBetConfirmTitle, Buttons::OverwriteAppendCancel, Answer::Abort);
    if (a == Answer::Overwrite) return writeBets(ui, path, lines) ? StepResult::Done : StepResult::Failed;
    if (a != Answer::Append) return StepResult::Cancelled;
    // Appending rewrites the whole file so that a crash never leaves it torn.
    std::string error;
    auto old = readFile(path, &error);
    if (!old) {
      ui.inform("保留ＢＥＴファイルを読めません：" + path.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
      return StepResult::Failed;
    }
    // A last line without its line end (a file edited by hand) is ended first,
    // so the first new bet does not run on into it.
    if (!old->empty() && old->back() != '\n' && old->back() != '\r') *old += "\r\n";
    return writeBets(ui, path, *old + lines) ? StepResult::Done : StepResult::Failed;
  }

  if (!writeBets(ui, path, lines)) return StepResult::Failed;
  ui.inform("ベット数［" + n + "BET］、購入金額［" + t + "円］の保留ＢＥＴを出力しました。");
  return StepResult::Done;
}

StepResult WritePendingBets(Session& s, UserInterface& ui, const std::vector<PendingBetEntry>& entries) {
  long total = 0;
  for (const auto& e : entries) total += stakeYen(e.stake);
  return WritePendingBets(s, ui, entries, total);
}

}  // namespace tolv
