#include <gtest/gtest.h>

#include <algorithm>

#include "core/cp932.h"
#include "core/text.h"

namespace tolv {
namespace {

TEST(Text, ByteWidthsCountKanjiTwoAndHalfWidthKanaOne) {
  EXPECT_EQ(lenBytes(""), 0u);
  EXPECT_EQ(lenBytes("abc"), 3u);
  EXPECT_EQ(lenBytes("東京"), 4u);
  EXPECT_EQ(lenBytes("ﾄﾘｹｼ"), 4u);
  EXPECT_EQ(lenBytes("東京ｱ1Ｒ"), 8u);
  EXPECT_EQ(lenBytes("①　"), 4u);  // NEC specials and the full-width space are double-byte
}

TEST(Text, LeftAndMidBytesCutThroughDoubleByteCharactersAsQuestionMarks) {
  EXPECT_EQ(leftBytes("東京", 4), "東京");
  EXPECT_EQ(leftBytes("東京", 3), "東?");
  EXPECT_EQ(leftBytes("東京", 1), "?");
  EXPECT_EQ(leftBytes("東京", 0), "");
  EXPECT_EQ(leftBytes("東京", 10), "東京");
  EXPECT_EQ(leftBytes("ｱｲｳｴ", 3), "ｱｲｳ");
  EXPECT_EQ(leftBytes("a東b", 2), "a?");

  EXPECT_EQ(midBytes("ab東京", 3, 2), "東");
  EXPECT_EQ(midBytes("ab東京", 3), "東京");             // the rest
  EXPECT_EQ(midBytes("東京", 2, 2), "??");               // second half, first half
  EXPECT_EQ(midBytes("東京", 2), "?京");
  EXPECT_EQ(midBytes("東京ｱｲ", 5, 1), "ｱ");
  EXPECT_EQ(midBytes("東京", 9, 2), "");                 // past the end
  EXPECT_EQ(midBytes("abc", 2, 0), "");
}

TEST(Text, WidthsAgreeWithTheBytesWritten) {
  // Whatever the cut, the text written as CP932 takes exactly the bytes asked
  // for; a character CP932 lacks is written as '?' and counts 1.
  for (const std::string s : {"東京ｱ1Ｒ①", "😀x", "ﾄﾘｹｼ 12.3", "第１２Ｒ　東京"}) {
    const long len = static_cast<long>(lenBytes(s));
    EXPECT_EQ(toCp932(s).size(), lenBytes(s)) << s;
    for (long n = 0; n <= len + 2; ++n) {
      EXPECT_EQ(static_cast<long>(toCp932(leftBytes(s, n)).size()), std::min(n, len)) << s << " " << n;
      EXPECT_EQ(static_cast<long>(toCp932(padBytes(s, n)).size()), n) << s << " " << n;
      for (long start = 1; start <= len; ++start) {
        EXPECT_EQ(static_cast<long>(toCp932(midBytes(s, start, n)).size()), std::min(n, len - start + 1))
            << s << " " << start << " " << n;
      }
    }
  }
}

TEST(Text, PadBytesAppendsBlanksThenCuts) {
  EXPECT_EQ(padBytes("東", 5), "東   ");
  EXPECT_EQ(padBytes("ﾄﾘｹｼ", 6), "ﾄﾘｹｼ  ");
  EXPECT_EQ(padBytes("東京", 3), "東?");
  EXPECT_EQ(padBytes("abcdef", 4), "abcd");
  EXPECT_EQ(padBytes("", 2), "  ");
  EXPECT_EQ(lenBytes(padBytes("東京阪神", 7)), 7u);
}

TEST(Text, ValReadsTheLeadingNumber) {
  EXPECT_EQ(val(" 1 2"), 12);
  EXPECT_EQ(val("01-02"), 1);
  EXPECT_EQ(val("  ﾄﾘｹｼ"), 0);
  EXPECT_EQ(val(""), 0);
  EXPECT_EQ(val("abc12"), 0);
  EXPECT_EQ(val("12abc"), 12);
  EXPECT_EQ(val("\t\r\n 42"), 42);
  EXPECT_EQ(val("-3.5"), -3.5);
  EXPECT_EQ(val("+7"), 7);
  EXPECT_EQ(val("- 5"), -5);         // blanks after the sign are skipped too
  EXPECT_EQ(val("--1"), 0);
  EXPECT_EQ(val("1.2.3"), 1.2);       // one decimal point only
  EXPECT_EQ(val(".5"), 0.5);
  EXPECT_EQ(val("."), 0);
  EXPECT_EQ(val("1e3"), 1);           // no exponents
  EXPECT_EQ(val("１２"), 0);          // full-width digits are not digits
  EXPECT_EQ(val(" 12.3 "), 12.3);
  EXPECT_EQ(valInt(" 12.9"), 12);
  EXPECT_EQ(valInt("-12.9"), -12);
}

TEST(Text, TrimRemovesOnlyAsciiSpaces) {
  EXPECT_EQ(trim("  ab c  "), "ab c");
  EXPECT_EQ(trim("\tab\t"), "\tab\t");
  EXPECT_EQ(trim("　ab　"), "　ab　");
  EXPECT_EQ(trim("    "), "");
  EXPECT_EQ(trimLeft("  a "), "a ");
  EXPECT_EQ(trimRight("  a "), "  a");
}

TEST(Text, WideAndNarrowConvertAsciiSpaceAndKatakana) {
  EXPECT_EQ(toWide("AB 1~"), "ＡＢ　１～");
  EXPECT_EQ(toNarrow("ＡＢ　１～"), "AB 1~");
  EXPECT_EQ(toWide("ｶﾞﾊﾟｳﾞｱｰ"), "ガパヴアー");
  EXPECT_EQ(toWide("ﾊﾞﾋﾟﾌ"), "バピフ");
  EXPECT_EQ(toWide("ｱﾞ"), "ア゛");      // a mark that cannot combine stays a mark
  EXPECT_EQ(toWide("ｶﾟ"), "カ゜");
  EXPECT_EQ(toNarrow("ガパヴアー"), "ｶﾞﾊﾟｳﾞｱｰ");
  EXPECT_EQ(toNarrow("ドバイ"), "ﾄﾞﾊﾞｲ");
  EXPECT_EQ(toNarrow("東京ひらがな"), "東京ひらがな");  // kanji and hiragana untouched
  EXPECT_EQ(toWide("東京"), "東京");
  const std::string kana = "ｷﾞｬﾛｯﾌﾟ ﾎﾟｰﾙ";
  EXPECT_EQ(toNarrow(toWide(kana)), kana);
}

TEST(Text, NarrowDigitsTouchesOnlyFullWidthDigits) {
  EXPECT_EQ(narrowDigits("第１２Ｒ　東京０５"), "第12Ｒ　東京05");
  EXPECT_EQ(narrowDigits("abc"), "abc");
}

TEST(Text, SplitLinesAcceptsEveryLineEnd) {
  using L = std::vector<std::string>;
  EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (L{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines("a\r\n"), (L{"a"}));
  EXPECT_EQ(splitLines("a\r\n\r\nb"), (L{"a", "", "b"}));
  EXPECT_EQ(splitLines("a\r\r\n"), (L{"a", ""}));
  EXPECT_EQ(splitLines("\n"), (L{""}));
  EXPECT_EQ(splitLines(""), L{});
  EXPECT_EQ(splitLines("東京\r\nｱｲ"), (L{"東京", "ｱｲ"}));
}

TEST(Text, CharacterPositionsCountCodePoints) {
  EXPECT_EQ(lenChars("東京ab"), 4u);
  EXPECT_EQ(findChars("東京ab東", "東"), 1);
  EXPECT_EQ(findChars("東京ab東", "東", 2), 5);
  EXPECT_EQ(findChars("東京ab東", "b"), 4);
  EXPECT_EQ(findChars("東京ab", "x"), 0);
  EXPECT_EQ(findChars("abc", "", 2), 2);
  EXPECT_EQ(midChars("東京ab", 2, 2), "京a");
  EXPECT_EQ(midChars("東京ab", 3), "ab");
  EXPECT_EQ(midChars("東京ab", 7, 2), "");
  EXPECT_EQ(leftChars("東京ab", 1), "東");
  EXPECT_EQ(rightChars("東京ab", 3), "京ab");
  EXPECT_EQ(rightChars("ab", 5), "ab");
  EXPECT_EQ(charAt("東京ab", 2), "京");
  EXPECT_EQ(charAt("東京ab", 9), "");
}

TEST(Text, CountOccurrencesIsNonOverlapping) {
  EXPECT_EQ(countOccurrences("aa", "aaaa"), 2);
  EXPECT_EQ(countOccurrences("aa", "aaa"), 1);
  EXPECT_EQ(countOccurrences("東", "東京東"), 2);
  EXPECT_EQ(countOccurrences("a", ""), 0);
}

TEST(Text, NumbersKeepTheClassicSignPlace) {
  EXPECT_EQ(classicStr(0), " 0");
  EXPECT_EQ(classicStr(3), " 3");
  EXPECT_EQ(classicStr(-3), "-3");
  EXPECT_EQ(zeroPad(7, 2), "07");
  EXPECT_EQ(zeroPad(123, 2), "123");
  EXPECT_EQ(upperAscii("abcｱ東z"), "ABCｱ東Z");
  EXPECT_TRUE(equalsIgnoreCase("Tolv.ini", "TOLV.INI"));
  EXPECT_FALSE(equalsIgnoreCase("Tolv.ini", "TOLV.IN"));
}

}  // namespace
}  // namespace tolv
