#include "collect/extraction.h"

#include <algorithm>
#include <vector>

#include "core/log_scanner.h"
#include "collect/wars_post.h"
#include "core/cp932.h"
#include "core/dates.h"
#include "core/profile.h"
#include "core/text.h"

namespace tolv {

namespace {

const std::string kRule76(76, '-');

// One log to read: its number (1-3) and where it is.
struct LogToRead {
  int number;
  fs::path path;
};

struct ExtractionPlan {
  std::vector<LogToRead> logs;
  CutFileStyle style;
  fs::path cutFile;  // empty for style None
  bool listedOnly;
};

bool inProgramList(const Session& s, const std::string& code) {
  for (const auto& e : s.programNames) {
    if (e.code == code) return true;
  }
  return false;
}

// Reads the logs and writes the cut index and cut file. Both are written to
// temporary files and put in place at the end, so a failed read leaves the
// previous files as they were.
StepResult runExtraction(Session& s, UserInterface& ui, const ExtractionPlan& plan, ExtractionStats& stats) {
  BusyScope busy(ui);
  const MeetingDay day{s.meetingYear(), s.meetingMonth(), s.meetingDay()};
  const bool filter = plan.listedOnly && !s.programNames.empty();
  const bool writeCut = plan.style != CutFileStyle::None;

  std::string error;
  AtomicFileWriter index;
  if (!index.open(s.cutIndexPath(), &error)) {
    ui.inform("切り出しデータを作成できません：" + s.cutIndexPath().string() + "\r\n" + error,
              "【トルブ】エラーメッセージ", Icon::Critical);
    return StepResult::Failed;
  }
  AtomicFileWriter cut;
  if (writeCut && !cut.open(plan.cutFile, &error)) {
    ui.inform("切り出しファイルを作成できません：" + plan.cutFile.string() + "\r\n" + error,
              "【トルブ】エラーメッセージ", Icon::Critical);
    return StepResult::Failed;
  }
  auto cutLine = [&](std::string_view utf8) {
    cut.write(toCp932(padBytes(utf8, 76)));
    cut.write("\r\n");
  };

  std::vector<const LogToRead*> withoutPosts;
  for (const auto& log : plan.logs) {
    const int postsBefore = stats.posts;
    ui.progressBegin("[" + log.path.string() + "]を検索中…!!");
    LogScanner scanner;
    if (!scanner.open(log.path, &error)) {
      ui.progressEnd();
      ui.inform("予想ファイル（" + std::to_string(log.number) + "）を読み込めません：" + log.path.string() + "\r\n" + error,
                "【トルブ】エラーメッセージ", Icon::Critical);
      return StepResult::Failed;
    }
    const long long size = std::max<long long>(fileSize(log.path), 1);
    int lastPercent = -1;
    auto advance = [&] {
      int percent = static_cast<int>(std::min<long long>(100, static_cast<long long>(scanner.offset()) * 100 / size));
      if (percent != lastPercent) {
        ui.progressAdvance(percent);
        lastPercent = percent;
      }
    };

    std::string_view raw;
    std::string pending;
    while (scanner.nextLineContaining(kHeaderMarkCp932, raw)) {
      advance();
      // The temporary files are dropped: the previous cut files stay.
      if (ui.stopRequested()) return stepStopped(ui);
      const std::string headerText = trim(fromCp932(raw));
      auto header = parseHeader(headerText, day);
      if (!header) continue;
      if (filter && !inProgramList(s, header->programCode)) continue;
      if (!scanner.nextLine(raw)) break;  // the separator line
      if (!scanner.nextLine(raw)) break;
      if (!isRaceLineBytes(raw)) continue;

      ++stats.posts;
      ui.progressDetail(headerText);
      if (writeCut) {
        cut.write(kRule76 + "\r\n");
        cutLine(headerText);
        cut.write(kRule76 + "\r\n");
      }
      const std::string prefix = cutRecordPrefix(*header);
      bool more = true;
      while (more && isRaceLineBytes(raw)) {
        if (writeCut) {
          pending.clear();
          appendCutLine(raw, pending);
          cut.write(pending);
        }
        pending.clear();
        appendCutRecord(*header, prefix, raw, pending);
        index.write(pending);
        ++stats.records;
        more = scanner.nextLine(raw);
      }
      if (writeCut) cut.write("\r\n");
    }
    advance();
    ui.progressDetail("");
    ui.progressEnd();
    if (scanner.failed()) {
      ui.inform("予想ファイル（" + std::to_string(log.number) + "）を読み込めません：" + log.path.string() + "\r\n" +
                    scanner.error(),
                "【トルブ】エラーメッセージ", Icon::Critical);
      return StepResult::Failed;
    }
    if (stats.posts == postsBefore) withoutPosts.push_back(&log);
  }

  if (!index.commit(&error)) {
    ui.inform("切り出しデータを書き込めません：" + s.cutIndexPath().string() + "\r\n" + error,
              "【トルブ】エラーメッセージ", Icon::Critical);
    return StepResult::Failed;
  }
  if (stats.posts == 0) {
    cut.discard();
    if (writeCut) removeFile(plan.cutFile);
    ui.inform("予想は見つかりませんでした。開催日の設定を確認してください。");
    return StepResult::Failed;
  }
  if (writeCut && !cut.commit(&error)) {
    ui.inform("切り出しファイルを書き込めません：" + plan.cutFile.string() + "\r\n" + error,
              "【トルブ】エラーメッセージ", Icon::Critical);
    return StepResult::Failed;
  }
  // A ticked log that gave nothing (empty, a web page, another day) while
  // another did is easy to miss: it is named, and the step still succeeds.
  for (const LogToRead* log : withoutPosts) {
    ui.inform("予想ファイル（" + std::to_string(log->number) + "）には予想が見つかりませんでした：" + log->path.string(),
              "", Icon::Exclamation);
  }
  return StepResult::Done;
}

// MyCutFile is a bare file name: no folder part, no "..", and none of the
// program's own files (TOLV.INI, the lists, the day files of DATA/), which an
// extraction would overwrite and a run without posts would delete.
bool acceptableCutName(const Session& s, const fs::path& folder, const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos) return false;
  if (equalsIgnoreCase(name, "TOLV.INI") || equalsIgnoreCase(name, "TOLV.HLP") || wildcardMatch("*.LST", name))
    return false;
  std::error_code ec;
  const bool programFolder = fs::equivalent(folder, fs::path(s.dataFolder()), ec) ||
                             fs::equivalent(folder, fs::path(s.workFolder()), ec);
  return !(programFolder && (wildcardMatch("*.DAT", name) || wildcardMatch("~B*.TXT", name)));
}

}  // namespace

ExtractionForm extractionFormFromSettings(const Settings& s) {
  ExtractionForm f;
  f.logPaths = s.logFile;
  f.ticked = s.logFlag;
  f.style = s.cutFileSty == 1 ? CutFileStyle::Named : s.cutFileSty == 2 ? CutFileStyle::None : CutFileStyle::Dated;
  f.cutFolder = s.cutFileFolder;
  f.cutName = s.myCutFile;
  f.listedOnly = s.softCut == 1;
  return f;
}

StepResult startExtraction(Session& s, UserInterface& ui, ExtractionForm form, ExtractionStats* statsOut) {
  if (!form.ticked[0] && !form.ticked[1] && !form.ticked[2]) form.ticked[0] = true;

  ExtractionPlan plan;
  plan.style = form.style;
  std::string cutFolder;
  if (form.style != CutFileStyle::None) {
    cutFolder = trim(form.cutFolder);
    if (cutFolder.empty() || !isDirectory(s.resolvePath(cutFolder))) {
      ui.inform(cutFolder.empty() ? std::string("切り出しファイル格納フォルダが見つかりません。再度設定してください！")
                                  : "切り出しファイル格納フォルダが見つかりません。再度設定してください！\r\n" +
                                        s.resolvePath(cutFolder).string());
      return StepResult::Failed;
    }
    if (form.style == CutFileStyle::Named) {
      if (trim(form.cutName).empty()) {
        ui.inform(
            "切り出しファイル名がオリジナルに設定されていますが、\r\nファイル名の記載がありません！\r\n\r\n    "
            "再度設定してください！");
        return StepResult::Failed;
      }
      s.settings.myCutFile = trim(form.cutName);
    }
    cutFolder = withSlash(cutFolder);
    s.settings.cutFileFolder = cutFolder;
    fs::path folder = s.resolvePath(cutFolder);
    if (form.style == CutFileStyle::Dated) {
      plan.cutFile = folder / ("WARS" + s.meetingDate() + ".TXT");
    } else {
      const std::string& name = s.settings.myCutFile;
      if (!acceptableCutName(s, folder, name)) {
        ui.inform("切り出しファイル名（MyCutFile）の「" + name +
                      "」は使えません。\r\nフォルダを含まないファイル名で、TOLV.INI・*.LST・DATAフォルダのファイル以外を"
                      "設定してください！",
                  "【トルブ】エラーメッセージ", Icon::Exclamation);
        return StepResult::Failed;
      }
      plan.cutFile = folder / name;
    }
  }
  s.settings.cutFileSty = static_cast<int>(form.style);
  plan.listedOnly = form.listedOnly;
  s.settings.softCut = form.listedOnly ? 1 : 0;

  for (int n = 0; n < 3; ++n) {
    s.settings.logFile[static_cast<std::size_t>(n)] = trim(form.logPaths[static_cast<std::size_t>(n)]);
    s.settings.logFlag[static_cast<std::size_t>(n)] = form.ticked[static_cast<std::size_t>(n)];
    if (!form.ticked[static_cast<std::size_t>(n)]) continue;
    std::string resolved = replaceDatePlaceholders(s.settings.logFile[static_cast<std::size_t>(n)], s.meetingDate());
    fs::path p = s.resolvePath(resolved);
    if (resolved.empty() || !isRegularFile(p)) {
      // The second line names the file looked for, as the placeholders made it.
      const std::string tried = resolved.empty() ? std::string("（ファイル名が設定されていません）") : p.string();
      ui.inform("予想ファイル（" + std::to_string(n + 1) + "）が存在しません！\r\n" + tried + "\r\n再度設定してください。\r\n");
      return StepResult::Failed;
    }
    plan.logs.push_back(LogToRead{n + 1, p});
  }

  // The FILE keys of the form go to TOLV.INI before reading.
  auto ini = ProfileFile::load(s.iniFilePath());
  if (ini) {
    for (int n = 0; n < 3; ++n) ini->set("FILE", "LogFile" + std::to_string(n + 1), s.settings.logFile[static_cast<std::size_t>(n)]);
    for (int n = 0; n < 3; ++n) {
      ini->set("FILE", "LogFflag" + std::to_string(n + 1), s.settings.logFlag[static_cast<std::size_t>(n)] ? "True" : "False");
    }
    if (form.style != CutFileStyle::None) ini->set("FILE", "CutFileFolder", s.settings.cutFileFolder);
    ini->set("FILE", "CutFileSty", std::to_string(s.settings.cutFileSty));
    if (form.style == CutFileStyle::Named) ini->set("FILE", "MyCutFile", s.settings.myCutFile);
    ini->set("FILE", "SOFT_CUT", std::to_string(s.settings.softCut));
  }
  std::string error;
  if (!ini || !ini->save(&error)) {
    ui.inform("設定ファイルに書き込めません：" + s.iniFilePath().string() + "\r\n" + error, "【トルブ】エラーメッセージ",
              Icon::Critical);
    return StepResult::Failed;
  }

  ExtractionStats stats;
  stats.cutIndex = s.cutIndexPath();
  stats.cutFile = plan.cutFile;
  StepResult r = runExtraction(s, ui, plan, stats);
  if (statsOut) *statsOut = stats;
  return r;
}

}  // namespace tolv
