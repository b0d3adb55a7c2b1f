#include "core/dates.h"

#include <ctime>

#include "core/text.h"

namespace tolv {

using namespace std::chrono;

Date today() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return Date{year{tm.tm_year + 1900}, month{static_cast<unsigned>(tm.tm_mon + 1)},
              day{static_cast<unsigned>(tm.tm_mday)}};
}

std::string toYmd(const Date& d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02u%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                static_cast<unsigned>(d.day()));
  return buf;
}

std::optional<Date> parseYmd(std::string_view ymd) {
  if (ymd.size() != 8) return std::nullopt;
  for (char c : ymd) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  int y = std::stoi(std::string(ymd.substr(0, 4)));
  unsigned m = static_cast<unsigned>(std::stoi(std::string(ymd.substr(4, 2))));
  unsigned dd = static_cast<unsigned>(std::stoi(std::string(ymd.substr(6, 2))));
  Date d{year{y}, month{m}, day{dd}};
  if (!d.ok() || y < 1) return std::nullopt;
  return d;
}

Date addDays(const Date& d, int days) { return Date{sys_days{d} + std::chrono::days{days}}; }

std::string defaultMeetingDate(const Date& d) {
  // Sunday = 1 ... Saturday = 7, as the weekday numbering of the program.
  unsigned wd = weekday{sys_days{d}}.c_encoding() + 1;
  if (wd == 1 || wd == 7) return toYmd(d);
  if (wd == 6) return toYmd(addDays(d, 1));
  return toYmd(addDays(d, -static_cast<int>(wd - 1)));
}

std::string weekdayKanji(std::string_view ymd) {
  static const char* const kNames[] = {"日", "月", "火", "水", "木", "金", "土"};
  auto d = parseYmd(ymd);
  if (!d) return "？";
  return kNames[weekday{sys_days{*d}}.c_encoding()];
}

std::string replaceDatePlaceholders(const std::string& path, const std::string& meetingDate) {
  const std::pair<const char*, std::string> kPlaceholders[] = {
      {"%Y1", midChars(meetingDate, 3, 2)},
      {"%Y2", leftChars(meetingDate, 4)},
      {"%M1", midChars(meetingDate, 5, 2)},
      {"%D1", midChars(meetingDate, 7, 2)},
  };
  std::string out = path;
  for (const auto& [mark, value] : kPlaceholders) {
    std::size_t at = upperAscii(out).find(mark);
    if (at != std::string::npos) out.replace(at, 3, value);
  }
  return out;
}

}  // namespace tolv
