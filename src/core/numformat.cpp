#include "core/numformat.h"

#include <cmath>
#include <cstdio>

#include "core/text.h"

namespace tolv {

std::string formatNumber(double value, std::string_view pattern) {
  std::size_t point = pattern.find('.');
  std::string_view intPat = pattern.substr(0, point);
  std::string_view fracPat = point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);

  int decimals = 0;
  for (char c : fracPat) {
    if (c == '0' || c == '#') ++decimals;
  }
  int required = 0;
  bool grouped = false;
  for (char c : intPat) {
    if (c == '0') ++required;
    if (c == ',') grouped = true;
  }

  bool negative = value < 0;
  double scale = std::pow(10.0, decimals);
  // Round half away from zero on the decimal digits; the small nudge keeps
  // values such as 2.675 from rounding down through binary representation.
  double scaled = std::floor(std::fabs(value) * scale + 0.5 + 1e-9);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f", scaled);
  std::string digits = buf;
  if (static_cast<int>(digits.size()) <= decimals) {
    digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
  }
  std::string intDigits = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
  std::string fracDigits = digits.substr(digits.size() - static_cast<std::size_t>(decimals));

  // Trailing optional decimal places drop their zeros.
  int optionalTail = 0;
  for (auto it = fracPat.rbegin(); it != fracPat.rend() && *it == '#'; ++it) ++optionalTail;
  while (optionalTail > 0 && !fracDigits.empty() && fracDigits.back() == '0') {
    fracDigits.pop_back();
    --optionalTail;
  }

  // Integer part: strip leading zeros down to the required digits.
  std::size_t firstNonZero = intDigits.find_first_not_of('0');
  intDigits = firstNonZero == std::string::npos ? std::string() : intDigits.substr(firstNonZero);
  if (static_cast<int>(intDigits.size()) < required) {
    intDigits.insert(0, static_cast<std::size_t>(required) - intDigits.size(), '0');
  }
  if (grouped && intDigits.size() > 3) {
    std::string g;
    int n = static_cast<int>(intDigits.size());
    for (int i = 0; i < n; ++i) {
      g.push_back(intDigits[static_cast<std::size_t>(i)]);
      if ((n - i - 1) % 3 == 0 && i != n - 1) g.push_back(',');
    }
    intDigits = g;
  }

  std::string out;
  bool isZero = scaled == 0;
  if (negative && !isZero) out.push_back('-');
  out += intDigits;
  if (point != std::string_view::npos && !fracDigits.empty()) {
    out.push_back('.');
    out += fracDigits;
  } else if (point != std::string_view::npos && decimals == 0) {
    out.push_back('.');
  }
  return out;
}

std::string formatText(std::string_view text, std::string_view pattern) {
  std::string t = trim(text);
  bool hasDigit = false;
  for (char c : t) {
    if (c >= '0' && c <= '9') hasDigit = true;
  }
  if (!hasDigit) return std::string(text);
  return formatNumber(val(t), pattern);
}

}  // namespace tolv
