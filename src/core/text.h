#pragma once
// Text helpers on UTF-8 strings. Widths are CP932 bytes (ASCII and half-width
// katakana 1, everything else 2); character positions count code points and
// are 1-based where they mirror the classic string functions.

#include <string>
#include <string_view>
#include <vector>

namespace tolv {

// --- CP932 byte widths -----------------------------------------------------
std::size_t lenBytes(std::string_view s);
// The first n bytes. A cut through a double-byte character leaves '?'.
std::string leftBytes(std::string_view s, long n);
// n bytes from byte position `start` (1-based); n < 0 takes the rest.
std::string midBytes(std::string_view s, long start, long n = -1);
// Blank-padded on the right to n bytes, then cut to n bytes.
std::string padBytes(std::string_view s, long n);

// --- characters ------------------------------------------------------------
std::size_t lenChars(std::string_view s);
std::string leftChars(std::string_view s, long n);
std::string rightChars(std::string_view s, long n);
// n characters from position `start` (1-based); n < 0 takes the rest.
std::string midChars(std::string_view s, long start, long n = -1);
// 1-based character position of the first `needle` at or after character
// position `start`, or 0 (an empty needle is found at `start`).
long findChars(std::string_view s, std::string_view needle, long start = 1);
// Character `pos` (1-based) as a string, empty past the end.
std::string charAt(std::string_view s, long pos);

// Number of non-overlapping occurrences of `pattern` in `text`; 0 for empty text.
int countOccurrences(std::string_view pattern, std::string_view text);

// --- trimming (ASCII spaces only) -------------------------------------------
std::string trim(std::string_view s);
std::string trimLeft(std::string_view s);
std::string trimRight(std::string_view s);

// --- numbers ---------------------------------------------------------------
// The leading-number reader: blanks (space, tab, CR, LF) anywhere are skipped,
// then a sign, digits and one decimal point are read; anything else stops it.
double val(std::string_view s);
// Val truncated toward zero to a whole number.
long valInt(std::string_view s);
// A whole number as a classic Str writes it: a sign place (" 3", "-3").
std::string classicStr(long n);
// A whole number left-padded with '0' to `width` digits.
std::string zeroPad(long n, int width);

// --- full-width / half-width ------------------------------------------------
// ASCII 0x21-0x7E <-> U+FF01-U+FF5E and space <-> U+3000; half-width katakana
// <-> full-width katakana (with voiced marks combined where they combine).
std::string toWide(std::string_view s);
std::string toNarrow(std::string_view s);
// Only the full-width digits (０-９) turned into ASCII digits.
std::string narrowDigits(std::string_view s);

// --- lines -----------------------------------------------------------------
// Splits text into lines at CR LF, LF or CR; a last line without an end is kept.
std::vector<std::string> splitLines(std::string_view text);

// ASCII upper case (other characters unchanged).
std::string upperAscii(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace tolv
