#include "platform/MemoryStatus.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>

namespace tablor {

namespace {

std::string_view nextWord(std::string_view& line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return line = {};
    line.remove_prefix(start);
    const std::size_t end = std::min(line.find_first_of(" \t"), line.size());
    const std::string_view word = line.substr(0, end);
    line.remove_prefix(end);
    return word;
}

} // namespace

MemoryStatus parseMeminfo(std::string_view text) {
    MemoryStatus m;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::string_view key = nextWord(line);
        const std::string_view number = nextWord(line);
        std::uint64_t kb = 0;
        std::from_chars(number.data(), number.data() + number.size(), kb);
        if (key == "MemTotal:") m.totalBytes = kb * 1024;
        if (key == "MemAvailable:") m.availableBytes = kb * 1024;
    }
    if (m.totalBytes > 0) m.loadPercent = int(100 - (m.availableBytes * 100) / m.totalBytes);
    return m;
}

MemoryStatus readMemoryStatus() {
    std::FILE* f = std::fopen("/proc/meminfo", "re");
    if (!f) return {};
    std::string text;
    char block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0)
        text.append(block, n);
    std::fclose(f);
    return parseMeminfo(text);
}

} // namespace tablor
