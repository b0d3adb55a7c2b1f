#include "history/program_stats.h"

#include <algorithm>
#include <map>

#include "history/history_store.h"

namespace tolv {

using history::Statement;

namespace {

// One program_days row.
struct DayRow {
  std::string date;
  int code = 0;
  int races = 0, picks = 0, hits = 0, hitRaces = 0;
  std::int64_t payout = 0;
  int leadMiss = 0, innerMiss = 0, tailMiss = 0;
};

// Calls f(row) for every row of the bet type in the period, by code, then date.
template <class F>
void forEachDayRow(const HistoryDb& db, const ProgramQuery& q, F&& f) {
  Statement st = db.impl().conn.prepare(
      "SELECT date, code, races, picks, hits, payout, hit_races, lead_miss, inner_miss, tail_miss "
      "FROM program_days WHERE bet = ?1 AND date BETWEEN ?2 AND ?3 ORDER BY code, date");
  st.bind(1, static_cast<std::int64_t>(q.bet)).bind(2, history::periodFrom(q.period)).bind(3, history::periodTo(q.period));
  DayRow r;
  while (st.step()) {
    r.date = st.text(0);
    r.code = static_cast<int>(st.integer(1));
    r.races = static_cast<int>(st.integer(2));
    r.picks = static_cast<int>(st.integer(3));
    r.hits = static_cast<int>(st.integer(4));
    r.payout = st.integer(5);
    r.hitRaces = static_cast<int>(st.integer(6));
    r.leadMiss = static_cast<int>(st.integer(7));
    r.innerMiss = static_cast<int>(st.integer(8));
    r.tailMiss = static_cast<int>(st.integer(9));
    f(r);
  }
}

// a/b > c/d for non-negative integers, b and d > 0; a stake of 0 ranks lowest.
int compareRatio(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  if (b == 0 || d == 0) return (b == 0) == (d == 0) ? 0 : (b == 0 ? -1 : 1);
  const __int128 x = static_cast<__int128>(a) * d, y = static_cast<__int128>(c) * b;
  return x < y ? -1 : (x > y ? 1 : 0);
}

}  // namespace

namespace {
// num/den * 10^4 rounded half up, as "whole.frac" with `decimals` places of
// it (the values are never negative).
std::string scaledRatio(std::int64_t num, std::int64_t den, int decimals) {
  __int128 scaled = 0;
  if (den > 0 && num > 0) scaled = (static_cast<__int128>(num) * 20000 + den) / (2 * static_cast<__int128>(den));
  const long long unit = decimals == 4 ? 10000 : 100;
  const auto whole = static_cast<long long>(scaled / unit), frac = static_cast<long long>(scaled % unit);
  const std::string f = std::to_string(frac);
  return std::to_string(whole) + "." + std::string(static_cast<std::size_t>(decimals) - f.size(), '0') + f;
}
}  // namespace

std::string formatRatio(std::int64_t num, std::int64_t den) { return scaledRatio(num, den, 4); }
std::string formatPercent(std::int64_t num, std::int64_t den) { return scaledRatio(num, den, 2) + "%"; }

std::vector<ProgramFigures> programFigures(const HistoryDb& db, const ProgramQuery& query) {
  std::vector<ProgramFigures> out;
  int run = 0;  // races missed in a row, up to the current row
  forEachDayRow(db, query, [&](const DayRow& r) {
    if (out.empty() || out.back().code != r.code) {
      out.push_back({});
      out.back().code = r.code;
      run = 0;
    }
    ProgramFigures& p = out.back();
    ++p.days;
    p.races += r.races;
    p.picks += r.picks;
    p.hits += r.hits;
    p.payout += r.payout;
    if (r.hitRaces > 0) {
      p.longestMiss = std::max({p.longestMiss, run + r.leadMiss, r.innerMiss});
      run = r.tailMiss;
      p.lastHit = r.date;
    } else {
      run += r.races;
    }
    p.longestMiss = std::max(p.longestMiss, run);
  });

  // The name of the latest stored day that names the program.
  std::map<int, std::string> names;
  Statement st = db.impl().conn.prepare(
      "SELECT code, name FROM programs WHERE date BETWEEN ?1 AND ?2 AND name <> '' ORDER BY date");
  st.bind(1, history::periodFrom(query.period)).bind(2, history::periodTo(query.period));
  while (st.step()) names[static_cast<int>(st.integer(0))] = st.text(1);

  std::erase_if(out, [&](const ProgramFigures& p) { return p.picks < query.minPicks; });
  for (ProgramFigures& p : out) {
    p.stake = p.picks * kStakePerPick;
    if (auto it = names.find(p.code); it != names.end()) p.name = it->second;
  }
  std::stable_sort(out.begin(), out.end(), [&](const ProgramFigures& a, const ProgramFigures& b) {
    int c = 0;
    switch (query.sort) {
      case ProgramSort::Roi:
        c = compareRatio(a.payout, a.stake, b.payout, b.stake);
        break;
      case ProgramSort::Hits:
        c = a.hits == b.hits ? 0 : (a.hits < b.hits ? -1 : 1);
        break;
      case ProgramSort::Picks:
        break;
    }
    if (c != 0) return c > 0;
    if (a.picks != b.picks) return a.picks > b.picks;
    return a.code < b.code;
  });
  return out;
}

std::vector<ProgramCurve> programCurves(const HistoryDb& db, const ProgramQuery& query, const std::vector<int>& codes) {
  const std::vector<std::string> days = history::daysWithResults(db.impl().conn, query.period);
  std::map<int, std::map<std::string, std::pair<std::int64_t, std::int64_t>>> byCode;  // code -> date -> stake, payout
  for (int code : codes) byCode[code];
  forEachDayRow(db, query, [&](const DayRow& r) {
    auto it = byCode.find(r.code);
    if (it != byCode.end()) it->second[r.date] = {r.picks * kStakePerPick, r.payout};
  });
  std::vector<ProgramCurve> out;
  for (int code : codes) {
    ProgramCurve curve;
    curve.code = code;
    const auto& rows = byCode[code];
    CurvePoint at;
    for (const std::string& day : days) {
      if (auto it = rows.find(day); it != rows.end()) {
        at.stake += it->second.first;
        at.payout += it->second.second;
      }
      at.date = day;
      curve.points.push_back(at);
    }
    out.push_back(std::move(curve));
  }
  return out;
}

}  // namespace tolv
