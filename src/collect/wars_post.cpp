#include "collect/wars_post.h"

#include "core/codes.h"
#include "core/cp932.h"
#include "core/text.h"

#include <algorithm>

namespace tolv {
namespace {

// The text before the first `mark`, or nullopt when there is none.
std::optional<std::string> before(std::string_view s, std::string_view mark) {
  std::size_t at = s.find(mark);
  if (at == std::string_view::npos) return std::nullopt;
  return std::string(s.substr(0, at));
}

std::optional<std::string> after(std::string_view s, std::string_view mark) {
  std::size_t at = s.find(mark);
  if (at == std::string_view::npos) return std::nullopt;
  return std::string(s.substr(at + mark.size()));
}

std::string padTwo(std::string s) {
  std::size_t n = lenChars(s);
  return n < 2 ? std::string(2 - n, '0') + s : s;
}

}  // namespace

std::optional<PostHeader> parseHeader(std::string_view line, const MeetingDay& day) {
  const std::string t = narrowDigits(line);
  if (lenChars(t) < 20) return std::nullopt;
  const std::string course = leftChars(t, 2);
  if (lenChars(course) < 2 || kCourseNamesText.find(course) == std::string_view::npos) return std::nullopt;
  const std::string dayText = std::to_string(valInt(day.day)) + "日(";
  const std::string monthText = std::to_string(valInt(day.month)) + "月";
  if (findChars(t, dayText) < 8 || findChars(t, monthText) < 10) return std::nullopt;
  for (std::string_view mark : {"日目", "年", "回", "[", "]"}) {
    if (t.find(mark) == std::string::npos) return std::nullopt;
  }

  auto year = before(trim(midChars(t, 3)), "年");
  if (!year || trim(*year) != day.year) return std::nullopt;
  auto afterRound = after(t, "日目");
  if (!afterRound) return std::nullopt;
  const std::string rest = trim(*afterRound);
  auto month = before(rest, "月");
  if (!month || padTwo(trim(*month)) != day.month) return std::nullopt;
  const std::string afterMonth = trim(*after(rest, "月"));
  auto dd = before(afterMonth, "日");
  if (!dd || padTwo(trim(*dd)) != day.day) return std::nullopt;

  const std::string code = midChars(t, findChars(t, "[") + 1, 4);
  double n = val(code);
  if (n < 1 || n > 9999) return std::nullopt;
  return PostHeader{CourseCodeOfNameOrEmpty(course), code};
}

bool isRaceLine(std::string_view line) { return charAt(line, 3) == "R"; }

CutRecord cutRecordOf(const PostHeader& header, std::string_view raceLine) {
  std::string padded(raceLine);
  std::size_t chars = lenChars(padded);
  if (chars < 43) padded.append(43 - chars, ' ');
  CutRecord r;
  r.courseCode = header.courseCode;
  r.programCode = header.programCode;
  r.raceNo = zeroPad(valInt(leftChars(padded, 2)), 2);
  r.lineTag = midChars(padded, 6, 2);
  for (std::size_t i = 0; i < r.picks.size(); ++i) r.picks[i] = midChars(padded, 9 + 6 * static_cast<long>(i), 5);
  return r;
}

namespace {

bool isAscii(std::string_view raw) {
  for (char c : raw) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

bool isRaceLineBytes(std::string_view raw) {
  if (raw.size() >= 3 && isAscii(raw.substr(0, 3))) return raw[2] == 'R';
  // The first three characters lie within the first six bytes.
  return isRaceLine(fromCp932(raw.substr(0, 6)));
}

std::string cutRecordPrefix(const PostHeader& header) {
  return fixedField(header.courseCode, 2) + fixedField(header.programCode, 4);
}

namespace {

// Val of an ASCII race-number column: blanks skipped, a sign, digits.
long raceNumberOf(std::string_view two) {
  long n = 0;
  bool negative = false, started = false;
  for (char c : two) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    if (!started && (c == '+' || c == '-')) {
      negative = c == '-';
      started = true;
    } else if (c >= '0' && c <= '9') {
      n = n * 10 + (c - '0');
      started = true;
    } else {
      break;
    }
  }
  return negative ? -n : n;
}

}  // namespace

void appendCutRecord(const PostHeader& header, std::string_view prefix, std::string_view raw, std::string& out) {
  // The record takes columns 1-43 only: when those are single bytes (an
  // annotation further right may hold kanji), columns are bytes.
  if (!isAscii(raw.substr(0, std::min<std::size_t>(raw.size(), 43)))) {
    out += cutRecordOf(header, fromCp932(raw)).encode();
    return;
  }
  // Columns are bytes here; short lines read blanks.
  auto column = [&](std::size_t from, std::size_t width) {
    std::size_t n = from < raw.size() ? std::min(width, raw.size() - from) : 0;
    out.append(raw.data() + from, n);
    out.append(width - n, ' ');
  };
  out += prefix;
  long race = raceNumberOf(raw.substr(0, std::min<std::size_t>(2, raw.size())));
  if (race >= 0 && race <= 9) {
    out.push_back('0');
    out.push_back(static_cast<char>('0' + race));
  } else {
    out += fitCp932(zeroPad(race, 2), 2);
  }
  column(5, 2);
  for (std::size_t i = 0; i < 6; ++i) column(8 + 6 * i, 5);
}

void appendCutRecord(const PostHeader& header, std::string_view raw, std::string& out) {
  appendCutRecord(header, cutRecordPrefix(header), raw, out);
}

void appendCutLine(std::string_view raw, std::string& out) {
  if (isAscii(raw)) {
    std::size_t n = std::min<std::size_t>(raw.size(), 76);
    out.append(raw.substr(0, n));
    out.append(76 - n, ' ');
  } else {
    out += toCp932(padBytes(fromCp932(raw), 76));
  }
  out += "\r\n";
}

}  // namespace tolv
