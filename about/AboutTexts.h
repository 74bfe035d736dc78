#pragma once
// The texts of the about window that are worked out rather than given: the two memory lines,
// and the 100-character limit of the about box's properties. Qt-free; UTF-8 in and out, except
// the properties, which are Windows-1252 bytes like every text of the program.

#include <cstdint>
#include <string>
#include <string_view>

namespace tablor {

// The about box keeps at most this many characters of each of its texts.
inline constexpr std::size_t AboutTextMax = 100;

// The first AboutTextMax bytes (characters, in Windows-1252) of the text.
std::string truncatedAboutText(std::string_view cp1252);

// The number in decimal, with `separator` between groups of three digits: 523760 -> "523 760".
std::string groupThousands(std::uint64_t value, std::string_view separator);

// Bytes to kilobytes, to the nearest whole number.
std::uint64_t kilobytesRounded(std::uint64_t bytes);

// "Mémoire physique totale : 523 760 Ko", from the total physical memory in bytes.
std::string physicalMemoryLine(std::uint64_t totalBytes, std::string_view separator);

// "Ressources système      : 37% libre.", from the memory load (percent of memory in use);
// a load outside 0 to 100 is taken as the nearest bound.
std::string freeMemoryLine(int memoryLoad);

} // namespace tablor
