#include "aggregate/pirune_creation.h"

#include <algorithm>
#include <optional>

#include "core/codes.h"
#include "core/cp932.h"
#include "core/records.h"
#include "core/text.h"
#include "odds/mjh.h"
#include "odds/odds_import.h"
#include "odds/target_csv.h"

namespace tolv {

namespace {

constexpr unsigned kBlue = 0x0000FF;
// Votes are a 16-bit count.
constexpr int kMaxVotes = 32767;

const std::string kBlankPair(5, ' ');
const std::string kNoOdds(kBlankOdds);

// The whole number of a text when it lies in lo..hi, else nullopt.
std::optional<int> numberIn(std::string_view text, int lo, int hi) {
  const double v = val(text);
  if (!(v >= lo && v <= hi)) return std::nullopt;
  return static_cast<int>(v);
}

// A pick names a pair when its third character is "-" and the number of its
// last two characters is above 0.
bool namesPair(std::string_view pick) { return charAt(pick, 3) == "-" && CutRecord::pickInUse(pick); }

// Calls f(h) for both horse numbers of each pick slot in order, ending at the
// first unused slot; numbers outside 0-18 are skipped.
template <typename F>
void forEachPickedHorse(const CutRecord& cut, F&& f) {
  for (const auto& pick : cut.picks) {
    if (!CutRecord::pickInUse(pick)) break;
    for (int h : {piruneHorse(leftChars(pick, 2)), piruneHorse(midChars(pick, 4, 2))}) {
      if (h >= 0) f(h);
    }
  }
}

// Reports progress in whole percents, only when the percent changes.
class Progress {
 public:
  Progress(UserInterface& ui, std::size_t total) : ui_(ui), total_(total) {}
  void step() {
    ++done_;
    const int percent = total_ == 0 ? 100 : static_cast<int>(done_ * 100 / total_);
    if (percent != shown_) {
      ui_.progressAdvance(percent);
      shown_ = percent;
    }
  }

 private:
  UserInterface& ui_;
  std::size_t total_;
  std::size_t done_ = 0;
  int shown_ = -1;
};

// A record of the filter: a cut record of a listed program, with the number
// of times it was written (once for every entry from the pass's first on
// that carries its code).
struct FilterRecord {
  CutRecord cut;
  int copies = 0;
};

// Entries of `codes` from index `from` (0-based) on that equal `code`.
int entriesFrom(const std::vector<std::string>& codes, std::size_t from, const std::string& code) {
  int n = 0;
  for (std::size_t i = from; i < codes.size(); ++i) n += codes[i] == code ? 1 : 0;
  return n;
}

using CourseRaces = std::array<std::optional<PiruneRaceEntry>, kPiruneRaces>;

}  // namespace

bool PiruneSlot::used() const { return val(rightChars(pair, 2)) > 0; }

int piruneHorse(std::string_view text) {
  const double v = val(text);
  if (!(v >= 0 && v <= kPiruneHorses)) return -1;
  return static_cast<int>(v);
}

void rankPiruneVotes(PiruneRaceEntry& race) {
  auto& v = race.votes;
  for (int i = 1; i <= kPiruneHorses - 1; ++i) {
    for (int j = i + 1; j <= kPiruneHorses; ++j) {
      if (v[static_cast<std::size_t>(i)].count < v[static_cast<std::size_t>(j)].count) {
        std::swap(v[static_cast<std::size_t>(i)], v[static_cast<std::size_t>(j)]);
      }
    }
  }
}

void BuildPirunePairs(PiruneRaceEntry& race) {
  std::vector<std::string> list;
  const auto& v = race.votes;
  for (int a = 1; a <= kPiruneHorses - 1; ++a) {
    const int x = v[static_cast<std::size_t>(a)].horse;
    if (x <= 0) continue;
    for (int b = a + 1; b <= kPiruneHorses; ++b) {
      const int y = v[static_cast<std::size_t>(b)].horse;
      if (y < 1) continue;
      const std::string pair = TwoDigits(std::min(x, y)) + "-" + TwoDigits(std::max(x, y));
      // An entry equal to the one before it is dropped.
      if (!list.empty() && list.back() == pair) continue;
      list.push_back(pair);
    }
  }
  for (std::size_t i = 0; i < race.pairs.size(); ++i) {
    race.pairs[i] = PiruneSlot{};
    if (i < list.size()) race.pairs[i].pair = list[i];
  }
}

void sortPiruneSlotsByOdds(std::array<PiruneSlot, kPirunePairSlots>& pairs) {
  for (int i = 0; i < kPiruneCandidates - 1; ++i) {
    for (int j = i + 1; j < kPiruneCandidates; ++j) {
      auto& a = pairs[static_cast<std::size_t>(i)];
      auto& b = pairs[static_cast<std::size_t>(j)];
      if (val(a.odds) > val(b.odds)) {
        std::swap(a.pair, b.pair);
        std::swap(a.odds, b.odds);
      }
    }
  }
}

std::string PiruneSelectionRecord::encode() const {
  RecordBuilder b(kPiruneSelectionRecordLength);
  b.text(0, 2, courseCode).text(2, 2, raceNo);
  for (int k = 0; k < kPiruneCandidates; ++k) {
    const std::size_t at = 4 + 17 * static_cast<std::size_t>(k);
    const bool used = static_cast<std::size_t>(k) < candidates.size();
    b.text(at, 5, used ? candidates[static_cast<std::size_t>(k)].pair : kBlankPair);
    b.text(at + 5, 6, used ? candidates[static_cast<std::size_t>(k)].odds : kNoOdds);
    b.text(at + 11, 6, kNoOdds);
  }
  return b.bytes();
}

PiruneSelectionRecord PiruneSelectionRecord::decode(std::string_view bytes) {
  RecordReader r(bytes);
  PiruneSelectionRecord s;
  s.courseCode = r.text(0, 2);
  s.raceNo = r.text(2, 2);
  for (int k = 0; k < kPiruneCandidates; ++k) {
    const std::size_t at = 4 + 17 * static_cast<std::size_t>(k);
    PiruneCandidate c{r.text(at, 5), r.text(at + 5, 6)};
    if (val(rightChars(c.pair, 2)) > 0) s.candidates.push_back(std::move(c));
  }
  return s;
}

fs::path piruneSelectionPath(const Session& s) {
  return fs::path(s.dataFolder()) / ("HA" + s.meetingDate() + ".DAT");
}

fs::path piruneListPath(const Session& s) { return s.resolvePath(s.settings.list2); }

// --- odds -----------------------------------------------------------------------

struct PiruneOddsAttacher::State {
  explicit State(const Session& s) : filler(s) {}
  OddsFiller filler;
};

PiruneOddsAttacher::PiruneOddsAttacher(const Session& s, UserInterface& ui) : session_(s), ui_(ui) {}
PiruneOddsAttacher::~PiruneOddsAttacher() = default;

void PiruneOddsAttacher::prepare() {
  prepared_ = true;
  state_ = std::make_unique<State>(session_);
  OddsFiller& filler = state_->filler;
  std::string error;
  if (filler.source() == "3") {
    const fs::path path = targetCsvOddsPath(session_);
    if (!isRegularFile(path)) {
      ui_.inform("「Target」用ＣＳＶ形式オッズファイルが見つかりません！");
      return;
    }
    if (auto odds = TargetCsvOdds::load(path, &error)) {
      filler.setTargetCsv(std::move(*odds));
    } else {
      ui_.inform("「Target」用ＣＳＶ形式オッズファイルを読み込めません：" + path.string() + "\r\n" + error,
                 kPiruneErrorTitle, Icon::Critical);
    }
  } else if (filler.source() == "4") {
    // The MJH text itself is read: nothing needs the converted data file here.
    const fs::path path = mjhTextPath(session_);
    if (!isRegularFile(path)) {
      ui_.inform("「MJH」形式オッズファイルが見つかりません！");
      return;
    }
    if (auto lines = readTextLines(path, &error)) {
      filler.setMjhRecords(parseMjhText(*lines));
    } else {
      ui_.inform("「MJH」形式オッズファイルを読み込めません：" + path.string() + "\r\n" + error, kPiruneErrorTitle,
                 Icon::Critical);
    }
  }
}

void PiruneOddsAttacher::attach(int course, int race, PiruneRaceEntry& entry) {
  if (!prepared_) prepare();
  const std::string raceKey = TwoDigits(course) + TwoDigits(race);
  for (int k = 0; k < kPiruneCandidates; ++k) {
    PiruneSlot& slot = entry.pairs[static_cast<std::size_t>(k)];
    if (!slot.used()) break;
    std::string odds = kNoOdds, wide = kNoOdds;
    state_->filler.fill(raceKey, slot.pair, odds, wide);
    slot.odds = odds;
    slot.wideOdds = wide;
  }
}

// --- creation -------------------------------------------------------------------

StepResult createPiruneSelection(Session& s, UserInterface& ui, const PiruneHooks& hooks,
                                 PiruneCreation* out) {
  const std::string& listName = s.settings.list2;
  const fs::path listPath = piruneListPath(s);
  if (!isRegularFile(listPath)) {
    ui.inform("カレントフォルダに「リストファイル(" + listName + ")」がありません！　中止します。", kPiruneErrorTitle,
              Icon::Critical);
    return StepResult::Failed;
  }
  const std::vector<std::string> codes = hooks.loadCodeList ? hooks.loadCodeList(listPath) : std::vector<std::string>{};
  if (codes.size() < 2) {
    ui.inform("「リストファイル(" + listName + ")」にソフトのコードの記載がありません！　中止します。",
              kPiruneErrorTitle, Icon::Critical);
    return StepResult::Failed;
  }
  const fs::path cutPath = s.cutIndexPath();
  if (!isRegularFile(cutPath)) {
    ui.inform("『ログの読み込み』が実行されていません！", kPiruneErrorTitle, Icon::Critical);
    return StepResult::Failed;
  }
  if (hooks.checkSchedule) hooks.checkSchedule(s);

  BusyScope busy(ui);
  std::string error;
  auto cutRecords = readRecordFile(cutPath, kCutRecordLength, &error);
  if (!cutRecords) {
    ui.inform("予想ファイルを読み込めません：" + cutPath.string() + "\r\n" + error, kPiruneErrorTitle, Icon::Critical);
    return StepResult::Failed;
  }
  if (cutRecords->empty()) {
    ui.inform("予想が見つかりません！");
    return StepResult::Failed;
  }

  // Base passes: pass k keeps the records of entries k and later only, so
  // programs listed before the base never take part.
  ui.progressBegin("「" + listName + "」記載ソフトの買い目を集約中！…", kBlue);
  std::vector<FilterRecord> filter;
  std::size_t base = 0;  // 0-based entry of the base program
  bool found = false;
  for (std::size_t k = 0; k < 3 && k < codes.size() && !found; ++k) {
    filter.clear();
    Progress progress(ui, cutRecords->size());
    for (std::size_t n = 0; n < cutRecords->size(); ++n) {
      const std::string_view bytes = (*cutRecords)[n];
      const std::string program = RecordReader(bytes).text(2, 4);
      if (const int copies = entriesFrom(codes, k, program); copies > 0) {
        filter.push_back({CutRecord::decode(bytes), copies});
        if (program == codes[k]) found = true;
      }
      progress.step();
    }
    base = k;
  }
  cutRecords.reset();
  // Nothing is written before the selection at the end: stopping anywhere
  // before it leaves the day's Pirune files as they were.
  if (ui.stopRequested()) return stepStopped(ui);
  if (!found) {
    ui.inform("基準ソフトの予想がありませんので中止します<(_ _)>");
    ui.progressEnd();
    return StepResult::Failed;
  }
  const std::string& baseCode = codes[base];

  // Base races: one entry per course and race that the base named a pair
  // in; a later base record of the same race replaces an earlier one.
  std::array<CourseRaces, kPiruneCourses> courses{};
  std::array<int, kPiruneCourses> baseRaceCount{};
  ui.progressBegin("基準ソフトの予想を解析中！…", kBlue);
  {
    Progress progress(ui, filter.size());
    for (const auto& f : filter) {
      progress.step();
      if (f.cut.programCode != baseCode) continue;
      const auto c = numberIn(f.cut.courseCode, 1, kPiruneCourses);
      const auto r = numberIn(f.cut.raceNo, 1, kPiruneRaces);
      if (!c || !r || !namesPair(f.cut.picks[0])) continue;
      PiruneRaceEntry entry;
      entry.raceNo = f.cut.raceNo;
      entry.marked = true;
      forEachPickedHorse(f.cut, [&](int h) { entry.baseMarks[static_cast<std::size_t>(h)] = true; });
      ++baseRaceCount[static_cast<std::size_t>(*c - 1)];
      courses[static_cast<std::size_t>(*c - 1)][static_cast<std::size_t>(*r - 1)] = std::move(entry);
    }
  }

  if (ui.stopRequested()) return stepStopped(ui);

  // Votes: every secondary entry (from the second on, whichever is the base)
  // that carries a record's code counts its picks once more.
  ui.progressBegin("ヒモソフトの予想を解析中！…", kBlue);
  {
    Progress progress(ui, filter.size());
    for (const auto& f : filter) {
      progress.step();
      const int matches = entriesFrom(codes, 1, f.cut.programCode);
      if (matches == 0 || !namesPair(f.cut.picks[0])) continue;
      const auto c = numberIn(f.cut.courseCode, 1, kPiruneCourses);
      const auto g = numberIn(f.cut.raceNo, 1, kPiruneRaces);
      if (!c || !g || baseRaceCount[static_cast<std::size_t>(*c - 1)] == 0) continue;
      auto& slot = courses[static_cast<std::size_t>(*c - 1)][static_cast<std::size_t>(*g - 1)];
      if (!slot || !slot->marked || slot->raceNo != f.cut.raceNo) continue;
      const int weight = std::min(kMaxVotes, f.copies * matches);
      forEachPickedHorse(f.cut, [&](int h) {
        if (!slot->baseMarks[static_cast<std::size_t>(h)]) return;
        PiruneVote& v = slot->votes[static_cast<std::size_t>(h)];
        v.horse = h;
        v.count = std::min(kMaxVotes, v.count + weight);
      });
    }
  }
  filter.clear();
  if (ui.stopRequested()) return stepStopped(ui);

  // Per course and race: rank, pair, odds, order, selection record.
  std::vector<PiruneSelectionRecord> selection;
  PiruneOddsAttacher odds(s, ui);
  for (int c = 1; c <= kPiruneCourses; ++c) {
    if (baseRaceCount[static_cast<std::size_t>(c - 1)] == 0) continue;
    if (ui.stopRequested()) return stepStopped(ui);
    ui.progressBegin("【" + CourseNameOfCode(TwoDigits(c)) + "】競馬の『ぴるね』を作成中！…", kBlue);
    CourseRaces& races = courses[static_cast<std::size_t>(c - 1)];
    int last = 0;  // the course's races run to its highest race number
    for (int r = 1; r <= kPiruneRaces; ++r) last = races[static_cast<std::size_t>(r - 1)] ? r : last;
    Progress progress(ui, static_cast<std::size_t>(last));
    for (int r = 1; r <= last; ++r) {
      progress.step();
      auto& slot = races[static_cast<std::size_t>(r - 1)];
      if (!slot || !slot->marked) continue;
      PiruneRaceEntry& entry = *slot;
      rankPiruneVotes(entry);
      BuildPirunePairs(entry);
      odds.attach(c, r, entry);
      for (int k = 0; k < kPiruneCandidates; ++k) {
        PiruneSlot& p = entry.pairs[static_cast<std::size_t>(k)];
        if (!p.used()) {
          p.pair = kBlankPair;
          p.odds = kNoOdds;
        }
      }
      if (s.settings.pirune.sortFlag == 1 && entry.pairs[1].used()) sortPiruneSlotsByOdds(entry.pairs);

      PiruneSelectionRecord record;
      record.courseCode = TwoDigits(c);
      record.raceNo = entry.raceNo;
      for (int k = 0; k < kPiruneCandidates; ++k) {
        const PiruneSlot& p = entry.pairs[static_cast<std::size_t>(k)];
        if (p.used()) record.candidates.push_back({p.pair, p.odds});
      }
      if (!record.candidates.empty()) selection.push_back(std::move(record));
    }
  }

  if (ui.stopRequested()) return stepStopped(ui);
  std::string bytes;
  bytes.reserve(selection.size() * kPiruneSelectionRecordLength);
  for (const auto& r : selection) bytes += r.encode();
  const fs::path selectionPath = piruneSelectionPath(s);
  if (!writeFileAtomic(selectionPath, bytes, &error)) {
    ui.progressEnd();
    ui.inform("「ぴるね」データファイルを書き込めません：" + selectionPath.string() + "\r\n" + error,
              kPiruneErrorTitle, Icon::Critical);
    return StepResult::Failed;
  }
  if (out) {
    out->baseCode = baseCode;
    out->baseEntry = static_cast<int>(base) + 1;
    out->selection = selection;
  }
  if (selection.empty()) {
    ui.progressEnd();
    ui.inform(kPiruneNoPicksMessage, kPiruneNoPicksTitle, Icon::Information);
    return StepResult::Failed;
  }
  return StepResult::Done;
}

}  // namespace tolv
