#include <gtest/gtest.h>

#include "core/numformat.h"

namespace tolv {
namespace {

TEST(NumberFormat, OptionalAndRequiredDigits) {
  EXPECT_EQ(formatNumber(0.5, "###.0"), ".5");
  EXPECT_EQ(formatNumber(0, "###.0"), ".0");
  EXPECT_EQ(formatNumber(0, "###,###"), "");
  EXPECT_EQ(formatNumber(0, "##0"), "0");
  EXPECT_EQ(formatNumber(7, "##0"), "7");
  EXPECT_EQ(formatNumber(0.04, "###0.0"), "0.0");
  EXPECT_EQ(formatNumber(5, "###0.0"), "5.0");
  EXPECT_EQ(formatNumber(123.4, "####.0"), "123.4");
  // The result is not padded to the pattern's width, nor cut to it.
  EXPECT_EQ(formatNumber(12345.6, "###.0"), "12345.6");
}

TEST(NumberFormat, ThousandsGroups) {
  EXPECT_EQ(formatNumber(3450, "#,##0"), "3,450");
  EXPECT_EQ(formatNumber(0, "#,##0"), "0");
  EXPECT_EQ(formatNumber(999, "#,##0"), "999");
  EXPECT_EQ(formatNumber(1000, "#,###"), "1,000");
  EXPECT_EQ(formatNumber(1234567, "###,###"), "1,234,567");
  EXPECT_EQ(formatNumber(0, "#,###"), "");
}

TEST(NumberFormat, HalvesRoundAwayFromZero) {
  EXPECT_EQ(formatNumber(12.25, "####.0"), "12.3");
  EXPECT_EQ(formatNumber(12.35, "####.0"), "12.4");
  EXPECT_EQ(formatNumber(12.24, "####.0"), "12.2");
  EXPECT_EQ(formatNumber(2.5, "##0"), "3");
  EXPECT_EQ(formatNumber(0.05, "###0.0"), "0.1");
  EXPECT_EQ(formatNumber(1234.5, "###,###"), "1,235");
  EXPECT_EQ(formatNumber(999.95, "###.0"), "1000.0");
  EXPECT_EQ(formatNumber(-2.5, "##0"), "-3");
  EXPECT_EQ(formatNumber(-12.25, "####.0"), "-12.3");
}

TEST(NumberFormat, NegativeNumbers) {
  EXPECT_EQ(formatNumber(-3450, "#,##0"), "-3,450");
  EXPECT_EQ(formatNumber(-0.5, "###.0"), "-.5");
  EXPECT_EQ(formatNumber(-7, "##0"), "-7");
}

TEST(NumberFormat, FormatTextKeepsCellsWithoutANumber) {
  EXPECT_EQ(formatText("  12.25", "####.0"), "12.3");
  EXPECT_EQ(formatText("3450", "#,##0"), "3,450");
  EXPECT_EQ(formatText("0", "##0"), "0");
  EXPECT_EQ(formatText("", "##0"), "");
  EXPECT_EQ(formatText("      ", "####.0"), "      ");
  EXPECT_EQ(formatText("  ﾄﾘｹｼ", "####.0"), "  ﾄﾘｹｼ");
  EXPECT_EQ(formatText("取消", "#,##0"), "取消");
}

}  // namespace
}  // namespace tolv
