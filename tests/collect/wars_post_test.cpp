#include <gtest/gtest.h>

#include "collect/wars_post.h"
#include "core/cp932.h"

#include <vector>

namespace tolv {
namespace {

// The direct path for ASCII race lines gives the bytes of the decoding path.
TEST(WarsPost, AsciiRaceLinesCutLikeDecodedOnes) {
  const PostHeader header{"05", "0870"};
  for (std::string line : std::vector<std::string>{" 1R     03-07 01-03 05-11 02-03 07-08 10-12 extra text past the picks", "12R",
                           " 3R  AB  01-02    36", "-1R     01-02", "x9R\t\t01-02", std::string(" 2R\0    03-04", 13),
                           std::string(120, 'R'), " 4R     01-02 03-04 05-06 07-08 09-10 11-12  |芝1200m 16頭"}) {
    std::string fast, cutFast;
    appendCutRecord(header, line, fast);
    appendCutLine(line, cutFast);
    EXPECT_TRUE(isRaceLineBytes(line) == isRaceLine(line)) << line;
    EXPECT_EQ(fast, cutRecordOf(header, line).encode()) << line;
    std::string padded = line;
    padded.resize(76, ' ');
    if (line.find('|') == std::string::npos) {
      EXPECT_EQ(cutFast, padded + "\r\n");
    }
  }
}

TEST(WarsPost, NonAsciiRaceLinesAreDecoded) {
  const PostHeader header{"06", "0101"};
  std::string line = toCp932("10R  ◎  01-02 ０３-04");
  std::string rec;
  appendCutRecord(header, line, rec);
  // Fields are bytes: the full-width pick is cut to five of them.
  EXPECT_EQ(rec, toCp932("06010110◎01-02０３-") + std::string(20, ' '));
  EXPECT_TRUE(isRaceLineBytes(toCp932("1R R")) == false);
  EXPECT_TRUE(isRaceLineBytes(toCp932("◎R")) == false);
  EXPECT_TRUE(isRaceLineBytes(toCp932("◎ R")));
  std::string cut;
  appendCutLine(toCp932(std::string(75, ' ') + "漢字"), cut);
  EXPECT_EQ(cut, std::string(75, ' ') + "?\r\n");
}

}  // namespace
}  // namespace tolv
