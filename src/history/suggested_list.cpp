#include "history/suggested_list.h"

#include "core/text.h"

namespace tolv {

std::vector<ListRow> suggestedListRows(const std::vector<ProgramFigures>& ranked, int top) {
  std::vector<ListRow> rows;
  for (const ProgramFigures& p : ranked) {
    if (static_cast<int>(rows.size()) >= top) break;
    rows.push_back({kAdoptedMark, zeroPad(p.code, 4), p.name});
  }
  return rows;
}

StepResult writeSuggestedList(const Session& session, UserInterface& ui, const std::string& name,
                              const std::vector<ListRow>& rows, fs::path* written) {
  const std::optional<fs::path> path = saveAsPath(session.appFolder(), name);
  if (!path) {
    ui.inform("リスト名にフォルダは指定できません：" + trim(name), kReplaceListTitle, Icon::Exclamation);
    return StepResult::Failed;
  }
  std::error_code ec;
  if (fs::exists(*path, ec)) {
    const Answer a = ui.ask(path->filename().string() + " は既に存在します。置き換えますか？", kReplaceListTitle,
                            Buttons::YesNo, Answer::No);
    if (a != Answer::Yes) return StepResult::Cancelled;
  }
  std::string error;
  if (!writeListFile(*path, rows, &error)) {
    ui.inform("リストを保存できません：" + path->string() + "\r\n" + error, kReplaceListTitle, Icon::Critical);
    return StepResult::Failed;
  }
  if (written) *written = *path;
  return StepResult::Done;
}

}  // namespace tolv
