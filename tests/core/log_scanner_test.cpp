#include <gtest/gtest.h>

#include "core/log_scanner.h"
#include "core/text.h"
#include "support/test_support.h"

namespace tolv {
namespace {

using testing::TempDir;
using testing::writeBytes;

std::vector<std::string> readAll(const fs::path& p) {
  LogScanner s;
  EXPECT_TRUE(s.open(p));
  std::vector<std::string> lines;
  std::string_view line;
  while (s.nextLine(line)) lines.emplace_back(line);
  EXPECT_EQ(s.offset(), static_cast<std::uint64_t>(fileSize(p)));
  return lines;
}

// Lines whose CR LF ends straddle the 1 MiB read chunks at every offset
// around the boundary.
TEST(LogScanner, LineEndsAcrossChunkBoundaries) {
  TempDir dir;
  for (int shift = -2; shift <= 2; ++shift) {
    std::string data(static_cast<std::size_t>((1 << 20) - 1 + shift), 'a');
    data += "\r\nMARK line\rsecond\nthird\r\n\r\nlast";
    writeBytes(dir / "log", data);
    auto lines = readAll(dir / "log");
    EXPECT_EQ(lines, splitLines(data)) << "shift " << shift;

    LogScanner s;
    ASSERT_TRUE(s.open(dir / "log"));
    std::string_view line;
    ASSERT_TRUE(s.nextLineContaining("MARK", line));
    EXPECT_EQ(line, "MARK line");
    ASSERT_TRUE(s.nextLine(line));
    EXPECT_EQ(line, "second");
    EXPECT_FALSE(s.nextLineContaining("MARK", line));
    EXPECT_EQ(s.offset(), data.size());
  }
}

TEST(LogScanner, FindsAPatternSplitAcrossChunksAndInLongLines) {
  TempDir dir;
  std::string data(static_cast<std::size_t>((1 << 20) - 2), 'x');
  data += "MARK\nplain\n" + std::string(3 << 20, 'y') + "MARK tail\r";
  writeBytes(dir / "log", data);
  LogScanner s;
  ASSERT_TRUE(s.open(dir / "log"));
  std::string_view line;
  ASSERT_TRUE(s.nextLineContaining("MARK", line));
  EXPECT_EQ(line.size(), static_cast<std::size_t>((1 << 20) + 2));
  ASSERT_TRUE(s.nextLineContaining("MARK", line));
  EXPECT_EQ(line.substr(line.size() - 9), "MARK tail");
  EXPECT_FALSE(s.nextLine(line));
}

// A line longer than any post (a file without line ends) is skipped as
// chatter, never held whole: it reads as an empty line, a pattern inside it
// is not found, and the lines after it read as usual.
TEST(LogScanner, OverlongLinesAreSkipped) {
  TempDir dir;
  const std::size_t longer = LogScanner::kMaxLineBytes * 2 + 5;
  std::string data = "first\r\n" + std::string(longer, 'z') + "MARK inside\r\nMARK after\n" + std::string(longer, 'q');
  writeBytes(dir / "log", data);
  EXPECT_EQ(readAll(dir / "log"), (std::vector<std::string>{"first", "", "MARK after"}));  // the last one is dropped whole

  LogScanner s;
  ASSERT_TRUE(s.open(dir / "log"));
  std::string_view line;
  ASSERT_TRUE(s.nextLineContaining("MARK", line));
  EXPECT_EQ(line, "MARK after");
  EXPECT_FALSE(s.nextLineContaining("MARK", line));
  EXPECT_EQ(s.offset(), data.size());
}

TEST(LogScanner, EmptyAndMissingFiles) {
  TempDir dir;
  writeBytes(dir / "empty", "");
  EXPECT_TRUE(readAll(dir / "empty").empty());
  LogScanner s;
  std::string error;
  EXPECT_FALSE(s.open(dir / "missing", &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tolv
