#pragma once
// Fixed code tables: racecourses (two numberings), bet types, races, surfaces,
// age conditions and race classes. None reads a file.

#include <string>
#include <string_view>

namespace tolv {

// The ten JRA course names in code order, as one text ("札幌函館...小倉").
inline constexpr std::string_view kCourseNamesText = "札幌函館福島新潟東京中山中京京都阪神小倉";

// Name -> two-digit code; unknown names give "00".
std::string CourseCodeOfName(std::string_view name);
// Name -> two-digit code; unknown names give "" (log extraction, hit marking).
std::string CourseCodeOfNameOrEmpty(std::string_view name);
// Code -> name; the code's number selects the row ("A" counts as 10); "？？" otherwise.
std::string CourseNameOfCode(std::string_view code);
// One-character code: "A" for "10", else the code's last character.
std::string CourseLetter(std::string_view code);

// Second numbering "00"-"66" used by KOL-derived sources.
std::string ExtCourseName(std::string_view code);
std::string ExtToJraCode(std::string_view code);
std::string ExtToJraChar(std::string_view code);

// Bet type digit by the first character of a bet-type name.
std::string BetTypeDigit(std::string_view betTypeName);
// "A", "B", "C" for 10-12; the trimmed number for other non-zero numbers; "0".
std::string RaceChar(std::string_view raceNumber);
// 1-9 as "0" + digit, 0 as "00", others the last two characters.
std::string TwoDigits(int n);

std::string SurfaceOfTrackCode(std::string_view trackCode);
std::string AgeOfTypeCode(std::string_view code);
std::string AgeOfDigit(std::string_view digit);
// Six-character class label for a two-character class code.
std::string ClassLabel(std::string_view code);
std::string ClassOfGrade(std::string_view grade, std::string_view condition);
std::string ClassOfNumber(int n);

}  // namespace tolv
