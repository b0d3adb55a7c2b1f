#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include "core/cp932.h"
#include "core/files.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::readBytes;
using testing::sj;
using testing::TempDir;
using testing::writeBytes;

std::vector<std::string> names(const std::vector<fs::path>& paths) {
  std::vector<std::string> out;
  for (const auto& p : paths) out.push_back(p.filename().string());
  return out;
}

// Every entry of a folder, hidden ones included, sorted.
std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

TEST(Files, DirectoryOrderIsUpperCaseFormThenName) {
  EXPECT_TRUE(directoryOrderLess("a.txt", "B.TXT"));
  EXPECT_FALSE(directoryOrderLess("B.TXT", "a.txt"));
  EXPECT_TRUE(directoryOrderLess("ABC", "abc"));  // same upper-case form: the name decides
  EXPECT_FALSE(directoryOrderLess("abc", "ABC"));
  EXPECT_FALSE(directoryOrderLess("abc", "abc"));
  EXPECT_TRUE(directoryOrderLess("Z", "_a"));     // '_' sorts after the upper-case letters
  EXPECT_TRUE(directoryOrderLess("W20020512_05.DAT", "w20020512_08.dat"));
}

TEST(Files, WildcardsIgnoreCase) {
  EXPECT_TRUE(wildcardMatch("W20020512_??.DAT", "w20020512_05.dat"));
  EXPECT_FALSE(wildcardMatch("W20020512_??.DAT", "W20020512_5.DAT"));
  EXPECT_FALSE(wildcardMatch("W20020512_??.DAT", "W20020512_123.DAT"));
  EXPECT_TRUE(wildcardMatch("~B*.*", "~b20020512.txt"));
  EXPECT_TRUE(wildcardMatch("*.*", "NODOT"));
  EXPECT_FALSE(wildcardMatch("*.TXT", "NODOT"));
  EXPECT_TRUE(wildcardMatch("*", ""));
  EXPECT_TRUE(wildcardMatch("*.TXT", "a.b.txt"));
  EXPECT_FALSE(wildcardMatch("*.TXT", "a.txt.bak"));
  EXPECT_TRUE(wildcardMatch("a*b*c", "aXXbYYbc"));
  EXPECT_TRUE(wildcardMatch("a*b", "ab"));
  EXPECT_FALSE(wildcardMatch("?", ""));
  EXPECT_TRUE(wildcardMatch("?開催.DAT", "2開催.dat"));  // '?' is one character, not one byte
  EXPECT_TRUE(wildcardMatch("H?020512.LZH", "hA020512.lzh"));
  EXPECT_FALSE(wildcardMatch("abc", "abcd"));
}

TEST(Files, ListFilesGivesRegularFilesInDirectoryOrder) {
  TempDir d;
  for (const char* n : {"b.txt", "A.TXT", "a.txt", "C.dat", "_x.txt"}) writeBytes(d / n, "x");
  fs::create_directory(d / "dir.txt");
  fs::create_symlink(d / "missing", d / "dangling.txt");
  EXPECT_EQ(names(listFiles(d.path())), (std::vector<std::string>{"A.TXT", "a.txt", "b.txt", "C.dat", "_x.txt"}));
  EXPECT_EQ(names(listFiles(d.path(), "*.txt")), (std::vector<std::string>{"A.TXT", "a.txt", "b.txt", "_x.txt"}));
  EXPECT_TRUE(listFiles(d / "nope").empty());
}

TEST(Files, FindCaselessPrefersTheExactName) {
  TempDir d;
  writeBytes(d / "tolv.ini", "lower");
  writeBytes(d / "TOLV.INI", "upper");
  writeBytes(d / "Soft.lst", "x");
  EXPECT_EQ(findCaseless(d.path(), "tolv.ini"), d / "tolv.ini");
  EXPECT_EQ(findCaseless(d.path(), "TOLV.INI"), d / "TOLV.INI");
  EXPECT_EQ(findCaseless(d.path(), "Tolv.Ini"), d / "TOLV.INI");  // first in directory order
  EXPECT_EQ(findCaseless(d.path(), "SOFT.LST"), d / "Soft.lst");
  EXPECT_FALSE(findCaseless(d.path(), "none.lst"));
  EXPECT_FALSE(findCaseless(d / "nope", "tolv.ini"));
}

TEST(Files, ResolveCaselessWalksEveryComponent) {
  TempDir d;
  writeBytes(d / "Data" / "Sub" / "File.TXT", "x");
  EXPECT_EQ(resolveCaseless(d / "DATA" / "sub" / "FILE.txt"), d / "Data" / "Sub" / "File.TXT");
  // A component that cannot be found ends the search; the rest is kept as given.
  EXPECT_EQ(resolveCaseless(d / "data" / "SUB" / "new.txt"), d / "Data" / "Sub" / "new.txt");
  EXPECT_EQ(resolveCaseless(d / "data" / "Other" / "sub"), d / "Data" / "Other" / "sub");
  EXPECT_EQ(resolveCaseless(d / "Data" / "Sub"), d / "Data" / "Sub");
}

TEST(Files, WriteFileAtomicReplacesTheContentAndLeavesNoTemporaryFile) {
  TempDir d;
  const fs::path p = d / "W20020512_05.DAT";
  ASSERT_TRUE(writeFileAtomic(p, "first content"));
  ASSERT_TRUE(writeFileAtomic(p, "2nd"));
  EXPECT_EQ(readBytes(p), "2nd");
  const std::string big(200000, 'z');  // more than one internal buffer
  ASSERT_TRUE(writeFileAtomic(p, big));
  EXPECT_EQ(readBytes(p), big);
  EXPECT_EQ(entries(d.path()), std::vector<std::string>{"W20020512_05.DAT"});

  std::string error;
  EXPECT_FALSE(writeFileAtomic(d / "no" / "such" / "x.dat", "x", &error));
  EXPECT_FALSE(error.empty());
}

TEST(Files, AtomicFileWriterWithoutCommitKeepsTheOldFile) {
  TempDir d;
  const fs::path p = d / "TOLV.INI";
  writeBytes(p, "old");
  {
    AtomicFileWriter w;
    ASSERT_TRUE(w.open(p));
    EXPECT_TRUE(w.write(std::string(100000, 'n')));
  }
  EXPECT_EQ(readBytes(p), "old");
  {
    AtomicFileWriter w;
    ASSERT_TRUE(w.open(p));
    w.write("new");
    w.discard();
    EXPECT_FALSE(w.commit());
  }
  EXPECT_EQ(readBytes(p), "old");
  EXPECT_EQ(entries(d.path()), std::vector<std::string>{"TOLV.INI"});
  {
    AtomicFileWriter w;
    ASSERT_TRUE(w.open(p));
    w.write("new ");
    w.write("content");
    EXPECT_TRUE(w.commit());
  }
  EXPECT_EQ(readBytes(p), "new content");
  EXPECT_EQ(entries(d.path()), std::vector<std::string>{"TOLV.INI"});
}

// A rewrite keeps what it replaces: a link is written through to its target
// (the link stays a link), the file's mode is kept, a read-only file is not
// replaced.
TEST(Files, AtomicRewritesKeepLinksModesAndReadOnlyFiles) {
  TempDir d;
  fs::create_directories(d / "elsewhere");
  writeBytes(d / "elsewhere" / "TOLV.INI", "old");
  fs::permissions(d / "elsewhere" / "TOLV.INI", fs::perms::owner_read | fs::perms::owner_write,
                  fs::perm_options::replace);
  fs::create_symlink("elsewhere/TOLV.INI", d / "TOLV.INI");
  ASSERT_TRUE(writeFileAtomic(d / "TOLV.INI", "new"));
  EXPECT_TRUE(fs::is_symlink(d / "TOLV.INI"));
  EXPECT_EQ(readBytes(d / "elsewhere" / "TOLV.INI"), "new");
  EXPECT_EQ(fs::status(d / "elsewhere" / "TOLV.INI").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(entries(d / "elsewhere"), std::vector<std::string>{"TOLV.INI"});

  writeBytes(d / "locked.TXT", "keep");
  fs::permissions(d / "locked.TXT", fs::perms::owner_read | fs::perms::group_read, fs::perm_options::replace);
  std::string error;
  EXPECT_FALSE(writeFileAtomic(d / "locked.TXT", "lost", &error));
  EXPECT_EQ(error, "the file is read-only");
  EXPECT_EQ(readBytes(d / "locked.TXT"), "keep");

  // A new file gets the usual mode.
  ASSERT_TRUE(writeFileAtomic(d / "fresh.TXT", "x"));
  EXPECT_TRUE((fs::status(d / "fresh.TXT").permissions() & fs::perms::owner_write) != fs::perms::none);
}

// Temporary files of a killed run go at the next start; those of a run still
// going (this process) and files of other names stay.
TEST(Files, StaleTemporaryFilesAreRemoved) {
  TempDir d;
  const std::string live = ".TOLV.INI.tmp" + std::to_string(::getpid()) + "-12";
  for (const std::string& name : {std::string(".TOLV.INI.tmp999999999-5"), std::string(".~B20020512.TXT.tmp999999998-77"),
                                 live, std::string("TOLV.INI.tmp999999999-5"), std::string(".notes.tmp"),
                                 std::string(".x.tmp12-ab"), std::string("TOLV.INI")})
    writeBytes(d / name, "x");
  EXPECT_EQ(removeStaleTempFiles(d.path()), 2);
  EXPECT_EQ(entries(d.path()),
            (std::vector<std::string>{live, ".notes.tmp", ".x.tmp12-ab", "TOLV.INI", "TOLV.INI.tmp999999999-5"}));
}

TEST(Files, ReadTextLinesDecodesCp932AndEveryLineEnd) {
  TempDir d;
  writeBytes(d / "a.txt", sj("東京\r\n第１Ｒ\nｱｲｳ\r") + "last");
  auto lines = readTextLines(d / "a.txt");
  ASSERT_TRUE(lines);
  EXPECT_EQ(*lines, (std::vector<std::string>{"東京", "第１Ｒ", "ｱｲｳ", "last"}));
  writeBytes(d / "empty.txt", "");
  EXPECT_EQ(readTextLines(d / "empty.txt"), std::vector<std::string>{});

  std::string error;
  EXPECT_FALSE(readTextLines(d / "missing.txt", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(readFile(d.path()));  // a folder is not a file

  EXPECT_EQ(encodeTextLines({"東京", "", "a"}), sj("東京") + "\r\n\r\na\r\n");
}

TEST(Files, SizesAndRemoval) {
  TempDir d;
  writeBytes(d / "f", "12345");
  EXPECT_EQ(fileSize(d / "f"), 5);
  EXPECT_EQ(fileSize(d / "missing"), -1);
  EXPECT_EQ(fileSize(d.path()), -1);
  EXPECT_TRUE(isRegularFile(d / "f"));
  EXPECT_TRUE(isDirectory(d.path()));
  EXPECT_TRUE(removeFile(d / "f"));
  EXPECT_FALSE(isRegularFile(d / "f"));
  EXPECT_TRUE(removeFile(d / "f"));  // already gone
}

}  // namespace
}  // namespace tolv
