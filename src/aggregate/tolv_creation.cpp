#include "aggregate/tolv_creation.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_map>

#include "core/codes.h"
#include "core/cut_record.h"
#include "core/records.h"
#include "core/text.h"

namespace tolv {

namespace {

constexpr unsigned kBlue = 0x0000FF;
// The share count is a 16-bit field.
constexpr int kMaxShareCount = 32767;
// Beyond this many records per course the exact exchange sort (quadratic)
// gives way to a stable sort, so that a hostile cut index cannot stall the
// program; real days stay far below it.
constexpr std::size_t kExactSortLimit = 30000;

bool isJraCourse(const std::string& code) {
  long n = valInt(code);
  return code.size() == 2 && code.find_first_not_of("0123456789") == std::string::npos && n >= 1 && n <= 10;
}

}  // namespace

namespace {

template <class Records>
Aggregate aggregateRecords(const Records& cutRecords, const AggregateProgress& progress) {
  Aggregate a;
  const std::size_t total = cutRecords.size();
  const std::size_t reportEvery = std::max<std::size_t>(total / 100, 1);
  std::unordered_map<std::string, std::size_t> keys;  // course + race + pick -> record
  keys.reserve(cutRecords.size() * 2);
  CutRecord decoded;
  std::string key;
  for (std::size_t n = 0; n < total; ++n) {
    if (progress && n % reportEvery == 0) progress(static_cast<int>(n * 100 / total));
    const CutRecordView v = viewCutRecord(cutRecords[n], decoded);
    const std::string_view course = v.courseCode, programCode = v.programCode, race = v.raceNo;
    const auto& picks = v.picks;
    // Course slots in order of appearance; a course code that names no JRA
    // course, and a fourth course, get no slot: their picks are counted but
    // go to no file.
    if (a.courses.size() < 3 && isJraCourse(std::string(course)) &&
        std::find(a.courses.begin(), a.courses.end(), course) == a.courses.end()) {
      a.courses.emplace_back(course);
    }
    const int program = static_cast<int>(valInt(programCode));
    for (const auto& pick : picks) {
      if (!CutRecord::pickInUse(pick)) continue;
      key.assign(course).append(race).append(pick);
      auto [it, inserted] = keys.try_emplace(key, a.records.size());
      if (inserted) {
        TolvRecord r;
        r.raceKey.assign(course).append(race);
        r.pick = pick;
        r.shareCount = 1;
        r.programCodes[0] = program;
        a.records.push_back(std::move(r));
        continue;
      }
      TolvRecord& r = a.records[it->second];
      if (r.shareCount < kMaxShareCount) ++r.shareCount;
      if (r.shareCount <= kMaxListedPrograms) r.programCodes[static_cast<std::size_t>(r.shareCount - 1)] = program;
    }
  }
  return a;
}

}  // namespace

Aggregate aggregateCutRecords(const std::vector<std::string>& cutRecords, const AggregateProgress& progress) {
  return aggregateRecords(cutRecords, progress);
}
Aggregate aggregateCutRecords(const RecordFile& cutIndex, const AggregateProgress& progress) {
  return aggregateRecords(cutIndex, progress);
}

std::vector<std::size_t> exchangeSortOrder(const std::vector<long>& v) {
  const std::size_t n = v.size();
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  if (n > kExactSortLimit) {
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return v[x] < v[y]; });
    return order;
  }
  std::vector<long> key = v;
  for (std::size_t a = 0; a + 1 < n; ++a) {
    for (std::size_t b = a; b < n; ++b) {
      if (key[b] < key[a]) {
        std::swap(key[a], key[b]);
        std::swap(order[a], order[b]);
      }
    }
  }
  return order;
}

std::vector<TolvCourseFile> tolvCourseFiles(Aggregate a) {
  std::vector<std::string> courses = a.courses;
  std::sort(courses.begin(), courses.end(), [](const std::string& x, const std::string& y) { return valInt(x) < valInt(y); });

  // Split by course, program codes ascending.
  std::vector<std::vector<TolvRecord>> perCourse(courses.size());
  for (auto& r : a.records) {
    const int listed = std::min(r.shareCount, kMaxListedPrograms);
    std::sort(r.programCodes.begin(), r.programCodes.begin() + listed);
    for (std::size_t i = 0; i < courses.size(); ++i) {
      if (r.courseCode() == courses[i]) {
        perCourse[i].push_back(std::move(r));
        break;
      }
    }
  }
  std::vector<TolvCourseFile> files;
  for (std::size_t i = 0; i < courses.size(); ++i) {
    const auto& records = perCourse[i];
    // Race by race, and within a race the larger share count first.
    std::vector<long> v;
    v.reserve(records.size());
    for (const auto& r : records) v.push_back(valInt(r.raceKey + "10") - r.shareCount);
    TolvCourseFile f;
    f.courseCode = courses[i];
    f.records.reserve(records.size());
    for (std::size_t k : exchangeSortOrder(v)) f.records.push_back(records[k]);
    files.push_back(std::move(f));
  }
  return files;
}

StepResult aggregatePicks(Session& s, UserInterface& ui) {
  BusyScope busy(ui);
  std::string error;
  auto cutRecords = readRecordFile(s.cutIndexPath(), kCutRecordLength, &error);
  if (!cutRecords) {
    ui.inform("『ログの読み込み』が実行されていません！", "【トルブ】エラーメッセージ", Icon::Critical);
    return StepResult::Failed;
  }
  if (cutRecords->size() == 1) {
    ui.inform("予想数が足りません…");
    return StepResult::Failed;
  }
  if (cutRecords->empty()) {
    ui.inform("予想がありません…");
    return StepResult::Failed;
  }

  ui.progressBegin("各ソフトの予想を集約中！…", kBlue);
  Aggregate a = aggregateCutRecords(*cutRecords, [&ui](int percent) { ui.progressAdvance(percent); });
  ui.progressAdvance(100);
  // Stopping is offered before the first file is written, so that a day's
  // Tolv files are never half old and half new.
  if (ui.stopRequested()) return stepStopped(ui);

  std::vector<TolvCourseFile> files = tolvCourseFiles(std::move(a));
  std::size_t written = 0;
  for (const auto& f : files) written += f.records.size();
  if (written == 0) {
    ui.progressEnd();
    ui.inform("「トルブ」の作成に失敗しました…");
    return StepResult::Failed;
  }

  s.courseCodes = {"0", "0", "0"};
  s.tolvFilePaths = {(fs::path(s.dataFolder()) / ("W" + s.meetingDate() + ".DAT")).string(), "", "", ""};
  s.courseCount = static_cast<int>(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    ui.progressBegin("【" + CourseNameOfCode(files[i].courseCode) + "】のトルブを制作中！…", kBlue);
    const std::vector<TolvRecord>& sorted = files[i].records;
    std::string index;
    for (std::size_t k = 0; k < sorted.size(); ++k) {
      const TolvRecord& r = sorted[k];
      index += TolvIndexRecord{static_cast<int>(k + 1), static_cast<int>(valInt(rightChars(r.raceKey, 2))), r.shareCount,
                               r.pick}
                   .encode();
    }
    const fs::path path = tolvDataPath(s.dataFolder(), s.meetingDate(), files[i].courseCode);
    if (!writeTolvFile(path, sorted, &error) || !writeFileAtomic(tolvIndexPath(path), index, &error)) {
      ui.progressEnd();
      ui.inform("「トルブ」データファイルを書き込めません：" + path.string() + "\r\n" + error, "【トルブ】エラーメッセージ",
                Icon::Critical);
      return StepResult::Failed;
    }
    s.courseCodes[i] = files[i].courseCode;
    s.tolvFilePaths[i + 1] = path.string();
    ui.progressAdvance(100);
  }
  // Work files an earlier version may have left behind.
  removeFile(s.tolvFilePaths[0]);
  removeFile(fs::path(s.dataFolder()) / ("$W" + s.meetingDate() + ".DAT"));
  ui.progressEnd();
  return StepResult::Done;
}

}  // namespace tolv
