#pragma once
// Windows-1252, the code page of every cell, field name and settings value. All 256 bytes
// round-trip: the five bytes that code page leaves undefined map to the C1 controls of the same
// number. Qt-free; the Qt boundary uses these to build and read QStrings.

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

} // namespace tablor::ansi
