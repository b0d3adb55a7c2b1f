#include <gtest/gtest.h>

#include <utility>

#include "core/codes.h"

namespace tolv {
namespace {

using Cases = std::initializer_list<std::pair<std::string_view, std::string_view>>;

void check(std::string (*f)(std::string_view), Cases cases) {
  for (auto [in, want] : cases) EXPECT_EQ(f(in), want) << "input \"" << in << '"';
}

TEST(Codes, JraCourseNamesAndCodes) {
  check(CourseCodeOfName, {{"札幌", "01"}, {"東京", "05"}, {"小倉", "10"}, {"大井", "00"}, {"", "00"}});
  check(CourseCodeOfNameOrEmpty, {{"阪神", "09"}, {"大井", ""}});
  check(CourseNameOfCode, {{"01", "札幌"}, {"05", "東京"}, {"5", "東京"}, {"10", "小倉"}, {"A", "小倉"},
                           {"11", "？？"}, {"00", "？？"}, {"", "？？"}});
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(CourseCodeOfName(CourseNameOfCode(TwoDigits(i))), TwoDigits(i));
  check(CourseLetter, {{"10", "A"}, {"05", "5"}, {"01", "1"}});
}

TEST(Codes, SecondNumbering) {
  check(ExtCourseName, {{"00", "京都"}, {"03", "小倉"}, {"10", "大井"}, {"35", "札幌"}, {"46", "境町"},
                        {"51", "美浦南"}, {"53", "白井"}, {"65", "ＵＡＥ"}, {"66", "加国"}, {"47", "？？"},
                        {"54", "？？"}, {"67", "？？"}, {"5", "？？"}, {"", "？？"}});
  const char* ext[] = {"00", "01", "02", "03", "04", "05", "06", "07", "08", "09"};
  const char* jra[] = {"08", "09", "07", "10", "05", "06", "03", "04", "01", "02"};
  const char* chr[] = {"8", "9", "7", "A", "5", "6", "3", "4", "1", "2"};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(ExtToJraCode(ext[i]), jra[i]) << ext[i];
    EXPECT_EQ(ExtToJraChar(ext[i]), chr[i]) << ext[i];
    EXPECT_EQ(ExtCourseName(ext[i]), CourseNameOfCode(jra[i])) << ext[i];  // the same course
  }
  check(ExtToJraCode, {{"10", "10"}, {"41", "41"}, {"", ""}});
  check(ExtToJraChar, {{"10", "0"}, {"41", "0"}, {"", "0"}});
}

TEST(Codes, BetTypesRacesAndTwoDigits) {
  check(BetTypeDigit, {{"単勝", "1"}, {"複勝", "2"}, {"枠連", "3"}, {"馬連", "4"}, {"拡大馬連", "5"},
                       {"ワイド", "5"}, {"三連複", "0"}, {"", "0"}});
  check(RaceChar, {{"10", "A"}, {"11", "B"}, {"12", "C"}, {"7", "7"}, {" 7", "7"}, {"07", "7"}, {"0", "0"}, {"", "0"},
                   {"R", "0"}});
  for (auto [n, want] : {std::pair{0, "00"}, {1, "01"}, {9, "09"}, {10, "10"}, {12, "12"}, {123, "23"}}) {
    EXPECT_EQ(TwoDigits(n), want) << n;
  }
}

TEST(Codes, SurfacesAndAges) {
  check(SurfaceOfTrackCode, {{"10", "芝"}, {"22", "芝"}, {"23", "ダ"}, {"50", "ダ"}, {"51", "障"}});
  check(AgeOfTypeCode, {{"11", "２歳"}, {"21", "２歳"}, {"12", "３歳"}, {"22", "３歳"}, {"13", "３上"},
                        {"18", "３上"}, {"23", "３上"}, {"14", "４上"}, {"19", "４上"}, {"24", "４上"},
                        {"15", "　　"}, {"20", "　　"}, {"", "　　"}});
  check(AgeOfDigit, {{"0", "障害"}, {"1", "２歳"}, {"2", "３歳"}, {"3", "３上"}, {"4", "４上"}, {"5", "　　"},
                     {" ", "　　"}});
}

TEST(Codes, ClassLabels) {
  check(ClassLabel, {{"4", " 500万"}, {"5", " 900万"}, {"6", "1600万"}, {"01", "新　馬"}, {"02", "未出走"},
                     {"03", "未勝利"}, {"00", " ＯＰ "}, {"51", " Ｇ１ "}, {"52", " Ｇ２ "}, {"53", " Ｇ３ "},
                     {"61", "ＪＧ１"}, {"62", "ＪＧ２"}, {"63", "ＪＧ３"}});
  // Other codes: the number of 万 from the code; six blanks by default.
  check(ClassLabel, {{"16", "1600万"}, {"10", "1000万"}, {"9", " 900万"}, {"05", " 500万"}, {"  ", "      "},
                     {"", "      "}});
}

TEST(Codes, ClassOfGradeAndNumber) {
  for (auto [grade, want] : {std::pair{"A", "51"}, {"B", "52"}, {"C", "53"}, {"F", "61"}, {"G", "62"}, {"H", "63"}}) {
    EXPECT_EQ(ClassOfGrade(grade, "999"), want) << grade;
  }
  for (auto [cond, want] : {std::pair{"701", "01"}, {"702", "02"}, {"703", "03"}, {"999", "00"}, {"016", "16"},
                            {"000", "  "}, {"1000", "  "}, {"   ", "  "}}) {
    EXPECT_EQ(ClassOfGrade(" ", cond), want) << cond;
  }
  EXPECT_EQ(ClassOfGrade("D", "005"), "05");  // not a grade letter: the condition decides
  EXPECT_EQ(ClassLabel(ClassOfGrade(" ", "016")), "1600万");
  EXPECT_EQ(ClassLabel(ClassOfGrade(" ", "703")), "未勝利");

  for (auto [n, want] : {std::pair{0, "  "}, {1, "01"}, {2, "02"}, {3, "03"}, {4, "00"}, {5000, "05"},
                         {9999, "09"}, {10000, "10"}, {16000, "16"}}) {
    EXPECT_EQ(ClassOfNumber(n), want) << n;
  }
}

}  // namespace
}  // namespace tolv
