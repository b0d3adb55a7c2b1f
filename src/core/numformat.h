#pragma once
// The numeric display formats of the program ("####.0", "###,###", "#,##0",
// "##0", ...): '#' an optional digit, '0' a required digit, ',' groups
// thousands, '.' the decimal point. Halves round away from zero. The result is
// not padded to the pattern's width.

#include <string>
#include <string_view>

namespace tolv {

std::string formatNumber(double value, std::string_view pattern);

// Formats text that holds a number; text that holds none (blank, or words) is
// kept as it is, so a blank cell stays blank.
std::string formatText(std::string_view text, std::string_view pattern);

}  // namespace tolv
