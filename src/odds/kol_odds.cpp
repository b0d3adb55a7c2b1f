#include "odds/kol_odds.h"

#include <algorithm>

#include "core/codes.h"
#include "core/lzh.h"
#include "core/profile.h"
#include "core/records.h"
#include "core/startup.h"
#include "core/text.h"

namespace tolv {

namespace {

constexpr std::string_view kOdds = "ODDS";
constexpr std::string_view kNoFolderMessage = "設定されたフォルダが見つかりません！";
constexpr std::string_view kNotKolMessage = "選択した圧縮ファイルは、「ＫＯＬ予想オッズ」ではありません。";
constexpr std::string_view kNotKolTitle = "【トルブ】ＫＯＬ予想オッズ変換エラー";
constexpr std::string_view kErrorTitle = "【トルブ】エラーメッセージ";

// Offsets of kol_ods.KD2.
constexpr std::size_t kWinCells = 161, kBracketCells = 251, kQuinellaCells = 431;
constexpr std::size_t kWinCellWidth = 5, kBracketCellWidth = 5, kQuinellaCellWidth = 7;

// A value of ODDS: TOLV.INI first, then the per-user copy.
std::string oddsSetting(const Session& s, std::string_view key) {
  std::string v = readProfileString(s.iniFilePath(), kOdds, key);
  if (v.empty()) v = readProfileString(s.defaultsPath(), kOdds, key);
  return v;
}

bool storeOddsSetting(const Session& s, std::string_view key, const std::string& value, std::string* error) {
  bool ok = writeProfileString(s.iniFilePath(), kOdds, key, value, error);
  std::error_code ec;
  fs::create_directories(s.defaultsPath().parent_path(), ec);
  // The per-user copy is a convenience: failing to keep it loses nothing.
  writeProfileString(s.defaultsPath(), kOdds, key, value);
  return ok;
}

bool rememberFolderOf(const Session& s, std::string_view key, const fs::path& file) {
  fs::path folder = fs::absolute(file).parent_path();
  return storeOddsSetting(s, key, withSlash(folder.string()), nullptr);
}

// A whole number as odds text: right-aligned in one byte fewer than the
// field, with "." before its last digit (123 in 5 bytes: " 12.3").
std::string numberOdds(int v, int width) {
  std::string digits = rightAlign(std::to_string(v), width - 1);
  digits.insert(digits.size() - 1, ".");
  return digits;
}

std::string blank(int width) { return std::string(static_cast<std::size_t>(width), ' '); }

// Odds of a cell in a field of `width` bytes; `tooHigh` is the text of "*".
std::string cellOdds(std::string_view cell, int width, std::string_view tooHigh) {
  const KolCell c = readKolCell(cell);
  switch (c.kind) {
    case KolCellKind::TooHigh: return std::string(tooHigh);
    case KolCellKind::Scratched: return scratchedOdds(width);
    case KolCellKind::Number: return numberOdds(c.value, width);
    case KolCellKind::NoOdds:
    case KolCellKind::Other: break;
  }
  return blank(width);
}

// A quinella-place bound: "####.0" right-aligned in six, never below 1.0.
std::string wideBound(double value) { return formatOdds(std::max(value, 1.0), 6, "####.0"); }

std::string dateText(std::string_view date) {
  return leftChars(date, 4) + "年" + midChars(date, 5, 2) + "月" + midChars(date, 7, 2) + "日";
}

}  // namespace

// --- the conversion window ------------------------------------------------------

OddsConversionSettings loadOddsConversionSettings(const Session& s) {
  OddsConversionSettings c;
  c.outputFolder = trim(oddsSetting(s, "ConvOddsFolder"));
  if (c.outputFolder.empty()) c.outputFolder = s.appFolder();
  c.outputFolder = withSlash(c.outputFolder);
  c.deleteExisting = trim(oddsSetting(s, "DelOddsFile")) == "1";
  return c;
}

bool storeOddsConversionSettings(const Session& s, const OddsConversionSettings& c, std::string* error) {
  bool ok = storeOddsSetting(s, "ConvOddsFolder", withSlash(c.outputFolder), error);
  return storeOddsSetting(s, "DelOddsFile", c.deleteExisting ? "1" : "0", ok ? error : nullptr) && ok;
}

std::string lastKolArchiveFolder(const Session& s) { return oddsSetting(s, "KolOddsFolder"); }
std::string lastCsvOddsFolder(const Session& s) { return oddsSetting(s, "CsvOddsFolder"); }
bool rememberKolArchive(const Session& s, const fs::path& archive) {
  return rememberFolderOf(s, "KolOddsFolder", archive);
}
bool rememberCsvOddsFile(const Session& s, const fs::path& csv) { return rememberFolderOf(s, "CsvOddsFolder", csv); }

std::string oddsConversionCaption(OddsConversionSource source, PatQuinellaLayout layout) {
  const std::string pat = layout == PatQuinellaLayout::Pat95 ? "ＰＡＴ９５" : "ＰＡＴ９８";
  if (source == OddsConversionSource::Kol) return "競馬ブック予想オッズを" + pat + "形式に変換";
  return "「TARGET」形式ＣＳＶオッズを" + pat + "形式に変換";
}

std::string oddsConversionReadingLabel(OddsConversionSource source) {
  return source == OddsConversionSource::Kol ? "競馬ブック予想オッズを読み取り中！" : "ＣＳＶオッズを読み取り中！";
}

std::string oddsConversionWritingLabel(PatQuinellaLayout layout) {
  return layout == PatQuinellaLayout::Pat95 ? "ＰＡＴ９５形式オッズファイルを出力中！"
                                            : "ＰＡＴ９８形式オッズファイルを出力中！";
}

// --- KOL cells ------------------------------------------------------------------

KolCell readKolCell(std::string_view cell) {
  const std::string t = trim(cell);
  if (t == "*") return {KolCellKind::TooHigh, 0};
  if (t == "-") return {KolCellKind::NoOdds, 0};
  if (t == "/") return {KolCellKind::Scratched, 0};
  if (t.empty() || t.size() > 4 || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return {};
  }
  const int v = std::stoi(t);
  if (v < 1) return {};
  return {KolCellKind::Number, v};
}

std::string kolWinOdds(std::string_view cell) { return cellOdds(cell, 5, " 50.0"); }
std::string kolBracketOdds(std::string_view cell) { return cellOdds(cell, 5, "100.0"); }
std::string kolQuinella95Odds(std::string_view cell) { return cellOdds(cell, 6, " 999.9"); }

KolQuinellaOdds kolQuinella98Odds(std::string_view cell) {
  const KolCell c = readKolCell(cell);
  switch (c.kind) {
    case KolCellKind::TooHigh: return {" 999.9", " 233.0", " 350.0"};
    case KolCellKind::Scratched: return {scratchedOdds(6), scratchedOdds(6), scratchedOdds(6)};
    case KolCellKind::Number: {
      const double q = c.value / 10.0;
      if (c.value > 10) return {numberOdds(c.value, 6), wideBound(q / 3 * 0.8), wideBound(q / 3 * 1.2)};
      return {numberOdds(c.value, 6), wideBound(q / 3 * 1.3), wideBound(q / 3 * 2)};
    }
    case KolCellKind::NoOdds:
    case KolCellKind::Other: break;
  }
  return {blank(6), blank(6), blank(6)};
}

// --- KOL records ----------------------------------------------------------------

KolRaceRecord KolRaceRecord::decode(std::string_view bytes) {
  RecordReader r(bytes);
  KolRaceRecord k;
  k.course = r.text(0, 2);
  k.year = r.text(2, 4);
  k.meeting = r.text(6, 2);
  k.day = r.text(8, 2);
  k.race = r.text(10, 2);
  k.date = r.text(12, 8);
  k.runners = r.text(109, 2);
  k.secondCount = r.text(111, 2);
  for (std::size_t i = 0; i < k.win.size(); ++i) k.win[i] = r.text(kWinCells + kWinCellWidth * i, kWinCellWidth);
  for (std::size_t i = 0; i < k.bracket.size(); ++i) {
    k.bracket[i] = r.text(kBracketCells + kBracketCellWidth * i, kBracketCellWidth);
  }
  for (std::size_t i = 0; i < k.quinella.size(); ++i) {
    k.quinella[i] = r.text(kQuinellaCells + kQuinellaCellWidth * i, kQuinellaCellWidth);
  }
  return k;
}

std::string KolRaceRecord::jraCourse() const {
  const std::string c = trim(course);
  // Only 00-09 of the second numbering are JRA courses.
  if (c.size() != 2 || c[0] != '0' || c[1] < '0' || c[1] > '9') return {};
  return ExtToJraCode(c);
}

int KolRaceRecord::runnerCount() const {
  const long n = valInt(runners);
  return static_cast<int>(std::clamp<long>(n, 0, kPatHorses));
}

bool KolRaceRecord::hasQuinellaFile() const { return valInt(runners) - valInt(secondCount) > 8; }

std::optional<KolRaceFiles> kolRaceFiles(const KolRaceRecord& r) {
  const std::string code = r.jraCourse();
  if (code.empty()) return std::nullopt;
  KolRaceFiles f;
  f.name = PatOddsName(code, r.race, r.day);
  if (f.name.size() != 3) return std::nullopt;

  PatOddsHeader h;
  h.date = r.date;
  h.identifier = r.date + std::string(12, '0');
  h.courseName = CourseNameOfCode(code);
  h.year = r.year;
  h.meeting = r.meeting;
  h.day = r.day;
  h.race = r.race;
  h.time = "1000";

  PatBracketRecord& b = f.bracket;
  b.header = h;
  b.runners = r.runners;
  // Every horse 1-18 gets its entry, also past the runners: the cells there
  // are normally "-", which gives blank win odds beside the fixed place bounds.
  const int runners = r.runnerCount();
  for (int n = 1; n <= kPatHorses; ++n) {
    PatWinPlaceEntry& e = b.horses[static_cast<std::size_t>(n - 1)];
    const std::string& cell = r.win[static_cast<std::size_t>(n - 1)];
    e.horse = PatHorseNumber(n, ' ');
    e.win = kolWinOdds(cell);
    if (readKolCell(cell).kind == KolCellKind::Scratched) {
      e.placeLow = e.placeHigh = scratchedOdds(5);
    } else {
      e.placeLow = "  1.0";
      e.placeHigh = " 10.0";
    }
    e.flag = "0";
  }
  b.layOutBrackets();
  for (std::size_t k = 0; k < b.brackets.size(); ++k) {
    b.brackets[k].odds = kolBracketOdds(r.bracket[k]);
    b.brackets[k].tail = "  ";
  }

  if (r.hasQuinellaFile()) {
    PatQuinellaRecord q;
    q.header = h;
    q.runners = r.runners;
    const int pairs = q.layOutPairs(runners, '0');
    for (int k = 0; k < pairs; ++k) {
      PatQuinellaEntry& e = q.entries[static_cast<std::size_t>(k)];
      int a = valInt(e.first), c = valInt(e.second);
      const int at = QuinellaPairIndex(a, c);
      if (at < 1) continue;
      const KolQuinellaOdds o = kolQuinella98Odds(r.quinella[static_cast<std::size_t>(at - 1)]);
      e.odds = o.odds;
      e.wideLow = o.wideLow;
      e.wideHigh = o.wideHigh;
    }
    f.quinella = std::move(q);
  }
  return f;
}

std::string encodeQuinella(const PatQuinellaRecord& r, PatQuinellaLayout layout) {
  if (layout == PatQuinellaLayout::Pat95) {
    PatQuinella95Record r95;
    static_cast<PatQuinellaRecord&>(r95) = r;
    return r95.encode();
  }
  PatQuinella98Record r98;
  static_cast<PatQuinellaRecord&>(r98) = r;
  return r98.encode();
}

std::string kolConversionHeading(const KolRaceRecord& first) {
  return dateText(first.date) + "分の予想オッズをＰＡＴ形式に変換します…";
}

std::string kolProgressText(const KolRaceRecord& r) {
  std::string code = r.jraCourse();
  std::string name = code.empty() ? ExtCourseName(trim(r.course)) : CourseNameOfCode(code);
  return dateText(r.date) + " " + name + " " + rightChars(trim(r.meeting), 1) + "回 " +
         rightChars(trim(r.day), 1) + "日目 " + r.race + "Ｒ";
}

// --- steps ----------------------------------------------------------------------

fs::path kolOddsPath(const Session& s) {
  auto found = findCaseless(s.unpackFolder(), kKolOddsMember);
  return found ? *found : s.unpackFolder() / std::string(kKolOddsMember);
}

bool CheckKolArchive(const Session& s, UserInterface& ui, const fs::path& archive) {
  const UnpackResult unpacked = unpackArchive(s, archive);  // what it could not unpack simply is not there
  if (recordCount(kolOddsPath(s), kKolRecordLength) > 0) return true;
  if (!unpacked.writeError.empty()) {
    // A full disk is not a wrong archive.
    ui.inform("圧縮ファイル（" + archive.string() + "）を展開できません：" + unpacked.writeError, kNotKolTitle,
              Icon::Critical);
    clearWorkFolder(s);
    return false;
  }
  ui.inform(kNotKolMessage, kNotKolTitle, Icon::Critical);
  clearWorkFolder(s);
  return false;
}

namespace detail {

std::optional<fs::path> prepareOutputFolder(const Session& s, UserInterface& ui, const OddsConversionSettings& c,
                                            OddsConversionResult& result) {
  const fs::path folder = s.resolvePath(c.outputFolder);
  if (trim(c.outputFolder).empty() || !isDirectory(folder)) {
    ui.inform(kNoFolderMessage, "", Icon::Exclamation);
    return std::nullopt;
  }
  storeOddsSetting(s, "ConvOddsFolder", withSlash(c.outputFolder), nullptr);
  result.outputFolder = folder;
  if (c.deleteExisting) {
    for (std::string_view pattern : {"ZO*.JRA", "UO*.JRA"}) {
      for (const fs::path& p : listFiles(folder, pattern)) {
        if (removeFile(p)) result.deleted.push_back(p);
      }
    }
  }
  return folder;
}

fs::path outputFile(const fs::path& folder, const std::string& name) {
  auto found = findCaseless(folder, name);
  return found && isRegularFile(*found) ? *found : folder / name;
}

bool writeOddsFile(UserInterface& ui, const fs::path& p, std::string_view bytes, OddsConversionResult& result) {
  std::string error;
  if (!writeFileAtomic(p, bytes, &error)) {
    ui.inform("オッズファイル（" + p.string() + "）を書き込めません！\r\n" + error, kErrorTitle, Icon::Critical);
    return false;
  }
  if (std::find(result.written.begin(), result.written.end(), p) == result.written.end()) result.written.push_back(p);
  return true;
}

}  // namespace detail

StepResult convertKolOdds(const Session& s, UserInterface& ui, PatQuinellaLayout layout,
                          const OddsConversionSettings& settings, OddsConversionResult* out) {
  OddsConversionResult local;
  OddsConversionResult& result = out ? *out : local;
  result = {};
  auto folder = detail::prepareOutputFolder(s, ui, settings, result);
  if (!folder) return StepResult::Failed;

  const fs::path source = kolOddsPath(s);
  std::string error;
  auto records = readRecords(source, kKolRecordLength, &error);
  if (!records) {
    ui.inform("ＫＯＬ予想オッズ（" + source.string() + "）を読み込めません！\r\n" + error, kErrorTitle, Icon::Critical);
    return StepResult::Failed;
  }

  BusyScope busy(ui);
  ui.progressBegin(oddsConversionReadingLabel(OddsConversionSource::Kol));
  const std::size_t n = records->size();
  for (std::size_t i = 0; i < n; ++i) {
    const KolRaceRecord r = KolRaceRecord::decode((*records)[i]);
    ui.progressDetail(kolProgressText(r));
    ui.progressAdvance(static_cast<int>((i + 1) * 100 / n));
    ++result.records;
    auto files = kolRaceFiles(r);
    if (!files) continue;  // no JRA course: no PAT file can name it
    if (!detail::writeOddsFile(ui, detail::outputFile(*folder, "ZO-" + files->name + ".JRA"), files->bracket.encode(),
                               result)) {
      ui.progressEnd();
      return StepResult::Failed;
    }
    if (files->quinella &&
        !detail::writeOddsFile(ui, detail::outputFile(*folder, "UO-" + files->name + ".JRA"),
                               encodeQuinella(*files->quinella, layout), result)) {
      ui.progressEnd();
      return StepResult::Failed;
    }
  }
  ui.progressEnd();
  if (result.written.empty()) {
    // Records of no JRA course name no PAT file: say so rather than finish.
    ui.inform("ＫＯＬ予想オッズ（" + source.string() + "）にＪＲＡの競馬場のレースがないため、オッズファイルは出力されませんでした。",
              kErrorTitle, Icon::Exclamation);
    return StepResult::Failed;
  }
  result.topLabel = std::string(kOddsConversionFinished);
  return StepResult::Done;
}

}  // namespace tolv
