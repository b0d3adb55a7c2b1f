#pragma once
// The inside of the history database, shared by its readers: the connection
// and the stored rows of a day as the rules that replay them need them.

#include <cstdint>
#include <string>
#include <vector>

#include "aggregate/pirune_creation.h"
#include "core/tolv_record.h"
#include "history/history_db.h"
#include "history/sqlite.h"
#include "output/race_results.h"

namespace tolv {

struct HistoryDb::Impl {
  history::Connection conn;
  Impl(const std::string& path, bool readOnly) : conn(path, readOnly) {}
};

namespace history {

// A program's posts of a pick: its code and how many posts held the pick.
struct Poster {
  int code = 0;
  int posts = 0;
};

// Posters as stored, in ascending code order: per poster the code's distance
// from the previous code and the posts, each a varint (7 bits a byte, low
// bits first): a day of thousands of programs stays small.
std::string encodePosters(const std::vector<Poster>& posters);
// One poster onto a blob whose last code was `previousCode` (0 at first).
void appendPoster(std::string& blob, int& previousCode, const Poster& poster);
std::vector<Poster> decodePosters(std::string_view blob);
// The posts of the programs flagged in `listed` (indexed by code) in a stored
// blob, read in place.
int listedPosts(std::string_view blob, const std::vector<char>& listed);

// The day's picks of the Tolv files, in file order (course by course), as
// records: race key, pick, share count, odds; hits not marked. With `listed`
// (flags indexed by program code) a pick's share count is the posts of the
// flagged programs that held it, and picks none of them posted drop out.
std::vector<TolvRecord> loadPicks(Connection& c, const std::string& date, const std::vector<char>* listed);
std::vector<RaceResultRecord> loadResults(Connection& c, const std::string& date);
std::vector<PiruneSelectionRecord> loadPiruneSelection(Connection& c, const std::string& date);

// The dates of the stored days with results in the period, ascending.
std::vector<std::string> daysWithResults(Connection& c, const DateRange& period);

// The bounds of a period for BETWEEN: an open end is "" or "99999999".
std::string periodFrom(const DateRange& period);
std::string periodTo(const DateRange& period);

}  // namespace history
}  // namespace tolv
