#pragma once
// Windows-1252, the code page of every cell, field name and settings value. All 256 bytes
// round-trip: the five bytes that code page leaves undefined map to the C1 controls of the same
// number. Qt-free; the Qt boundary uses these to build and read QStrings.

#include <cstddef>
#include <string>
#include <string_view>

namespace tablor::ansi {

// The Unicode code point of one byte.
char32_t toUnicode(unsigned char byte);
// The byte for a code point, or '?' when Windows-1252 cannot hold it.
unsigned char fromUnicode(char32_t cp);
// Whether the code page has a byte for the code point.
inline bool canHold(char32_t cp) {
    return cp == U'?' || fromUnicode(cp) != '?';
}

// Whole texts: bytes <-> UTF-8.
std::string toUtf8(std::string_view bytes);
std::string fromUtf8(std::string_view utf8);

// The same, appending to `out`. appendFromUtf8 returns how many characters became '?': those
// Windows-1252 cannot hold and the bytes of broken sequences (a '?' of the text is not counted).
void appendUtf8(std::string& out, std::string_view bytes);
std::size_t appendFromUtf8(std::string& out, std::string_view utf8);

// The same into a buffer apart from the text, for the bulk writers and readers: `out` must
// have room for three bytes per byte (encodeUtf8), or for as many bytes as the text
// (decodeUtf8). They return how many bytes they wrote; decodeUtf8 adds to `replaced` as
// appendFromUtf8 counts, and clears `wellFormed` when the text is not well-formed UTF-8 (a
// broken sequence, an overlong form, a surrogate or a code beyond U+10FFFF).
std::size_t encodeUtf8(std::string_view bytes, char* out);
std::size_t decodeUtf8(std::string_view utf8, char* out, std::size_t& replaced, bool& wellFormed);
// The length of the bytes in UTF-8, for a text too big to build twice.
std::size_t utf8Size(std::string_view bytes);

} // namespace tablor::ansi
