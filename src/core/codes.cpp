#include "core/codes.h"

#include <array>
#include <string>

#include "core/text.h"

namespace tolv {
namespace {

constexpr std::array<std::string_view, 10> kCourseNames = {"札幌", "函館", "福島", "新潟", "東京",
                                                           "中山", "中京", "京都", "阪神", "小倉"};

constexpr std::array<std::string_view, 67> kExtNames = {
    "京都", "阪神", "中京", "小倉", "東京", "中山", "福島", "新潟", "札幌", "函館",  // 00-09
    "大井", "川崎", "船橋", "浦和", "岩見", "旭川", "帯広", "野田", "北見", "笠松",  // 10-19
    "金沢", "荒尾", "宇都", "佐賀", "中津", "高崎", "高知", "足利", "上山", "水沢",  // 20-29
    "三条", "紀井", "益田", "盛岡", "名古", "札幌", "函館", "園田", "福島", "姫路",  // 30-39
    "中京", "新潟", "門別", "弥富", "小林", "西脇", "境町", "",     "",     "",      // 40-49
    "栗東", "美浦南", "美浦北", "白井", "", "", "", "", "", "",                       // 50-59
    "香港", "米国", "英国", "仏国", "愛国", "ＵＡＥ", "加国"};                         // 60-66

bool isTwoDigits(std::string_view code) {
  return code.size() == 2 && code[0] >= '0' && code[0] <= '9' && code[1] >= '0' && code[1] <= '9';
}

}  // namespace

std::string CourseCodeOfNameOrEmpty(std::string_view name) {
  for (std::size_t i = 0; i < kCourseNames.size(); ++i) {
    if (kCourseNames[i] == name) return TwoDigits(static_cast<int>(i + 1));
  }
  return {};
}

std::string CourseCodeOfName(std::string_view name) {
  std::string code = CourseCodeOfNameOrEmpty(name);
  return code.empty() ? "00" : code;
}

std::string CourseNameOfCode(std::string_view code) {
  std::string t = trim(code);
  long n = (t == "A" || t == "a") ? 10 : valInt(t);
  if (n >= 1 && n <= 10) return std::string(kCourseNames[static_cast<std::size_t>(n - 1)]);
  return "？？";
}

std::string CourseLetter(std::string_view code) {
  if (code == "10") return "A";
  return code.empty() ? std::string() : std::string(code.substr(code.size() - 1));
}

std::string ExtCourseName(std::string_view code) {
  if (isTwoDigits(code)) {
    std::size_t n = static_cast<std::size_t>((code[0] - '0') * 10 + (code[1] - '0'));
    if (n < kExtNames.size() && !kExtNames[n].empty()) return std::string(kExtNames[n]);
  }
  return "？？";
}

std::string ExtToJraCode(std::string_view code) {
  static constexpr std::array<std::string_view, 10> kMap = {"08", "09", "07", "10", "05",
                                                            "06", "03", "04", "01", "02"};
  if (isTwoDigits(code) && code[0] == '0') return std::string(kMap[static_cast<std::size_t>(code[1] - '0')]);
  return std::string(code);
}

std::string ExtToJraChar(std::string_view code) {
  static constexpr std::string_view kMap = "897A563412";
  if (isTwoDigits(code) && code[0] == '0') return std::string(1, kMap[static_cast<std::size_t>(code[1] - '0')]);
  return "0";
}

std::string BetTypeDigit(std::string_view name) {
  std::string first = leftChars(name, 1);
  if (first == "単") return "1";
  if (first == "複") return "2";
  if (first == "枠") return "3";
  if (first == "馬") return "4";
  if (first == "拡" || first == "ワ") return "5";
  return "0";
}

std::string RaceChar(std::string_view raceNumber) {
  long n = valInt(raceNumber);
  if (n == 10) return "A";
  if (n == 11) return "B";
  if (n == 12) return "C";
  if (n != 0) return std::to_string(n);
  return "0";
}

std::string TwoDigits(int n) {
  if (n == 0) return "00";
  if (n >= 1 && n <= 9) return "0" + std::to_string(n);
  std::string s = std::to_string(n);
  return s.size() <= 2 ? s : s.substr(s.size() - 2);
}

std::string SurfaceOfTrackCode(std::string_view trackCode) {
  long n = valInt(trackCode);
  if (n < 23) return "芝";
  if (n <= 50) return "ダ";
  return "障";
}

std::string AgeOfTypeCode(std::string_view code) {
  if (code == "11" || code == "21") return "２歳";
  if (code == "12" || code == "22") return "３歳";
  if (code == "13" || code == "18" || code == "23") return "３上";
  if (code == "14" || code == "19" || code == "24") return "４上";
  return "　　";
}

std::string AgeOfDigit(std::string_view digit) {
  if (digit == "0") return "障害";
  if (digit == "1") return "２歳";
  if (digit == "2") return "３歳";
  if (digit == "3") return "３上";
  if (digit == "4") return "４上";
  return "　　";
}

std::string ClassLabel(std::string_view code) {
  static const std::pair<std::string_view, std::string_view> kLabels[] = {
      {"4", " 500万"},  {"5", " 900万"},  {"6", "1600万"},  {"01", "新　馬"}, {"02", "未出走"},
      {"03", "未勝利"}, {"00", " ＯＰ "}, {"51", " Ｇ１ "}, {"52", " Ｇ２ "}, {"53", " Ｇ３ "},
      {"61", "ＪＧ１"}, {"62", "ＪＧ２"}, {"63", "ＪＧ３"}};
  // The one-character codes may come padded ("4 " or " 4").
  std::string t = trim(code);
  for (const auto& [c, label] : kLabels) {
    if (c == code || (c.size() == 1 && c == t)) return std::string(label);
  }
  long n = valInt(code);
  bool hasDigit = code.find_first_of("0123456789") != std::string_view::npos;
  if (hasDigit && n >= 10) return std::string(code) + "00万";
  if (hasDigit && n > 0) return " " + rightChars(code, 1) + "00万";
  return "      ";
}

std::string ClassOfGrade(std::string_view grade, std::string_view condition) {
  if (grade == "A") return "51";
  if (grade == "B") return "52";
  if (grade == "C") return "53";
  if (grade == "F") return "61";
  if (grade == "G") return "62";
  if (grade == "H") return "63";
  long n = valInt(condition);
  if (n >= 1 && n <= 999) {
    std::string c = trim(condition);
    if (c == "701") return "01";
    if (c == "702") return "02";
    if (c == "703") return "03";
    if (c == "999") return "00";
    return rightChars(c, 2);
  }
  return "  ";
}

std::string ClassOfNumber(int n) {
  if (n == 0) return "  ";
  if (n == 1) return "01";
  if (n == 2) return "02";
  if (n == 3) return "03";
  if (n == 4) return "00";
  std::string s = std::to_string(n < 0 ? -n : n);
  if (n > 9999) return s.substr(0, 2);
  return "0" + s.substr(0, 1);
}

}  // namespace tolv
