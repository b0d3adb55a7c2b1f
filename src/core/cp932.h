#pragma once
// CP932 (Windows Shift-JIS) conversion. Every file the program reads or writes
// is CP932; in memory text is UTF-8. This is the only module that converts.

#include <string>
#include <string_view>

namespace tolv {

// CP932 bytes to UTF-8. A byte that does not begin a valid CP932 character
// reads as '?', and decoding goes on with the next byte.
std::string fromCp932(std::string_view bytes);

// UTF-8 to CP932 bytes. A character CP932 lacks (and a malformed UTF-8 byte)
// is written as '?'.
std::string toCp932(std::string_view utf8);

// Number of CP932 bytes the code point takes when written: 1 or 2.
int cp932Width(char32_t cp);

// True when the byte begins a two-byte CP932 character.
bool isCp932Lead(unsigned char b);

// Fits CP932 bytes to exactly `width` bytes: blank-padded on the right, or cut.
// A cut through a double-byte character leaves '?' in its place.
std::string fitCp932(std::string_view bytes, std::size_t width);

// UTF-8 text written into a fixed field of `width` CP932 bytes.
std::string fixedField(std::string_view utf8, std::size_t width);

}  // namespace tolv
