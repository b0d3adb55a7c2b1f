#include "odds/odds_import.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/codes.h"
#include "core/cp932.h"
#include "core/records.h"
#include "core/text.h"
#include "odds/mjh.h"

namespace tolv {

namespace {

constexpr unsigned kBlue = 0x0000FF;
constexpr std::string_view kErrorTitle = "【トルブ】エラーメッセージ";

// Offsets of the two odds fields of a Tolv record.
constexpr std::size_t kOddsOffset = 9, kWideOddsOffset = 15, kOddsWidth = 6;

const std::string kNone(kBlankOdds);

bool holdsDigit(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Odds text of the MJH data: its value with one decimal, right-aligned in six;
// six spaces when it holds no value above 0.
std::string mjhOdds(std::string_view text) {
  const double v = val(text);
  if (!(v > 0)) return kNone;
  return formatOdds(v, 6, "####.0");
}

// A whole number read from text, or nullopt when the text's value is not one
// (or is out of any sensible range).
std::optional<int> wholeNumber(std::string_view text) {
  const double v = val(text);
  if (v < 0 || v > 9999 || v != std::floor(v)) return std::nullopt;
  return static_cast<int>(v);
}

}  // namespace

PickClass classifyPick(std::string_view pick) {
  const std::string t = rightChars(pick, 3);
  const double v = val(rightChars(pick, 2));
  if (!t.empty() && t[0] == '-' && v > 1) return PickClass::Quinella;
  if (!t.empty() && t[0] == ' ' && v > 10) return PickClass::Bracket;
  return PickClass::Other;
}

std::string derivedWideOdds(std::string_view odds) {
  if (!holdsDigit(odds)) return kNone;
  return formatOdds(val(odds) / 3 + 1, 6, "####.0");
}

// --- OddsFiller -----------------------------------------------------------------

OddsFiller::OddsFiller(const Session& s)
    : source_(trim(s.settings.oddsSource)), meetingDate_(s.meetingDate()), pat_(s) {
  if (source_ == "2") {
    patFolder_ = s.resolvePath(s.warsOddsFolder());
  } else if (source_ == "0" || source_ == "1") {
    patFolder_ = s.resolvePath(s.settings.patFolder);
  } else if (source_ == "3") {
    csvPath_ = targetCsvOddsPath(s);
  } else if (source_ == "4") {
    mjhDataPath_ = mjhDataPath(s.dataFolder(), s.meetingDate());
  }
}

void OddsFiller::setMjhRecords(std::vector<MjhRecord> records) {
  mjh_ = std::move(records);
  mjhByRace_.clear();
  // A later record of the same course and race overwrites an earlier one.
  for (std::size_t i = 0; i < mjh_.size(); ++i) mjhByRace_[{mjh_[i].courseCode, mjh_[i].raceNumber}] = i;
}

void OddsFiller::loadOnHand() {
  if (source_ == "3" && isRegularFile(csvPath_)) {
    if (auto odds = TargetCsvOdds::load(csvPath_)) csv_ = std::move(*odds);
  } else if (source_ == "4") {
    if (auto raw = readRecords(mjhDataPath_, kMjhRecordLength)) {
      std::vector<MjhRecord> records;
      records.reserve(raw->size());
      for (const auto& bytes : *raw) records.push_back(MjhRecord::decode(bytes));
      setMjhRecords(std::move(records));
    }
  }
}

bool OddsFiller::fill(std::string_view raceKey, std::string_view pick, std::string& odds, std::string& wide) {
  const PickClass kind = classifyPick(pick);
  if (kind == PickClass::Other) return false;

  if (source_ == "0" || source_ == "1" || source_ == "2") {
    const std::string pattern = PatOddsPattern(leftChars(raceKey, 2), rightChars(raceKey, 2));
    if (kind == PickClass::Quinella) {
      const fs::path file = patFolder_ / ("UO-" + pattern + ".JRA");
      if (source_ == "0") {
        odds = pattern.empty() ? kNone : pat_.lookup95(file, "馬", pick);
        wide = derivedWideOdds(odds);
      } else if (pattern.empty()) {
        odds = wide = kNone;
      } else {
        odds = pat_.lookup98(file, "馬", pick, wide);
      }
    } else {
      // The bracket file carries no quinella-place odds: wide keeps its value.
      odds = pattern.empty() ? kNone : pat_.lookup95(patFolder_ / ("ZO-" + pattern + ".JRA"), "枠", pick);
    }
    return true;
  }

  if (source_ == "3") {
    if (kind == PickClass::Quinella) {
      odds = csv_ ? csv_->lookup("馬", pick, raceKey, meetingDate_, wide) : kNone;
      if (!csv_) wide = kNone;
    } else {
      std::string unused;
      odds = csv_ ? csv_->lookup("枠", pick, raceKey, meetingDate_, unused) : kNone;
      wide = derivedWideOdds(odds);
    }
    return true;
  }

  if (source_ == "4") {
    if (kind == PickClass::Quinella) {
      fillMjh(raceKey, pick, odds, wide);
    } else {
      odds = wide = kNone;  // MJH data has no bracket-quinella odds
    }
    return true;
  }
  return false;
}

void OddsFiller::fillMjh(std::string_view raceKey, std::string_view pick, std::string& odds, std::string& wide) const {
  // Odds of another run or source never survive: no race data, no odds.
  odds = wide = kNone;
  const auto course = wholeNumber(leftChars(raceKey, 2));
  const auto race = wholeNumber(rightChars(raceKey, 2));
  if (!course || !race) return;
  auto it = mjhByRace_.find({*course, *race});
  if (it == mjhByRace_.end()) return;
  int a = static_cast<int>(valInt(leftChars(pick, 2)));
  int b = static_cast<int>(valInt(rightChars(pick, 2)));
  const int k = QuinellaPairIndex(a, b);
  if (k < 1) return;
  const MjhRecord& r = mjh_[it->second];
  odds = mjhOdds(r.quinellaOdds[static_cast<std::size_t>(k - 1)]);
  wide = mjhOdds(r.wideOdds[static_cast<std::size_t>(k - 1)]);
}

// --- the import -----------------------------------------------------------------

namespace {

// Fills the odds of every whole record of a Tolv file's bytes in place. Only
// a field whose text changes is written, so every other byte stays as read,
// also the bytes after the last whole record.
void fillTolvBytes(std::string& bytes, OddsFiller& filler, UserInterface& ui) {
  const std::size_t n = bytes.size() / kTolvRecordLength;
  int shown = -1;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = i * kTolvRecordLength;
    const RecordReader r(std::string_view(bytes).substr(at, kTolvRecordLength));
    const std::string raceKey = r.text(0, 4), pick = r.text(4, 5);
    const std::string oldOdds = r.text(kOddsOffset, kOddsWidth), oldWide = r.text(kWideOddsOffset, kOddsWidth);
    std::string odds = oldOdds, wide = oldWide;
    if (filler.fill(raceKey, pick, odds, wide)) {
      if (odds != oldOdds) bytes.replace(at + kOddsOffset, kOddsWidth, fixedField(odds, kOddsWidth));
      if (wide != oldWide) bytes.replace(at + kWideOddsOffset, kOddsWidth, fixedField(wide, kOddsWidth));
    }
    const int percent = static_cast<int>((i + 1) * 100 / n);
    if (percent != shown) {
      ui.progressAdvance(percent);
      shown = percent;
    }
  }
}

// The source check: reads what the source needs into the filler, or shows
// the source's message and returns false.
bool prepareSource(Session& s, UserInterface& ui, OddsFiller& filler) {
  if ((filler.source() == "0" || filler.source() == "1" || filler.source() == "2") && s.courseCount > 0) {
    // A folder that cannot be read at all would blank every imported odds:
    // the Tolv files stay as they are instead. (A race without its file
    // still gets blank odds.)
    const fs::path folder = filler.source() == "2" ? s.resolvePath(s.warsOddsFolder()) : s.resolvePath(s.settings.patFolder);
    std::string error;
    if (!canListFolder(folder, &error)) {
      ui.inform("オッズファイルのフォルダ（" + folder.string() + "）を読めません：" + error, kErrorTitle, Icon::Critical);
      return false;
    }
  } else if (filler.source() == "3") {
    const fs::path path = targetCsvOddsPath(s);
    if (!isRegularFile(path)) {
      ui.inform("「Target」用ＣＳＶ形式オッズファイルが見つかりません！");
      return false;
    }
    std::string error;
    auto odds = TargetCsvOdds::load(path, &error);
    if (!odds) {
      ui.inform("「Target」用ＣＳＶ形式オッズファイルを読み込めません：" + path.string() + "\r\n" + error, kErrorTitle,
                Icon::Critical);
      return false;
    }
    filler.setTargetCsv(std::move(*odds));
  } else if (filler.source() == "4") {
    const fs::path text = mjhTextPath(s);
    if (!isRegularFile(text)) {
      ui.inform("「MJH」形式データファイル（" + text.string() + "）が見つかりません！");
      return false;
    }
    // A conversion that fails must not leave an older data file in use.
    const bool converted = s.mjhConverted || ConvertMjhData(s);
    auto raw = converted ? readRecords(mjhDataPath(s.dataFolder(), s.meetingDate()), kMjhRecordLength) : std::nullopt;
    if (!raw || raw->empty()) {
      ui.inform("MJHデータの取得に失敗しました！");
      return false;
    }
    std::vector<MjhRecord> records;
    records.reserve(raw->size());
    for (const auto& bytes : *raw) records.push_back(MjhRecord::decode(bytes));
    filler.setMjhRecords(std::move(records));
  }
  return true;
}

}  // namespace

StepResult importOdds(Session& s, UserInterface& ui) {
  BusyScope busy(ui);
  OddsFiller filler(s);
  if (!prepareSource(s, ui, filler)) return StepResult::Failed;

  bool progressShown = false;
  auto fail = [&](const std::string& text, std::string_view title = {}, Icon icon = Icon::None) {
    if (progressShown) ui.progressEnd();
    ui.inform(text, title, icon);
    return StepResult::Failed;
  };

  // The courses are filled first and written together: stopping on the way
  // leaves all of the day's Tolv files as they were. A course file that
  // cannot be read ends the import with the courses before it written.
  std::vector<std::pair<fs::path, std::string>> filled;
  auto writeFilled = [&]() -> std::optional<StepResult> {
    for (const auto& [path, bytes] : filled) {
      std::string error;
      if (!writeFileAtomic(path, bytes, &error)) {
        return fail("「トルブ」データファイルを書き込めません：" + path.string() + "\r\n" + error, kErrorTitle,
                    Icon::Critical);
      }
    }
    filled.clear();
    return std::nullopt;
  };
  const int count = std::clamp(s.courseCount, 0, 3);
  for (int i = 1; i <= count; ++i) {
    const std::string& pathText = s.tolvFilePaths[static_cast<std::size_t>(i)];
    const fs::path path(pathText);
    if (pathText.empty() || !isRegularFile(path)) {
      if (auto failed = writeFilled()) return *failed;
      return fail("「トルブ」データファイルが作成されていません！");
    }

    ui.progressBegin(
        "【" + CourseNameOfCode(s.courseCodes[static_cast<std::size_t>(i - 1)]) + "】のオッズを取り込み中！…", kBlue);
    progressShown = true;
    std::string error;
    auto bytes = readFile(path, &error);
    if (!bytes) {
      if (auto failed = writeFilled()) return *failed;
      return fail("「トルブ」データファイルを読み込めません：" + path.string() + "\r\n" + error, kErrorTitle,
                  Icon::Critical);
    }
    fillTolvBytes(*bytes, filler, ui);
    if (ui.stopRequested()) return stepStopped(ui);
    filled.emplace_back(path, std::move(*bytes));
  }
  if (auto failed = writeFilled()) return *failed;
  if (progressShown) ui.progressEnd();
  return StepResult::Done;
}

}  // namespace tolv
