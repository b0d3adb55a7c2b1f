#include "core/text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/cp932.h"
#include "core/utf8.h"

namespace tolv {

std::size_t lenBytes(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++n;
      ++i;
    } else {
      n += cp932Width(nextUtf8(s, i));
    }
  }
  return n;
}

std::string midBytes(std::string_view s, long start, long n) {
  if (start < 1) start = 1;
  std::string out;
  if (n == 0) return out;
  const long from = start - 1;                       // 0-based byte offset
  const long to = n < 0 ? -1 : from + n;            // exclusive, -1 = end
  long pos = 0;
  for (std::size_t i = 0; i < s.size();) {
    if (to >= 0 && pos >= to) break;
    std::size_t at = i;
    char32_t cp = nextUtf8(s, i);
    long w = cp < 0x80 ? 1 : cp932Width(cp);
    long end = pos + w;
    if (end > from) {
      bool startsInside = pos >= from;
      bool endsInside = to < 0 || end <= to;
      if (startsInside && endsInside) {
        out.append(s.substr(at, i - at));
      } else {
        out.push_back('?');  // half of a double-byte character
      }
    }
    pos = end;
  }
  return out;
}

std::string leftBytes(std::string_view s, long n) {
  if (n <= 0) return {};
  return midBytes(s, 1, n);
}

std::string padBytes(std::string_view s, long n) {
  if (n <= 0) return {};
  std::string out(s);
  std::size_t len = lenBytes(s);
  if (len < static_cast<std::size_t>(n)) {
    out.append(static_cast<std::size_t>(n) - len, ' ');
    return out;
  }
  return leftBytes(out, n);
}

std::size_t lenChars(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); ++n) nextUtf8(s, i);
  return n;
}

namespace {
// Byte offset of the character at 0-based character index `idx` (or size()).
std::size_t offsetOfChar(std::string_view s, long idx) {
  std::size_t i = 0;
  for (long k = 0; k < idx && i < s.size(); ++k) nextUtf8(s, i);
  return i;
}
}  // namespace

std::string midChars(std::string_view s, long start, long n) {
  if (start < 1) start = 1;
  std::size_t a = offsetOfChar(s, start - 1);
  if (n < 0) return std::string(s.substr(a));
  std::size_t b = a;
  for (long k = 0; k < n && b < s.size(); ++k) nextUtf8(s, b);
  return std::string(s.substr(a, b - a));
}

std::string leftChars(std::string_view s, long n) { return n <= 0 ? std::string() : midChars(s, 1, n); }

std::string rightChars(std::string_view s, long n) {
  long len = static_cast<long>(lenChars(s));
  if (n <= 0) return {};
  if (n >= len) return std::string(s);
  return midChars(s, len - n + 1);
}

std::string charAt(std::string_view s, long pos) { return pos < 1 ? std::string() : midChars(s, pos, 1); }

long findChars(std::string_view s, std::string_view needle, long start) {
  if (start < 1) start = 1;
  std::size_t from = offsetOfChar(s, start - 1);
  if (from > s.size()) return 0;
  std::size_t found = s.find(needle, from);
  // UTF-8 is self-synchronising: a match always begins on a character.
  if (found == std::string_view::npos) return 0;
  return static_cast<long>(lenChars(s.substr(0, found))) + 1;
}

int countOccurrences(std::string_view pattern, std::string_view text) {
  if (text.empty() || pattern.empty()) return 0;
  int n = 0;
  for (std::size_t at = text.find(pattern); at != std::string_view::npos;
       at = text.find(pattern, at + pattern.size())) {
    ++n;
  }
  return n;
}

std::string trimLeft(std::string_view s) {
  std::size_t a = s.find_first_not_of(' ');
  return a == std::string_view::npos ? std::string() : std::string(s.substr(a));
}

std::string trimRight(std::string_view s) {
  std::size_t b = s.find_last_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(s.substr(0, b + 1));
}

std::string trim(std::string_view s) {
  std::size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  std::size_t b = s.find_last_not_of(' ');
  return std::string(s.substr(a, b - a + 1));
}

double val(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t i = 0;
  while (i < s.size() && blank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  // Up to 15 digits the number is read exactly as an integer and divided once
  // by an exact power of ten, which rounds as strtod does; longer numbers go
  // to strtod. (Odds, picks and codes are read by the million: a hot path.)
  std::uint64_t mantissa = 0;
  int count = 0, fraction = 0;
  bool point = false;
  for (; i < s.size() && count <= 15; ++i) {
    const char c = s[i];
    if (blank(c)) continue;
    if (c >= '0' && c <= '9') {
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      ++count;
      if (point) ++fraction;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (count == 0) return 0.0;
  if (count <= 15) {
    static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double v = static_cast<double>(mantissa) / kPow10[fraction];
    return negative ? -v : v;
  }
  std::string digits;
  point = false;
  for (i = start; i < s.size(); ++i) {
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
  const double v = std::strtod(digits.c_str(), nullptr);
  return negative ? -v : v;
}

long valInt(std::string_view s) {
  double v = val(s);
  if (v > 2e9) return 2000000000L;
  if (v < -2e9) return -2000000000L;
  return static_cast<long>(v);
}

std::string classicStr(long n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

std::string zeroPad(long n, int width) {
  std::string d = std::to_string(n < 0 ? -n : n);
  if (static_cast<int>(d.size()) < width) d.insert(0, static_cast<std::size_t>(width) - d.size(), '0');
  return n < 0 ? "-" + d : d;
}

namespace {
// Half-width katakana U+FF61..U+FF9F and their full-width forms.
constexpr char32_t kWideKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

bool voicable(char32_t k) {
  if (k >= 0x30AB && k <= 0x30C1) return (k - 0x30AB) % 2 == 0;  // カ..チ
  if (k == 0x30C4 || k == 0x30C6 || k == 0x30C8) return true;     // ツ テ ト
  if (k >= 0x30CF && k <= 0x30DB) return (k - 0x30CF) % 3 == 0;  // ハ..ホ
  return k == 0x30A6;                                             // ウ
}
bool semiVoicable(char32_t k) { return k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0; }
}  // namespace

std::string toWide(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = nextUtf8(s, i);
    if (cp == 0x20) {
      appendUtf8(out, 0x3000);
    } else if (cp >= 0x21 && cp <= 0x7E) {
      appendUtf8(out, cp - 0x21 + 0xFF01);
    } else if (cp >= 0xFF61 && cp <= 0xFF9F) {
      char32_t k = kWideKana[cp - 0xFF61];
      // A following voiced or semi-voiced mark combines with its kana.
      if (i < s.size() && cp >= 0xFF66 && cp <= 0xFF9D) {
        std::size_t j = i;
        char32_t next = nextUtf8(s, j);
        if (next == 0xFF9E && voicable(k)) {
          appendUtf8(out, k == 0x30A6 ? 0x30F4 : k + 1);
          i = j;
          continue;
        }
        if (next == 0xFF9F && semiVoicable(k)) {
          appendUtf8(out, k + 2);
          i = j;
          continue;
        }
      }
      appendUtf8(out, k);
    } else {
      appendUtf8(out, cp);
    }
  }
  return out;
}

std::string toNarrow(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = nextUtf8(s, i);
    if (cp == 0x3000) {
      out.push_back(' ');
    } else if (cp >= 0xFF01 && cp <= 0xFF5E) {
      out.push_back(static_cast<char>(cp - 0xFF01 + 0x21));
    } else if ((cp >= 0x30A1 && cp <= 0x30FC) || cp == 0x3001 || cp == 0x3002 || cp == 0x300C ||
               cp == 0x300D || cp == 0x309B || cp == 0x309C) {
      bool done = false;
      for (char32_t h = 0; h < std::size(kWideKana) && !done; ++h) {
        char32_t k = kWideKana[h];
        if (k == cp) {
          appendUtf8(out, 0xFF61 + h);
          done = true;
        } else if (voicable(k) && cp == (k == 0x30A6 ? 0x30F4 : k + 1)) {
          appendUtf8(out, 0xFF61 + h);
          appendUtf8(out, 0xFF9E);
          done = true;
        } else if (semiVoicable(k) && cp == k + 2) {
          appendUtf8(out, 0xFF61 + h);
          appendUtf8(out, 0xFF9F);
          done = true;
        }
      }
      if (!done) appendUtf8(out, cp);
    } else {
      appendUtf8(out, cp);
    }
  }
  return out;
}

std::string narrowDigits(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    std::size_t at = i;
    char32_t cp = nextUtf8(s, i);
    if (cp >= 0xFF10 && cp <= 0xFF19) {
      out.push_back(static_cast<char>('0' + (cp - 0xFF10)));
    } else {
      out.append(s.substr(at, i - at));
    }
  }
  return out;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string upperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace tolv
