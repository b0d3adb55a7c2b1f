// The history database: its schema version and migrations, and days whose
// files are missing or damaged refused with the database left as it was.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "history/program_stats.h"
#include "history/history_store.h"
#include "history_fixture.h"

namespace tolv {
namespace {

using testing::HistoryHome;
using testing::readBytes;
using testing::writeBytes;

constexpr const char* kDay = "20260104";

void setUserVersion(const fs::path& p, int v) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(p.string().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, ("PRAGMA user_version = " + std::to_string(v)).c_str(), nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
}

class HistoryImport : public ::testing::Test {
 protected:
  void SetUp() override {
    h.writeDay(kDay, {{"0100", "0501", {"01-02"}}, {"0200", "0502", {"03-04"}}},
               {{"0501", "01-02", 500, {}}, {"0502", "03-04", 900, {}}});
    db = h.open();
    ASSERT_TRUE(db);
    ASSERT_EQ(h.import(*db, kDay), StepResult::Done);
    stored = db->days().at(0);
  }

  // The import is refused naming `file`, and the stored day is the one before.
  void expectRefused(const fs::path& file) {
    h.ui.messages.clear();
    EXPECT_EQ(h.import(*db, kDay), StepResult::Failed);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_NE(h.ui.messages[0].text.find(file.string()), std::string::npos) << h.ui.messages[0].text;
    const auto days = db->days();
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].imported, stored.imported);
    EXPECT_EQ(days[0].posts, stored.posts);
    EXPECT_EQ(days[0].results, stored.results);
    EXPECT_EQ(programFigures(*db, {}).size(), 2u);
  }

  HistoryHome h;
  std::unique_ptr<HistoryDb> db;
  StoredDay stored;
};

TEST_F(HistoryImport, StoresWhatTheDayHolds) {
  EXPECT_EQ(stored.date, kDay);
  EXPECT_EQ(stored.posts, 2);
  EXPECT_EQ(stored.programs, 2);
  EXPECT_EQ(stored.picks, 2);
  EXPECT_EQ(stored.pricedPicks, 0);
  EXPECT_EQ(stored.results, 2);
  EXPECT_EQ(stored.courses, "05");
  EXPECT_EQ(db->schemaVersion(), kHistorySchemaVersion);
}

TEST_F(HistoryImport, MissingOrDamagedFilesAreRefused) {
  const fs::path cut = h.data(std::string(kDay) + ".DAT");
  const fs::path results = h.data(std::string("Sei") + kDay + ".DAT");
  const std::string cutBytes = readBytes(cut), resultBytes = readBytes(results);

  fs::remove(cut);
  expectRefused(cut);
  writeBytes(cut, cutBytes + "0501");  // a torn last record
  expectRefused(cut);
  writeBytes(cut, "");
  expectRefused(cut);
  writeBytes(cut, cutBytes);

  writeBytes(results, resultBytes.substr(0, resultBytes.size() - 3));
  expectRefused(results);
  std::string badRace = resultBytes;
  badRace.replace(6, 2, "x9");  // the race number of the first record
  writeBytes(results, badRace);
  expectRefused(results);
  writeBytes(results, resultBytes);

  const fs::path tolvFile = tolvDataPath(h.session.dataFolder(), kDay, "05");
  writeBytes(tolvFile, std::string(kTolvRecordLength + 1, ' '));
  expectRefused(tolvFile);
  fs::remove(tolvFile);

  const fs::path pirune = h.data(std::string("HA") + kDay + ".DAT");
  writeBytes(pirune, std::string(10, ' '));
  expectRefused(pirune);
  fs::remove(pirune);

  EXPECT_EQ(h.import(*db, kDay), StepResult::Done);
}

TEST_F(HistoryImport, MissingResultsAreNoResultsYet) {
  fs::remove(h.data(std::string("Sei") + kDay + ".DAT"));
  ASSERT_EQ(h.import(*db, kDay), StepResult::Done);
  EXPECT_FALSE(db->days().at(0).hasResults());
  EXPECT_TRUE(programFigures(*db, {}).empty());
}

TEST(HistorySchema, NewerVersionIsRefusedAndLeftAlone) {
  HistoryHome h;
  const fs::path path = historyDbPath(h.session);
  { ASSERT_TRUE(h.open()); }
  setUserVersion(path, kHistorySchemaVersion + 1);
  const std::string before = readBytes(path);
  for (auto mode : {HistoryDb::Mode::ReadWrite, HistoryDb::Mode::ReadOnly}) {
    std::string error;
    EXPECT_FALSE(HistoryDb::open(path, mode, &error));
    EXPECT_EQ(error, newerSchemaMessage(path, kHistorySchemaVersion + 1));
    EXPECT_NE(error.find(path.string()), std::string::npos);
  }
  EXPECT_EQ(readBytes(path), before);
}

TEST(HistorySchema, EmptyFileIsMigratedAndGarbageRefused) {
  HistoryHome h;
  const fs::path path = historyDbPath(h.session);
  writeBytes(path, "");
  std::string error;
  {
    auto db = HistoryDb::open(path, HistoryDb::Mode::ReadOnly, &error);
    EXPECT_FALSE(db);  // read-only never migrates
  }
  {
    auto db = HistoryDb::open(path, HistoryDb::Mode::ReadWrite, &error);
    ASSERT_TRUE(db) << error;
    EXPECT_EQ(db->schemaVersion(), kHistorySchemaVersion);
    EXPECT_TRUE(db->days().empty());
  }
  EXPECT_TRUE(HistoryDb::open(path, HistoryDb::Mode::ReadOnly, &error));

  writeBytes(path, std::string(4096, 'x'));
  error.clear();
  EXPECT_FALSE(HistoryDb::open(path, HistoryDb::Mode::ReadWrite, &error));
  EXPECT_NE(error.find(path.string()), std::string::npos);
  EXPECT_EQ(readBytes(path), std::string(4096, 'x'));

  error.clear();
  EXPECT_FALSE(HistoryDb::open(h.home() / "none.sqlite", HistoryDb::Mode::ReadOnly, &error));
  EXPECT_NE(error.find("none.sqlite"), std::string::npos);
}

TEST(HistorySchema, ReaderSeesTheWritersCommittedDays) {
  HistoryHome h;
  h.writeDay(kDay, {{"0100", "0501", {"01-02"}}}, {{"0501", "01-02", 500, {}}});
  auto writer = h.open();
  ASSERT_TRUE(writer);
  auto reader = HistoryDb::open(historyDbPath(h.session), HistoryDb::Mode::ReadOnly);
  ASSERT_TRUE(reader);
  EXPECT_TRUE(reader->days().empty());
  ASSERT_EQ(h.import(*writer, kDay), StepResult::Done);
  EXPECT_EQ(reader->days().size(), 1u);
}

}  // namespace
}  // namespace tolv

namespace tolv {
namespace {

TEST(HistoryPosters, RoundTripThroughTheirStoredForm) {
  const std::vector<history::Poster> posters{{0, 1}, {1, 300}, {129, 1}, {9999, 32767}};
  const std::vector<history::Poster> back = history::decodePosters(history::encodePosters(posters));
  ASSERT_EQ(back.size(), posters.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_EQ(back[i].code, posters[i].code);
    EXPECT_EQ(back[i].posts, posters[i].posts);
  }
  // A torn blob reads what it holds and stops.
  const std::string bytes = history::encodePosters(posters);
  EXPECT_LE(history::decodePosters(bytes.substr(0, bytes.size() - 1)).size(), posters.size());
  EXPECT_TRUE(history::decodePosters("").empty());
}

TEST(HistoryPosters, ListedPostsCountOnlyTheFlaggedCodes) {
  const std::string bytes = history::encodePosters({{0, 2}, {7, 3}, {129, 5}, {9999, 11}});
  std::vector<char> listed(130, 0);
  listed[7] = listed[129] = 1;
  EXPECT_EQ(history::listedPosts(bytes, listed), 8);
  // A code past the flags (9999) and an unflagged one (0) count nothing.
  listed[0] = 1;
  EXPECT_EQ(history::listedPosts(bytes, listed), 10);
  EXPECT_EQ(history::listedPosts(bytes, {}), 0);
  EXPECT_EQ(history::listedPosts("", listed), 0);
  // Built poster by poster, the blob is the same as encoded at once.
  std::string built;
  int previous = 0;
  for (const history::Poster& p : history::decodePosters(bytes)) history::appendPoster(built, previous, p);
  EXPECT_EQ(built, bytes);
}

}  // namespace
}  // namespace tolv
