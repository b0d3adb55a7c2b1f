#include "bets/bet_maintenance.h"

#include <optional>

#include "core/codes.h"
#include "core/text.h"

namespace tolv {

namespace {

constexpr std::string_view kErrorTitle = "【トルブ】エラーメッセージ";

// The day's lines, entries normalised; nullopt (after the message) when the
// file is missing or cannot be read.
std::optional<std::vector<PendingBetLine>> readDayLines(const fs::path& path, UserInterface& ui) {
  if (!isRegularFile(path)) {
    ui.inform(kNoPendingBetsMessage);
    return std::nullopt;
  }
  std::string error;
  auto lines = readPendingBetLines(path, &error);
  if (!lines) {
    ui.inform("保留ＢＥＴファイルを読めません：" + path.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
    return std::nullopt;
  }
  for (auto& l : *lines) {
    if (l.entry) l.entry = normalizePendingBet(*l.entry);
  }
  return lines;
}

// Lines that are not a whole entry (an empty line aside), which the commands
// keep as they stand.
long unreadLines(const std::vector<PendingBetLine>& lines) {
  long n = 0;
  for (const auto& l : lines) {
    if (!l.entry && !trim(l.bytes).empty()) ++n;
  }
  return n;
}

// The line added to a command's message when some lines were kept unread.
std::string unreadNote(long unread) {
  if (unread == 0) return {};
  return "買い目として読めない " + toWide(std::to_string(unread)) + "行は、そのまま残します。\r\n";
}

bool rewrite(const fs::path& path, const std::vector<PendingBetLine>& lines, UserInterface& ui) {
  std::string error;
  if (writeFileAtomic(path, encodePendingBetLines(lines), &error)) return true;
  ui.inform("保留ＢＥＴファイルを書き込めません：" + path.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
  return false;
}

// A number of at most `digits` digits read from text; negative or unreadable
// gives 0, so a broken field cannot spill into the neighbouring key digits.
long keyPart(std::string_view text, long limit) {
  long n = valInt(text);
  return n < 0 || n > limit ? 0 : n;
}

StepResult removeOrMerge(Session& s, UserInterface& ui, bool merge) {
  const std::string_view title = merge ? "保留ＢＥＴの重複買い目統合" : "保留ＢＥＴの重複買い目削除";
  const std::string_view question = merge ? "金額を統合してBET数を減らします。書き替えてよろしいですか？"
                                          : "最初に出現した買い目を残します。書き替えてよろしいですか？";
  const fs::path path = pendingBetPath(s);
  BusyScope busy(ui);
  const FolderLock lock = lockPendingBetFolder(s);
  auto read = readDayLines(path, ui);
  if (!read) return StepResult::Failed;

  // Lines that are not whole entries stay where they are and take no part.
  std::vector<PendingBetLine> kept;
  long duplicates = 0;
  for (auto& line : *read) {
    bool found = false;
    if (line.entry) {
      for (auto& k : kept) {
        if (!k.entry || !isDuplicateBet(*k.entry, *line.entry)) continue;
        if (merge) k.entry->stake = stakeText(stakeYen(k.entry->stake) + stakeYen(line.entry->stake));
        found = true;
        break;
      }
    }
    if (found) {
      ++duplicates;
    } else {
      kept.push_back(std::move(line));
    }
  }

  const std::string note = unreadNote(unreadLines(kept));
  if (duplicates == 0) {
    ui.inform("重複した買い目はありませんでした。" + (note.empty() ? "" : "\r\n" + note), title, Icon::Information);
    return StepResult::Done;
  }
  std::string text = "重複した買い目が " + toWide(std::to_string(duplicates)) + "BETありました。\r\n" + note +
                     std::string(question);
  // Rewrites the file: Enter keeps it as it is.
  if (ui.ask(text, title, Buttons::OkCancel, Answer::Cancel) != Answer::Ok) return StepResult::Cancelled;
  return rewrite(path, kept, ui) ? StepResult::Done : StepResult::Failed;
}

}  // namespace

bool isDuplicateBet(const PendingBetEntry& a, const PendingBetEntry& b) {
  return a.pick == b.pick && a.type == b.type && a.course == b.course && a.race == b.race;
}

long pendingBetSortKey(const PendingBetEntry& e) {
  long course = keyPart(CourseCodeOfName(e.course), 99);
  long race = keyPart(leftChars(e.race, 2), 99);
  long digit = 0;
  long pick = 0;
  switch (betKindOf(e.type)) {
    case BetKind::Win:
    case BetKind::Place:
      digit = betKindOf(e.type) == BetKind::Win ? 1 : 2;
      pick = keyPart(rightChars("0000" + trim(e.pick), 4), 9999);
      break;
    case BetKind::Bracket: {
      std::string last3 = rightChars(e.pick, 3);
      digit = 3;
      pick = keyPart(leftChars(last3, 1), 9) * 10 + keyPart(rightChars(last3, 1), 9);
      break;
    }
    case BetKind::Quinella:
    case BetKind::QuinellaPlace:
      digit = betKindOf(e.type) == BetKind::Quinella ? 4 : 5;
      pick = keyPart(leftChars(e.pick, 2), 99) * 100 + keyPart(rightChars(e.pick, 2), 99);
      break;
    case BetKind::Unknown:
      break;
  }
  return course * 10000000L + race * 100000L + digit * 10000L + pick;
}

StepResult RemoveDuplicateBets(Session& s, UserInterface& ui) { return removeOrMerge(s, ui, false); }

StepResult MergeDuplicateBets(Session& s, UserInterface& ui) { return removeOrMerge(s, ui, true); }

StepResult SortPendingBets(Session& s, UserInterface& ui) {
  const fs::path path = pendingBetPath(s);
  BusyScope busy(ui);
  const FolderLock lock = lockPendingBetFolder(s);
  auto read = readDayLines(path, ui);
  if (!read) return StepResult::Failed;
  auto& lines = *read;
  // Only the whole entries move, among their own places; every other line
  // keeps its place.
  std::vector<std::size_t> slots;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].entry) slots.push_back(i);
  }
  if (slots.size() < 2) return StepResult::Done;

  std::vector<PendingBetEntry> entries;
  std::vector<long> keys;
  entries.reserve(slots.size());
  keys.reserve(slots.size());
  for (std::size_t i : slots) {
    entries.push_back(*lines[i].entry);
    keys.push_back(pendingBetSortKey(entries.back()));
  }
  // The exchange sort of the original: equal keys end in the order it leaves
  // them (it is not stable), and the file's bytes depend on that order.
  for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      if (keys[j] < keys[i]) {
        std::swap(keys[i], keys[j]);
        std::swap(entries[i], entries[j]);
      }
    }
  }
  for (std::size_t k = 0; k < slots.size(); ++k) lines[slots[k]].entry = std::move(entries[k]);

  if (ui.ask("ソート結果に基づき、保留ＢＥＴファイルを書き替えます。\r\n" + unreadNote(unreadLines(lines)) +
                 "書き替えてよろしいですか？\r\n",
             "保留ＢＥＴの並び替え", Buttons::OkCancel, Answer::Cancel) != Answer::Ok) {
    return StepResult::Cancelled;
  }
  return rewrite(path, lines, ui) ? StepResult::Done : StepResult::Failed;
}

}  // namespace tolv
