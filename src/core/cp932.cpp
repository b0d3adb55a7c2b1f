#include "core/cp932.h"

#include <iconv.h>

#include <array>
#include <memory>
#include <stdexcept>

#include "core/utf8.h"

namespace tolv {
namespace {

// Tables built once from glibc's CP932 converter, so that the program agrees
// byte for byte with iconv while converting whole files quickly.
struct Tables {
  // Two-byte characters: index (lead << 8) | trail; 0 means invalid.
  std::unique_ptr<std::array<char16_t, 0x10000>> decode2 =
      std::make_unique<std::array<char16_t, 0x10000>>();
  // BMP code point -> CP932 code (one byte codes below 0x100); 0 = none.
  std::unique_ptr<std::array<std::uint16_t, 0x10000>> encode =
      std::make_unique<std::array<std::uint16_t, 0x10000>>();

  Tables() {
    decode2->fill(0);
    encode->fill(0);
    iconv_t dec = iconv_open("UTF-32LE", "CP932");
    iconv_t enc = iconv_open("CP932", "UTF-32LE");
    if (dec == reinterpret_cast<iconv_t>(-1) || enc == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error("iconv has no CP932 converter");
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!isCp932Lead(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char out[8];
        char* ip = in;
        char* op = out;
        std::size_t il = 2, ol = sizeof out;
        iconv(dec, nullptr, nullptr, nullptr, nullptr);
        if (iconv(dec, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) || il != 0 ||
            ol != sizeof out - 4) {
          continue;
        }
        std::uint32_t cp = static_cast<unsigned char>(out[0]) |
                           (static_cast<unsigned char>(out[1]) << 8) |
                           (static_cast<unsigned char>(out[2]) << 16) |
                           (static_cast<std::uint32_t>(static_cast<unsigned char>(out[3])) << 24);
        if (cp == 0 || cp > 0xFFFF) continue;
        (*decode2)[(lead << 8) | trail] = static_cast<char16_t>(cp);
      }
    }
    // Encoding: ask iconv for every BMP code point outside ASCII, so that the
    // many-to-one mappings (¥, ～, −, ...) come out as iconv writes them.
    for (std::uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
      if (cp >= 0xD800 && cp <= 0xDFFF) continue;
      char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF), 0, 0};
      char out[8];
      char* ip = in;
      char* op = out;
      std::size_t il = 4, ol = sizeof out;
      iconv(enc, nullptr, nullptr, nullptr, nullptr);
      if (iconv(enc, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) || il != 0) continue;
      std::size_t n = sizeof out - ol;
      if (n == 1) {
        (*encode)[cp] = static_cast<unsigned char>(out[0]);
      } else if (n == 2) {
        (*encode)[cp] = static_cast<std::uint16_t>((static_cast<unsigned char>(out[0]) << 8) |
                                                   static_cast<unsigned char>(out[1]));
      }
    }
    iconv_close(dec);
    iconv_close(enc);
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

}  // namespace

bool isCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::string fromCp932(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  const Tables* t = nullptr;
  for (std::size_t i = 0; i < bytes.size();) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      appendUtf8(out, 0xFF61 + (b - 0xA1));
      ++i;
    } else if (isCp932Lead(b) && i + 1 < bytes.size()) {
      if (!t) t = &tables();
      unsigned char c = static_cast<unsigned char>(bytes[i + 1]);
      char16_t cp = (*t->decode2)[(b << 8) | c];
      if (cp != 0) {
        appendUtf8(out, cp);
        i += 2;
      } else {
        out.push_back('?');
        ++i;
      }
    } else {
      out.push_back('?');
      ++i;
    }
  }
  return out;
}

std::string toCp932(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const Tables* t = nullptr;
  std::size_t i = 0;
  while (i < utf8.size()) {
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    char32_t cp = nextUtf8(utf8, i);
    if (cp >= 0xFF61 && cp <= 0xFF9F) {
      out.push_back(static_cast<char>(0xA1 + (cp - 0xFF61)));
      continue;
    }
    if (!t) t = &tables();
    std::uint16_t code = cp <= 0xFFFF ? (*t->encode)[cp] : 0;
    if (code == 0) {
      out.push_back('?');
    } else if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

int cp932Width(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F)) return 1;
  std::uint16_t code = cp <= 0xFFFF ? (*tables().encode)[cp] : 0;
  return code >= 0x100 ? 2 : 1;
}

std::string fitCp932(std::string_view bytes, std::size_t width) {
  std::string out;
  out.reserve(width);
  std::size_t i = 0;
  while (i < bytes.size() && out.size() < width) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (isCp932Lead(b) && i + 1 < bytes.size()) {
      if (out.size() + 2 > width) {
        out.push_back('?');
        break;
      }
      out.append(bytes.substr(i, 2));
      i += 2;
    } else {
      out.push_back(static_cast<char>(b));
      ++i;
    }
  }
  out.append(width - out.size(), ' ');
  return out;
}

std::string fixedField(std::string_view utf8, std::size_t width) {
  return fitCp932(toCp932(utf8), width);
}

}  // namespace tolv
