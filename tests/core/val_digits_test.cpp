// Val reads short numbers without strtod: its results must be exactly
// strtod's, bit for bit, for every number the files hold.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/text.h"

namespace tolv {
namespace {

// Val as the plain reading: blanks skipped, sign, digits and one point, then
// strtod of what was gathered.
double referenceVal(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t i = 0;
  while (i < s.size() && blank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::string digits;
  bool point = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (blank(c)) continue;
    if (c >= '0' && c <= '9') {
      digits.push_back(c);
    } else if (c == '.' && !point) {
      point = true;
      digits.push_back(c);
    } else {
      break;
    }
  }
  if (digits.empty() || digits == ".") return 0.0;
  const double v = std::strtod(digits.c_str(), nullptr);
  return negative ? -v : v;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(ValDigits, OddsCountsAndCodesReadAsStrtodReadsThem) {
  for (const char* s : {"  12.3", "999.9", "9999.9", "0.1", ".5", "5.", "1.15", "0.3", "2.675", " 1 2", "01-02",
                        "  ﾄﾘｹｼ", "", ".", "-.", "-0", "-12.5", "+7", "123456789012345", "1234567890123456",
                        "12345678901234567890", "0.000000000000001", "99999999999999.9", "1.2.3", "３", "0000000000000000012",
                        "1e5", "\t\r\n4\t2"}) {
    EXPECT_TRUE(sameBits(val(s), referenceVal(s))) << '"' << s << "\" " << val(s) << " vs " << referenceVal(s);
  }
}

TEST(ValDigits, RandomNumbersOfEveryLengthMatchStrtod) {
  std::mt19937 rng(1206);
  const std::string alphabet = "0123456789012345678901234567890123456789.. -+x";
  for (int n = 0; n < 200000; ++n) {
    std::string s;
    const int length = static_cast<int>(rng() % 24);
    for (int k = 0; k < length; ++k) s.push_back(alphabet[rng() % alphabet.size()]);
    ASSERT_TRUE(sameBits(val(s), referenceVal(s))) << '"' << s << '"';
  }
}

}  // namespace
}  // namespace tolv
