#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/lzh.h"
#include "core/startup.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::TestHome;
using testing::writeBytes;

// The fixtures of tests/data/lzh were made with an ordinary LHA archiver
// (-lh5-): race.lzh with level-2 headers, race_level0.lzh and race_level1.lzh
// with level-0 and level-1 headers, each holding JRACDEN1.DAT and
// sub/kol_den1.kd2.
fs::path fixture(const char* name) { return testing::testDataPath(std::string("lzh/") + name); }

std::string raceCardText() {
  std::string s;
  char line[64];
  for (int r = 1; r <= 12; ++r) {
    std::snprintf(line, sizeof line, "20020512%02d%02d RACE CARD LINE %02d TOKYO 1600 TURF\r\n", 5, r, r);
    s += line;
  }
  return s;
}

std::string kolText() {
  std::string s;
  for (int i = 0; i < 20; ++i) s += "KOL DATA ";
  return s + "\r\n";
}

std::vector<std::string> entriesOf(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

// --- a minimal writer of stored (-lh0-) members with level-0 headers ---------

std::uint16_t crc16(std::string_view data) {
  std::uint16_t crc = 0;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = static_cast<std::uint16_t>((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
  }
  return crc;
}

void put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// `crcDelta` spoils the CRC; `claimedSize` replaces both sizes of the header.
std::string storedMember(std::string_view name, std::string_view data, int crcDelta = 0,
                         std::uint32_t claimedSize = 0) {
  const auto size = claimedSize ? claimedSize : static_cast<std::uint32_t>(data.size());
  std::string h = "-lh0-";
  put32(h, size);  // compressed size
  put32(h, size);  // original size
  put32(h, 0x2CAC6000);  // 2002-05-12 12:00:00, DOS format
  h.push_back('\x20');   // attribute
  h.push_back('\0');     // header level 0
  h.push_back(static_cast<char>(name.size()));
  h += name;
  put16(h, static_cast<std::uint16_t>(crc16(data) + crcDelta));
  unsigned sum = 0;
  for (unsigned char c : h) sum += c;
  std::string member;
  member.push_back(static_cast<char>(h.size()));
  member.push_back(static_cast<char>(sum & 0xFF));
  return member + h + std::string(data);
}

// --- tests -------------------------------------------------------------------

TEST(Lzh, UnpacksLh5MembersByBaseNameIntoItsOwnEmptiedFolder) {
  for (const char* archive : {"race.lzh", "race_level0.lzh", "race_level1.lzh"}) {
    SCOPED_TRACE(archive);
    TestHome h;
    const fs::path work = h.session.unpackFolder();
    writeBytes(work / "stale.DAT", "from an earlier unpack");
    // The user's own files in Work/ (also a member's name) are never touched.
    const fs::path users = h.session.workFolder();
    writeBytes(users / "JRACDEN1.DAT", "the user's own");
    writeBytes(users / "notes.txt", "mine");

    UnpackResult r = unpackArchive(h.session, fixture(archive));
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.refused.empty());
    // Names as stored (an all-capital name stays so); the member of the
    // sub-folder lands in Work/ itself; the stale file is gone.
    EXPECT_EQ(r.written, (std::vector<std::string>{"JRACDEN1.DAT", "kol_den1.kd2"}));
    EXPECT_EQ(entriesOf(work), (std::vector<std::string>{"JRACDEN1.DAT", "kol_den1.kd2"}));
    EXPECT_EQ(readBytes(work / "JRACDEN1.DAT"), raceCardText());
    EXPECT_EQ(readBytes(work / "kol_den1.kd2"), kolText());
    EXPECT_EQ(readBytes(users / "JRACDEN1.DAT"), "the user's own");
    clearWorkFolder(h.session);
    EXPECT_FALSE(fs::exists(work));
    EXPECT_EQ(entriesOf(users), (std::vector<std::string>{"JRACDEN1.DAT", "notes.txt"}));
  }
}

TEST(Lzh, StoredMembersAreCheckedByTheirCrc) {
  TestHome h;
  TempDir d;
  const std::string good = "stored data\r\n";
  writeBytes(d / "a.lzh", storedMember("GOOD.TXT", good) + storedMember("BAD.TXT", "changed data", 1) + '\0');
  UnpackResult r = unpackArchive(h.session, d / "a.lzh");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.written, std::vector<std::string>{"GOOD.TXT"});
  EXPECT_EQ(r.refused, std::vector<std::string>{"BAD.TXT"});
  EXPECT_EQ(entriesOf(h.session.unpackFolder()), std::vector<std::string>{"GOOD.TXT"});
  EXPECT_EQ(readBytes(fs::path(h.session.unpackFolder()) / "GOOD.TXT"), good);
}

TEST(Lzh, MembersNeverLandOutsideWork) {
  TestHome h;
  TempDir d;
  const fs::path home = h.home();
  const bool tmpAbsExisted = fs::exists("/tmp/abs.txt");
  const std::string absInHome = (home / "abs2.txt").string();
  const std::vector<std::string> evil = {"../evil.txt", "/tmp/abs.txt", "a/../../b.txt", "..\\evil2.txt",
                                         absInHome};
  std::string archive = storedMember("ok1.txt", "one");
  for (const auto& name : evil) archive += storedMember(name, "evil");
  archive += storedMember("ok2.txt", "two");
  archive += '\0';
  writeBytes(d / "evil.lzh", archive);

  UnpackResult r = unpackArchive(h.session, d / "evil.lzh");
  EXPECT_EQ(r.written, (std::vector<std::string>{"ok1.txt", "ok2.txt"}));
  EXPECT_EQ(r.refused, evil);
  EXPECT_EQ(entriesOf(h.session.unpackFolder()), (std::vector<std::string>{"ok1.txt", "ok2.txt"}));
  EXPECT_EQ(entriesOf(home), (std::vector<std::string>{"DATA", "OutPut", "WarsOdds", "Work"}));
  EXPECT_EQ(entriesOf(d.path()), std::vector<std::string>{"evil.lzh"});
  if (!tmpAbsExisted) {
    EXPECT_FALSE(fs::exists("/tmp/abs.txt"));
  }
  EXPECT_FALSE(fs::exists(fs::path(h.session.unpackFolder()) / "a"));
}

TEST(Lzh, CorruptAndForeignFilesNeverCrash) {
  TestHome h;
  TempDir d;
  const std::string race = readBytes(fixture("race.lzh"));
  ASSERT_GT(race.size(), 200u);
  const fs::path work = h.session.unpackFolder();

  // Damaged compressed data of the first member.
  std::string damaged = race;
  for (std::size_t i = 0x40; i < 0x60; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
  writeBytes(d / "damaged.lzh", damaged);
  UnpackResult r = unpackArchive(h.session, d / "damaged.lzh");
  EXPECT_TRUE(!r.ok || !r.refused.empty());
  EXPECT_FALSE(fs::exists(work / "JRACDEN1.DAT"));

  // Cut short in the middle of the first member.
  writeBytes(d / "short.lzh", race.substr(0, 100));
  r = unpackArchive(h.session, d / "short.lzh");
  EXPECT_TRUE(!r.ok || !r.refused.empty());
  EXPECT_TRUE(entriesOf(work).empty());

  // Not an archive at all, an empty file, and a missing one.
  writeBytes(d / "text.lzh", std::string(3000, 'x'));
  r = unpackArchive(h.session, d / "text.lzh");
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.written.empty());
  EXPECT_FALSE(r.error.empty());
  writeBytes(d / "empty.lzh", "");
  r = unpackArchive(h.session, d / "empty.lzh");
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.written.empty());
  // An archive without members is fine.
  writeBytes(d / "none.lzh", std::string(1, '\0'));
  r = unpackArchive(h.session, d / "none.lzh");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.written.empty());
  r = unpackArchive(h.session, d / "missing.lzh");
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
  EXPECT_TRUE(entriesOf(work).empty());

  // A header claiming a huge member with little data behind it.
  writeBytes(d / "huge.lzh", storedMember("BIG.DAT", "tiny", 0, 0x7FFFFFFF) + '\0');
  r = unpackArchive(h.session, d / "huge.lzh");
  EXPECT_TRUE(r.written.empty());
  EXPECT_TRUE(entriesOf(work).empty());
}

}  // namespace
}  // namespace tolv
