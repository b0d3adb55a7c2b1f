#include "odds/forum_odds.h"

#include <string.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/codes.h"
#include "core/cp932.h"
#include "core/dates.h"
#include "core/log_scanner.h"
#include "core/text.h"
#include "odds/pat_odds.h"

namespace tolv {

namespace {

constexpr std::string_view kErrorTitle = "【トルブ】エラーメッセージ";
constexpr std::string_view kHeaderMark = "【オッズ】";

// Byte columns of the quinella cells: first horses 1-12 in the first set,
// 13-17 in the second.
constexpr std::array<long, 12> kFirstSetColumns{4, 10, 16, 22, 28, 34, 45, 51, 57, 63, 69, 75};
constexpr std::array<long, 5> kSecondSetColumns{45, 51, 57, 63, 69};
constexpr long kQuinellaCell = 5;
constexpr long kBracketCell = 4;

// The forum log read line by line (raw CP932 bytes), with a jump to the next
// line that begins with a prefix.
class LineReader {
 public:
  bool open(const fs::path& p, std::string* error) { return scanner_.open(p, error); }
  bool next(std::string_view& line) { return scanner_.nextLine(line); }
  bool nextBeginning(std::string_view prefix, std::string_view& line) {
    while (scanner_.nextLineContaining(prefix, line)) {
      if (line.starts_with(prefix)) return true;
    }
    return false;
  }
  bool failed() const { return scanner_.failed(); }
  const std::string& error() const { return scanner_.error(); }

 private:
  LogScanner scanner_;
};

// The header mark in CP932 bytes. A line of the log is a header candidate only
// when its bytes begin with it (a line start is always a character start).
const std::string& headerMarkBytes() {
  static const std::string bytes = toCp932(kHeaderMark);
  return bytes;
}

bool beginsBlock(std::string_view raw) { return raw.starts_with(headerMarkBytes()); }

bool allDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Odds of a quinella cell with its quinella-place bounds.
PatQuinellaEntry quinellaCell(PatQuinellaEntry e, std::string_view cell) {
  if (trim(cell) == "-----") {
    e.odds = e.wideLow = e.wideHigh = scratchedOdds(6);
    return e;
  }
  double q = val(cell);
  if (q > 0) {
    e.odds = formatOdds(q, 6);
    std::tie(e.wideLow, e.wideHigh) = QuinellaPlaceBounds(q);
  } else {
    // An empty cell (or one holding no number) has no odds: blank rather
    // than odds of 0.0 that no race pays.
    e.odds = e.wideLow = e.wideHigh = std::string(kBlankOdds);
  }
  return e;
}

// The bracket entries from the 8 lines of a bracket table.
void fillBrackets(PatBracketRecord& rec, const std::vector<std::string>& lines) {
  rec.layOutBrackets();
  std::size_t k = 0;
  for (int a = 1; a <= 8; ++a) {
    for (int b = a; b <= 8; ++b, ++k) {
      const std::string& line = lines[static_cast<std::size_t>(b - 1)];
      double v = val(midBytes(line, 1 + 5 * (a - 1), kBracketCell));
      rec.brackets[k].odds = v > 0 ? formatOdds(v, 5) : std::string();
      rec.brackets[k].tail = "0 ";
    }
  }
}

// One race block after its header line.
struct Block {
  ForumOddsHeader header;
  PatBracketRecord bracket;
  std::optional<PatQuinella98Record> quinella;
};

enum class Read { Complete, Cut, Interrupted, Invalid };

// Reads the lines of blocks from the log. A line that begins a new block while
// a block is being read is kept back and handed out again by nextHeaderLine.
class BlockSource {
 public:
  explicit BlockSource(LineReader& reader) : reader_(reader) {}

  // The next line that begins with the header mark, decoded; false at the end.
  bool nextHeaderLine(std::string& line) {
    if (held_) {
      held_ = false;
      line = fromCp932(heldLine_);
      return true;
    }
    std::string_view raw;
    if (!reader_.nextBeginning(headerMarkBytes(), raw)) return false;
    line = fromCp932(raw);
    return true;
  }

  // The next line of the current block, decoded. Cut at the end of the log,
  // Interrupted when the line begins another block (the line is kept back).
  Read blockLine(std::string& line) {
    std::string_view raw;
    if (!reader_.next(raw)) return Read::Cut;
    if (beginsBlock(raw)) {
      heldLine_.assign(raw);
      held_ = true;
      return Read::Interrupted;
    }
    line = fromCp932(raw);
    return Read::Complete;
  }

  Read blockLines(std::size_t n, std::vector<std::string>& lines) {
    lines.assign(n, std::string());
    for (std::string& line : lines) {
      if (Read r = blockLine(line); r != Read::Complete) return r;
    }
    return Read::Complete;
  }

  Read skip(std::size_t n) {
    std::string line;
    for (std::size_t i = 0; i < n; ++i) {
      if (Read r = blockLine(line); r != Read::Complete) return r;
    }
    return Read::Complete;
  }

 private:
  LineReader& reader_;
  std::string heldLine_;
  bool held_ = false;
};

#define TOLV_READ(expr)                                    \
  do {                                                     \
    if (Read r_ = (expr); r_ != Read::Complete) return r_; \
  } while (false)

// Reads lines 2 on of a block and builds its records.
Read readBlock(BlockSource& src, const std::string& meetingDate, Block& block) {
  std::vector<std::string> lines;
  TOLV_READ(src.blockLines(2, lines));
  const std::string raceName = leftBytes(midBytes(lines[0], 11, 58), 28);
  const std::string runnersText = midChars(lines[1], 65, 2);
  const long runners = valInt(runnersText);
  if (runners < 1 || runners > kPatHorses) return Read::Invalid;
  const std::size_t n = static_cast<std::size_t>(runners);

  PatOddsHeader header;
  header.date = meetingDate;
  header.courseName = block.header.courseName;
  header.year = leftChars(meetingDate, 4);
  header.meeting = block.header.meeting;
  header.day = block.header.day;
  header.race = block.header.race;
  header.time = leftChars(block.header.time, 2) + rightChars(block.header.time, 2);
  header.raceName = raceName;

  PatBracketRecord& zo = block.bracket;
  zo.header = header;
  zo.header.reserved = "0 ";
  zo.runners = runnersText;

  TOLV_READ(src.skip(1));
  TOLV_READ(src.blockLines(n, lines));
  for (std::size_t h = 0; h < zo.horses.size(); ++h) {
    PatWinPlaceEntry& e = zo.horses[h];
    e = {};
    e.flag = " ";
    if (h >= n) continue;
    const std::string& line = lines[h];
    e.horse = PatHorseNumber(static_cast<int>(h + 1), ' ');
    if (findChars(line, "出走取消", 2) > 0) {
      e.win = scratchedOdds(5);
      e.placeLow = e.placeHigh = std::string(kScratchedText);
    } else {
      e.win = midChars(line, 11, 5);
      e.placeLow = " " + midChars(line, 18, 4);
      e.placeHigh = " " + midChars(line, 23, 4);
    }
  }
  TOLV_READ(src.skip(1));

  if (n < 9) {
    TOLV_READ(src.skip(2));
    TOLV_READ(src.blockLines(8, lines));
    fillBrackets(zo, lines);
    block.quinella.reset();
    return Read::Complete;
  }

  std::vector<std::string> first, second;
  TOLV_READ(src.blockLines(n, first));
  TOLV_READ(src.skip(1));
  TOLV_READ(src.blockLines(n, second));

  PatQuinella98Record uo;
  uo.header = header;
  uo.runners = runnersText;
  uo.layOutPairs(static_cast<int>(n), ' ');
  std::size_t k = 0;
  for (std::size_t i = 1; i < n; ++i) {
    for (std::size_t j = i + 1; j <= n; ++j, ++k) {
      const std::string& line = i <= 12 ? first[j - 1] : second[j - 1];
      long column = i <= 12 ? kFirstSetColumns[i - 1] : kSecondSetColumns[i - 13];
      uo.entries[k] = quinellaCell(uo.entries[k], midBytes(line, column, kQuinellaCell));
    }
  }
  fillBrackets(zo, second);
  block.quinella = std::move(uo);
  return Read::Complete;
}

#undef TOLV_READ

void noteFile(ForumOddsStats& stats, const fs::path& p) {
  if (std::find(stats.files.begin(), stats.files.end(), p) == stats.files.end()) stats.files.push_back(p);
}

}  // namespace

// --- header -------------------------------------------------------------------

std::string ForumOddsHeader::patName() const { return PatOddsName(courseCode, race, day); }

std::optional<ForumOddsHeader> ForumOddsHeader::parse(std::string_view line, std::string_view meetingDate) {
  if (!line.starts_with(kHeaderMark)) return std::nullopt;
  const std::string ymd(meetingDate);
  const std::string yearText = toWide(midChars(ymd, 3, 2)) + "年";
  const std::string monthText = toWide(std::to_string(valInt(midChars(ymd, 5, 2)))) + "月";
  const std::string dayText = toWide(std::to_string(valInt(midChars(ymd, 7, 2)))) + "日";
  const std::pair<std::string_view, long> kMarkers[] = {
      {yearText, 12}, {monthText, 20}, {dayText, 31}, {"取得", 23}, {"レース", 9}, {"日目", 17}, {"回", 16},
  };
  for (const auto& [marker, from] : kMarkers) {
    if (findChars(line, marker, from) == 0) return std::nullopt;
  }

  ForumOddsHeader h;
  h.courseName = midChars(line, 6, 2);
  h.courseCode = CourseCodeOfNameOrEmpty(h.courseName);
  if (h.courseCode.empty()) return std::nullopt;

  // The text after the course name, leading spaces removed.
  const std::string rest = trimLeft(midChars(line, 8));
  const long race = findChars(rest, "レース");
  if (race == 0) return std::nullopt;
  std::string raceText = trim(toNarrow(leftChars(rest, race - 1)));
  if (!allDigits(raceText) || raceText.size() > 2 || valInt(raceText) == 0) return std::nullopt;
  h.race = zeroPad(valInt(raceText), 2);

  const long year = findChars(rest, "年", race + 3);
  const long meeting = year ? findChars(rest, "回", year + 1) : 0;
  const long day = meeting ? findChars(rest, "日目", meeting + 1) : 0;
  if (day == 0) return std::nullopt;
  h.meeting = toNarrow(midChars(rest, year + 1, meeting - year - 1));
  h.day = toNarrow(midChars(rest, meeting + 1, day - meeting - 1));
  h.time = rightChars(trim(line), 5);
  return h;
}

// --- quinella-place bounds ----------------------------------------------------

std::pair<std::string, std::string> QuinellaPlaceBounds(double quinellaOdds) {
  if (!(quinellaOdds > 0)) return {std::string(kBlankOdds), std::string(kBlankOdds)};
  // The odds as written (at most 9999.9 in six bytes).
  const double q = std::min(quinellaOdds, 9999.9);
  // The written formula in double, truncating as it does: other tools derive
  // the same files from the same post, so 14.7 gives 5.3 (53.999... cut), not
  // the 5.4 of exact decimal arithmetic.
  const double low = q >= 10 ? std::trunc((q / 3 + 0.5) * 10) / 10 : std::max(1.0, std::trunc((q / 2 + 0.5) * 10) / 10);
  return {formatOdds(low, 6), formatOdds(low * 1.2, 6)};
}

// --- conversion ---------------------------------------------------------------

StepResult convertForumOdds(Session& s, UserInterface& ui, ForumOddsStats* statsOut) {
  BusyScope busy(ui);
  ForumOddsStats stats;
  auto finish = [&](StepResult r) {
    if (statsOut) *statsOut = std::move(stats);
    return r;
  };

  const std::string setting = trim(s.settings.fhWars);
  if (setting.empty()) {
    ui.inform(
        "FHwarsオッズのログファイルが設定されていません！\r\n再度設定して"
        "ください。",
        kErrorTitle, Icon::Exclamation);
    return finish(StepResult::Failed);
  }
  const fs::path log = s.resolvePath(replaceDatePlaceholders(setting, s.meetingDate()));
  stats.log = log;
  if (!isRegularFile(log)) {
    ui.inform("FHwarsオッズのログファイルが存在しません：" + log.string() + "\r\n再度設定してください。", kErrorTitle,
              Icon::Exclamation);
    return finish(StepResult::Failed);
  }
  LineReader reader;
  std::string error;
  if (!reader.open(log, &error)) {
    ui.inform("FHwarsオッズのログファイルを読み込めません：" + log.string() + "\r\n" + error, kErrorTitle,
              Icon::Critical);
    return finish(StepResult::Failed);
  }

  // The folder holds the odds of one log only: the files of an earlier run go.
  const fs::path folder = s.resolvePath(s.warsOddsFolder());
  std::error_code ec;
  if (!isDirectory(folder) && !fs::create_directories(folder, ec)) {
    ui.inform("オッズファイルのフォルダを作成できません：" + folder.string() + "\r\n" + ec.message(), kErrorTitle,
              Icon::Critical);
    return finish(StepResult::Failed);
  }
  for (const fs::path& old : listFiles(folder, "*.JRA")) {
    if (!removeFile(old)) {
      ui.inform("古いオッズファイルを削除できません：" + old.string(), kErrorTitle, Icon::Critical);
      return finish(StepResult::Failed);
    }
  }

  auto write = [&](const fs::path& p, const std::string& bytes) {
    if (writeFileAtomic(p, bytes, &error)) {
      noteFile(stats, p);
      return true;
    }
    ui.inform("オッズファイルを書き込めません：" + p.string() + "\r\n" + error, kErrorTitle, Icon::Critical);
    return false;
  };

  BlockSource source(reader);
  std::string line;
  while (source.nextHeaderLine(line)) {
    auto header = ForumOddsHeader::parse(line, s.meetingDate());
    if (!header) continue;
    const std::string name = header->patName();
    if (name.empty()) continue;
    Block block;
    block.header = *header;
    Read r = readBlock(source, s.meetingDate(), block);
    if (r == Read::Cut) {
      stats.cutRace = header->courseName + " " + std::to_string(valInt(header->race)) + "R";
      break;
    }
    if (r != Read::Complete) continue;
    if (!write(folder / ("ZO-" + name + ".JRA"), block.bracket.encode())) return finish(StepResult::Failed);
    if (block.quinella && !write(folder / ("UO-" + name + ".JRA"), block.quinella->encode())) {
      return finish(StepResult::Failed);
    }
    ++stats.races;
  }
  if (reader.failed()) {
    ui.inform("FHwarsオッズのログファイルを読み込めません：" + log.string() + "\r\n" + reader.error(), kErrorTitle,
              Icon::Critical);
    return finish(StepResult::Failed);
  }
  return finish(StepResult::Done);
}

}  // namespace tolv
