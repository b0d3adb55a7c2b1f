#include "history/history_db.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <unordered_map>

#include "aggregate/tolv_creation.h"
#include "core/cut_record.h"
#include "core/records.h"
#include "core/text.h"
#include "history/history_store.h"
#include "output/result_grid.h"

namespace tolv {

using history::Connection;
using history::Poster;
using history::SqliteError;
using history::Statement;

namespace {

// Each entry takes a database of version i to version i + 1.
constexpr const char* kMigrations[] = {
    // 0 -> 1: the first schema.
    R"sql(
CREATE TABLE days(
  date TEXT PRIMARY KEY, imported TEXT NOT NULL, courses TEXT NOT NULL, posts INTEGER NOT NULL,
  programs INTEGER NOT NULL, picks INTEGER NOT NULL, priced INTEGER NOT NULL, results INTEGER NOT NULL);
CREATE TABLE programs(
  date TEXT NOT NULL, code INTEGER NOT NULL, name TEXT NOT NULL, PRIMARY KEY(date, code)) WITHOUT ROWID;
CREATE TABLE picks(
  date TEXT NOT NULL, seq INTEGER NOT NULL, race_key TEXT NOT NULL, pick TEXT NOT NULL,
  share_count INTEGER NOT NULL, odds TEXT NOT NULL, wide_odds TEXT NOT NULL, posters BLOB NOT NULL,
  PRIMARY KEY(date, seq)) WITHOUT ROWID;
CREATE TABLE results(
  date TEXT NOT NULL, seq INTEGER NOT NULL, record BLOB NOT NULL, PRIMARY KEY(date, seq)) WITHOUT ROWID;
CREATE TABLE pirune(
  date TEXT NOT NULL, seq INTEGER NOT NULL, record BLOB NOT NULL, PRIMARY KEY(date, seq)) WITHOUT ROWID;
CREATE TABLE program_days(
  date TEXT NOT NULL, code INTEGER NOT NULL, bet INTEGER NOT NULL, races INTEGER NOT NULL,
  picks INTEGER NOT NULL, hits INTEGER NOT NULL, payout INTEGER NOT NULL, hit_races INTEGER NOT NULL,
  lead_miss INTEGER NOT NULL, inner_miss INTEGER NOT NULL, tail_miss INTEGER NOT NULL,
  PRIMARY KEY(bet, code, date)) WITHOUT ROWID;
)sql",
};
static_assert(std::size(kMigrations) == kHistorySchemaVersion);

constexpr std::string_view kImportTitle = "【成績】履歴の取り込み";

int userVersion(Connection& c) {
  Statement st = c.prepare("PRAGMA user_version");
  return st.step() ? static_cast<int>(st.integer(0)) : 0;
}

void migrate(Connection& c, int from) {
  for (int v = from; v < kHistorySchemaVersion; ++v) {
    history::Transaction t(c);
    c.exec(kMigrations[v]);
    c.exec(("PRAGMA user_version = " + std::to_string(v + 1)).c_str());
    t.commit();
  }
}

std::string nowUtc() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
  return buf;
}

// A day refused: the message names the file and says why.
StepResult refuse(UserInterface& ui, const fs::path& file, std::string_view why) {
  ui.progressEnd();
  ui.inform("履歴に取り込めません：" + file.string() + "\r\n" + std::string(why), kImportTitle, Icon::Exclamation);
  return StepResult::Failed;
}

std::string damagedLength(std::size_t recordLength) {
  return "ファイルが壊れています（長さが" + std::to_string(recordLength) + "バイトの倍数ではありません）。";
}

bool isDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Program codes are 0-9999 (0: any code that is no number of 1-9999).
constexpr int kProgramCodes = 10000;
constexpr std::uint32_t kNoSlot = 0xFFFFFFFF;

// The day's keys (course, race, pick) hashed cheaply and looked up without
// building a string.
struct KeyHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return static_cast<std::size_t>(h);
  }
};

// course + race + pick, in `buffer` when it fits, else in `spare`.
std::string_view joinKey(std::array<char, 32>& buffer, std::string& spare, std::string_view course, std::string_view race,
                         std::string_view pick) {
  if (course.size() + race.size() + pick.size() > buffer.size()) {
    spare.assign(course).append(race).append(pick);
    return spare;
  }
  char* p = buffer.data();
  for (std::string_view part : {course, race, pick}) p = std::copy(part.begin(), part.end(), p);
  return std::string_view(buffer.data(), static_cast<std::size_t>(p - buffer.data()));
}

// A program's posts of one pick of the day.
struct PostCount {
  int program = 0;
  std::uint32_t pick = 0;  // index into the day's picks
  int posts = 0;
};

// The figures of one program, bet type and race of a day.
struct RaceFigures {
  int picks = 0;
  int hits = 0;
  std::int64_t payout = 0;
};

struct DayFigures {
  int races = 0, picks = 0, hits = 0, hitRaces = 0;
  std::int64_t payout = 0;
  int leadMiss = 0, innerMiss = 0, tailMiss = 0;
};

// A program's figures of the day for one bet type.
struct ProgramDayFigures {
  int program = 0;
  int bet = 0;
  DayFigures figures;
};

}  // namespace

std::string_view historyBetName(HistoryBet bet) {
  switch (bet) {
    case HistoryBet::Wide:
      return "wide";
    case HistoryBet::Bracket:
      return "bracket";
    case HistoryBet::Quinella:
      break;
  }
  return "quinella";
}

std::optional<HistoryBet> parseHistoryBet(std::string_view name) {
  for (HistoryBet b : {HistoryBet::Quinella, HistoryBet::Wide, HistoryBet::Bracket}) {
    if (historyBetName(b) == name) return b;
  }
  return std::nullopt;
}

bool DateRange::contains(const std::string& date) const {
  return (from.empty() || date >= from) && (to.empty() || date <= to);
}

fs::path historyDbPath(const Session& session) { return fs::path(session.appFolder()) / kHistoryFileName; }

std::string newerSchemaMessage(const fs::path& path, int version) {
  return "履歴データベースが新しい版（スキーマ " + std::to_string(version) + "、この版は " +
         std::to_string(kHistorySchemaVersion) + " まで）で作られています。新しい版の Tolv で開いてください：" +
         path.string();
}

HistoryDb::HistoryDb(fs::path path, std::unique_ptr<Impl> impl) : path_(std::move(path)), impl_(std::move(impl)) {}
HistoryDb::~HistoryDb() = default;

std::unique_ptr<HistoryDb> HistoryDb::open(const fs::path& path, Mode mode, std::string* error) {
  const bool readOnly = mode == Mode::ReadOnly;
  if (readOnly && !isRegularFile(path)) {
    if (error) *error = "履歴データベースがありません（history import で作られます）：" + path.string();
    return nullptr;
  }
  try {
    auto impl = std::make_unique<Impl>(path.string(), readOnly);
    Connection& c = impl->conn;
    // Reading the version reads the header: a file that is no database fails here.
    const int version = userVersion(c);
    if (version > kHistorySchemaVersion) {
      if (error) *error = newerSchemaMessage(path, version);
      return nullptr;
    }
    if (!readOnly) {
      c.exec("PRAGMA journal_mode=WAL");
      // WAL with NORMAL keeps every committed import over a killed process;
      // only a power cut may lose the last one.
      c.exec("PRAGMA synchronous=NORMAL");
      migrate(c, version);
    } else if (version < kHistorySchemaVersion) {
      if (error) *error = "履歴データベースが古い版です（history import で更新されます）：" + path.string();
      return nullptr;
    }
    return std::unique_ptr<HistoryDb>(new HistoryDb(path, std::move(impl)));
  } catch (const SqliteError& e) {
    if (error) *error = "履歴データベースを開けません：" + path.string() + "\r\n" + e.what();
    return nullptr;
  }
}

int HistoryDb::schemaVersion() const { return userVersion(impl_->conn); }

std::vector<StoredDay> HistoryDb::days(const DateRange& period) const {
  std::vector<StoredDay> out;
  Statement st = impl_->conn.prepare(
      "SELECT date, imported, courses, posts, programs, picks, priced, results FROM days "
      "WHERE date BETWEEN ?1 AND ?2 ORDER BY date");
  st.bind(1, history::periodFrom(period)).bind(2, history::periodTo(period));
  while (st.step()) {
    StoredDay d;
    d.date = st.text(0);
    d.imported = st.text(1);
    d.courses = st.text(2);
    d.posts = static_cast<int>(st.integer(3));
    d.programs = static_cast<int>(st.integer(4));
    d.picks = static_cast<int>(st.integer(5));
    d.pricedPicks = static_cast<int>(st.integer(6));
    d.results = static_cast<int>(st.integer(7));
    out.push_back(std::move(d));
  }
  return out;
}

namespace history {

std::string periodFrom(const DateRange& period) { return period.from; }
std::string periodTo(const DateRange& period) { return period.to.empty() ? std::string("99999999") : period.to; }

namespace {
void putVarint(std::string& b, unsigned v) {
  while (v >= 0x80) {
    b.push_back(static_cast<char>((v & 0x7F) | 0x80));
    v >>= 7;
  }
  b.push_back(static_cast<char>(v));
}

// The varint at `i`, moving `i` past it; 0 past the end.
unsigned getVarint(std::string_view b, std::size_t& i) {
  unsigned v = 0;
  for (int shift = 0; i < b.size() && shift < 32; shift += 7) {
    const auto c = static_cast<unsigned char>(b[i++]);
    v |= static_cast<unsigned>(c & 0x7F) << shift;
    if (!(c & 0x80)) break;
  }
  return v;
}
}  // namespace

void appendPoster(std::string& blob, int& previousCode, const Poster& poster) {
  putVarint(blob, static_cast<unsigned>(poster.code - previousCode));
  putVarint(blob, static_cast<unsigned>(poster.posts));
  previousCode = poster.code;
}

std::string encodePosters(const std::vector<Poster>& posters) {
  std::string b;
  b.reserve(posters.size() * 2);
  int previous = 0;
  for (const Poster& p : posters) appendPoster(b, previous, p);
  return b;
}

namespace {
// Calls f(code, posts) for each poster of a stored blob, in stored order.
template <class F>
void forEachPoster(std::string_view blob, F&& f) {
  std::size_t i = 0;
  int code = 0;
  while (i < blob.size()) {
    code += static_cast<int>(getVarint(blob, i));
    f(code, static_cast<int>(getVarint(blob, i)));
  }
}
}  // namespace

std::vector<Poster> decodePosters(std::string_view blob) {
  std::vector<Poster> out;
  out.reserve(blob.size() / 2);
  forEachPoster(blob, [&](int code, int posts) { out.push_back({code, posts}); });
  return out;
}

int listedPosts(std::string_view blob, const std::vector<char>& listed) {
  int count = 0;
  forEachPoster(blob, [&](int code, int posts) {
    if (code >= 0 && static_cast<std::size_t>(code) < listed.size() && listed[static_cast<std::size_t>(code)]) {
      count += posts;
    }
  });
  return count;
}

std::vector<TolvRecord> loadPicks(Connection& c, const std::string& date, const std::vector<char>* listed) {
  std::vector<TolvRecord> out;
  Statement st = c.prepare(listed ? "SELECT race_key, pick, share_count, odds, wide_odds, posters FROM picks "
                                    "WHERE date = ?1 ORDER BY seq"
                                  : "SELECT race_key, pick, share_count, odds, wide_odds FROM picks "
                                    "WHERE date = ?1 ORDER BY seq");
  st.bind(1, date);
  while (st.step()) {
    int shareCount = static_cast<int>(st.integer(2));
    if (listed) {
      shareCount = listedPosts(st.blob(5), *listed);
      if (shareCount == 0) continue;
    }
    TolvRecord& r = out.emplace_back();
    r.raceKey = st.text(0);
    r.pick = st.text(1);
    r.shareCount = shareCount;
    r.odds = st.text(3);
    r.wideOdds = st.text(4);
  }
  return out;
}

namespace {
template <class Record>
std::vector<Record> loadRecords(Connection& c, const char* sql, const std::string& date) {
  std::vector<Record> out;
  Statement st = c.prepare(sql);
  st.bind(1, date);
  while (st.step()) out.push_back(Record::decode(st.blob(0)));
  return out;
}
}  // namespace

std::vector<RaceResultRecord> loadResults(Connection& c, const std::string& date) {
  return loadRecords<RaceResultRecord>(c, "SELECT record FROM results WHERE date = ?1 ORDER BY seq", date);
}

std::vector<PiruneSelectionRecord> loadPiruneSelection(Connection& c, const std::string& date) {
  return loadRecords<PiruneSelectionRecord>(c, "SELECT record FROM pirune WHERE date = ?1 ORDER BY seq", date);
}

std::vector<std::string> daysWithResults(Connection& c, const DateRange& period) {
  std::vector<std::string> out;
  Statement st = c.prepare("SELECT date FROM days WHERE results > 0 AND date BETWEEN ?1 AND ?2 ORDER BY date");
  st.bind(1, periodFrom(period)).bind(2, periodTo(period));
  while (st.step()) out.push_back(st.text(0));
  return out;
}

}  // namespace history

StepResult importHistoryDay(Session& session, UserInterface& ui, HistoryDb& db, const std::string& date,
                            StoredDay* stored) {
  session.setMeetingDate(date);
  BusyScope busy(ui);
  ui.progressBegin("【" + date + "】を履歴に取り込み中…");

  // --- the day's files, each checked whole before anything is written ---
  const fs::path cutPath = session.cutIndexPath();
  if (!isRegularFile(cutPath)) return refuse(ui, cutPath, "その日の予想（カットインデックス）がありません。");
  std::string error;
  std::optional<RecordFile> cut = readRecordFile(cutPath, kCutRecordLength, &error);
  if (!cut) return refuse(ui, cutPath, error);
  if (fileSize(cutPath) % static_cast<long long>(kCutRecordLength) != 0) {
    return refuse(ui, cutPath, damagedLength(kCutRecordLength));
  }
  if (cut->empty()) return refuse(ui, cutPath, "予想がありません。");

  std::vector<RaceResultRecord> results;
  const fs::path resultsPath = resultsFilePath(session);
  std::vector<std::string> resultRecords;
  if (isRegularFile(resultsPath)) {
    if (fileSize(resultsPath) % static_cast<long long>(kRaceResultRecordLength) != 0) {
      return refuse(ui, resultsPath, damagedLength(kRaceResultRecordLength));
    }
    auto raw = readRecords(resultsPath, kRaceResultRecordLength, &error);
    if (!raw) return refuse(ui, resultsPath, error);
    for (const std::string& bytes : *raw) {
      RaceResultRecord r = RaceResultRecord::decode(bytes);
      const long race = valInt(r.raceNumber);
      if (!isDigits(r.raceNumber) || race < 1 || race > 12 || (!trim(r.courseCode).empty() && !isDigits(r.courseCode))) {
        return refuse(ui, resultsPath,
                      "ファイルが壊れています（" + std::to_string(resultRecords.size() + 1) + "件目のレース番号が読めません）。");
      }
      results.push_back(std::move(r));
      resultRecords.push_back(bytes);
      if (results.size() == static_cast<std::size_t>(kMaxRaceResults)) break;
    }
  }

  std::unordered_map<std::string, std::pair<std::string, std::string>> odds;  // race key + pick -> odds
  for (const auto& [code, path] : dayCourseFiles(session.dataFolder(), date, ".DAT")) {
    if (fileSize(path) % static_cast<long long>(kTolvRecordLength) != 0) {
      return refuse(ui, path, damagedLength(kTolvRecordLength));
    }
    auto records = readTolvFile(path, &error);
    if (!records) return refuse(ui, path, error);
    for (const TolvRecord& r : *records) odds.try_emplace(r.raceKey + r.pick, r.odds, r.wideOdds);
  }

  std::vector<std::string> piruneRecords;
  const fs::path piruneFile = piruneSelectionPath(session);
  if (isRegularFile(piruneFile)) {
    if (fileSize(piruneFile) % static_cast<long long>(kPiruneSelectionRecordLength) != 0) {
      return refuse(ui, piruneFile, damagedLength(kPiruneSelectionRecordLength));
    }
    auto raw = readRecords(piruneFile, kPiruneSelectionRecordLength, &error);
    if (!raw) return refuse(ui, piruneFile, error);
    piruneRecords = std::move(*raw);
  }
  ui.progressAdvance(20);

  // --- the Tolv counting of the day, as `create` writes its files ---
  std::vector<TolvCourseFile> files = tolvCourseFiles(aggregateCutRecords(*cut));
  std::vector<TolvRecord> picks;
  std::string courses;
  for (auto& f : files) {
    courses += (courses.empty() ? "" : " ") + f.courseCode;
    for (auto& r : f.records) picks.push_back(std::move(r));
  }
  std::unordered_map<std::string, std::uint32_t, KeyHash, std::equal_to<>> pickIndex;  // race key + pick -> index
  pickIndex.reserve(picks.size() * 2);
  for (std::uint32_t i = 0; i < picks.size(); ++i) pickIndex.emplace(picks[i].raceKey + picks[i].pick, i);
  int priced = 0;
  for (TolvRecord& r : picks) {
    if (auto it = odds.find(r.raceKey + r.pick); it != odds.end()) {
      r.odds = it->second.first;
      r.wideOdds = it->second.second;
    }
    if (!trim(r.odds).empty()) ++priced;
  }

  // --- who posted what: posts per program and pick ---
  // Every (program, pick) of every post, bucketed by program and each
  // program's picks counted in a table by pick: far quicker than a hash map,
  // or one sort of them all, on a day of thousands of programs.
  std::vector<std::uint32_t> postProgram, postPick;
  postProgram.reserve(cut->size() * 3);
  postPick.reserve(cut->size() * 3);
  std::vector<std::string> codeTexts(kProgramCodes);  // the code as posted, by code
  CutRecord scratch;
  std::array<char, 32> keyBuffer;
  std::string key;
  for (std::size_t n = 0; n < cut->size(); ++n) {
    const CutRecordView v = viewCutRecord((*cut)[n], scratch);
    // Codes are 1-9999; anything else is kept apart as 0.
    const long code = valInt(v.programCode);
    const int program = code >= 0 && code < kProgramCodes ? static_cast<int>(code) : 0;
    if (codeTexts[static_cast<std::size_t>(program)].empty()) codeTexts[static_cast<std::size_t>(program)] = v.programCode;
    for (std::string_view pick : v.picks) {
      if (!CutRecord::pickInUse(pick)) continue;
      auto it = pickIndex.find(joinKey(keyBuffer, key, v.courseCode, v.raceNo, pick));
      if (it == pickIndex.end()) continue;  // a course without a Tolv file
      postProgram.push_back(static_cast<std::uint32_t>(program));
      postPick.push_back(it->second);
    }
    if ((n & 0xFFFF) == 0) ui.progressAdvance(20 + static_cast<int>(30 * n / cut->size()));
  }
  // programStart[p] .. programStart[p + 1]: program p's posted picks in byProgram.
  std::vector<std::size_t> programStart(kProgramCodes + 1, 0);
  for (std::uint32_t p : postProgram) ++programStart[p + 1];
  for (std::size_t p = 1; p < programStart.size(); ++p) programStart[p] += programStart[p - 1];
  std::vector<std::uint32_t> byProgram(postPick.size());
  {
    std::vector<std::size_t> next(programStart.begin(), programStart.end() - 1);
    for (std::size_t n = 0; n < postPick.size(); ++n) byProgram[next[postProgram[n]]++] = postPick[n];
  }
  postProgram = {};
  postPick = {};
  // (program, pick index, posts), by program; a program's picks in the order
  // first posted (what follows only sums them).
  std::vector<PostCount> posts;
  {
    std::vector<std::uint32_t> slot(picks.size(), kNoSlot);  // the program's entry in posts, by pick
    for (int p = 0; p < kProgramCodes; ++p) {
      const std::size_t first = programStart[static_cast<std::size_t>(p)];
      const std::size_t last = programStart[static_cast<std::size_t>(p) + 1];
      const std::size_t begin = posts.size();
      for (std::size_t n = first; n < last; ++n) {
        std::uint32_t& s = slot[byProgram[n]];
        if (s == kNoSlot) {
          s = static_cast<std::uint32_t>(posts.size());
          posts.push_back({p, byProgram[n], 1});
        } else {
          ++posts[s].posts;
        }
      }
      for (std::size_t e = begin; e < posts.size(); ++e) slot[posts[e].pick] = kNoSlot;
    }
  }
  byProgram = {};
  // Each pick's posters in their stored form, built in ascending code order.
  std::vector<std::string> posterBlobs(picks.size());
  {
    std::vector<int> previousCode(picks.size(), 0);
    for (const PostCount& e : posts) {
      history::appendPoster(posterBlobs[e.pick], previousCode[e.pick], {e.program, std::min(e.posts, 0xFFFF)});
    }
  }

  // --- each program's judged figures per bet type, race by race ---
  std::vector<TolvRecord> judged = picks;
  markTolvHits(judged, results);
  std::vector<std::string> raceKeys;
  for (const TolvRecord& r : picks) raceKeys.push_back(r.raceKey);
  std::sort(raceKeys.begin(), raceKeys.end());
  raceKeys.erase(std::unique(raceKeys.begin(), raceKeys.end()), raceKeys.end());
  std::vector<ProgramDayFigures> programDays;
  if (!results.empty()) {
    std::vector<std::uint32_t> raceOrder(picks.size());
    for (std::size_t i = 0; i < picks.size(); ++i) {
      raceOrder[i] = static_cast<std::uint32_t>(std::lower_bound(raceKeys.begin(), raceKeys.end(), picks[i].raceKey) -
                                                raceKeys.begin());
    }
    // Each pick judged once: bracket or not, its quinella and quinella-place payouts (-1: no hit).
    std::vector<char> bracket(picks.size());
    std::vector<std::int64_t> quinellaPay(picks.size(), -1), widePay(picks.size(), -1);
    for (std::size_t i = 0; i < picks.size(); ++i) {
      const TolvRecord& r = judged[i];
      bracket[i] = isGridBracketPick(r.pick);
      if (r.hitFlag == -1) quinellaPay[i] = valInt(r.payout);
      if (r.wideHitFlag == -1) widePay[i] = valInt(r.widePayout);
    }
    // One program at a time: its picks, hits and payout per bet type and race,
    // then each bet type's races walked in order.
    constexpr std::size_t kBets = 3;
    const std::size_t races = raceKeys.size();
    std::vector<RaceFigures> perRace(kBets * races);
    for (std::size_t e = 0; e < posts.size();) {
      const int program = posts[e].program;
      for (; e < posts.size() && posts[e].program == program; ++e) {
        const std::uint32_t i = posts[e].pick;
        const auto add = [&](HistoryBet bet, std::int64_t pay) {
          RaceFigures& f = perRace[static_cast<std::size_t>(bet) * races + raceOrder[i]];
          ++f.picks;
          if (pay >= 0) {
            ++f.hits;
            f.payout += pay;
          }
        };
        if (bracket[i]) {
          add(HistoryBet::Bracket, quinellaPay[i]);
        } else {
          add(HistoryBet::Quinella, quinellaPay[i]);
          add(HistoryBet::Wide, widePay[i]);
        }
      }
      for (std::size_t bet = 0; bet < kBets; ++bet) {
        DayFigures d;
        int run = 0;
        bool seenHit = false;
        for (std::size_t race = 0; race < races; ++race) {
          RaceFigures& f = perRace[bet * races + race];
          if (f.picks == 0) continue;
          ++d.races;
          d.picks += f.picks;
          d.hits += f.hits;
          d.payout += f.payout;
          if (f.hits > 0) {
            ++d.hitRaces;
            if (seenHit) {
              d.innerMiss = std::max(d.innerMiss, run);
            } else {
              d.leadMiss = run;
            }
            seenHit = true;
            run = 0;
          } else {
            ++run;
          }
          f = {};
        }
        if (d.races == 0) continue;
        if (seenHit) {
          d.tailMiss = run;
        } else {
          d.leadMiss = d.tailMiss = d.innerMiss = run;
        }
        programDays.push_back({program, static_cast<int>(bet), d});
      }
    }
  }
  ui.progressAdvance(70);

  // --- one transaction: the old day out, the new day in ---
  try {
    Connection& c = db.impl().conn;
    history::Transaction t(c);
    for (const char* table : {"days", "programs", "picks", "results", "pirune", "program_days"}) {
      c.prepare(std::string("DELETE FROM ") + table + " WHERE date = ?1").bind(1, date).run();
    }
    StoredDay day;
    day.date = date;
    day.imported = nowUtc();
    day.courses = courses;
    day.posts = static_cast<int>(cut->size());
    day.programs = static_cast<int>(
        std::count_if(codeTexts.begin(), codeTexts.end(), [](const std::string& t) { return !t.empty(); }));
    day.picks = static_cast<int>(picks.size());
    day.pricedPicks = priced;
    day.results = static_cast<int>(results.size());
    c.prepare("INSERT INTO days VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")
        .bind(1, day.date)
        .bind(2, day.imported)
        .bind(3, day.courses)
        .bind(4, day.posts)
        .bind(5, day.programs)
        .bind(6, day.picks)
        .bind(7, day.pricedPicks)
        .bind(8, day.results)
        .run();
    Statement program = c.prepare("INSERT INTO programs VALUES(?1, ?2, ?3)");
    for (std::size_t code = 0; code < codeTexts.size(); ++code) {
      if (codeTexts[code].empty()) continue;
      program.bind(1, date)
          .bind(2, static_cast<std::int64_t>(code))
          .bind(3, trim(session.programName(codeTexts[code], "")))
          .run();
    }
    Statement pick = c.prepare("INSERT INTO picks VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (std::size_t i = 0; i < picks.size(); ++i) {
      const TolvRecord& r = picks[i];
      pick.bind(1, date)
          .bind(2, static_cast<std::int64_t>(i))
          .bind(3, r.raceKey)
          .bind(4, r.pick)
          .bind(5, r.shareCount)
          .bind(6, r.odds)
          .bind(7, r.wideOdds)
          .bindBlob(8, posterBlobs[i])
          .run();
    }
    Statement record = c.prepare("INSERT INTO results VALUES(?1, ?2, ?3)");
    for (std::size_t i = 0; i < resultRecords.size(); ++i) {
      record.bind(1, date).bind(2, static_cast<std::int64_t>(i)).bindBlob(3, resultRecords[i]).run();
    }
    Statement pirune = c.prepare("INSERT INTO pirune VALUES(?1, ?2, ?3)");
    for (std::size_t i = 0; i < piruneRecords.size(); ++i) {
      pirune.bind(1, date).bind(2, static_cast<std::int64_t>(i)).bindBlob(3, piruneRecords[i]).run();
    }
    Statement figures = c.prepare("INSERT INTO program_days VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
    for (const ProgramDayFigures& f : programDays) {
      const DayFigures& d = f.figures;
      figures.bind(1, date)
          .bind(2, f.program)
          .bind(3, f.bet)
          .bind(4, d.races)
          .bind(5, d.picks)
          .bind(6, d.hits)
          .bind(7, d.payout)
          .bind(8, d.hitRaces)
          .bind(9, d.leadMiss)
          .bind(10, d.innerMiss)
          .bind(11, d.tailMiss)
          .run();
    }
    crashPoint("commit", db.path());
    t.commit();
    if (stored) *stored = day;
  } catch (const SqliteError& e) {
    return refuse(ui, db.path(), std::string("データベースに書き込めません：") + e.what());
  }
  ui.progressAdvance(100);
  ui.progressEnd();
  return StepResult::Done;
}

StepResult importProcessingDay(Session& session, UserInterface& ui) {
  std::string error;
  auto db = HistoryDb::open(historyDbPath(session), HistoryDb::Mode::ReadWrite, &error);
  if (!db) {
    ui.inform(error, kImportTitle, Icon::Critical);
    return StepResult::Failed;
  }
  return importHistoryDay(session, ui, *db, session.meetingDate());
}

}  // namespace tolv
