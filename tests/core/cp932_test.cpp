#include <gtest/gtest.h>

#include "core/cp932.h"
#include "core/text.h"

namespace tolv {
namespace {

TEST(Cp932, RoundTripsKanjiKanaAndAscii) {
  const std::string text = "東京 2002年 ｱｲｳ ①Ⅰ￢ ABC";
  EXPECT_EQ(fromCp932(toCp932(text)), text);
  EXPECT_EQ(toCp932("日目"), "\x93\xfa\x96\xda");
}

TEST(Cp932, InvalidBytesReadAsQuestionMarks) {
  EXPECT_EQ(fromCp932("\x85\x40"), "?@");
  EXPECT_EQ(fromCp932("\x80"), "?");
  EXPECT_EQ(fromCp932("\xa0"), "?");
  EXPECT_EQ(fromCp932("A\x82"), "A?");  // a lead byte at the end
  EXPECT_EQ(fromCp932(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp932, CharactersCp932LacksWriteAsQuestionMarks) {
  EXPECT_EQ(toCp932("😀x"), "?x");
  EXPECT_EQ(toCp932("\xff"), "?");  // a malformed UTF-8 byte
}

TEST(Cp932, FixedFieldsPadAndCutThroughDoubleBytes) {
  EXPECT_EQ(fixedField("ab", 4), "ab  ");
  EXPECT_EQ(fixedField("東京", 3), toCp932("東") + "?");
  EXPECT_EQ(fixedField("ｱｲｳｴ", 3), toCp932("ｱｲｳ"));
}

}  // namespace
}  // namespace tolv
