#pragma once
// Dates of the program: processing days as yyyymmdd text.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tolv {

using Date = std::chrono::year_month_day;

// Today's local date.
Date today();
// yyyymmdd text of a date.
std::string toYmd(const Date& d);
// Parses exactly eight digits forming a real date.
std::optional<Date> parseYmd(std::string_view ymd);
Date addDays(const Date& d, int days);

// The default processing day for a date: Saturday and Sunday themselves,
// Friday the next day, Monday to Thursday the Sunday before.
std::string defaultMeetingDate(const Date& d);

// "日" .. "土" for a yyyymmdd text; "？" when the text is not a date.
std::string weekdayKanji(std::string_view ymd);

// A path with its date placeholders replaced: the first occurrence of each of
// %Y1 (two-digit year), %Y2 (four-digit year), %M1 and %D1, in this order,
// matched ignoring case, by the parts of `meetingDate` (yyyymmdd). The rest of
// the path is kept as it is.
std::string replaceDatePlaceholders(const std::string& path, const std::string& meetingDate);

}  // namespace tolv
