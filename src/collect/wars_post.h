#pragma once
// The WARS prediction post as read from a forum log: a header line naming the
// course, the date and the program's WARS code, a separator line, then one
// race line per race.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/cut_record.h"

namespace tolv {

// The header line in CP932 bytes of "日目", which every header holds: lines
// without it can be skipped unread.
inline constexpr std::string_view kHeaderMarkCp932 = "\x93\xfa\x96\xda";

struct PostHeader {
  std::string courseCode;   // "" when the first two characters name no course
  std::string programCode;  // the four characters after "["
};

// The day a header must name.
struct MeetingDay {
  std::string year;   // "2002"
  std::string month;  // "05"
  std::string day;    // "12"
};

// Tests a trimmed log line (UTF-8) as the header of a post of `day`.
// Full-width digits count as digits; nothing else is converted.
std::optional<PostHeader> parseHeader(std::string_view trimmedLine, const MeetingDay& day);

// A race line has "R" as its third character.
bool isRaceLine(std::string_view line);

// The cut record of a race line (UTF-8, untrimmed) of a post.
CutRecord cutRecordOf(const PostHeader& header, std::string_view raceLine);

// The same on the raw CP932 bytes of a log, as extraction reads them. Race
// lines are nearly always plain ASCII: those are cut directly, others are
// decoded first; both give the same bytes.
bool isRaceLineBytes(std::string_view raw);
// Appends the 40-byte cut record of a race line.
void appendCutRecord(const PostHeader& header, std::string_view raw, std::string& out);
// The same with the header's first six record bytes made once per post.
std::string cutRecordPrefix(const PostHeader& header);
void appendCutRecord(const PostHeader& header, std::string_view prefix, std::string_view raw, std::string& out);
// Appends the line blank-padded or cut to 76 bytes, with CR LF.
void appendCutLine(std::string_view raw, std::string& out);

}  // namespace tolv
