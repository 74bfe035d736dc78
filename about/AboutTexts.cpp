#include "about/AboutTexts.h"

#include <algorithm>

namespace tablor {

std::string truncatedAboutText(std::string_view cp1252) {
    return std::string(cp1252.substr(0, AboutTextMax));
}

std::string groupThousands(std::uint64_t value, std::string_view separator) {
    const std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

std::uint64_t kilobytesRounded(std::uint64_t bytes) {
    // Written so that it cannot overflow near the top of the range.
    return bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
}

std::string physicalMemoryLine(std::uint64_t totalBytes, std::string_view separator) {
    return "Mémoire physique totale : " + groupThousands(kilobytesRounded(totalBytes), separator) +
           " Ko";
}

std::string freeMemoryLine(int memoryLoad) {
    const int freeShare = 100 - std::clamp(memoryLoad, 0, 100);
    return "Ressources système      : " + std::to_string(freeShare) + "% libre.";
}

} // namespace tablor
