#include "bets/bet_export.h"

#include <algorithm>
#include <system_error>

#include "core/codes.h"
#include "core/dates.h"
#include "core/numformat.h"
#include "core/text.h"
#include "tolv/version.h"

namespace tolv {

namespace {

constexpr const char* kPatBetTitle = "「パッとベッと」購入ファイルの切り出し";
constexpr const char* kBetAutoTitle = "「Bet Auto」ファイルの出力";
constexpr const char* kCrLf = "\r\n";

// The six fields of an entry as the reading convention gives them: each
// without the spaces around it, the stake keeping its "円".
struct Fields {
  std::string course, race, type, pick, odds, stake;
};

Fields fieldsOf(const PendingBetEntry& bet) {
  return {trim(bet.course), trim(bet.race), trim(bet.type), trim(bet.pick), trim(bet.odds), trim(bet.stake)};
}

std::string spaces(std::size_t n) { return std::string(n, ' '); }

// The last n characters of `pad` + text.
std::string rightIn(std::string_view pad, std::string_view text, long n) {
  return rightChars(std::string(pad) + std::string(text), n);
}

std::string padChars(std::string s, std::size_t n) {
  const std::size_t len = lenChars(s);
  if (len < n) s += spaces(n - len);
  return s;
}

std::string padLeftChars(const std::string& s, std::size_t n) {
  const std::size_t len = lenChars(s);
  return len < n ? spaces(n - len) + s : s;
}

std::string withoutYen(const std::string& stake) {
  const std::string yen = "円";
  if (stake.size() >= yen.size() && stake.compare(stake.size() - yen.size(), yen.size(), yen) == 0)
    return trim(stake.substr(0, stake.size() - yen.size()));
  return stake;
}

std::string normCourse(const Fields& f) { return rightIn("　　", f.course, 2); }
std::string normRace(const Fields& f) { return rightIn("   ", f.race, 3); }

// Bet Auto's bet type: "ワイド" for 拡/ワ/ﾜ, then 6 bytes.
std::string betAutoType(const Fields& f) {
  std::string type = f.type;
  const std::string first = charAt(type, 1);
  if (first == "拡" || first == "ﾜ" || first == "ワ") type = "ワイド";
  return leftBytes(type + spaces(6), 6);
}

// A horse number of two characters: below 10 as a space and its last digit.
std::string spaceNumber(const std::string& two) {
  return valInt(two) < 10 ? " " + rightChars(two, 1) : two;
}

// The pick as Bet Auto and 馬券塾 write it for quinella, quinella-place and
// bracket quinella; `other` for any other type.
std::string votingPick(const std::string& typeFirst, const Fields& f, const std::string& other) {
  const std::string pick = rightIn(spaces(5), f.pick, 5);
  if (typeFirst == "馬" || typeFirst == "拡" || typeFirst == "ワ" || typeFirst == "ﾜ")
    return spaceNumber(leftChars(pick, 2)) + "-" + spaceNumber(rightChars(pick, 2));
  if (typeFirst == "枠") {
    const std::string t = trim(pick);
    return " " + leftChars(t, 1) + "- " + rightChars(t, 1);
  }
  return other;
}

// Reads the day's pending bets; reports a missing or unreadable file.
std::optional<std::vector<PendingBetEntry>> readForExport(const Session& session, UserInterface& ui) {
  const fs::path path = pendingBetPath(session);
  if (!isRegularFile(path)) {
    ui.inform(kNoPendingBetsMessage);
    return std::nullopt;
  }
  std::string error;
  std::vector<PendingBetEntry> bets = readPendingBets(path, &error);
  if (!error.empty()) {
    ui.inform("保留ＢＥＴファイル（" + path.string() + "）を読めませんでした。" + kCrLf + error,
              "【トルブ】エラーメッセージ", Icon::Critical);
    return std::nullopt;
  }
  return bets;
}

bool ensureFolder(const fs::path& folder, UserInterface& ui) {
  std::error_code ec;
  if (isDirectory(folder)) return true;
  fs::create_directories(folder, ec);
  if (isDirectory(folder)) return true;
  ui.inform("出力フォルダ（" + folder.string() + "）を作成できませんでした。", "【トルブ】エラーメッセージ",
            Icon::Critical);
  return false;
}

void reportWriteError(UserInterface& ui, const fs::path& path, const std::string& error) {
  ui.inform("ファイル（" + path.string() + "）に書き込めませんでした。" + kCrLf + error, "【トルブ】エラーメッセージ",
            Icon::Critical);
}

// Offers to delete the pending-bet file after an export.
void offerPendingDeletion(const Session& session, UserInterface& ui, const std::string& text, const char* title) {
  if (ui.ask(text, title, Buttons::YesNo, Answer::No) == Answer::Yes) removeFile(pendingBetPath(session));
}

}  // namespace

// --- パッとベッと ---------------------------------------------------------------

std::string patBetLine(const PendingBetEntry& bet) {
  const Fields f = fieldsOf(bet);
  const std::string type2 = rightIn("　　", f.type, 2);
  std::string pick = rightIn(spaces(5), f.pick, 5);
  if (type2 == "馬連") {
    auto zeroNumber = [](const std::string& two) {
      return valInt(two) < 10 ? "0" + rightChars(two, 1) : two;
    };
    pick = zeroNumber(leftChars(pick, 2)) + "-" + zeroNumber(rightChars(pick, 2));
  }
  const std::string sep = "    ";
  return normCourse(f) + sep + normRace(f) + sep + padChars(type2, 6) + sep + pick + sep +
         rightIn(spaces(6), f.odds, 6) + sep + rightIn(spaces(7), f.stake, 7);
}

StepResult ExportPatBet(Session& session, UserInterface& ui) {
  // Bets added after the read must not go with the file when it is deleted.
  const FolderLock lock = lockPendingBetFolder(session);
  auto bets = readForExport(session, ui);
  if (!bets) return StepResult::Failed;

  const fs::path folder = session.resolvePath(session.settings.patBetFolder);
  const std::string yymmdd = rightChars(session.meetingDate(), 6);
  if (!ensureFolder(folder, ui)) return StepResult::Failed;

  int deleted = 0;
  for (const fs::path& old : listFiles(folder, yymmdd + "??.BET"))
    if (removeFile(old)) ++deleted;

  const std::string header = leftChars(yymmdd, 2) + "年 " + midChars(yymmdd, 3, 2) + "月 " + rightChars(yymmdd, 2) + "日";
  const std::size_t n = bets->size();
  int files = 0;
  for (std::size_t start = 0; start < n; start += kPatBetPerFile) {
    ++files;
    const std::size_t end = files == kPatBetMaxFiles ? n : std::min(n, start + kPatBetPerFile);
    std::vector<std::string> lines{header, ""};
    for (std::size_t i = start; i < end; ++i) lines.push_back(patBetLine((*bets)[i]));
    const fs::path path = folder / (yymmdd + "_" + std::to_string(files) + ".BET");
    std::string error;
    if (!writeFileAtomic(path, encodeTextLines(lines), &error)) {
      reportWriteError(ui, path, error);
      return StepResult::Failed;
    }
    if (end == n) break;
  }

  std::string text;
  if (deleted > 0) text = "既存のBETﾌｧｲﾙ（" + std::to_string(deleted) + "ﾌｧｲﾙ）を削除しました。" + kCrLf;
  text += std::to_string(n) + "BET（" + std::to_string(files) + "ﾌｧｲﾙ）出力しました。";
  ui.inform(text, kPatBetTitle);
  offerPendingDeletion(session, ui, "保留ＢＥＴファイルを削除しますか？", kPatBetTitle);
  return StepResult::Done;
}

// --- Bet Auto ------------------------------------------------------------------

std::string betAutoLine(const PendingBetEntry& bet) {
  const Fields f = fieldsOf(bet);
  const std::string type = betAutoType(f);
  const std::string typeFirst = charAt(type, 1);
  const std::string raw = rightIn(spaces(5), f.pick, 5);
  const std::string pick = votingPick(typeFirst, f, (typeFirst == "単" || typeFirst == "複") ? trim(raw) : raw);
  const std::string head = "0 09:00:" + CourseCodeOfName(f.course) + " 投票項目入力 " + normCourse(f) + " " +
                           normRace(f) + " " + padChars(type, 6) + "    ";
  std::string line = leftBytes(head + spaces(45), 44) + pick;
  return leftBytes(line + spaces(45), 50) + padLeftChars(withoutYen(f.stake), 6);
}

fs::path betAutoPath(const Session& session) {
  return session.resolvePath(session.settings.betAutoFolder) / (session.meetingDate() + ".lst");
}

StepResult ExportBetAuto(Session& session, UserInterface& ui) {
  const FolderLock lock = lockPendingBetFolder(session);
  auto bets = readForExport(session, ui);
  if (!bets) return StepResult::Failed;

  const fs::path path = betAutoPath(session);
  std::string existing;
  if (isRegularFile(path)) {
    const std::string question = "同名のファイル（" + path.string() + "）が存在します。上書きしますか？" + kCrLf + kCrLf +
                                 "はい→上書き　いいえ→アペンド（追加）　ｷｬﾝｾﾙ→処理を中止" + kCrLf + kCrLf;
    // Yes replaces the list: Enter keeps it.
    const Answer a = ui.ask(question, kBetAutoTitle, Buttons::YesNoCancel, Answer::Cancel);
    if (a == Answer::Cancel || a == Answer::Abort) return StepResult::Cancelled;
    if (a == Answer::No) {
      std::string error;
      auto bytes = readFile(path, &error);
      if (!bytes) {
        reportWriteError(ui, path, error);
        return StepResult::Failed;
      }
      existing = std::move(*bytes);
    }
  } else if (!ensureFolder(path.parent_path(), ui)) {
    return StepResult::Failed;
  }

  std::vector<std::string> lines;
  lines.reserve(bets->size() + 1);
  for (const PendingBetEntry& bet : *bets) lines.push_back(betAutoLine(bet));
  lines.emplace_back(kBetAutoClosingLine);
  std::string error;
  if (!writeFileAtomic(path, existing + encodeTextLines(lines), &error)) {
    reportWriteError(ui, path, error);
    return StepResult::Failed;
  }

  offerPendingDeletion(session, ui,
                       std::to_string(bets->size()) + "BET出力しました。" + kCrLf + kCrLf +
                           "保留ＢＥＴファイルを削除しますか？",
                       kBetAutoTitle);
  return StepResult::Done;
}

// --- 馬券塾 --------------------------------------------------------------------

std::string BakenjukuSheet::countLabel() const { return std::to_string(count); }
std::string BakenjukuSheet::totalLabel() const { return formatNumber(static_cast<double>(total), "#,###"); }

std::string bakenjukuLine(const std::string& meetingDate, const PendingBetEntry& bet) {
  const Fields f = fieldsOf(bet);
  const std::string letter = charAt(leftBytes(trimLeft(f.type) + spaces(6), 6), 1);
  const std::string pick = votingPick(letter, f, rightIn(spaces(5), f.pick, 5));
  return "#," + meetingDate + "," + normCourse(f) + "," + normRace(f) + "," + letter + "," + pick + "," +
         padLeftChars(withoutYen(f.stake), 6);
}

std::optional<BakenjukuSheet> openBakenjuku(Session& session, UserInterface& ui) {
  auto bets = readForExport(session, ui);
  if (!bets) return std::nullopt;
  BusyScope busy(ui);
  BakenjukuSheet sheet;
  for (const PendingBetEntry& bet : *bets) {
    sheet.text += bakenjukuLine(session.meetingDate(), bet) + kCrLf;
    sheet.total += valInt(withoutYen(fieldsOf(bet).stake));
  }
  sheet.count = static_cast<long>(bets->size());
  return sheet;
}

void recountBakenjuku(BakenjukuSheet& sheet) {
  long count = 0;
  long total = 0;
  for (const std::string& line : splitLines(sheet.text)) {
    if (trim(line).empty()) continue;
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
      fields.push_back(line.substr(start, comma - start));
    fields.push_back(line.substr(start));
    if (fields.size() != 7) break;
    const std::string stake = trim(fields[6]);
    if (stake.empty() || stake.find_first_not_of("0123456789") != std::string::npos || stake.size() > 9) break;
    ++count;
    total += std::stol(stake);
  }
  sheet.count = count;
  sheet.total = total;
}

std::vector<std::string> bakenjukuOutputLines(const Session& session, const BakenjukuSheet& sheet,
                                              bool quinellaToWide) {
  const std::string& ymd = session.meetingDate();
  const std::string dashes(46, '-');
  std::vector<std::string> lines;
  lines.push_back(leftBytes("--- " + leftChars(ymd, 4) + "年" + midChars(ymd, 5, 2) + "月" + midChars(ymd, 7, 2) +
                                "日" + "(" + weekdayKanji(ymd) + ") の『馬券塾』投票" + "---" + dashes,
                            42));
  for (const std::string& line : splitLines(sheet.text)) lines.push_back(line);
  lines.push_back("     《 " + toWide(sheet.countLabel()) + "ベット  " + sheet.totalLabel() + "円購入" + " 》");
  lines.push_back(leftBytes("--- Output by「トルブ Ver" + std::to_string(kVersionMajor) + "." +
                                std::to_string(kVersionMinor) + "." + std::to_string(kRevision) + "」" + dashes,
                            42));
  if (quinellaToWide) {
    for (std::string& line : lines) {
      if (lenChars(line) <= 20) continue;
      const std::size_t at = line.find(",馬,");
      if (at != std::string::npos) line.replace(at, std::string(",馬,").size(), ",ワ,");
    }
  }
  return lines;
}

std::string bakenjukuClipboardText(const std::vector<std::string>& lines) {
  std::string text = kCrLf;
  for (const std::string& line : lines) text += line + kCrLf;
  return text + kCrLf;
}

fs::path bakenjukuPath(const Session& session) {
  return fs::path(session.outPutFolder()) / ("馬券塾" + session.meetingDate() + ".TXT");
}

StepResult writeBakenjukuFile(const Session& session, UserInterface& ui, const std::vector<std::string>& lines) {
  const fs::path path = bakenjukuPath(session);
  std::string error;
  if (!writeFileAtomic(path, encodeTextLines(lines) + kCrLf + kCrLf, &error)) {
    reportWriteError(ui, path, error);
    return StepResult::Failed;
  }
  ui.inform("「" + path.string() + "」に出力しました！");
  return StepResult::Done;
}

}  // namespace tolv
